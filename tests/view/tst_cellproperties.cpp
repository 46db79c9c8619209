#include "editorfixture.h"

#include "app/tessel.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/emission.h"
#include "model/sector.h"
#include "properties/objectpropertiesform.h"
#include "view/mapview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTest>

class TestCellProperties : public QObject
{
    Q_OBJECT

private slots:
    void clickingASectorOpensTheForm();
    void clickWithSelectionOpensItWhole();
    void clickOnOtherLayerButtonWithoutCurrentSectorOpensNothing();
    void clickOnOtherLayerButtonOpensCurrentLayerSector();
    void secondOpeningClosesTheFirst();
    void editSelectionButtonOpensSelection();
    void floodFillModeDoesNotOpenTheForm();
    void emissionCellsAnswerClicksAfterOk();
    void emissionGoesToLightLayerAfterLayerChange();
    void emissionFollowsPanWhileFormIsOpen();
    void galleryClickRetexturesTwoOrMore_data();
    void galleryClickRetexturesTwoOrMore();
};

void TestCellProperties::clickingASectorOpensTheForm()
{
    EditorFixture editor;
    Sector *sector = editor.paint(3, 2);
    QVERIFY(!editor.view->openForm());
    editor.click(3, 2);
    ObjectPropertiesForm *form = editor.view->openForm();
    QVERIFY(form);
    QVERIFY(form->isVisible());
    QCOMPARE(form->primary(), sector);
    QVERIFY(!form->multiSelection());
    QCOMPARE(form->findChild<QLineEdit *>("textMapX")->text(), QString("3"));
}

void TestCellProperties::clickWithSelectionOpensItWhole()
{
    EditorFixture editor;
    Sector *a = editor.paint(0, 0);
    Sector *b = editor.paint(1, 0);
    Sector *c = editor.paint(2, 0);
    Sector *other = editor.paint(5, 5);
    editor.layers->selectRect(0, 0, 2, 0);
    editor.click(5, 5);
    ObjectPropertiesForm *form = editor.view->openForm();
    QVERIFY(form);
    QVERIFY(form->multiSelection());
    QCOMPARE(form->editedSectors(), (QList<Sector *>{a, b, c}));
    QCOMPARE(form->primary(), a);
    Q_UNUSED(other);
}

void TestCellProperties::clickOnOtherLayerButtonWithoutCurrentSectorOpensNothing()
{
    EditorFixture editor;
    editor.setLayer("Actor");
    Sector *actor = editor.paint(4, 4);
    editor.setLayer("Door");
    QVERIFY(editor.shown(actor));
    // The Actor button is on top at (4, 4) but the door layer has nothing there.
    editor.click(4, 4);
    QVERIFY(!editor.view->openForm());
}

void TestCellProperties::clickOnOtherLayerButtonOpensCurrentLayerSector()
{
    EditorFixture editor;
    Sector *wall = editor.paint(1, 1);
    editor.setLayer("Door");
    Sector *door = editor.place(1, 1);
    door->data->button->lower(); // the wall's button takes the click
    editor.click(1, 1);
    QVERIFY(editor.view->openForm());
    QCOMPARE(editor.view->openForm()->primary(), door);
    Q_UNUSED(wall);
}

void TestCellProperties::secondOpeningClosesTheFirst()
{
    EditorFixture editor;
    editor.paint(0, 0);
    editor.paint(1, 0);
    editor.click(0, 0);
    QPointer<ObjectPropertiesForm> first = editor.view->openForm();
    editor.click(1, 0);
    ObjectPropertiesForm *second = editor.view->openForm();
    QVERIFY(second && second != first);
    QVERIFY(!first || !first->isVisible());
    QVERIFY(second->isVisible());
}

void TestCellProperties::editSelectionButtonOpensSelection()
{
    EditorFixture editor;
    editor.paint(0, 0);
    editor.paint(1, 0);
    editor.clickButton("radioSelect");
    auto *button = editor.window->findChild<QPushButton *>("btnEditSelection");
    QTest::mouseClick(button, Qt::LeftButton); // empty selection: nothing
    QVERIFY(!editor.view->openForm());
    editor.press(0, 0);
    editor.release(1, 0);
    QTest::keyClick(editor.window.get(), Qt::Key_E, Qt::ControlModifier);
    QTRY_VERIFY(editor.view->openForm());
    QCOMPARE(editor.view->openForm()->editedSectors().size(), 2);
}

void TestCellProperties::floodFillModeDoesNotOpenTheForm()
{
    EditorFixture editor;
    editor.paint(0, 0);
    QTest::mouseClick(editor.window->findChild<QWidget *>("radioFloodFill"), Qt::LeftButton);
    editor.click(0, 0);
    QVERIFY(!editor.view->openForm());
}

void TestCellProperties::emissionCellsAnswerClicksAfterOk()
{
    EditorFixture editor;
    editor.setLayer("Lightmap");
    editor.paint(3, 3);
    editor.click(3, 3);
    ObjectPropertiesForm *form = editor.view->openForm();
    QVERIFY(form);
    QTest::mouseClick(form->findChild<QCheckBox *>("chkIsLightEmitter"), Qt::LeftButton);
    form->findChild<QSlider *>("sliderEmissionRadius")->setValue(2);
    form->findChild<QLineEdit *>("editLightingEmission")->setText("200");
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    QCOMPARE(editor.layers->currentSectors().size(), 25);
    Sector *corner = editor.sectorOn("Lightmap", 1, 1);
    QVERIFY(corner);
    QCOMPARE(corner->data->lighting.emission, 40);
    QCOMPARE(corner->look(), QColor(40, 40, 40));
    QCOMPARE(editor.sectorOn("Lightmap", 2, 2)->look(), QColor(100, 100, 100));
    editor.click(1, 1);
    QVERIFY(editor.view->openForm() != form);
    QCOMPARE(editor.view->openForm()->primary(), corner);
}

static void emitFromOpenForm(ObjectPropertiesForm *form, int radius)
{
    QTest::mouseClick(form->findChild<QCheckBox *>("chkIsLightEmitter"), Qt::LeftButton);
    form->findChild<QSlider *>("sliderEmissionRadius")->setValue(radius);
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
}

void TestCellProperties::emissionGoesToLightLayerAfterLayerChange()
{
    EditorFixture editor;
    editor.setLayer("Lightmap");
    editor.paint(3, 3);
    editor.click(3, 3);
    ObjectPropertiesForm *form = editor.view->openForm();
    // The form stays open while the user moves on to the floor.
    editor.setLayer("Floor");
    emitFromOpenForm(form, 2);
    QVERIFY(editor.layers->layerTable().value("Floor").isEmpty());
    QCOMPARE(editor.layers->layerTable().value("Lightmap").size(), 25);
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Floor"));
    Sector *cell = editor.sectorOn("Lightmap", 1, 1);
    QCOMPARE(cell->data->texture.fileName, QByteArray("lamp.png"));
    QCOMPARE(cell->imagePath(), QString("assets/lamp.png"));
    QVERIFY(!editor.shown(cell));
}

void TestCellProperties::emissionFollowsPanWhileFormIsOpen()
{
    EditorFixture editor;
    editor.setLayer("Lightmap");
    editor.paint(3, 3);
    editor.click(3, 3);
    ObjectPropertiesForm *form = editor.view->openForm();
    editor.press(0, 0, Qt::MiddleButton);
    editor.release(0, 0, Qt::MiddleButton);
    editor.drag(1, 0, Qt::MiddleButton);
    QCOMPARE(editor.view->origin(), QPoint(1, 0));
    emitFromOpenForm(form, 2);
    Sector *cell = editor.sectorOn("Lightmap", 1, 1);
    QCOMPARE(editor.placeOf(cell).topLeft(), QPoint(2 * 64, 64));
    QCOMPARE(cell->data->worldX, 128.0);
}

void TestCellProperties::galleryClickRetexturesTwoOrMore_data()
{
    QTest::addColumn<int>("selected");
    QTest::newRow("one is ignored") << 1;
    QTest::newRow("two") << 2;
    QTest::newRow("three") << 3;
}

void TestCellProperties::galleryClickRetexturesTwoOrMore()
{
    QFETCH(int, selected);
    EditorFixture editor;
    QList<Sector *> sectors;
    for (int x = 0; x < 3; ++x)
        sectors << editor.paint(x, 0);
    editor.clickButton("radioSelect");
    editor.press(0, 0);
    editor.release(selected - 1, 0);
    editor.pickTexture(2);
    const TextureEntry picked = editor.gallery->currentTexture();
    QCOMPARE(picked.fileName, QByteArray("wood.png"));
    for (int x = 0; x < 3; ++x) {
        const bool changed = selected >= 2 && x < selected;
        QCOMPARE(sectors[x]->data->texture == picked, changed);
        QCOMPARE(sectors[x]->imagePath() == "textures/Wall/wood.png", changed);
    }
    // The selection and its marking stay.
    QCOMPARE(editor.layers->selection().size(), selected);
    QCOMPARE(sectors[0]->look(), QColor(0, 155, 0));
}

QTEST_MAIN(TestCellProperties)
#include "tst_cellproperties.moc"
