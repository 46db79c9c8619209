// Erasing cells one at a time: the lists stay in order and in step with each
// other, a cell that a loaded map holds twice is emptied completely, and cell
// lookups agree with the lists after layer switches.
#include "editorfixture.h"

#include "layers/layercontroller.h"
#include "model/sector.h"
#include "gallery/texturegallery.h"
#include "model/mapmodel.h"
#include "view/mapview.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>

class TestLayerRemoval : public QObject
{
    Q_OBJECT

private slots:
    void erasingKeepsOrderAndTableInStep();
    void erasingACellHeldTwiceRemovesBoth();
    void cellLookupsFollowChangesMadeWhileAway();
};

void TestLayerRemoval::erasingKeepsOrderAndTableInStep()
{
    EditorFixture editor;
    editor.setLayer("Floor");
    QList<Sector *> placed;
    for (int x = 0; x < 6; ++x)
        placed.append(editor.place(x, 1));
    editor.setLayer("Ceil");
    Sector *ceil = editor.place(2, 1);
    editor.setLayer("Floor");
    editor.layers->selectRect(1, 1, 3, 1);

    editor.layers->removeSectorAt(2, 1);
    editor.layers->removeSectorAt(4, 1);
    editor.layers->removeSectorAt(9, 9); // empty cell: nothing changes

    const QList<Sector *> expected{placed[0], placed[1], placed[3], placed[5]};
    QCOMPARE(editor.layers->currentSectors(), expected);
    QCOMPARE(editor.layers->layerTable().value("Floor"), expected);
    QCOMPARE(editor.layers->selection(), (QList<Sector *>{placed[1], placed[3]}));
    QVERIFY(!editor.layers->hasSectorAt(2, 1));
    QCOMPARE(editor.layers->sectorAt(3, 1), placed[3]);
    QCOMPARE(editor.layers->layerTable().value("Ceil"), QList<Sector *>{ceil});

    // The freed cell takes a new sector at the end, and the table follows.
    Sector *again = editor.place(2, 1);
    QCOMPARE(editor.layers->currentSectors().last(), again);
    QCOMPARE(editor.layers->layerTable().value("Floor"), editor.layers->currentSectors());
    editor.setLayer("Ceil");
    editor.setLayer("Floor");
    QCOMPARE(editor.layers->currentSectors(), expected + QList<Sector *>{again});
}

void TestLayerRemoval::erasingACellHeldTwiceRemovesBoth()
{
    EditorFixture editor;
    editor.setLayer("Floor");
    // A loaded table can hold two sectors on one cell; addSector never makes one.
    MapModel *model = editor.view->mapModel();
    const TextureEntry texture = editor.gallery->currentTexture();
    LayerTable loaded(QList<QByteArray>{"Ceil", "Wall", "Floor"});
    QPointer<Sector> first = model->makeSector("Floor", 1, 1, texture);
    QPointer<Sector> second = model->makeSector("Floor", 1, 1, texture);
    Sector *other = model->makeSector("Floor", 2, 1, texture);
    loaded["Floor"] = {first, second, other};
    editor.layers->replaceLayers(loaded);
    editor.setLayer("Floor");
    QCOMPARE(editor.layers->sectorAt(1, 1), first.data());

    editor.layers->removeSectorAt(1, 1);
    QCOMPARE(editor.layers->currentSectors(), QList<Sector *>{other});
    QVERIFY(!editor.layers->hasSectorAt(1, 1));
    editor.flushDeletes();
    QVERIFY(!first);
    QVERIFY(!second);

    // Both sectors of a doubled cell leave the selection as well.
    QPointer<Sector> third = model->makeSector("Floor", 3, 1, texture);
    QPointer<Sector> fourth = model->makeSector("Floor", 3, 1, texture);
    LayerTable pair(QList<QByteArray>{"Ceil", "Wall", "Floor"});
    pair["Floor"] = {third, fourth};
    editor.layers->replaceLayers(pair);
    editor.setLayer("Floor");
    editor.layers->selectRect(3, 1, 3, 1);
    QCOMPARE(editor.layers->selection().size(), 2);
    editor.layers->removeSectorAt(3, 1);
    QVERIFY(editor.layers->selection().isEmpty());
    QVERIFY(editor.layers->currentSectors().isEmpty());
}

void TestLayerRemoval::cellLookupsFollowChangesMadeWhileAway()
{
    EditorFixture editor;
    editor.setLayer("Floor");
    editor.place(1, 1);
    Sector *taken = editor.place(2, 1);
    editor.setLayer("Ceil");
    editor.setLayer("Floor");
    QCOMPARE(editor.layers->sectorAt(2, 1), taken);
    editor.layers->removeSectorAt(2, 1);
    editor.flushDeletes();

    // Changes made to the layer while another layer was edited.
    editor.setLayer("Ceil");
    MapModel *model = editor.view->mapModel();
    model->removeCells("Floor", {{1, 1}});
    model->placeCell("Floor", {5, 5}, editor.gallery->currentTexture());
    Sector *added = model->sectorAt("Floor", 5, 5);
    editor.setLayer("Floor");
    QVERIFY(!editor.layers->hasSectorAt(1, 1));
    QVERIFY(!editor.layers->hasSectorAt(2, 1));
    QCOMPARE(editor.layers->sectorAt(5, 5), added);
    QVERIFY(added->data->button && !added->data->button->isHidden());
    QVERIFY(editor.place(1, 1));
    QCOMPARE(editor.layers->currentSectors().size(), 2);
}

QTEST_MAIN(TestLayerRemoval)
#include "tst_layerremoval.moc"
