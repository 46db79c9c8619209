// Map pieces as plain data: what a copy takes, where turns and mirrors put the
// cells, and what a paste changes (and its revert gives back).
#include "testvalues.h"

#include "format/layernames.h"
#include "model/mapmodel.h"
#include "model/mappiece.h"
#include "model/sector.h"

#include <QTest>

using namespace LayerNames;

namespace {

// The filled cells of the model inside `area` as "Layer x,y texture subtype
// emission", moved by `shift`, sorted.
QStringList cellsOf(const MapModel &model, const QRect &area = QRect(0, 0, 1000, 1000),
                    const QPoint &shift = QPoint())
{
    QStringList cells;
    for (const auto &entry : model.layers()) {
        for (const Sector *s : entry.sectors) {
            const QPoint at = QPoint(s->data->mapX, s->data->mapY);
            if (!area.contains(at))
                continue;
            cells << QStringLiteral("%1 %2,%3 %4 %5 %6")
                         .arg(QString::fromUtf8(entry.name))
                         .arg(at.x() + shift.x())
                         .arg(at.y() + shift.y())
                         .arg(QString::fromUtf8(s->data->texture.fileName), QString::fromUtf8(s->data->subtype))
                         .arg(s->data->lighting.emission);
        }
    }
    cells.sort();
    return cells;
}

QList<QPoint> offsets(const MapPiece &piece)
{
    QList<QPoint> points;
    for (const auto &layer : piece.layers()) {
        for (const auto &cell : layer.cells)
            points << cell.offset;
    }
    return points;
}

} // namespace

class TestMapPiece : public QObject
{
    Q_OBJECT

private slots:
    void transforms_data();
    void transforms();
    void copyThenPasteAcrossLayers();
    void pasteNearTheEdgeLeavesOutNegativeCells();
};

void TestMapPiece::transforms_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<QPoint>>("expected");
    // The piece is 3 wide and 2 high: "XX." over "..X". Offsets in row order.
    QTest::newRow("quarter turn clockwise") << "R" << QSize(2, 3) << QList<QPoint>{{1, 0}, {1, 1}, {0, 2}};
    QTest::newRow("quarter turn counter-clockwise") << "r" << QSize(2, 3) << QList<QPoint>{{1, 0}, {0, 1}, {0, 2}};
    QTest::newRow("mirror left to right") << "H" << QSize(3, 2) << QList<QPoint>{{1, 0}, {2, 0}, {0, 1}};
    QTest::newRow("mirror top to bottom") << "V" << QSize(3, 2) << QList<QPoint>{{2, 0}, {0, 1}, {1, 1}};
    QTest::newRow("four turns") << "RRRR" << QSize(3, 2) << QList<QPoint>{{0, 0}, {1, 0}, {2, 1}};
    QTest::newRow("turn then turn back") << "Rr" << QSize(3, 2) << QList<QPoint>{{0, 0}, {1, 0}, {2, 1}};
}

void TestMapPiece::transforms()
{
    QFETCH(QString, operation);
    QFETCH(QSize, size);
    QFETCH(QList<QPoint>, expected);
    MapPiece piece(QSize(3, 2), {{Wall, {{QPoint(0, 0), {}}, {QPoint(1, 0), {}}, {QPoint(2, 1), {}}}}});
    for (const QChar op : operation) {
        if (op == 'R')
            piece = piece.turnedClockwise();
        else if (op == 'r')
            piece = piece.turnedCounterClockwise();
        else if (op == 'H')
            piece = piece.mirroredLeftRight();
        else
            piece = piece.mirroredTopBottom();
    }
    QCOMPARE(piece.size(), size);
    QCOMPARE(offsets(piece), expected);
}

void TestMapPiece::copyThenPasteAcrossLayers()
{
    MapModel model;
    model.placeCells(Wall, {{1, 1}, {2, 1}}, texture("w.png", 7));
    model.placeCells(Floor, {{1, 2}, {2, 2}}, texture("f.png", 3));
    model.placeCell(Actor, {2, 2}, texture("a.png", 9));
    model.setProperties(model.sectorAt(Actor, 2, 2), "Shotgunner", SectorLighting());
    model.placeCell(Lightmap, {1, 2}, texture("l.png", 0));
    SectorLighting light;
    light.emission = 77;
    model.setProperties(model.sectorAt(Lightmap, 1, 2), "Static", light);
    model.placeCell(Wall, {9, 9}, texture("far.png", 1)); // outside the rectangle

    const QRect area(QPoint(1, 1), QPoint(2, 2));
    const MapPiece piece = MapPiece::copy(model, area);
    QCOMPARE(piece.cellCount(), 6);
    const QStringList copied = cellsOf(model, area, QPoint(9, 8));
    model.placeCell(Wall, {11, 9}, texture("old.png", 5)); // replaced by the paste
    model.placeCell(Ceil, {11, 9}, texture("c.png", 4));   // no stamp cell on Ceil: stays
    const QStringList before = cellsOf(model);
    const MapChange change = piece.pasteInto(model, {10, 9});
    QCOMPARE(change.size(), 6);

    QStringList expected = copied + before.filter("Ceil 11,9 ");
    expected.sort();
    QCOMPARE(cellsOf(model, QRect(10, 9, 2, 2)), expected);
    QCOMPARE(cellsOf(model).size(), before.size() + 5);

    model.revert(change);
    QCOMPARE(cellsOf(model), before);
}

void TestMapPiece::pasteNearTheEdgeLeavesOutNegativeCells()
{
    MapModel model;
    model.placeCells(Floor, {{0, 0}, {1, 0}, {2, 0}, {0, 1}}, texture("f.png", 3));
    const MapPiece piece = MapPiece::copy(model, QRect(0, 0, 3, 2));
    int leftOut = 0;
    const MapChange change = piece.pasteInto(model, {-2, 1}, &leftOut);
    QCOMPARE(leftOut, 3);
    QCOMPARE(change.size(), 1);
    QVERIFY(model.sectorAt(Floor, 0, 1));
    QCOMPARE(model.sectorsOf(Floor).size(), 4);
}

QTEST_GUILESS_MAIN(TestMapPiece)
#include "tst_mappiece.moc"
