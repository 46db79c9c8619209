#include "editorfixture.h"

#include "app/tessel.h"
#include "layers/layercontroller.h"
#include "app/dialogs.h"
#include "document/editingstate.h"
#include "model/emission.h"
#include "view/iconcache.h"
#include "model/sector.h"
#include "gallery/texturegallery.h"
#include "model/mapmodel.h"
#include "view/mapview.h"

#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

const QList<QByteArray> allLayers{"Ceil", "Wall", "Floor", "Door", "Actor", "Sprite", "Item", "Lightmap"};

// One sector on every layer, all on the same cell.
QMap<QByteArray, Sector *> fillEveryLayer(EditorFixture &editor)
{
    QMap<QByteArray, Sector *> sectors;
    for (const QByteArray &layer : allLayers) {
        editor.setLayer(QString::fromUtf8(layer));
        sectors[layer] = editor.place(2, 2);
    }
    return sectors;
}

void answerClear(QMessageBox::StandardButton answer, QString *asked = nullptr)
{
    Dialogs::question = [answer, asked](const QString &title, const QString &text) {
        if (asked)
            *asked = title + "|" + text;
        return answer;
    };
}

} // namespace

class TestLayerController : public QObject
{
    Q_OBJECT

private slots:
    void comboListsLayersWithWallCurrent();
    void comboBoxAndStateFollowEachOther_data();
    void comboBoxAndStateFollowEachOther();
    void visibilityAndLooks_data();
    void visibilityAndLooks();
    void lightCellsAreShadedByEmission();
    void shownButtonsDrawTheirCurrentLook();
    void addSectorRefusesAUsedCell();
    void clearingASelectionGivesLightCellsTheirShade();
    void removeSectorAtIgnoresNegativeCells();
    void clearAnsweredNoKeepsEverything();
    void clearAnsweredYesDestroysTheCurrentLayerAtOnce();
    void clearUsesTheTemporaryLayer();
    void destroyedSectorsLeaveTheSelection();
    void erasedSectorsLeaveTheSelectionAtOnce();
    void replaceLayersKeepsTheNewTableIntact();
    void replaceLayersWithNegativeCellInCurrentLayer();
};

void TestLayerController::comboListsLayersWithWallCurrent()
{
    EditorFixture editor;
    auto *combo = editor.window->findChild<QComboBox *>("comboBoxMapLayer");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    QCOMPARE(items, (QStringList{"Ceil", "Wall", "Floor", "Door", "Actor", "Sprite", "Item", "Lightmap"}));
    QCOMPARE(combo->currentText(), QString("Wall"));
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Wall"));
    QCOMPARE(editor.layers->layerTable().names(), allLayers);
}

void TestLayerController::comboBoxAndStateFollowEachOther_data()
{
    QTest::addColumn<bool>("throughCombo");
    QTest::newRow("state written") << false;
    QTest::newRow("combo box picked") << true;
}

void TestLayerController::comboBoxAndStateFollowEachOther()
{
    QFETCH(bool, throughCombo);
    EditorFixture editor;
    auto *combo = editor.window->findChild<QComboBox *>("comboBoxMapLayer");
    EditingState *state = editor.view->editingState();
    editor.place(1, 1);
    editor.layers->selectRect(1, 1, 1, 1);
    QCOMPARE(editor.layers->selection().size(), 1);
    if (throughCombo)
        combo->setCurrentText("Floor");
    else
        state->setChosenLayer("Floor");
    QCOMPARE(combo->currentText(), QString("Floor"));
    QCOMPARE(state->chosenLayer(), QByteArray("Floor"));
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Floor"));
    QVERIFY(editor.layers->selection().isEmpty());
    // A layer held for a moment is edited, not chosen: the combo box keeps the chosen one.
    state->holdLayer("Door");
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Door"));
    QCOMPARE(combo->currentText(), QString("Floor"));
    state->releaseLayer();
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Floor"));
}

void TestLayerController::visibilityAndLooks_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("visible");
    QTest::newRow("Ceil") << "Ceil" << QStringList{"Ceil", "Wall"};
    QTest::newRow("Floor") << "Floor" << QStringList{"Floor", "Wall"};
    QTest::newRow("Lightmap") << "Lightmap" << QStringList{"Lightmap", "Wall"};
    QTest::newRow("Wall") << "Wall" << QStringList{"Wall", "Door", "Actor", "Sprite", "Item"};
    QTest::newRow("Door") << "Door" << QStringList{"Wall", "Door", "Actor", "Sprite", "Item"};
    QTest::newRow("Item") << "Item" << QStringList{"Wall", "Door", "Actor", "Sprite", "Item"};
}

void TestLayerController::visibilityAndLooks()
{
    QFETCH(QString, current);
    QFETCH(QStringList, visible);
    EditorFixture editor;
    const auto sectors = fillEveryLayer(editor);
    editor.setLayer("Door");
    editor.setLayer(current);
    for (const QByteArray &layer : allLayers) {
        Sector *sector = sectors[layer];
        QCOMPARE(editor.shown(sector), visible.contains(QString(layer)));
        if (layer == current.toUtf8() && layer != "Lightmap")
            QVERIFY2(!sector->look().isValid(), layer.constData());
        else if (layer != current.toUtf8())
            QCOMPARE(sector->look(), QColor(0, 0, 155));
    }
}

void TestLayerController::lightCellsAreShadedByEmission()
{
    EditorFixture editor;
    editor.setLayer("Lightmap");
    Sector *light = editor.paint(1, 1);
    QCOMPARE(light->look(), QColor(10, 10, 10));
    light->data->lighting.emission = 300;
    editor.layers->tintLightmap();
    QCOMPARE(light->look(), QColor(255, 255, 255));
    editor.setLayer("Ceil");
    QVERIFY(!editor.shown(light));
    QCOMPARE(light->look(), QColor(0, 0, 155));
    // The look is drawn: the icon is a tinted copy, not the plain lamp.
    QVERIFY(!light->data->button->icon().isNull());
}

static qint64 iconKey(const QIcon &icon)
{
    return icon.cacheKey();
}

void TestLayerController::shownButtonsDrawTheirCurrentLook()
{
    EditorFixture editor;
    editor.setLayer("Floor");
    Sector *floor = editor.paint(1, 1);
    const QString path = floor->imagePath();
    QCOMPARE(iconKey(floor->data->button->icon()), iconKey(IconCache::icon(path)));
    // Hidden on Ceil and tinted as another layer; drawn plain again when Floor is back.
    editor.setLayer("Ceil");
    QCOMPARE(floor->look(), QColor(0, 0, 155));
    editor.setLayer("Floor");
    QVERIFY(floor->data->button->isVisible());
    QCOMPARE(iconKey(floor->data->button->icon()), iconKey(IconCache::icon(path)));
    // Walls are never hidden: their tint is drawn at once.
    editor.setLayer("Wall");
    Sector *wall = editor.paint(2, 2);
    editor.setLayer("Floor");
    QCOMPARE(iconKey(wall->data->button->icon()), iconKey(IconCache::icon(wall->imagePath(), QColor(0, 0, 155))));
}

void TestLayerController::addSectorRefusesAUsedCell()
{
    EditorFixture editor;
    Sector *first = editor.place(1, 1);
    QVERIFY(editor.view->mapModel()->placeCell("Wall", {1, 1}, editor.gallery->currentTexture()).isEmpty());
    QCOMPARE(editor.layers->currentSectors(), QList<Sector *>{first});
    QCOMPARE(editor.layers->layerTable().value("Wall"), QList<Sector *>{first});
}

void TestLayerController::clearingASelectionGivesLightCellsTheirShade()
{
    EditorFixture editor;
    editor.setLayer("Lightmap");
    Sector *light = editor.place(1, 1);
    SectorLighting lighting = light->data->lighting;
    lighting.emission = 80;
    light->setLighting(lighting);
    editor.layers->selectRect(0, 0, 2, 2);
    QCOMPARE(light->look(), LayerController::selectedTint);
    editor.layers->clearSelection();
    QCOMPARE(light->look(), QColor(80, 80, 80));
}

void TestLayerController::removeSectorAtIgnoresNegativeCells()
{
    EditorFixture editor;
    editor.place(0, 3);
    editor.layers->removeSectorAt(-1, 3);
    editor.layers->removeSectorAt(5, 5);
    QCOMPARE(editor.layers->currentSectors().size(), 1);
    editor.layers->removeSectorAt(0, 3);
    QVERIFY(editor.layers->currentSectors().isEmpty());
    QVERIFY(editor.layers->layerTable().value("Wall").isEmpty());
}

void TestLayerController::clearAnsweredNoKeepsEverything()
{
    EditorFixture editor;
    QString asked;
    answerClear(QMessageBox::No, &asked);
    editor.place(0, 0);
    QTest::mouseClick(editor.window->findChild<QPushButton *>("btnMapLayerClear"), Qt::LeftButton);
    QCOMPARE(asked, QString("Warning!|All sectors in the currently selected layer (Wall) will be destroyed!\n"
                            "Are you sure you want to continue?"));
    QCOMPARE(editor.layers->currentSectors().size(), 1);
}

void TestLayerController::clearAnsweredYesDestroysTheCurrentLayerAtOnce()
{
    EditorFixture editor;
    answerClear(QMessageBox::Yes);
    QPointer<Sector> wall = editor.place(0, 0);
    editor.setLayer("Floor");
    QPointer<Sector> floor = editor.place(0, 0);
    QTest::mouseClick(editor.window->findChild<QPushButton *>("btnMapLayerClear"), Qt::LeftButton);
    QVERIFY(!floor); // at once, not deferred
    QVERIFY(wall);
    QVERIFY(editor.layers->currentSectors().isEmpty());
    QVERIFY(editor.layers->layerTable().value("Floor").isEmpty());
    // Clearing an empty layer still asks and changes nothing.
    QString asked;
    answerClear(QMessageBox::Yes, &asked);
    QTest::mouseClick(editor.window->findChild<QPushButton *>("btnMapLayerClear"), Qt::LeftButton);
    QVERIFY(!asked.isEmpty());
    QVERIFY(wall);
}

void TestLayerController::clearUsesTheTemporaryLayer()
{
    EditorFixture editor;
    answerClear(QMessageBox::Yes);
    QPointer<Sector> wall = editor.place(0, 0);
    editor.setLayer("Floor");
    QPointer<Sector> floor = editor.place(1, 0);
    editor.setLayer("Door");
    editor.place(2, 0);
    editor.setLayer("Floor");
    QTest::keyPress(editor.window.get(), Qt::Key_Control);
    editor.layers->MapClearButton();
    QTest::keyRelease(editor.window.get(), Qt::Key_Control);
    QVERIFY(wall && floor);
    QVERIFY(editor.layers->layerTable().value("Door").isEmpty());
}

void TestLayerController::destroyedSectorsLeaveTheSelection()
{
    EditorFixture editor;
    answerClear(QMessageBox::Yes);
    editor.setLayer("Floor");
    editor.place(0, 0);
    editor.place(1, 0);
    editor.layers->selectRect(0, 0, 1, 0);
    QCOMPARE(editor.layers->selection().size(), 2);
    editor.layers->MapClearButton();
    QVERIFY(editor.layers->selection().isEmpty());
    // Would touch freed memory if the selection still listed them (ASan catches it).
    editor.layers->clearSelection();
    editor.setLayer("Ceil");
    QVERIFY(editor.layers->layerTable().value("Floor").isEmpty());
}

void TestLayerController::erasedSectorsLeaveTheSelectionAtOnce()
{
    EditorFixture editor;
    editor.setLayer("Floor");
    editor.place(0, 0);
    Sector *kept = editor.place(1, 0);
    editor.layers->selectRect(0, 0, 1, 0);
    editor.layers->removeSectorAt(0, 0);
    QCOMPARE(editor.layers->selection(), QList<Sector *>{kept});
    editor.flushDeletes();
    editor.layers->clearSelection();
    QVERIFY(!kept->look().isValid());
}

void TestLayerController::replaceLayersKeepsTheNewTableIntact()
{
    EditorFixture editor;
    editor.setLayer("Floor");
    QPointer<Sector> old = editor.place(0, 0);
    editor.layers->selectRect(0, 0, 0, 0);
    // A new table as a load makes it: sectors already built, not in any list yet.
    LayerTable fresh;
    Sector *floor = editor.view->mapModel()->makeSector("Floor", 3, 3, editor.gallery->currentTexture());
    fresh["Floor"].append(floor);
    fresh["Wall"];
    editor.layers->replaceLayers(fresh);
    QVERIFY(!old);
    QVERIFY(editor.layers->selection().isEmpty());
    QCOMPARE(editor.layers->layerTable().value("Floor"), QList<Sector *>{floor});
    QVERIFY(floor->data->button);
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Wall"));
    QCOMPARE(editor.window->findChild<QComboBox *>("comboBoxMapLayer")->currentText(), QString("Wall"));
    editor.setLayer("Floor");
    QCOMPARE(editor.layers->currentSectors(), QList<Sector *>{floor});
}

void TestLayerController::replaceLayersWithNegativeCellInCurrentLayer()
{
    EditorFixture editor;
    LayerTable withNegative({"Wall"});
    withNegative["Wall"].append(editor.view->mapModel()->makeSector("Wall", -2, 0, editor.gallery->currentTexture()));
    QPointer<Sector> negative = withNegative["Wall"].first();
    editor.layers->replaceLayers(withNegative);
    QCOMPARE(editor.layers->currentSectors().size(), 1);
    editor.layers->replaceLayers(LayerTable({"Wall"}));
    QVERIFY(!negative);
    QVERIFY(editor.layers->currentSectors().isEmpty());
    editor.setLayer("Floor");
    editor.setLayer("Wall");
    QVERIFY(editor.layers->currentSectors().isEmpty());
}

QTEST_MAIN(TestLayerController)
#include "tst_layercontroller.moc"
