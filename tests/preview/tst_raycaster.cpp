// The preview's renderer on tiny maps drawn as text: what geometry decides.
#include "preview/previewcamera.h"
#include "preview/previewworld.h"
#include "preview/raycaster.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A solid image per colour, made once.
QString imageOf(QTemporaryDir &dir, const QColor &colour)
{
    const QString path = dir.filePath(colour.name().mid(1) + QStringLiteral(".png"));
    if (!QFile::exists(path)) {
        QImage image(8, 8, QImage::Format_ARGB32);
        image.fill(colour);
        image.save(path);
    }
    return path;
}

// '#' red wall, 'D' blue door, 'S' green sprite, 'L' a light of level 255,
// 'P' the player start; every cell has a white floor.
QVector<PreviewWorld::Record> recordsOf(const QStringList &picture, QTemporaryDir &dir)
{
    QVector<PreviewWorld::Record> records;
    for (int y = 0; y < picture.size(); ++y) {
        for (int x = 0; x < picture.at(y).size(); ++x) {
            records.append({"Floor", x, y, imageOf(dir, Qt::white), {}, {}});
            const QChar c = picture.at(y).at(x);
            if (c == QLatin1Char('#'))
                records.append({"Wall", x, y, imageOf(dir, Qt::red), "Solid", {}});
            else if (c == QLatin1Char('D'))
                records.append({"Door", x, y, imageOf(dir, Qt::blue), "Solid", {}});
            else if (c == QLatin1Char('S'))
                records.append({"Sprite", x, y, imageOf(dir, Qt::green), "No Collision", {}});
            else if (c == QLatin1Char('P'))
                records.append({"Actor", x, y, imageOf(dir, Qt::black), "Player", {}});
            if (c == QLatin1Char('L')) {
                SectorLighting light;
                light.emission = 255;
                records.append({"Lightmap", x, y, QString(), "Static", light});
            }
        }
    }
    return records;
}

struct Scene
{
    QTemporaryDir dir;
    PreviewWorld world;
    PreviewCamera camera;
    QImage image{640, 400, QImage::Format_RGB32};

    explicit Scene(const QStringList &picture)
    {
        world.rebuild(recordsOf(picture, dir));
        int x = 0, y = 0;
        world.playerStart(&x, &y);
        camera = PreviewCamera::standingIn(world, x, y);
    }
    QImage render()
    {
        Raycaster().render(world, camera, 0, image);
        return image;
    }
};

// Rows of the centre column whose colour is mostly `channel`.
int rowsOf(const QImage &image, int column, QRgb channelMask)
{
    int rows = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb p = image.pixel(column, y) & channelMask;
        const QRgb others = image.pixel(column, y) & ~channelMask & 0xffffff;
        rows += p != 0 && others == 0 ? 1 : 0;
    }
    return rows;
}

} // namespace

class TestRaycaster : public QObject
{
    Q_OBJECT

private slots:
    void centreColumn_data();
    void centreColumn();
    void lightBrightensItsCell();
    void cameraCannotEnterWalls();
};

void TestRaycaster::centreColumn_data()
{
    QTest::addColumn<QStringList>("picture");
    QTest::addColumn<uint>("channel");
    QTest::addColumn<int>("expectedRows");
    // The camera starts in the middle of P's cell facing east; 400 rows high,
    // a surface at distance d fills 400 / d rows.
    QTest::newRow("wall at 2.5 cells") << QStringList{"#####", "#P..#", "#####"} << 0xff0000u << 160;
    QTest::newRow("wall at 1.5 cells, a corner cell") << QStringList{"####", "#P.#", "####"} << 0xff0000u << 267;
    QTest::newRow("door slab in the middle of its cell") << QStringList{"#####", "#P.D.", "#####"} << 0x0000ffu << 200;
    QTest::newRow("billboard in the open") << QStringList{"#######", "#P.S..#", "#######"} << 0x00ff00u << 200;
    QTest::newRow("billboard behind a nearer wall") << QStringList{"######", "#P#S.#", "######"} << 0x00ff00u << 0;
}

void TestRaycaster::centreColumn()
{
    QFETCH(QStringList, picture);
    QFETCH(uint, channel);
    QFETCH(int, expectedRows);
    Scene scene(picture);
    const QImage image = scene.render();
    const int found = rowsOf(image, image.width() / 2, channel);
    QVERIFY2(qAbs(found - expectedRows) <= 1, qPrintable(QString::number(found)));
}

void TestRaycaster::lightBrightensItsCell()
{
    Scene dark({"#####", "#P..#", "#####"});
    Scene lit({"#####", "#P.L#", "#####"});
    const QRgb unlit = dark.render().pixel(320, 200);
    const QRgb bright = lit.render().pixel(320, 200);
    QVERIFY2(qRed(bright) > qRed(unlit) * 3, qPrintable(QStringLiteral("%1 vs %2").arg(qRed(bright)).arg(qRed(unlit))));
    // A blinking light is dark every other period.
    PreviewWorld::Record blink{"Lightmap", 3, 1, QString(), "Dynamic", {}};
    blink.lighting.emission = 255;
    blink.lighting.blinkDelay = 0.5;
    lit.world.rebuild({blink});
    QVERIFY(lit.world.hasAnimatedLights());
    QCOMPARE(lit.world.lightAt(3, 1, 0.2), 255);
    QCOMPARE(lit.world.lightAt(3, 1, 0.7), int(PreviewWorld::baseLight));
}

void TestRaycaster::cameraCannotEnterWalls()
{
    Scene scene({"#####", "#P..#", "#.###", "#####"});
    for (int i = 0; i < 100; ++i)
        scene.camera.walk(scene.world, 0.1, 0.02); // into the east wall, drifting south
    QCOMPARE(scene.camera.cellX(), 3);
    QCOMPARE(scene.camera.cellY(), 1);
    QVERIFY(scene.camera.x <= 4 - PreviewCamera::radius + 1e-9);
    scene.camera.turn(1.5707963267948966); // face south: one open cell, then wall
    for (int i = 0; i < 50; ++i)
        scene.camera.walk(scene.world, 0.1, 0);
    QCOMPARE(scene.camera.cellY(), 1);
}

QTEST_MAIN(TestRaycaster)
#include "tst_raycaster.moc"
