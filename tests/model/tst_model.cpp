#include "editorfixture.h"
#include "format/layernames.h"
#include "testvalues.h"

#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/emission.h"
#include "model/layertable.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "model/subtypetable.h"
#include "view/mapview.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void subtypeTables();
    void layerOrders();
    void layerTableAddsMissingNamesAtTheEnd();
    void emissionCells_data();
    void emissionCells();
    void emissionCellsComeRowByRow();
    void newSectorTakesCurrentTextureAndFirstSubtype();
    void lightmapSectorsDrawFreshIdentifiers();
    void destroyingSectorRemovesButton();
    void emissionInPannedView();
};

void TestModel::subtypeTables()
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

void TestModel::layerOrders()
{
    QCOMPARE(layerOrder(), (QList<QByteArray>{"Ceil", "Wall", "Floor", "Door", "Actor", "Sprite", "Item", "Lightmap"}));
    QCOMPARE(galleryScanOrder(), (QList<QByteArray>{"Ceil", "Floor", "Wall", "Door", "Actor", "Sprite", "Item", "Lightmap"}));
}

void TestModel::layerTableAddsMissingNamesAtTheEnd()
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

void TestModel::emissionCells_data()
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

void TestModel::emissionCells()
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

void TestModel::emissionCellsComeRowByRow()
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

void TestModel::newSectorTakesCurrentTextureAndFirstSubtype()
{
    EditorFixture editor;
    editor.setLayer("Item");
    const TextureEntry texture = editor.gallery->currentTexture();
    QCOMPARE(texture.fileName, QByteArray("health.png"));
    Sector *sector = editor.place(3, 2);
    QCOMPARE(sector->data->subtype, QByteArray("Healthpack"));
    QCOMPARE(sector->layer(), QByteArray("Item"));
    QCOMPARE(sector->data->texture, texture);
    QCOMPARE(sector->data->mapX, 3);
    QCOMPARE(sector->data->mapY, 2);
    QCOMPARE(sector->data->worldX, 192.0);
    QCOMPARE(sector->data->worldY, 128.0);
    QCOMPARE(editor.placeOf(sector), QRect(192, 128, 64, 64));
    QCOMPARE(sector->data->button->iconSize(), QSize(64, 64));
    QVERIFY(sector->data->button->isFlat());
    QVERIFY(sector->data->button->isVisible());
    QVERIFY(!sector->data->button->icon().isNull());
    QCOMPARE(sector->data->lighting, SectorLighting());
    QCOMPARE(editor.layers->currentSectors(), QList<Sector *>{sector});
}

void TestModel::lightmapSectorsDrawFreshIdentifiers()
{
    EditorFixture editor;
    editor.setLayer("Lightmap");
    const qint32 lampId = editor.gallery->currentTexture().id;
    Sector *first = editor.paint(0, 0);
    Sector *second = editor.paint(1, 0);
    QVERIFY(first && second);
    QVERIFY(first->data->texture.id != second->data->texture.id);
    QVERIFY(first->data->texture.id > lampId);
    QCOMPARE(first->data->texture.fileName, QByteArray("lamp.png"));
    QCOMPARE(first->data->texture.folder, QByteArray("assets/"));
    QCOMPARE(first->data->subtype, QByteArray("Static"));
}

void TestModel::destroyingSectorRemovesButton()
{
    EditorFixture editor;
    QPointer<QPushButton> button = editor.place(0, 0)->data->button;
    QVERIFY(button);
    editor.layers->removeSectorAt(0, 0);
    editor.flushDeletes();
    QVERIFY(!button);
}

// New light cells get their buttons where the panned view shows their cells.
void TestModel::emissionInPannedView()
{
    EditorFixture editor;
    editor.setLayer("Lightmap");
    editor.release(0, 0, Qt::MiddleButton);
    for (const QPoint &cell : {QPoint(1, 0), QPoint(2, 0), QPoint(2, 1), QPoint(2, 2), QPoint(2, 3)})
        editor.drag(cell.x(), cell.y(), Qt::MiddleButton);
    QCOMPARE(editor.view->origin(), QPoint(2, 3));
    editor.view->mapModel()->emitPointLight(lightAt(4, 4, 100, 1), editor.gallery->currentTexture());
    Sector *cell = editor.sectorOn("Lightmap", 4, 4);
    QVERIFY(cell);
    QCOMPARE(editor.placeOf(cell).topLeft(), QPoint(6 * 64, 7 * 64));
    QCOMPARE(cell->data->worldX, 6.0 * 64);
}

QTEST_MAIN(TestModel)
#include "tst_model.moc"
