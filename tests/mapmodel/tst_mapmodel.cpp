// The map's operations without any widget: the application object is a core
// one, so a stray widget would abort the test.
#include "testvalues.h"

#include "format/layernames.h"
#include "model/floodregion.h"
#include "model/mapmodel.h"
#include "model/sector.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using namespace LayerNames;

namespace {

const char *const floorTextures = "textures/Floor/";

// A map drawn as text, one character per cell: '#' wall, 'D' door, 'a' and 'b'
// floor cells of two textures, 'S' the start on an empty cell, 's' on an 'a'.
QPoint draw(MapModel &model, const QStringList &rows)
{
    QPoint start(-1, -1);
    for (int y = 0; y < rows.size(); ++y) {
        for (int x = 0; x < rows[y].size(); ++x) {
            const QChar c = rows[y][x];
            const QPoint cell(x, y);
            if (c == '#')
                model.placeCell(Wall, cell, texture("w.png", 7, floorTextures));
            else if (c == 'D')
                model.placeCell(Door, cell, texture("d.png", 8, floorTextures));
            else if (c == 'a' || c == 's')
                model.placeCell(Floor, cell, texture("a.png", 1, floorTextures));
            else if (c == 'b')
                model.placeCell(Floor, cell, texture("b.png", 2, floorTextures));
            if (c == 'S' || c == 's')
                start = cell;
        }
    }
    return start;
}

} // namespace

class TestMapModel : public QObject
{
    Q_OBJECT

private slots:
    void placeRefusesNegativeAndUsedCells();
    void newSectorsTakeLayerDefaults();
    void removeCellsDefersTheDelete();
    void retextureAndPropertiesRecordBeforeAndAfter();
    void emissionKeepsLargerEmissionOfExistingCells();
    void emissionRewritesTheSourceCell();
    void clearAndReplaceDestroyAtOnce();
    void revertAndReapplyRestoreTheCells();
    void removalAndUndoKeepTheListOrder_data();
    void removalAndUndoKeepTheListOrder();
    void floodRegion_data();
    void floodRegion();
};

void TestMapModel::placeRefusesNegativeAndUsedCells()
{
    MapModel model;
    QSignalSpy added(&model, &MapModel::sectorAdded);
    QCOMPARE(model.placeCell(Floor, {1, 2}, texture("a.png", 1, floorTextures)).size(), 1);
    QVERIFY(model.placeCell(Floor, {1, 2}, texture("b.png", 2, floorTextures)).isEmpty());
    QVERIFY(model.placeCell(Floor, {-1, 0}, texture("a.png", 1, floorTextures)).isEmpty());
    QCOMPARE(model.placeCell(Wall, {1, 2}, texture("w.png", 3, floorTextures)).size(), 1);
    QCOMPARE(added.size(), 2);
    QCOMPARE(model.sectorAt(Floor, 1, 2)->data->texture.fileName, QByteArray("a.png"));
    QVERIFY(!model.sectorAt(Ceil, 1, 2));
}

void TestMapModel::newSectorsTakeLayerDefaults()
{
    MapModel model;
    model.placeCell(Item, {0, 0}, texture("h.png", 5, floorTextures));
    model.placeCell("Attic", {0, 0}, texture("x.png", 6, floorTextures));
    model.placeCell(Lightmap, {0, 0}, texture("lamp.png", 100, floorTextures));
    model.placeCell(Lightmap, {1, 0}, texture("lamp.png", 100, floorTextures));
    QCOMPARE(model.sectorAt(Item, 0, 0)->data->subtype, QByteArray("Healthpack"));
    QCOMPARE(model.sectorAt(Item, 0, 0)->data->texture.id, 5);
    QVERIFY(model.sectorAt("Attic", 0, 0)->data->subtype.isEmpty());
    const Sector *first = model.sectorAt(Lightmap, 0, 0);
    const Sector *second = model.sectorAt(Lightmap, 1, 0);
    QCOMPARE(first->data->subtype, QByteArray("Static"));
    QVERIFY(first->data->texture.id != 100 && first->data->texture.id != second->data->texture.id);
    QCOMPARE(first->imagePath(), QString("textures/Floor/lamp.png"));
}

void TestMapModel::removeCellsDefersTheDelete()
{
    MapModel model;
    for (int x = 0; x < 3; ++x)
        model.placeCell(Floor, {x, 0}, texture("a.png", 1, floorTextures));
    QPointer<Sector> middle = model.sectorAt(Floor, 1, 0);
    QSignalSpy removed(&model, &MapModel::sectorRemoved);
    const MapChange change = model.removeCells(Floor, {{1, 0}, {1, 0}, {5, 5}});
    QCOMPARE(change.size(), 1);
    QVERIFY(change.cells[0].before && !change.cells[0].after);
    QCOMPARE(removed.size(), 1);
    QVERIFY(!model.hasSectorAt(Floor, 1, 0));
    QCOMPARE(model.sectorsOf(Floor).size(), 2);
    QVERIFY(middle);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!middle);
}

void TestMapModel::retextureAndPropertiesRecordBeforeAndAfter()
{
    MapModel model;
    model.placeCell(Wall, {0, 0}, texture("a.png", 1, floorTextures));
    model.placeCell(Wall, {1, 0}, texture("a.png", 1, floorTextures));
    Sector *left = model.sectorAt(Wall, 0, 0);
    QSignalSpy retextured(&model, &MapModel::textureChanged);
    const MapChange paint = model.retextureCells(Wall, {{0, 0}, {1, 0}, {2, 0}}, texture("b.png", 2, floorTextures));
    QCOMPARE(paint.size(), 2);
    QCOMPARE(retextured.size(), 2);
    QCOMPARE(paint.cells[0].before->texture.id, 1);
    QCOMPARE(paint.cells[0].after->texture.id, 2);
    QCOMPARE(left->imagePath(), QString("textures/Floor/b.png"));

    SectorLighting light;
    light.emission = 99;
    const MapChange props = model.setProperties(left, "SolidBounding", light);
    QCOMPARE(props.cells[0].before->subtype, QByteArray("Solid"));
    QCOMPARE(left->data->subtype, QByteArray("SolidBounding"));
    QCOMPARE(left->data->lighting.emission, 99);
}

void TestMapModel::emissionKeepsLargerEmissionOfExistingCells()
{
    MapModel model;
    model.placeCell(Lightmap, {6, 5}, texture("lamp.png", 100, floorTextures));
    Sector *bright = model.sectorAt(Lightmap, 6, 5);
    bright->data->lighting.emission = 180;
    QSignalSpy added(&model, &MapModel::sectorAdded);
    // Ring 1 of a 240/2 light is 120, below the existing 180.
    const MapChange change = model.emitPointLight(lightAt(5, 5, 240, 2), texture("lamp.png", 100, floorTextures));
    QCOMPARE(bright->data->lighting.emission, 180);
    QCOMPARE(bright->data->lighting.emissionMax, 180);
    QCOMPARE(bright->data->lighting.intensity, 180);
    QCOMPARE(bright->data->lighting.isLightEmitter, quint8(1));
    QCOMPARE(model.sectorsOf(Lightmap).size(), 25);
    QCOMPARE(added.size(), 24);
    QCOMPARE(change.size(), 25);
}

void TestMapModel::emissionRewritesTheSourceCell()
{
    MapModel model;
    model.placeCell(Lightmap, {2, 2}, texture("lamp.png", 100, floorTextures));
    Sector *source = model.sectorAt(Lightmap, 2, 2);
    source->data->lighting.emission = 100;
    LightPoint light = lightAt(2, 2, 300, 2);
    light.lighting.isDynamic = 1;
    light.lighting.blinkDelay = 1.25;
    light.lighting.emissionMin = 7;
    light.lighting.randomIntensity = 1;
    model.emitPointLight(light, texture("lamp.png", 100, floorTextures));
    QCOMPARE(source->data->lighting.emission, 255);
    QCOMPARE(source->data->lighting.blinkDelay, 1.25);
    QCOMPARE(source->data->subtype, QByteArray("Dynamic"));
    const Sector *corner = model.sectorAt(Lightmap, 0, 0);
    QVERIFY(corner);
    QCOMPARE(corner->data->lighting.emission, 40);
    QCOMPARE(corner->data->lighting.emissionMin, 7);
    QCOMPARE(corner->data->lighting.randomIntensity, quint8(1));
    QCOMPARE(corner->data->subtype, QByteArray("Dynamic"));
}

void TestMapModel::clearAndReplaceDestroyAtOnce()
{
    MapModel model;
    model.placeCell(Floor, {0, 0}, texture("a.png", 1, floorTextures));
    model.placeCell(Wall, {0, 0}, texture("w.png", 7, floorTextures));
    QPointer<Sector> floor = model.sectorAt(Floor, 0, 0);
    QPointer<Sector> wall = model.sectorAt(Wall, 0, 0);
    QCOMPARE(model.clearLayer(Floor).size(), 1);
    QVERIFY(!floor);
    QVERIFY(model.sectorsOf(Floor).isEmpty());

    // A loaded table may hold two sectors on one cell; erasing the cell takes both.
    LayerTable loaded({Wall});
    MapModel source;
    for (int i = 0; i < 2; ++i)
        loaded[Wall].append(source.makeSector(Wall, 3, 3, texture("w.png", 7, floorTextures)));
    QSignalSpy replaced(&model, &MapModel::mapReplaced);
    model.replaceMap(loaded);
    QVERIFY(!wall);
    QCOMPARE(replaced.size(), 1);
    QCOMPARE(model.removeCells(Wall, {{3, 3}}).size(), 2);
    QVERIFY(model.sectorsOf(Wall).isEmpty());
}

void TestMapModel::revertAndReapplyRestoreTheCells()
{
    MapModel model;
    model.placeCell(Floor, {0, 0}, texture("a.png", 1, floorTextures));
    const MapChange placed = model.placeCells(Floor, {{1, 0}, {2, 0}}, texture("a.png", 1, floorTextures));
    const MapChange painted = model.retextureCells(Floor, {{0, 0}, {1, 0}}, texture("b.png", 2, floorTextures));
    const MapChange erased = model.removeCells(Floor, {{0, 0}});

    model.revert(erased);
    model.revert(painted);
    QCOMPARE(model.sectorAt(Floor, 0, 0)->data->texture.id, 1);
    QCOMPARE(model.sectorAt(Floor, 1, 0)->data->texture.id, 1);
    model.revert(placed);
    QCOMPARE(model.sectorsOf(Floor).size(), 1);

    model.reapply(placed);
    model.reapply(painted);
    model.reapply(erased);
    QVERIFY(!model.hasSectorAt(Floor, 0, 0));
    QCOMPARE(model.sectorAt(Floor, 1, 0)->data->texture.id, 2);
    QCOMPARE(model.sectorAt(Floor, 1, 0)->imagePath(), QString("textures/Floor/b.png"));
    QCOMPARE(model.sectorAt(Floor, 2, 0)->data->texture.id, 1);
}

// A save writes each layer's list in order, so an undone removal must put every
// sector back at its place: a few sectors or many, one layer or two.
void TestMapModel::removalAndUndoKeepTheListOrder_data()
{
    QTest::addColumn<int>("every");
    QTest::newRow("a few scattered cells") << 9;
    QTest::newRow("many scattered cells") << 2;
}

void TestMapModel::removalAndUndoKeepTheListOrder()
{
    QFETCH(int, every);
    MapModel model;
    QList<QPoint> cells;
    for (int i = 0; i < 24; ++i)
        cells.append(QPoint((i * 7) % 24, i / 6));
    model.placeCells(Floor, cells, texture("a.png", 1, floorTextures));
    model.placeCells(Wall, cells, texture("w.png", 7, floorTextures));
    auto listed = [&model] { // each layer's cells in list order, and any broken rule
        QString text = model.checkConsistency().join(' ');
        for (const char *layer : {Floor, Wall}) {
            for (const Sector *sector : model.sectorsOf(layer))
                text += QStringLiteral(" %1,%2").arg(sector->data->mapX).arg(sector->data->mapY);
        }
        return text;
    };
    const QString before = listed();
    QList<Sector *> doomed;
    for (int i = 1; i < cells.size(); i += every)
        doomed << model.sectorsOf(Floor).at(i) << model.sectorsOf(Wall).at(cells.size() - i);
    const MapChange removed = model.removeSectors(doomed);
    QCOMPARE(removed.size(), doomed.size());
    QVERIFY(model.removeSectors(doomed).isEmpty()); // gone already: nothing twice

    model.revert(removed);
    QCOMPARE(listed(), before);
    model.reapply(removed);
    QCOMPARE(model.sectorsOf(Floor).size() + model.sectorsOf(Wall).size(), 2 * cells.size() - doomed.size());
}

void TestMapModel::floodRegion_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<int>("cells");
    QTest::addColumn<int>("target");

    QTest::newRow("closed room of empty cells") << QStringList{"#####", "#S.a#", "#..D#", "#####"} << 1000 << true << 4 << 0;
    QTest::newRow("same texture through empty cells") << QStringList{"#####", "#sab#", "#..a#", "#####"} << 1000 << true << 5 << 1;
    QTest::newRow("stops at row and column 0") << QStringList{"S.#", "..#", "###"} << 1000 << true << 4 << 0;
    QTest::newRow("open area reaches the limit") << QStringList{"...", ".S.", "..."} << 50 << false << 0 << 0;
    QTest::newRow("a region one below the limit") << QStringList{"#####", "#S..#", "#####"} << 4 << true << 3 << 0;
    QTest::newRow("a region as big as the limit") << QStringList{"######", "#S...#", "######"} << 4 << false << 0 << 0;
    QTest::newRow("started on a wall") << QStringList{"###", "#.#", "###"} << 1000 << true << 0 << 0;
}

void TestMapModel::floodRegion()
{
    QFETCH(QStringList, rows);
    QFETCH(int, limit);
    MapModel model;
    QPoint start = draw(model, rows);
    if (start.x() < 0)
        start = QPoint(0, 0);
    const FloodRegion region = findFloodRegion(model, Floor, start, limit);
    QTEST(region.complete, "complete");
    QTEST(int(region.cells.size()), "cells");
    QTEST(int(region.target), "target");
    if (!region.cells.isEmpty()) {
        QCOMPARE(region.cells.first(), start);
        // Right before left before down before up.
        QCOMPARE(region.cells.value(1), start + QPoint(1, 0));
    }
}

QTEST_GUILESS_MAIN(TestMapModel)
#include "tst_mapmodel.moc"
