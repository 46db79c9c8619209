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

// The same with a light cell at (3, 0) whose (hand-made) line says Wall as well.
QByteArray withForeignLight()
{
    QByteArray text = writtenMap;
    text.replace("#Lightmap\r\n0,0,0,", "#Lightmap\r\n0,0,0,107,");
    return text + "107,Wall,Static,shared/brick.png\r\n";
}

QString lookName(const Sector *sector)
{
    const QColor look = sector->look();
    if (!look.isValid())
        return "plain";
    if (look == LayerController::otherLayerTint)
        return "other";
    return look == LayerController::selectedTint ? "selected" : QString("shade %1").arg(look.red());
}

// Every cell as its list holds it, with its look; a cell the list and the
// index disagree on is marked.
QString cellsOf(const MapModel &model)
{
    QStringList cells;
    for (const auto &entry : model.layers()) {
        for (const Sector *sector : entry.sectors) {
            const SectorData *d = sector->data;
            QString cell = QString("%1 %2,%3 %4").arg(QString(entry.name)).arg(d->mapX).arg(d->mapY).arg(lookName(sector));
            if (sector->layer() != entry.name || model.sectorAt(entry.name, d->mapX, d->mapY) != sector)
                cell += " (not indexed)";
            cells << cell;
        }
    }
    return cells.join(" | ");
}

void selectArea(EditorFixture &editor, int right)
{
    editor.clickButton("radioSelect");
    editor.press(0, 0);
    editor.drag(right, 0, Qt::LeftButton);
    editor.release(right, 0);
}

void perform(EditorFixture &editor, const QString &step)
{
    MapView *view = editor.view;
    if (step == "erase") {
        editor.click(1, 0, Qt::RightButton);
    } else if (step == "paint") {
        editor.paint(1, 0);
    } else if (step == "fill") {
        editor.clickButton("radioFloodFill");
        editor.click(1, 0);
    } else if (step == "delete") {
        selectArea(editor, 2);
        editor.click(5, 5, Qt::RightButton);
    } else if (step == "cut") {
        selectArea(editor, 2);
        QTest::keyClick(editor.window.get(), Qt::Key_X, Qt::ControlModifier);
    } else if (step == "paste") {
        selectArea(editor, 1);
        QTest::keyClick(editor.window.get(), Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(editor.window.get(), Qt::Key_V, Qt::ControlModifier);
        editor.click(0, 1);
        view->stamp()->stop();
    } else if (step == "clear") {
        Dialogs::question = [](const QString &, const QString &) { return QMessageBox::Yes; };
        editor.clickButton("btnMapLayerClear");
    } else if (step == "undo") {
        view->undo();
    } else if (step == "redo") {
        view->redo();
    } else if (step.startsWith("layer ")) {
        editor.setLayer(step.mid(6));
    }
    editor.flushDeletes();
}

} // namespace

class TestSharedLine : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Dialogs::restoreDefaults();
        Dialogs::information = Dialogs::warning = [](const QString &title, const QString &text) {
            qWarning("unexpected message: %s: %s", qPrintable(title), qPrintable(text));
        };
    }
    void everyEditKeepsTheDoorOnItsLayer_data();
    void everyEditKeepsTheDoorOnItsLayer();
    void loadedDoorIsEditedAndWrittenAsADoor();

private:
    void load(EditorFixture &editor, const QByteArray &text)
    {
        EditorFixture::writeImage(editor.path("maps/shared/brick.png"), Qt::red);
        QFile file(editor.path("maps/shared.map"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        QVERIFY(editor.view->loadMapFile(file.fileName()));
    }
};

void TestSharedLine::everyEditKeepsTheDoorOnItsLayer_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("cells");
    const QString walls = "Wall 0,0 other | Wall 2,0 other";
    const QString light = " | Lightmap 3,0 other";
    QTest::newRow("loaded") << QStringList() << walls + " | Door 1,0 plain" + light;
    QTest::newRow("erase, paint") << QStringList{"erase", "paint"} << walls + " | Door 1,0 plain" + light;
    QTest::newRow("erase") << QStringList{"erase"} << walls + light;
    QTest::newRow("fill") << QStringList{"fill"} << walls + " | Door 1,0 plain" + light;
    QTest::newRow("select, delete") << QStringList{"delete"} << walls + light;
    QTest::newRow("cut") << QStringList{"cut"} << "Lightmap 3,0 other";
    QTest::newRow("paste") << QStringList{"paste"}
                           << "Wall 0,0 other | Wall 2,0 other | Wall 0,1 other | Door 1,0 selected | Door 1,1 plain"
            + light;
    QTest::newRow("clear, undo") << QStringList{"clear", "undo"} << walls + " | Door 1,0 plain" + light;
    QTest::newRow("erase, undo, redo, undo") << QStringList{"erase", "undo", "redo", "undo"}
                                             << walls + " | Door 1,0 plain" + light;
    QTest::newRow("cut, undo") << QStringList{"cut", "undo"} << walls + " | Door 1,0 plain" + light;
    QTest::newRow("light shade") << QStringList{"layer Lightmap"}
                                 << "Wall 0,0 other | Wall 2,0 other | Door 1,0 other | Lightmap 3,0 shade 10";
}

void TestSharedLine::everyEditKeepsTheDoorOnItsLayer()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, cells);
    EditorFixture editor;
    load(editor, withForeignLight());
    editor.setLayer("Door");
    for (const QString &step : steps)
        perform(editor, step);
    QCOMPARE(cellsOf(*editor.view->mapModel()), cells);
}

void TestSharedLine::loadedDoorIsEditedAndWrittenAsADoor()
{
    EditorFixture editor;
    load(editor, writtenMap);
    editor.setLayer("Door");
    editor.click(1, 0);
    QComboBox *subtypes = editor.view->openForm()->findChild<QComboBox *>("comboSubtype");
    QCOMPARE(subtypes->itemText(1), QString("BlueKeyDoor"));
    editor.view->closeForm();

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
