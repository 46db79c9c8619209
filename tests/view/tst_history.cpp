#include "editorfixture.h"

#include "app/dialogs.h"
#include "app/tessel.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "document/mapfile.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "properties/objectpropertiesform.h"
#include "view/mapview.h"
#include "document/recoveryfile.h"
#include "view/tools/stamptool.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QUndoStack>

namespace {

QByteArray savedBytes(EditorFixture &editor)
{
    const QString name = editor.path("probe.map");
    MapFile file;
    if (!file.writeMap(name, editor.layers->layerTable()))
        return QByteArray("write failed: ") + file.failure().toUtf8();
    QFile written(name);
    written.open(QIODevice::ReadOnly);
    return written.readAll();
}

// A few walls in a known list order (the middle one is erased by some steps),
// a closed ring to fill, two lights.
void buildMap(EditorFixture &editor)
{
    editor.setLayer("Lightmap");
    editor.paint(8, 2);
    editor.paint(9, 2);
    editor.setLayer("Wall");
    for (int x = 2; x <= 6; ++x) {
        editor.paint(x, 2);
        editor.paint(x, 6);
    }
    for (int y = 3; y <= 5; ++y) {
        editor.paint(2, y);
        editor.paint(6, y);
    }
}

void okForm(EditorFixture &editor, bool emitting)
{
    ObjectPropertiesForm *form = editor.view->openForm();
    QVERIFY(form);
    if (emitting) {
        QTest::mouseClick(form->findChild<QCheckBox *>("chkIsLightEmitter"), Qt::LeftButton);
        form->findChild<QSlider *>("sliderEmissionRadius")->setValue(2);
    }
    form->findChild<QLineEdit *>("editLightingEmission")->setText("200");
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
}

// What a step needs in place before it, not part of the step.
void prepare(EditorFixture &editor, const QString &step)
{
    if (step == "cut" || step == "paste") {
        // A rectangle over walls of two rows, copied (a copy changes nothing).
        QTest::mouseClick(editor.window->findChild<QRadioButton *>("radioSelect"), Qt::LeftButton);
        editor.press(2, 2);
        editor.drag(4, 3, Qt::LeftButton);
        editor.release(4, 3);
        QTest::keyClick(editor.window.get(), Qt::Key_C, Qt::ControlModifier);
    } else if (step == "fill retexture") {
        editor.setLayer("Floor");
        editor.paint(3, 3);
        editor.paint(4, 3);
        editor.clickButton("radioFloodFill");
        editor.pickTexture(1);
    }
}

void perform(EditorFixture &editor, const QString &step)
{
    if (step == "stroke") {
        editor.press(8, 8);
        editor.drag(9, 8, Qt::LeftButton);
        editor.drag(10, 8, Qt::LeftButton);
        editor.release(10, 8);
    } else if (step == "erase drag") {
        editor.press(3, 2, Qt::RightButton);
        editor.drag(4, 2, Qt::RightButton);
        editor.release(4, 2, Qt::RightButton);
    } else if (step == "fill") {
        editor.clickButton("radioFloodFill");
        editor.click(4, 4);
    } else if (step == "fill retexture") {
        editor.click(3, 3);
    } else if (step == "delete selection") {
        editor.layers->selectRect(3, 2, 5, 6);
        editor.clickButton("radioSelect");
        editor.click(9, 8, Qt::RightButton);
    } else if (step == "gallery retexture") {
        editor.layers->selectRect(2, 2, 6, 2);
        editor.pickTexture(1);
    } else if (step == "properties") {
        editor.setLayer("Lightmap");
        editor.layers->selectRect(8, 2, 9, 2);
        editor.view->BtnEditSelectionEvent();
        okForm(editor, false);
    } else if (step == "emission") {
        editor.setLayer("Lightmap");
        editor.click(8, 2);
        okForm(editor, true);
    } else if (step == "cut") {
        QTest::keyClick(editor.window.get(), Qt::Key_X, Qt::ControlModifier);
    } else if (step == "paste") {
        // Over the ring's east wall and beside it: some cells replaced, some new.
        QTest::keyClick(editor.window.get(), Qt::Key_V, Qt::ControlModifier);
        editor.moveTo(5, 5);
        editor.click(5, 5);
        editor.view->stamp()->stop();
    } else if (step == "clear") {
        Dialogs::question = [](const QString &, const QString &) { return QMessageBox::Yes; };
        editor.clickButton("btnMapLayerClear");
    }
    editor.flushDeletes();
}

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Dialogs::restoreDefaults();
        // A message box would wait for a user who never comes.
        Dialogs::information = Dialogs::warning = [](const QString &title, const QString &text) {
            qWarning("unexpected message: %s: %s", qPrintable(title), qPrintable(text));
        };
    }
    void undoAndRedoGiveBackTheSavedBytes_data();
    void undoAndRedoGiveBackTheSavedBytes();
    void cleanStateFollowsSaveLoadAndUndo();
    void unsavedWorkIsSettledFirst_data();
    void unsavedWorkIsSettledFirst();
    void recoveryCopyIsWrittenAndOffered();
    void actionsThatChangeNothingRecordNoStep_data();
    void actionsThatChangeNothingRecordNoStep();
    void gesturesEndAndUndoWaitsOnlyForHeldButtons();
};

void TestHistory::undoAndRedoGiveBackTheSavedBytes_data()
{
    QTest::addColumn<QString>("step");
    for (const char *step : {"stroke", "erase drag", "fill", "fill retexture", "delete selection",
                             "gallery retexture", "properties", "emission", "clear", "cut", "paste"})
        QTest::newRow(step) << QString(step);
}

void TestHistory::undoAndRedoGiveBackTheSavedBytes()
{
    QFETCH(QString, step);
    EditorFixture editor;
    buildMap(editor);
    prepare(editor, step);
    QUndoStack *history = editor.view->undoStack();
    const int stepsBefore = history->count();
    const QByteArray before = savedBytes(editor);
    perform(editor, step);
    const QByteArray after = savedBytes(editor);
    QVERIFY(after != before);
    QCOMPARE(history->count(), stepsBefore + 1);
    editor.view->undo();
    editor.flushDeletes();
    QCOMPARE(savedBytes(editor), before);
    editor.view->redo();
    editor.flushDeletes();
    QCOMPARE(savedBytes(editor), after);
}

void TestHistory::cleanStateFollowsSaveLoadAndUndo()
{
    EditorFixture editor;
    QWidget *window = editor.window.get();
    QVERIFY(!window->isWindowModified());
    editor.paint(3, 3);
    QVERIFY(window->isWindowModified());
    const QString name = editor.path("level1.map");
    Dialogs::saveChooser = [name](const QString &, const QString &) { return name; };
    editor.view->BtnSaveMapEvent();
    QVERIFY(!window->isWindowModified());
    QCOMPARE(editor.shownTitle(), QString("Editing: %1 - Tessel").arg(name));
    editor.paint(5, 5);
    QCOMPARE(editor.shownTitle(), QString("Editing: %1* - Tessel").arg(name));
    editor.view->undo();
    editor.paint(4, 3);
    QVERIFY(window->isWindowModified());
    editor.view->undo();
    QVERIFY(!window->isWindowModified());
    editor.view->undo();
    QVERIFY(window->isWindowModified());
    Dialogs::unsavedChoice = [](const QString &, const QString &) { return QMessageBox::Discard; };
    QVERIFY(editor.view->loadMapFile(name));
    QVERIFY(!window->isWindowModified());
    QVERIFY(!editor.view->undoStack()->canUndo());
}

void TestHistory::unsavedWorkIsSettledFirst_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closes");
    QTest::newRow("clean") << false << int(QMessageBox::Cancel) << false << true;
    QTest::newRow("cancel") << true << int(QMessageBox::Cancel) << true << false;
    QTest::newRow("discard") << true << int(QMessageBox::Discard) << true << true;
    QTest::newRow("save") << true << int(QMessageBox::Save) << true << true;
}

// The same question guards the close and Load Map.
void TestHistory::unsavedWorkIsSettledFirst()
{
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, closes);
    for (bool closing : {true, false}) {
        EditorFixture editor;
        if (edited)
            editor.paint(3, 3);
        int questions = 0;
        Dialogs::unsavedChoice = [&](const QString &, const QString &) {
            ++questions;
            return QMessageBox::StandardButton(answer);
        };
        const QString name = editor.path("saved.map");
        Dialogs::saveChooser = [name](const QString &, const QString &) { return name; };
        bool opened = false;
        Dialogs::openChooser = [&](const QString &, const QString &) {
            opened = true;
            return QString();
        };
        if (closing)
            QCOMPARE(editor.window->close(), closes);
        else
            editor.clickButton("btnLoadMap");
        QCOMPARE(questions, asked ? 1 : 0);
        if (!closing)
            QCOMPARE(opened, closes);
        QCOMPARE(QFile::exists(name), answer == QMessageBox::Save && edited);
    }
}

void TestHistory::recoveryCopyIsWrittenAndOffered()
{
    EditorFixture editor;
    RecoveryFile *recovery = editor.view->recoveryFile();
    QVERIFY(!recovery->writeNow()); // nothing unsaved, nothing written
    buildMap(editor);
    QVERIFY(recovery->writeNow());
    QVERIFY(!recovery->mapPath().startsWith(editor.path(QString())));
    // As if the editor had died: its copy in a folder no lock holds.
    const QString crashed = RecoveryFile::rootFolder() + "/crashed";
    QVERIFY(QDir().rename(recovery->folder(), crashed));

    // The next start offers it; the copy opens as unsaved work without a name.
    QString offered;
    Dialogs::recoveryChoice = [&offered](const QString &title, const QString &) {
        offered = title;
        return QMessageBox::Yes;
    };
    Tessel next;
    next.offerRecovery();
    QCOMPARE(offered, QString("Recover unsaved work"));
    QVERIFY(next.isWindowModified());
    QVERIFY(next.mapView()->currentMapFileName().isEmpty());
    for (const auto &entry : editor.layers->layerTable())
        QCOMPARE(next.mapView()->mapModel()->sectorsOf(entry.name).size(), entry.sectors.size());
    QCOMPARE(next.mapView()->recoveryFile()->folder(), crashed);

    const QString name = editor.path("saved.map");
    Dialogs::saveChooser = [name](const QString &, const QString &) { return name; };
    next.mapView()->BtnSaveMapEvent();
    QVERIFY(!QFile::exists(next.mapView()->recoveryFile()->mapPath()));
}

void TestHistory::actionsThatChangeNothingRecordNoStep_data()
{
    QTest::addColumn<QString>("step");
    for (const char *step : {"erase stroke over empty cells", "fill with the same texture", "OK on a wall",
                             "OK on a light"})
        QTest::newRow(step) << QString(step);
}

// Neither an undo step that undoes nothing nor a map marked unsaved for nothing.
void TestHistory::actionsThatChangeNothingRecordNoStep()
{
    QFETCH(QString, step);
    EditorFixture editor;
    buildMap(editor);
    if (step.startsWith("fill")) {
        editor.setLayer("Floor");
        editor.paint(3, 3);
        editor.paint(4, 3);
    }
    QUndoStack *history = editor.view->undoStack();
    history->setClean();
    const int steps = history->count();
    const QByteArray before = savedBytes(editor);
    if (step.startsWith("erase")) {
        editor.press(9, 8, Qt::RightButton);
        editor.drag(10, 8, Qt::RightButton);
        editor.release(10, 8, Qt::RightButton);
    } else if (step.startsWith("fill")) {
        editor.clickButton("radioFloodFill");
        editor.click(3, 3);
    } else {
        editor.setLayer(step == "OK on a wall" ? "Wall" : "Lightmap");
        editor.click(step == "OK on a wall" ? 2 : 8, 2);
        QTest::mouseClick(editor.view->openForm()->okButton(), Qt::LeftButton);
    }
    editor.flushDeletes();
    QCOMPARE(savedBytes(editor), before);
    QCOMPARE(history->count(), steps);
    QVERIFY(!editor.window->isWindowModified());
}

void TestHistory::gesturesEndAndUndoWaitsOnlyForHeldButtons()
{
    EditorFixture editor;
    for (int x = 0; x < 4; ++x)
        editor.paint(x, 0);
    QUndoStack *history = editor.view->undoStack();
    MapModel *model = editor.view->mapModel();

    // A button held: nothing is undone until it comes up.
    editor.press(6, 6);
    editor.view->undo();
    QCOMPARE(model->sectorsOf("Wall").size(), 5);
    editor.release(6, 6);

    // A stroke whose release went to another widget ends at the next press,
    // and a stroke ends when the window loses the keyboard.
    const int steps = history->count();
    editor.press(6, 7);
    QTest::mouseRelease(editor.window.get(), Qt::LeftButton);
    editor.click(7, 7);
    QCOMPARE(history->count(), steps + 2);
    editor.press(8, 7);
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(editor.window.get(), &deactivate);
    QVERIFY(!editor.view->editOpen());
    editor.release(8, 7);
    QCOMPARE(history->count(), steps + 3);

    // An edit being gathered, with every button up.
    editor.view->mapDocument()->beginEdit("Gathered");
    model->placeCell("Wall", QPoint(7, 8), editor.gallery->currentTexture());
    editor.view->undo();
    QCOMPARE(model->sectorsOf("Wall").size(), 9);
    editor.view->mapDocument()->endEdit();
    editor.view->undo();
    QCOMPARE(model->sectorsOf("Wall").size(), 8);
    history->setClean();

    // Through the window system, as a person clicks: the right press erases
    // the cell and its button, so the release reaches no widget at all.
    QWindow *window = editor.window->windowHandle();
    const QPoint at = editor.map->mapTo(editor.window.get(), editor.cellCenter(1, 0));
    editor.moveTo(1, 0);
    QTest::mousePress(window, Qt::RightButton, Qt::NoModifier, at);
    editor.flushDeletes();
    QTest::mouseRelease(window, Qt::RightButton, Qt::NoModifier, at);
    QVERIFY(!editor.view->editOpen());
    QVERIFY(editor.window->isWindowModified());
    editor.view->undo();
    QVERIFY(model->hasSectorAt("Wall", 1, 0));
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
