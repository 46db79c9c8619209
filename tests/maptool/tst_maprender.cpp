#include "colournear.h"

#include "colorize.h"
#include "mapinput.h"
#include "maprenderer.h"
#include "view/iconcache.h"

#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

// The picture of the example map (a Floor, a Wall and a Lightmap cell in one
// row) must show each cell as the editor's own button would: plain, tinted or
// shaded. The editor's effect itself is the reference for the colours.
class TestMapRender : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void tintsLikeTheEditorsEffect_data();
    void tintsLikeTheEditorsEffect();
    void drawsEachCellAsTheEditorShowsIt_data();
    void drawsEachCellAsTheEditorShowsIt();
    void leavesOutImagesOutsideTheMapsFolder();

private:
    QTemporaryDir folder;
    QString lamp;
};

namespace {

const QColor stone(120, 120, 120);
const QColor brick(220, 30, 30);
const QColor lampColour(100, 150, 200);
const QColor gridCell(24, 26, 30);
const QColor otherLayer(0, 0, 155);

QImage solid(const QColor &colour, int side = 16)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// What the editor's button shows for an image of one colour with that tint.
QColor editorShows(const QColor &colour, const QColor &tint)
{
    if (!tint.isValid())
        return colour;
    return IconCache::tinted(QPixmap::fromImage(solid(colour)), tint).toImage().pixelColor(8, 8);
}

} // namespace

void TestMapRender::initTestCase()
{
    QVERIFY(folder.isValid());
    QVERIFY(QFile::copy(QFINDTESTDATA("data/level1.map"), folder.filePath("level1.map")));
    QVERIFY(folder.path().size() > 0 && QDir(folder.path()).mkdir("level1"));
    QVERIFY(solid(stone, 64).save(folder.filePath("level1/stone.png")));
    // One colour in a one-bit palette, as image tools write such a file.
    QImage palette(64, 64, QImage::Format_Mono);
    palette.setColorTable({brick.rgb(), brick.rgb()});
    palette.fill(0);
    QVERIFY(palette.save(folder.filePath("level1/brick.png")));
    lamp = folder.filePath("lamp.png");
    QVERIFY(solid(lampColour, 64).save(lamp));
}

void TestMapRender::tintsLikeTheEditorsEffect_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QColor>("tint");
    QTest::newRow("brick, other layer") << brick << otherLayer;
    QTest::newRow("stone, light 10") << stone << QColor(10, 10, 10);
    QTest::newRow("lamp, light 200") << lampColour << QColor(200, 200, 200);
    QTest::newRow("half transparent, selected") << QColor(200, 40, 90, 128) << QColor(0, 155, 0);
}

void TestMapRender::tintsLikeTheEditorsEffect()
{
    QFETCH(QColor, colour);
    QFETCH(QColor, tint);
    const QImage expected = IconCache::tinted(QPixmap::fromImage(solid(colour)), tint).toImage();
    const QImage mine = Colorize::apply(solid(colour), tint);
    const QColor a = mine.pixelColor(8, 8);
    const QColor b = expected.pixelColor(8, 8);
    QVERIFY2(near(a, b) && qAbs(a.alpha() - b.alpha()) <= 1,
             qPrintable(QStringLiteral("%1 vs the editor's %2").arg(a.name(QColor::HexArgb), b.name(QColor::HexArgb))));
}

void TestMapRender::drawsEachCellAsTheEditorShowsIt_data()
{
    QTest::addColumn<QString>("layers");
    QTest::addColumn<int>("column");
    QTest::addColumn<QColor>("expected");
    const QColor invalid;
    QTest::newRow("floor being edited is plain") << "Floor,Wall,Lightmap" << 0 << editorShows(stone, invalid);
    QTest::newRow("wall from another layer is tinted") << "Floor,Wall,Lightmap" << 1 << editorShows(brick, otherLayer);
    QTest::newRow("light from another layer is tinted") << "Floor,Wall,Lightmap" << 2
                                                         << editorShows(lampColour, otherLayer);
    QTest::newRow("light being edited is shaded by emission 10") << "Lightmap,Wall" << 2
                                                                  << editorShows(lampColour, QColor(10, 10, 10));
    QTest::newRow("a layer not drawn shows the grid") << "Lightmap,Wall" << 0 << gridCell;
    QTest::newRow("wall being edited is plain") << "Wall" << 1 << editorShows(brick, invalid);
}

void TestMapRender::drawsEachCellAsTheEditorShowsIt()
{
    QFETCH(QString, layers);
    QFETCH(int, column);
    QFETCH(QColor, expected);
    MapInput input;
    QString failure;
    QVERIFY2(input.read(folder.filePath("level1.map"), &failure), qPrintable(failure));
    MapRenderer::Options options;
    options.cellSize = 16;
    for (const QString &layer : layers.split(','))
        options.layers.append(layer.toUtf8());
    options.lampImage = lamp;
    const QImage picture = MapRenderer().render(input, options);
    QCOMPARE(picture.size(), QSize(3 * 16, 16));
    const QColor seen = picture.pixelColor(column * 16 + 8, 8);
    QVERIFY2(near(seen, expected), qPrintable(seen.name() + " instead of " + expected.name()));
}

void TestMapRender::leavesOutImagesOutsideTheMapsFolder()
{
    QTemporaryDir outer;
    QVERIFY(QDir(outer.path()).mkdir("maps"));
    QVERIFY(solid(brick).save(outer.filePath("secret.png")));
    QFile map(outer.filePath("maps/peek.map"));
    QVERIFY(map.open(QIODevice::WriteOnly));
    map.write("#Wall\r\n100,\r\n\r\n#Definitions\r\n100,Wall,Solid,../secret.png\r\n");
    map.close();
    MapInput input;
    QString failure;
    QVERIFY2(input.read(map.fileName(), &failure), qPrintable(failure));
    MapRenderer::Options options;
    options.layers = {"Wall"};
    QCOMPARE(MapRenderer().render(input, options).pixelColor(8, 8), gridCell);
}

QTEST_MAIN(TestMapRender)
#include "tst_maprender.moc"
