// The launcher's generated pictures, sounds and intro video.
#include "introvideo.h"
#include "launchermedia.h"

#include <QDataStream>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>

namespace {

struct Wave
{
    QByteArray riff, wave, fmt, data;
    quint32 riffSize = 0, fmtSize = 0, sampleRate = 0, byteRate = 0, dataSize = 0;
    quint16 format = 0, channels = 0, blockAlign = 0, bits = 0;
    QVector<qint16> samples;
};

Wave readWave(const QByteArray &bytes)
{
    Wave w;
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    auto tag = [&in] {
        QByteArray t(4, '\0');
        in.readRawData(t.data(), 4);
        return t;
    };
    w.riff = tag();
    in >> w.riffSize;
    w.wave = tag();
    w.fmt = tag();
    in >> w.fmtSize >> w.format >> w.channels >> w.sampleRate >> w.byteRate >> w.blockAlign >> w.bits;
    w.data = tag();
    in >> w.dataSize;
    while (!in.atEnd()) {
        qint16 s;
        in >> s;
        w.samples << s;
    }
    return w;
}

// Share of the pixels in a rectangle brighter than a label's letters.
double brightShare(const QImage &image, const QRect &rect)
{
    int bright = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (qGray(image.pixel(x, y)) > 200)
                ++bright;
    return double(bright) / (rect.width() * rect.height());
}

} // namespace

class TestLauncherMedia : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pictureSizes_data();
    void pictureSizes();
    void labelsSitOnTheEntries_data();
    void labelsSitOnTheEntries();
    void pointerIsShapedNotBoxed();
    void waveFiles_data();
    void waveFiles();
    void musicLoopsWithoutClick();
    void blipStartsAndEndsSilent();
    void introFadesInToTitle();
    void introVideoEncodes();

private:
    QImage picture(const QString &name) const { return QImage(m_dir.filePath(name)); }

    QTemporaryDir m_dir;
};

void TestLauncherMedia::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QString failed;
    QVERIFY2(LauncherMedia::writeMenuMedia(QDir(m_dir.path()), &failed), qPrintable(failed));
}

void TestLauncherMedia::pictureSizes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::newRow("background") << "bg.png" << QSize(841, 546);
    QTest::newRow("pointer") << "menuPointer.png" << QSize(50, 50);
    QTest::newRow("video entry") << "btnVideo.png" << QSize(500, 27);
    QTest::newRow("play entry") << "btnPlay.png" << QSize(500, 27);
    QTest::newRow("editor entry") << "btnEditor.png" << QSize(500, 27);
}

void TestLauncherMedia::pictureSizes()
{
    QFETCH(QString, file);
    QFETCH(QSize, size);
    const QImage image = picture(file);
    QVERIFY2(!image.isNull(), qPrintable(file));
    QCOMPARE(image.size(), size);
}

void TestLauncherMedia::labelsSitOnTheEntries_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("y");
    QTest::newRow("video") << "btnVideo.png" << 191;
    QTest::newRow("play") << "btnPlay.png" << 250;
    QTest::newRow("editor") << "btnEditor.png" << 309;
}

void TestLauncherMedia::labelsSitOnTheEntries()
{
    QFETCH(QString, file);
    QFETCH(int, y);
    const QImage background = picture(QStringLiteral("bg.png")).convertToFormat(QImage::Format_ARGB32);
    const QImage entry = picture(file).convertToFormat(QImage::Format_ARGB32);
    const QRect where(58, y, 500, 27);

    // The button shows the background of its own place (drawn from inside its frame).
    QCOMPARE(entry, background.copy(where.translated(1, 1)));
    // There is lettering on the entry and none in the gap below it.
    QVERIFY(brightShare(background, where) > 0.02);
    QCOMPARE(brightShare(background, QRect(58, y + 29, 500, 28)), 0.0);
}

void TestLauncherMedia::pointerIsShapedNotBoxed()
{
    const QImage pointer = picture(QStringLiteral("menuPointer.png"));
    QVERIFY(pointer.hasAlphaChannel());
    for (const QPoint corner : {QPoint(0, 0), QPoint(49, 0), QPoint(0, 49), QPoint(49, 49)})
        QCOMPARE(qAlpha(pointer.pixel(corner)), 0);
    QCOMPARE(qAlpha(pointer.pixel(30, 25)), 255);
}

void TestLauncherMedia::waveFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("minSeconds");
    QTest::addColumn<double>("maxSeconds");
    QTest::newRow("music") << "bgm.wav" << 2.0 << 10.0;
    QTest::newRow("blip") << "menusound.wav" << 0.02 << 0.3;
}

void TestLauncherMedia::waveFiles()
{
    QFETCH(QString, file);
    QFETCH(double, minSeconds);
    QFETCH(double, maxSeconds);

    QFile f(m_dir.filePath(file));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const Wave w = readWave(bytes);
    QCOMPARE(w.riff, QByteArray("RIFF"));
    QCOMPARE(w.wave, QByteArray("WAVE"));
    QCOMPARE(w.fmt, QByteArray("fmt "));
    QCOMPARE(w.data, QByteArray("data"));
    QCOMPARE(w.riffSize, quint32(bytes.size() - 8));
    QCOMPARE(w.fmtSize, 16u);
    QCOMPARE(w.format, quint16(1));
    QCOMPARE(w.channels, quint16(1));
    QCOMPARE(w.bits, quint16(16));
    QCOMPARE(w.blockAlign, quint16(2));
    QCOMPARE(w.byteRate, w.sampleRate * 2);
    QCOMPARE(w.dataSize, quint32(bytes.size() - 44));

    const double seconds = double(w.samples.size()) / w.sampleRate;
    QVERIFY2(seconds >= minSeconds && seconds <= maxSeconds, qPrintable(QString::number(seconds)));
    int peak = 0;
    for (qint16 s : w.samples)
        peak = std::max(peak, std::abs(int(s)));
    QVERIFY2(peak > 8000, "too quiet");
}

void TestLauncherMedia::musicLoopsWithoutClick()
{
    QFile f(m_dir.filePath(QStringLiteral("bgm.wav")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QVector<qint16> s = readWave(f.readAll()).samples;
    QVERIFY(s.size() > 1000);

    // Played in a loop, the step from the last sample back to the first is
    // no bigger than steps inside the music: no click at the seam.
    int largestStep = 0;
    for (int i = 1; i < s.size(); ++i)
        largestStep = std::max(largestStep, std::abs(s[i] - s[i - 1]));
    const int seam = std::abs(s.first() - s.last());
    QVERIFY2(seam <= largestStep / 2, qPrintable(QStringLiteral("seam %1, largest step %2").arg(seam).arg(largestStep)));
}

void TestLauncherMedia::blipStartsAndEndsSilent()
{
    QFile f(m_dir.filePath(QStringLiteral("menusound.wav")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QVector<qint16> s = readWave(f.readAll()).samples;
    QVERIFY(std::abs(s.first()) < 300);
    QVERIFY(std::abs(s.last()) < 300);
}

void TestLauncherMedia::introFadesInToTitle()
{
    const QImage first = IntroVideo::frame(0);
    const QImage last = IntroVideo::frame(IntroVideo::FrameCount - 1);
    QCOMPARE(first.size(), IntroVideo::FrameSize);
    QCOMPARE(last.size(), IntroVideo::FrameSize);
    QCOMPARE(brightShare(first, first.rect()), 0.0);
    QVERIFY(brightShare(last, last.rect()) > 0.01);
}

void TestLauncherMedia::introVideoEncodes()
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        QSKIP("ffmpeg is not installed; the build skips the video as well");
    const QString out = m_dir.filePath(QStringLiteral("video.wmv"));
    QString error;
    QVERIFY2(IntroVideo::encode(ffmpeg, out, &error), qPrintable(error));

    // An ASF file starts with its header object's GUID.
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.read(8), QByteArray::fromHex("3026b2758e66cf11"));
    QVERIFY(f.size() > 10000);

    // A broken encoder leaves no half-written video behind.
    QVERIFY(!IntroVideo::encode(QStringLiteral("/bin/false"), out, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(out));
}

QTEST_MAIN(TestLauncherMedia)
#include "tst_launchermedia.moc"
