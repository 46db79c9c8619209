// A door painted with the wall's texture shares the wall's definition line,
// whose layer field says Wall. Loaded again, the door must stay a cell of the
// Door layer through every edit, its undo and its look.
#include "editorfixture.h"

#include "app/dialogs.h"
#include "app/tessel.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "properties/objectpropertiesform.h"
#include "view/mapview.h"
#include "view/propertiescontroller.h"
#include "view/tools/stamptool.h"

#include <QComboBox>
#include <QFile>
#include <QTest>

namespace {

// As the editor writes it: walls at (0, 0) and (2, 0), the door between them.
const QByteArray writtenMap =
    "#Ceil\r\n0,0,0,\r\n\r\n#Wall\r\n104,0,104,\r\n\r\n#Floor\r\n0,0,0,\r\n\r\n#Door\r\n0,104,0,\r\n\r\n"
    "#Actor\r\n0,0,0,\r\n\r\n#Sprite\r\n0,0,0,\r\n\r\n#Item\r\n0,0,0,\r\n\r\n#Lightmap\r\n0,0,0,\r\n\r\n"
    "#Definitions\r\n104,Wall,Solid,shared/brick.png\r\n";

// Every cell as its list holds it, with its look; a cell that list and index
// (or its own layer) disagree on is marked.
QString cellsOf(const MapModel &model)
{
    QStringList cells;
    for (const auto &entry : model.layers()) {
        for (const Sector *sector : entry.sectors) {
            const QColor look = sector->look();
            QString name = look.isValid() ? QString("shade %1").arg(look.red()) : QString("plain");
            if (look == LayerController::otherLayerTint || look == LayerController::selectedTint)
                name = look == LayerController::selectedTint ? "selected" : "other";
            const int x = sector->data->mapX, y = sector->data->mapY;
            const bool indexed = sector->layer() == entry.name && model.sectorAt(entry.name, x, y) == sector;
            cells << QString("%1 %2,%3 %4%5").arg(QString(entry.name)).arg(x).arg(y).arg(name, indexed ? "" : " (lost)");
        }
    }
    return cells.join(" | ");
}

void perform(EditorFixture &editor, const QString &step)
{
    QWidget *window = editor.window.get();
    if (step == "cut" || step == "delete" || step == "paste") {
        editor.clickButton("radioSelect");
        editor.press(0, 0);
        editor.drag(step == "paste" ? 1 : 2, 0, Qt::LeftButton);
        editor.release(step == "paste" ? 1 : 2, 0);
    }
    if (step == "erase") {
        editor.click(1, 0, Qt::RightButton);
    } else if (step == "paint") {
        editor.paint(1, 0);
    } else if (step == "fill") {
        editor.clickButton("radioFloodFill");
        editor.click(1, 0);
    } else if (step == "delete") {
        editor.click(5, 5, Qt::RightButton);
    } else if (step == "cut") {
        QTest::keyClick(window, Qt::Key_X, Qt::ControlModifier);
    } else if (step == "paste") {
        QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier);
        editor.click(0, 1);
        editor.view->stamp()->stop();
    } else if (step == "clear") {
        Dialogs::question = [](const QString &, const QString &) { return QMessageBox::Yes; };
        editor.clickButton("btnMapLayerClear");
    } else if (step == "undo") {
        editor.view->undo();
    } else if (step == "redo") {
        editor.view->redo();
    } else if (step == "Lightmap") {
        editor.setLayer(step);
    }
    editor.flushDeletes();
}

void load(EditorFixture &editor, const QByteArray &text)
{
    EditorFixture::writeImage(editor.path("maps/shared/brick.png"), Qt::red);
    QFile file(editor.path("maps/shared.map"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    QVERIFY(editor.view->loadMapFile(file.fileName()));
    editor.setLayer("Door");
}

} // namespace

class TestSharedLine : public QObject
{
    Q_OBJECT

private slots:
    void everyEditKeepsTheDoorOnItsLayer_data();
    void everyEditKeepsTheDoorOnItsLayer();
    void loadedDoorIsEditedAndWrittenAsADoor();
};

// Each row's name is its steps, on the Door layer of the loaded map.
void TestSharedLine::everyEditKeepsTheDoorOnItsLayer_data()
{
    QTest::addColumn<QString>("cells");
    const QString walls = "Wall 0,0 other | Wall 2,0 other | ";
    const QString light = " | Lightmap 3,0 other";
    const QString loaded = walls + "Door 1,0 plain" + light;
    QTest::newRow("loaded") << loaded;
    QTest::newRow("erase paint") << loaded;
    QTest::newRow("fill") << loaded;
    QTest::newRow("delete") << walls.chopped(3) + light;
    QTest::newRow("paste") << walls + "Wall 0,1 other | Door 1,0 selected | Door 1,1 plain" + light;
    QTest::newRow("clear undo") << loaded;
    QTest::newRow("erase undo redo undo") << loaded;
    QTest::newRow("cut undo") << loaded;
    QTest::newRow("Lightmap") << walls + "Door 1,0 other | Lightmap 3,0 shade 10";
}

void TestSharedLine::everyEditKeepsTheDoorOnItsLayer()
{
    QFETCH(QString, cells);
    EditorFixture editor;
    // With a light cell whose (hand-made) line says Wall as well.
    QByteArray text = writtenMap;
    text.replace("#Lightmap\r\n0,0,0,", "#Lightmap\r\n0,0,0,107,");
    load(editor, text + "107,Wall,Static,shared/brick.png\r\n");
    for (const QString &step : QString(QTest::currentDataTag()).split(' '))
        perform(editor, step);
    QCOMPARE(cellsOf(*editor.view->mapModel()), cells);
}

void TestSharedLine::loadedDoorIsEditedAndWrittenAsADoor()
{
    EditorFixture editor;
    load(editor, writtenMap);
    editor.click(1, 0);
    QCOMPARE(editor.view->openForm()->findChild<QComboBox *>("comboSubtype")->itemText(1), QString("BlueKeyDoor"));
    editor.view->propertiesController()->closeForm();

    // Saved in place, the file is as it was but for the line's new number.
    editor.view->BtnSaveMapEvent();
    QFile saved(editor.path("maps/shared.map"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QByteArray expected = writtenMap;
    expected.replace("104", QByteArray::number(editor.sectorOn("Door", 1, 0)->data->texture.id));
    QCOMPARE(saved.readAll(), expected);
}

QTEST_MAIN(TestSharedLine)
#include "tst_sharedline.moc"
