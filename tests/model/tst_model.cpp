#include "editorfixture.h"
#include "format/layernames.h"
#include "testvalues.h"

#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/mapview.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>

class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void newSectorTakesCurrentTextureAndFirstSubtype();
    void lightmapSectorsDrawFreshIdentifiers();
    void destroyingSectorRemovesButton();
    void emissionInPannedView();
};

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
    QVERIFY(!button || button->isHidden()); // or a spare (tst_mapview)
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
