// The cells that lines, rectangles and rooms write, and the sectors that a
// search and "select alike" gather: plain functions of corner cells and the map.
#include "model/findquery.h"
#include "testvalues.h"

#include "format/layernames.h"
#include "model/mapmodel.h"
#include "model/roomplan.h"
#include "model/sector.h"
#include "model/shapecells.h"

#include <QRegularExpression>
#include <QTest>

Q_DECLARE_METATYPE(ShapeCells::Form)
Q_DECLARE_METATYPE(FindQuery)

using namespace LayerNames;

namespace {

// "1,2" for a cell, "W1,2" for a sector of the Wall layer, "W1,2*" where a change replaces one.
QString name(const QPoint &c)
{
    return QStringLiteral("%1,%2").arg(c.x()).arg(c.y());
}

QString name(const Sector *s)
{
    return s->layer().left(1) + name(QPoint(s->data->mapX, s->data->mapY));
}

QString name(const CellChange &c)
{
    return c.layer.left(1) + name(QPoint(c.mapX, c.mapY)) + (c.before ? "*" : "");
}

// Space-separated; a long list as its count.
template<typename List>
QString text(const List &items)
{
    QStringList parts;
    for (const auto &item : items)
        parts << name(item);
    return parts.size() <= 16 ? parts.join(' ') : QStringLiteral("%1 cells").arg(parts.size());
}

// Painted out of row order.
void drawSearchMap(MapModel &model)
{
    model.placeCells(Wall, {{2, 1}, {5, 0}}, texture("Brick_A.png", 1));
    model.placeCell(Wall, {0, 1}, texture("brick_b.png", 2));
    model.placeCell(Wall, {4, 1}, texture("Brick_A.png", 11));
    model.placeCell(Wall, {3, 2}, texture("Brick_A.png", 1, "other/"));
    model.setProperties(model.sectorAt(Wall, 5, 0), "PiercedWall", SectorLighting());
    model.placeCell(Door, {3, 0}, texture("door.png", 4));
    model.placeCell(Floor, {1, 1}, texture("ÄRGER.png", 5));
    model.placeCells(Lightmap, {{6, 2}, {4, 2}, {1, 2}}, texture("lamp.png", 0, "assets/"));
    SectorLighting dynamic;
    dynamic.emission = 40;
    dynamic.blinkDelay = 0.25;
    model.setProperties(model.sectorAt(Lightmap, 1, 2), "Dynamic", dynamic);
}

} // namespace

class TestCellSets : public QObject
{
    Q_OBJECT

private slots:
    void shape_data();
    void shape();
    void lineInEveryDirection();
    void room_data();
    void room();
    void find_data();
    void find();
    void alike();
};

void TestCellSets::shape_data()
{
    QTest::addColumn<ShapeCells::Form>("form");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QString>("cells");
    QTest::addColumn<int>("leftOut");
    QTest::addColumn<QString>("refusal"); // a part of the sentence
    const auto line = ShapeCells::Form::Line, outline = ShapeCells::Form::Outline, filled = ShapeCells::Form::Filled;
    QTest::newRow("line through corners") << line << QPoint(0, 2) << QPoint(2, 0) << "0,2 0,1 1,1 1,0 2,0" << 0 << "";
    QTest::newRow("outline") << outline << QPoint(1, 1) << QPoint(3, 3) << "1,1 2,1 3,1 1,2 3,2 1,3 2,3 3,3" << 0 << "";
    QTest::newRow("filled") << filled << QPoint(3, 2) << QPoint(1, 1) << "1,1 2,1 3,1 1,2 2,2 3,2" << 0 << "";
    QTest::newRow("one row") << outline << QPoint(0, 5) << QPoint(3, 5) << "0,5 1,5 2,5 3,5" << 0 << "";
    QTest::newRow("one column") << outline << QPoint(2, 2) << QPoint(2, 0) << "2,0 2,1 2,2" << 0 << "";
    QTest::newRow("across column 0") << outline << QPoint(-2, 1) << QPoint(2, 3) << "0,1 1,1 2,1 2,2 0,3 1,3 2,3"
                                     << 5 << "";
    QTest::newRow("a map's cells") << filled << QPoint(0, 0) << QPoint(499, 499) << "250000 cells" << 0 << "";
    QTest::newRow("more") << filled << QPoint(0, 0) << QPoint(500, 499) << "" << 0 << "250,500 cells, more than";
    QTest::newRow("wider than a map") << line << QPoint(-1, 0) << QPoint(4095, 0) << "" << 0 << "4,097 x 1 cells";
    QTest::newRow("past the last column") << outline << QPoint(4090, 7) << QPoint(4096, 9) << "" << 0
                                          << "reaches Map X 4096, Map Y 9";
}

void TestCellSets::shape()
{
    QFETCH(ShapeCells::Form, form);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QString, refusal);
    const ShapeCells shape(form, from, to);
    QTEST(text(shape.cells()), "cells");
    QTEST(int(shape.leftOut()), "leftOut");
    QVERIFY2(refusal.isEmpty() == shape.refusal().isEmpty() && shape.refusal().contains(refusal),
             qPrintable(shape.refusal()));
}

// To every cell around one (and to itself): side-by-side steps along the
// segment, and the same cells drawn back or mirrored left to right.
void TestCellSets::lineInEveryDirection()
{
    for (int x = -6; x <= 6; ++x) {
        for (int y = -6; y <= 6; ++y) {
            const QList<QPoint> cells = lineCells({0, 0}, {x, y});
            QCOMPARE(cells.size(), qAbs(x) + qAbs(y) + 1);
            QCOMPARE(QList<QPoint>({cells.first(), cells.last()}), QList<QPoint>({{0, 0}, {x, y}}));
            QList<QPoint> back = lineCells({x, y}, {0, 0});
            std::reverse(back.begin(), back.end());
            QCOMPARE(back, cells);
            const QList<QPoint> mirrored = lineCells({0, 0}, {-x, y});
            for (int i = 0; i < cells.size(); ++i) {
                QVERIFY(i == 0 || (cells[i] - cells[i - 1]).manhattanLength() == 1);
                QVERIFY(2 * qAbs(y * cells[i].x() - x * cells[i].y()) <= qAbs(x) + qAbs(y));
                QCOMPARE(mirrored[i], QPoint(-cells[i].x(), cells[i].y()));
            }
        }
    }
}

void TestCellSets::room_data()
{
    QTest::addColumn<QString>("before"); // cells of another texture, as "Layer x,y"
    QTest::addColumn<QPoint>("to");      // from 0,0
    QTest::addColumn<bool>("ceilTexture");
    QTest::addColumn<QString>("changed");
    QTest::addColumn<QList<int>>("counts"); // left out, walls inside, doors on the outline
    const QString walls = "W0,0 W1,0 W2,0 W3,0 W0,1 W3,1 W0,2 W1,2 W2,2 W3,2";
    const QList<int> none{0, 0, 0};
    QTest::newRow("empty map") << "" << QPoint(3, 2) << true << walls + " F1,1 F2,1 C1,1 C2,1" << none;
    QTest::newRow("replaced") << "Wall 3,1 Floor 2,1 Ceil 1,1" << QPoint(3, 2) << true
                              << QString(walls).replace("W3,1", "W3,1*") + " F1,1 F2,1* C1,1* C2,1" << none;
    QTest::newRow("a wall inside, a doorway") << "Wall 1,1 Door 3,1" << QPoint(3, 2) << true
                                              << QString(walls).remove("W3,1 ") + " F1,1 F2,1 C1,1 C2,1"
                                              << QList<int>{0, 1, 1};
    QTest::newRow("no ceiling texture") << "" << QPoint(3, 2) << false << walls + " F1,1 F2,1" << none;
    QTest::newRow("across column 0") << "" << QPoint(-2, 2) << true << "W0,0 W0,1 W0,2" << QList<int>{6, 0, 0};
}

void TestCellSets::room()
{
    QFETCH(QString, before);
    QFETCH(QPoint, to);
    QFETCH(bool, ceilTexture);
    MapModel model;
    const QStringList old = before.split(QRegularExpression("[ ,]"), Qt::SkipEmptyParts);
    for (int i = 0; i + 2 < old.size(); i += 3)
        model.placeCell(old[i].toUtf8(), {old[i + 1].toInt(), old[i + 2].toInt()}, texture("old.png", 1));
    const RoomPlan::Textures textures{texture("w.png", 2), texture("f.png", 3),
                                      ceilTexture ? texture("c.png", 4) : TextureEntry()};
    const RoomPlan plan = roomPlan(model, {0, 0}, to, textures);
    QTEST(text(plan.change.cells), "changed");
    QTEST((QList<int>{int(plan.leftOut), plan.wallsInside, plan.doorsOnOutline}), "counts");
    // Applied, it is the room a second drag would make.
    model.apply(plan.change);
    QCOMPARE(model.checkConsistency(), QStringList());
    QCOMPARE(roomPlan(model, {0, 0}, to, textures).change.size(), 0);
}

void TestCellSets::find_data()
{
    QTest::addColumn<FindQuery>("query");
    QTest::addColumn<QString>("found");
    const auto query = [](const char *layer, const QString &part, const char *subtype) {
        return FindQuery{layer, part, subtype, {}, {}, {}, {}, {}};
    };
    FindQuery lit = query("", "", "");
    lit.emission = 10; // also what every cell of the other layers carries
    FindQuery blinking = query("", "", "");
    blinking.blinkDelay = 0.25;
    QTest::newRow("all, by layer and row") << query("", "", "") << "W5,0 W0,1 W2,1 W4,1 W3,2 F1,1 D3,0 L1,2 L4,2 L6,2";
    QTest::newRow("file name part, any case") << query("", "BRICK", "") << "W5,0 W0,1 W2,1 W4,1 W3,2";
    QTest::newRow("any case beyond ASCII") << query("", QStringLiteral("ärger"), "") << "F1,1";
    QTest::newRow("a whole subtype") << query("", "", "Solid") << "W0,1 W2,1 W4,1 W3,2 D3,0";
    QTest::newRow("a light value: lights only") << lit << "L4,2 L6,2";
    QTest::newRow("another light value") << blinking << "L1,2";
    QTest::newRow("all together") << query(Wall, "brick_a", "PiercedWall") << "W5,0";
}

void TestCellSets::find()
{
    QFETCH(FindQuery, query);
    MapModel model;
    drawSearchMap(model);
    QTEST(text(findSectors(model, query)), "found");
}

// The same image and subtype, whatever the identifier (each light cell has its own).
void TestCellSets::alike()
{
    MapModel model;
    drawSearchMap(model);
    QCOMPARE(text(alikeOf(model, Wall, model.sectorAt(Wall, 2, 1))), QStringLiteral("W2,1 W4,1"));
    QCOMPARE(text(alikeOf(model, Lightmap, model.sectorAt(Lightmap, 4, 2))), QStringLiteral("L4,2 L6,2"));
}

QTEST_GUILESS_MAIN(TestCellSets)
#include "tst_cellsets.moc"
