// The layer tables, subtypes and light emission cells: plain functions of the
// model library, checked without any widget.
#include "format/layernames.h"
#include "model/emission.h"
#include "model/layertable.h"
#include "model/subtypetable.h"

#include <QTest>

#include <algorithm>
#include <cstdlib>

class TestModelTables : public QObject
{
    Q_OBJECT

private slots:
    void subtypeTables();
    void layerOrders();
    void layerTableAddsMissingNamesAtTheEnd();
    void emissionCells_data();
    void emissionCells();
    void emissionCellsComeRowByRow();
};

void TestModelTables::subtypeTables()
{
    QCOMPARE(subtypesOf("Wall"), (QList<QByteArray>{"Solid", "PiercedWall", "SolidBounding"}));
    QCOMPARE(subtypesOf("Floor"), QList<QByteArray>{QByteArray()});
    QCOMPARE(subtypesOf("Ceil"), QList<QByteArray>{QByteArray()});
    QVERIFY(subtypesOf("wall").isEmpty());
    QCOMPARE(subtypesOf("Lightmap").at(0), QByteArray("Static"));
    QCOMPARE(subtypesOf("Lightmap").at(1), QByteArray("Dynamic"));
    QCOMPARE(subtypesOf("Item").first(), QByteArray("Healthpack"));
    QCOMPARE(subtypesOf("Item").size(), 14);
    QCOMPARE(subtypesOf("Actor").first(), QByteArray("Soldier"));
    QCOMPARE(subtypesOf("Sprite").first(), QByteArray("No Collision"));
    QCOMPARE(subtypesOf("Door").size(), 5);
}

void TestModelTables::layerOrders()
{
    QCOMPARE(layerOrder(), (QList<QByteArray>{"Ceil", "Wall", "Floor", "Door", "Actor", "Sprite", "Item", "Lightmap"}));
    QCOMPARE(galleryScanOrder(), (QList<QByteArray>{"Ceil", "Floor", "Wall", "Door", "Actor", "Sprite", "Item", "Lightmap"}));
}

void TestModelTables::layerTableAddsMissingNamesAtTheEnd()
{
    LayerTable table({"Wall", "Floor"});
    QVERIFY(table["Extra"].isEmpty());
    QCOMPARE(table.names(), (QList<QByteArray>{"Wall", "Floor", "Extra"}));
    QVERIFY(table.value("Missing").isEmpty());
    QVERIFY(!table.contains("Missing"));
    LayerTable copy = table;
    copy["Other"];
    QCOMPARE(table.size(), 3);
    QCOMPARE(copy.size(), 4);
}

void TestModelTables::emissionCells_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("intensity");
    QTest::addColumn<int>("radius");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("ringLevels"); // level at distance 0, 1, 2...

    QTest::newRow("clipped at the map edge") << 1 << 1 << 200 << 3 << 25 << QList<int>{200, 134, 68, 40};
    QTest::newRow("ring levels with floor") << 10 << 10 << 200 << 4 << 81 << QList<int>{200, 150, 100, 50, 40};
    QTest::newRow("clamped above") << 10 << 10 << 300 << 2 << 25 << QList<int>{255, 150, 40};
    QTest::newRow("step rounds to zero") << 10 << 10 << 7 << 10 << 441 << QList<int>{40, 40, 40};
    QTest::newRow("radius zero lights the source only") << 5 << 5 << 90 << 0 << 1 << QList<int>{90};
    QTest::newRow("negative radius lights the source only") << 5 << 5 << 300 << -2 << 1 << QList<int>{255};
}

void TestModelTables::emissionCells()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, intensity);
    QFETCH(int, radius);
    QFETCH(int, count);
    QFETCH(QList<int>, ringLevels);

    LightPoint source;
    source.mapX = x;
    source.mapY = y;
    source.intensity = intensity;
    source.radius = radius;
    const QList<LightPoint> cells = computeEmissionCells(source);
    QCOMPARE(cells.size(), count);
    for (const LightPoint &cell : cells) {
        QVERIFY(cell.mapX >= 0 && cell.mapY >= 0);
        const int ring = std::max(std::abs(cell.mapX - x), std::abs(cell.mapY - y));
        if (ring < ringLevels.size())
            QCOMPARE(cell.intensity, ringLevels.at(ring));
    }
}

void TestModelTables::emissionCellsComeRowByRow()
{
    LightPoint source;
    source.mapX = 0;
    source.mapY = 0;
    source.intensity = 100;
    source.radius = 1;
    const QList<LightPoint> cells = computeEmissionCells(source);
    QCOMPARE(cells.size(), 4);
    QCOMPARE(QPoint(cells[0].mapX, cells[0].mapY), QPoint(0, 0));
    QCOMPARE(QPoint(cells[1].mapX, cells[1].mapY), QPoint(1, 0));
    QCOMPARE(QPoint(cells[2].mapX, cells[2].mapY), QPoint(0, 1));
    QCOMPARE(QPoint(cells[3].mapX, cells[3].mapY), QPoint(1, 1));
}

QTEST_GUILESS_MAIN(TestModelTables)
#include "tst_modeltables.moc"
