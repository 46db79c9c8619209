#include "colournear.h"

#include "assetcatalogue.h"
#include "assetwriter.h"
#include "grain.h"
#include "interfaceart.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdlib>

namespace {

QImage load(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

// As the editor shows a texture in a map cell at the smallest zoom.
QImage atCellSize(const QImage &image)
{
    return image.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

// Mean channel difference over the pixels that either image covers, so that
// two cut-out figures are compared on the figures, not on the empty space around them.
double meanDifference(const QImage &a, const QImage &b)
{
    double sum = 0;
    int covered = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (qAlpha(p) == 0 && qAlpha(q) == 0)
                continue;
            ++covered;
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                 + std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    }
    return covered ? sum / (covered * 4) : 0;
}

QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

// The mean hue of the strongly coloured pixels: the key colour of a key or a key door.
int keyHue(const QImage &image)
{
    double x = 0, y = 0;
    for (int py = 0; py < image.height(); ++py)
        for (int px = 0; px < image.width(); ++px) {
            const QColor colour = image.pixelColor(px, py);
            if (colour.alpha() == 255 && colour.hsvSaturation() > 150 && colour.value() > 120) {
                x += std::cos(colour.hsvHue() * M_PI / 180);
                y += std::sin(colour.hsvHue() * M_PI / 180);
            }
        }
    return int(std::lround(std::atan2(y, x) * 180 / M_PI + 360)) % 360;
}

QStringList texturesOf(const QString &root, const QString &layer)
{
    return QDir(root + "/textures/" + layer).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestAssetGen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void writesWhatTheEditorReads_data();
    void writesWhatTheEditorReads();
    void textureFoldersAndCounts();
    void gridTileDrawsOneLinePerCell_data();
    void gridTileDrawsOneLinePerCell();
    void cursorHotSpotIsTheCentre_data();
    void cursorHotSpotIsTheCentre();
    void lampIsBrightWithAShape();
    void texturesAreFullSizeAndDetailed();
    void surfacesAreOpaqueAndCutOutsAreNot();
    void texturesOfALayerDifferAtCellSize();
    void keysMatchTheirDoors();
    void outputIsDeterministic();
    void reportsWhatCouldNotBeWritten();
    void grainStaysInRangeAndKeepsAlpha();
    void programExitCodes();
    void iconsAtEachThemeSize();

private:
    QTemporaryDir output;
};

void TestAssetGen::initTestCase()
{
    QVERIFY(output.isValid());
    QCOMPARE(AssetWriter::writeAll(output.path()), QStringList());
}

void TestAssetGen::writesWhatTheEditorReads_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    for (int size : {16, 32, 48, 64}) {
        const QString name = QString("assets/bg%1x%1.jpg").arg(size);
        QTest::newRow(qPrintable(name)) << name << size;
        const QString doubled = QString("assets/bg%1x%1@2x.jpg").arg(size);
        QTest::newRow(qPrintable(doubled)) << doubled << 2 * size;
    }
    QTest::newRow("pencil") << "assets/pencil.png" << int(InterfaceArt::CursorSize);
    QTest::newRow("pencil@2x") << "assets/pencil@2x.png" << 2 * InterfaceArt::CursorSize;
    QTest::newRow("bucket") << "assets/bucket.png" << int(InterfaceArt::CursorSize);
    QTest::newRow("bucket@2x") << "assets/bucket@2x.png" << 2 * InterfaceArt::CursorSize;
    QTest::newRow("lamp") << "assets/lamp.png" << 64;
}

void TestAssetGen::writesWhatTheEditorReads()
{
    QFETCH(QString, path);
    QFETCH(int, size);
    const QImage image(output.filePath(path));
    QVERIFY2(!image.isNull(), qPrintable(path));
    QCOMPARE(image.size(), QSize(size, size));
}

void TestAssetGen::textureFoldersAndCounts()
{
    const QStringList folders = QDir(output.filePath("textures")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(folders, QStringList({"Actor", "Ceil", "Door", "Floor", "Item", "Sprite", "Wall"}));
    QVERIFY(!QDir(output.filePath("textures/Lightmap")).exists());

    const QRegularExpression shortLowerCase("^[a-z0-9]{1,16}\\.png$");
    for (const QString &layer : folders) {
        const QStringList names = texturesOf(output.path(), layer);
        const bool surface = QStringList({"Ceil", "Floor", "Wall", "Door"}).contains(layer);
        QVERIFY2(names.size() >= (surface ? 4 : 2), qPrintable(layer));
        for (const QString &name : names)
            QVERIFY2(shortLowerCase.match(name).hasMatch(), qPrintable(layer + "/" + name));
    }
}

void TestAssetGen::gridTileDrawsOneLinePerCell_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("scale");
    for (int scale : {1, 2}) {
        for (int size : {16, 32, 48, 64})
            QTest::newRow(qPrintable(QString("%1 @%2x").arg(size).arg(scale))) << size << scale;
    }
}

void TestAssetGen::gridTileDrawsOneLinePerCell()
{
    QFETCH(int, scale);
    QFETCH(int, size);
    const QString suffix = scale == 1 ? QString(".jpg") : QString("@%1x.jpg").arg(scale);
    const QImage tile = load(output.filePath(QString("assets/bg%1x%1").arg(size) + suffix));
    // On a denser screen a cell has more pixels and the line stays one logical pixel wide.
    size *= scale;
    QCOMPARE(tile.size(), QSize(size, size));

    // Repeat the tile as the map widget does and walk a row and a column across
    // three cells: the line must show exactly on cell boundaries, once each.
    QImage sheet(size * 3, size * 3, QImage::Format_ARGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            for (int py = 0; py < size; ++py)
                for (int px = 0; px < size; ++px)
                    sheet.setPixel(x * size + px, y * size + py, tile.pixel(px, py));

    const QColor line = InterfaceArt::gridLineColour();
    const QColor cell = InterfaceArt::gridCellColour();
    const int lineContrast = line.value() - cell.value();
    QVERIFY(lineContrast >= 40);
    for (int probe : {size / 2, size + 3, 3 * size - 2}) {
        for (int i = 0; i < 3 * size; ++i) {
            const bool boundary = i % size < scale;
            const QColor across = sheet.pixelColor(i, probe);
            const QColor down = sheet.pixelColor(probe, i);
            const QString where = QString("size %1, probe %2, at %3").arg(size).arg(probe).arg(i);
            QVERIFY2(near(across, boundary ? line : cell, 10), qPrintable(where + " (row)"));
            QVERIFY2(near(down, boundary ? line : cell, 10), qPrintable(where + " (column)"));
        }
    }
}

void TestAssetGen::cursorHotSpotIsTheCentre_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("pencil") << "assets/pencil.png";
    QTest::newRow("pencil@2x") << "assets/pencil@2x.png";
    QTest::newRow("bucket") << "assets/bucket.png";
    QTest::newRow("bucket@2x") << "assets/bucket@2x.png";
}

void TestAssetGen::cursorHotSpotIsTheCentre()
{
    QFETCH(QString, path);
    const QImage cursor = load(output.filePath(path));
    const int last = cursor.width() - 1;
    const int centre = cursor.width() / 2;
    const int scale = cursor.width() / InterfaceArt::CursorSize;
    QVERIFY(cursor.hasAlphaChannel());
    for (const QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
        QCOMPARE(qAlpha(cursor.pixel(corner)), 0);
    QVERIFY(qAlpha(cursor.pixel(centre, centre)) >= 200);
    if (path.contains("pencil")) {
        // The tip is the centre: nothing of the pencil lies beyond it, down and left.
        for (int y = centre + 3 * scale; y <= last; ++y)
            for (int x = 0; x <= centre - 3 * scale; ++x)
                QVERIFY2(qAlpha(cursor.pixel(x, y)) == 0, qPrintable(QString("%1,%2").arg(x).arg(y)));
    }
}

void TestAssetGen::lampIsBrightWithAShape()
{
    const QImage lamp = load(output.filePath("assets/lamp.png"));
    int solid = 0, clear = 0;
    double brightness = 0;
    for (int y = 0; y < lamp.height(); ++y) {
        for (int x = 0; x < lamp.width(); ++x) {
            const QRgb pixel = lamp.pixel(x, y);
            if (qAlpha(pixel) >= 200) {
                ++solid;
                brightness += qGray(pixel);
            } else if (qAlpha(pixel) == 0) {
                ++clear;
            }
        }
    }
    // Shaded to a single grey, only the outline tells what it is.
    const int area = lamp.width() * lamp.height();
    QVERIFY2(solid > area / 8 && solid < area * 2 / 3, qPrintable(QString::number(solid)));
    QVERIFY(clear > area / 8);
    QVERIFY2(brightness / solid > 170, qPrintable(QString::number(brightness / solid)));
}

void TestAssetGen::texturesAreFullSizeAndDetailed()
{
    for (const QString &layer : AssetCatalogue::textureLayers()) {
        for (const QString &name : texturesOf(output.path(), layer)) {
            const QString path = layer + "/" + name;
            const QImage image = load(output.filePath("textures/" + path));
            QVERIFY2(image.size() == QSize(64, 64), qPrintable(path));
            // A drawing step that silently drew nothing leaves a flat image.
            const QImage small = atCellSize(image);
            double sum = 0, squares = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    const double grey = qGray(small.pixel(x, y)) * qAlpha(small.pixel(x, y)) / 255.0;
                    sum += grey;
                    squares += grey * grey;
                }
            const double spread = std::sqrt(squares / 256 - (sum / 256) * (sum / 256));
            QVERIFY2(spread > 6, qPrintable(path + ": " + QString::number(spread)));
        }
    }
}

void TestAssetGen::surfacesAreOpaqueAndCutOutsAreNot()
{
    for (const QString &layer : AssetCatalogue::textureLayers()) {
        const bool surface = QStringList({"Ceil", "Floor", "Wall", "Door"}).contains(layer);
        for (const QString &name : texturesOf(output.path(), layer)) {
            const QImage image = load(output.filePath("textures/" + layer + "/" + name));
            const QString path = layer + "/" + name;
            if (surface) {
                for (int y = 0; y < 64; ++y)
                    for (int x = 0; x < 64; ++x)
                        QVERIFY2(qAlpha(image.pixel(x, y)) == 255, qPrintable(path));
            } else {
                QVERIFY2(qAlpha(image.pixel(0, 0)) == 0 && qAlpha(image.pixel(63, 0)) == 0, qPrintable(path));
            }
        }
    }
}

void TestAssetGen::texturesOfALayerDifferAtCellSize()
{
    for (const QString &layer : AssetCatalogue::textureLayers()) {
        const QStringList names = texturesOf(output.path(), layer);
        QVector<QImage> small;
        for (const QString &name : names)
            small << atCellSize(load(output.filePath("textures/" + layer + "/" + name)));
        for (int i = 0; i < names.size(); ++i) {
            for (int j = i + 1; j < names.size(); ++j) {
                const double difference = meanDifference(small[i], small[j]);
                QVERIFY2(difference > 12, qPrintable(QString("%1: %2 and %3 differ by only %4")
                                                         .arg(layer, names[i], names[j])
                                                         .arg(difference)));
            }
        }
    }
}

void TestAssetGen::outputIsDeterministic()
{
    QTemporaryDir again;
    QVERIFY(again.isValid());
    QCOMPARE(AssetWriter::writeAll(again.path()), QStringList());
    const QStringList files = filesBelow(output.path());
    QCOMPARE(filesBelow(again.path()), files);
    QCOMPARE(files.size(), AssetCatalogue::all().size());
    for (const QString &file : files) {
        QFile first(output.filePath(file)), second(again.filePath(file));
        QVERIFY(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
        QVERIFY2(first.readAll() == second.readAll(), qPrintable(file));
    }
}

void TestAssetGen::reportsWhatCouldNotBeWritten()
{
    // A plain file where the output folder should be: nothing can be written below it.
    QTemporaryDir dir;
    const QString blocked = dir.filePath("blocked");
    QFile file(blocked);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QStringList failed = AssetWriter::writeAll(blocked);
    QCOMPARE(failed.size(), AssetCatalogue::all().size());
    QVERIFY(failed.contains("assets/lamp.png"));
}

void TestAssetGen::keysMatchTheirDoors()
{
    QSet<int> hues;
    for (const QString &key : QStringList{"bluekey.png", "redkey.png", "greenkey.png", "yellowkey.png"}) {
        const int door = keyHue(load(output.filePath("textures/Door/") + key));
        const int item = keyHue(load(output.filePath("textures/Item/") + key));
        const int apart = std::abs(door - item);
        QVERIFY2(std::min(apart, 360 - apart) <= 15, qPrintable(QString("%1: door hue %2, key hue %3")
                                                                    .arg(key).arg(door).arg(item)));
        hues.insert(door / 30);
    }
    QCOMPARE(hues.size(), 4);
}

void TestAssetGen::grainStaysInRangeAndKeepsAlpha()
{
    Grain first(5), second(5);
    bool low = false, high = false;
    for (int i = 0; i < 2000; ++i) {
        const int value = first.between(-3, 3);
        QCOMPARE(second.between(-3, 3), value);
        QVERIFY(value >= -3 && value <= 3);
        low = low || value == -3;
        high = high || value == 3;
    }
    QVERIFY(low && high);
    QVERIFY(Grain(0).next() != 0); // a zero seed must not stick at zero

    // Noise on a cut-out must not show in its transparent parts or change its edge.
    QImage image(8, 8, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setPixelColor(2, 2, QColor(100, 100, 100, 255));
    image.setPixelColor(3, 3, QColor(100, 100, 100, 128));
    Grain::roughen(image, 30, 9);
    QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            QCOMPARE(alpha, x == 2 && y == 2 ? 255 : x == 3 && y == 3 ? 128 : 0);
        }
}

void TestAssetGen::programExitCodes()
{
    // The build step relies on these: a failure must stop the build.
    QProcess program;
    program.start(TESSEL_ASSETGEN, QStringList());
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 2);

    QTemporaryDir dir;
    const QString blocked = dir.filePath("blocked");
    QFile(blocked).open(QIODevice::WriteOnly);
    program.start(TESSEL_ASSETGEN, {blocked});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 1);

    program.start(TESSEL_ASSETGEN, {dir.filePath("tree")});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(filesBelow(dir.filePath("tree")), filesBelow(output.path()));

    program.start(TESSEL_ASSETGEN, {"--icons", dir.filePath("icons")});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(filesBelow(dir.filePath("icons")).size(), 6);
}

void TestAssetGen::iconsAtEachThemeSize()
{
    QTemporaryDir icons;
    QCOMPARE(AssetWriter::writeIcons(icons.path()), QStringList());
    for (int size : {48, 128, 256}) {
        const QString folder = icons.filePath(QString("hicolor/%1x%1/apps/").arg(size));
        const QImage editor = load(folder + "tessel.png");
        const QImage launcher = load(folder + "tessel-launcher.png");
        for (const QImage &image : {editor, launcher}) {
            QCOMPARE(image.size(), QSize(size, size));
            // A tile with rounded corners on a clear background.
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
        }
        QVERIFY2(meanDifference(editor, launcher) > 20, "the two programs' icons look alike");
    }
}

QTEST_GUILESS_MAIN(TestAssetGen)
#include "tst_assetgen.moc"
