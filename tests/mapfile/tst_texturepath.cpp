// Which texture paths of a map may be read: only regular files of a sane size
// inside the map's folder, judged on the text and again after every link.
#include "format/maplimits.h"
#include "format/texturepath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Verdict = TexturePath::Verdict;
Q_DECLARE_METATYPE(TexturePath::Verdict)

class TestTexturePath : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void resolve_data();
    void resolve();

private:
    QString root() const { return QFileInfo(dir.path()).canonicalFilePath(); }
    QTemporaryDir dir;
};

void TestTexturePath::initTestCase()
{
    // The map lies in maps/; maps-x/ beside it starts with the same name.
    QVERIFY(QDir().mkpath(root() + "/maps/level") && QDir().mkpath(root() + "/maps-x"));
    const QList<QPair<QString, qint64>> files{{"maps/level/good.png", 10},
                                              {"maps-x/secret.png", 10},
                                              {"maps/level/exact.png", MapLimits::imageBytes},
                                              {"maps/level/over.png", MapLimits::imageBytes + 1}};
    for (const auto &file : files) {
        QFile made(root() + '/' + file.first);
        // Sparse: a size check, not a slow write.
        QVERIFY(made.open(QIODevice::WriteOnly) && made.resize(file.second));
    }
    QVERIFY(QFile::link(root() + "/maps-x/secret.png", root() + "/maps/level/sibling-link.png"));
}

void TestTexturePath::resolve_data()
{
    QTest::addColumn<QByteArray>("relative");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<QString>("path"); // below the temporary folder

    QTest::newRow("inside") << QByteArray("level/good.png") << Verdict::Accepted << "/maps/level/good.png";
    QTest::newRow("exactly the largest size") << QByteArray("level/exact.png") << Verdict::Accepted
                                              << "/maps/level/exact.png";
    QTest::newRow("missing") << QByteArray("level/none.png") << Verdict::Missing << "/maps/level/none.png";
    QTest::newRow("sibling folder with the map folder's name in front") << QByteArray("../maps-x/secret.png")
                                                                        << Verdict::Refused << QString();
    QTest::newRow("down and back up to the sibling") << QByteArray("level/../../maps-x/secret.png")
                                                     << Verdict::Refused << QString();
    QTest::newRow("link to the sibling") << QByteArray("level/sibling-link.png") << Verdict::Refused << QString();
    QTest::newRow("one byte too large") << QByteArray("level/over.png") << Verdict::Refused << QString();
}

void TestTexturePath::resolve()
{
    QFETCH(QByteArray, relative);
    QFETCH(Verdict, verdict);
    QFETCH(QString, path);
    const TexturePath::Resolved resolved = TexturePath::resolve(root() + "/maps", relative);
    QCOMPARE(resolved.verdict, verdict);
    QCOMPARE(resolved.path, path.isEmpty() ? QString() : root() + path);
    QCOMPARE(resolved.reason.isEmpty(), verdict != Verdict::Refused);
}

QTEST_APPLESS_MAIN(TestTexturePath)
#include "tst_texturepath.moc"
