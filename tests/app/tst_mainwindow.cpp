#include "editorfixture.h"

#include "app/tessel.h"
#include "document/editingstate.h"
#include "layers/layercontroller.h"
#include "view/mapview.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QApplication>
#include <QTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void widgetsHaveNamesClassesAndTexts_data();
    void widgetsHaveNamesClassesAndTexts();
    void shortcuts_data();
    void shortcuts();
    void firstSizeAndTitle();
    void toolRowFitsItsFrame();
    void layoutsAndProperties();
    void modeRadiosShareTheButtonGroup();
    void shortcutsActivateTheirButtons();
    void toolKeyTypedRightAfterSelectIsIgnored();
    void shiftAndCtrlHoldTemporaryLayers();
    void temporaryLayerIgnoredWhenAlreadyShown();
    void releasingEitherKeyEndsTheTemporaryLayer();
    void losingTheKeyboardEndsTheTemporaryLayer();
    void pickingALayerHandsTheKeysBackToTheMap();
};

void TestMainWindow::widgetsHaveNamesClassesAndTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("text");
    QTest::newRow("groupBox") << "groupBox" << "QGroupBox" << "Map Layer";
    QTest::newRow("clear") << "btnMapLayerClear" << "QPushButton" << "Clear";
    QTest::newRow("combo") << "comboBoxMapLayer" << "QComboBox" << "";
    QTest::newRow("label") << "label" << "QLabel" << "Hold Shift to temporary edit Walls";
    QTest::newRow("label_2") << "label_2" << "QLabel" << "Hold Ctrl to temporary edit Doors";
    QTest::newRow("gallery") << "groupBox_4" << "QGroupBox" << "Gallery";
    QTest::newRow("list") << "listViewTextures" << "QListWidget" << "";
    QTest::newRow("save") << "btnSaveMap" << "QPushButton" << "Save Map [Ctrl+S]";
    QTest::newRow("load") << "btnLoadMap" << "QPushButton" << "Load Map";
    QTest::newRow("map") << "mapWidget" << "QWidget" << "";
    QTest::newRow("frame") << "frame" << "QFrame" << "";
    QTest::newRow("mode") << "groupBox_2" << "QGroupBox" << "Mode";
    QTest::newRow("paint") << "radioPaint" << "QRadioButton" << "Edit [E]";
    QTest::newRow("select") << "radioSelect" << "QRadioButton" << "Select [S]";
    QTest::newRow("pencil") << "radioPencil" << "QRadioButton" << "Pencil";
    QTest::newRow("fill") << "radioFloodFill" << "QRadioButton" << "Flood fill";
    QTest::newRow("line") << "radioLine" << "QRadioButton" << "Line [L]";
    QTest::newRow("rectangle") << "radioRectangle" << "QRadioButton" << "Rectangle [R]";
    QTest::newRow("room") << "radioRoom" << "QRadioButton" << "Room [O]";
    QTest::newRow("editSel") << "btnEditSelection" << "QPushButton" << "Edit selection [Ctrl+E]";
    QTest::newRow("zoom") << "groupBox_3" << "QGroupBox" << "Zoom";
    QTest::newRow("slider") << "mapViewZoomSlider" << "QSlider" << "";
    QTest::newRow("status box") << "groupBox_5" << "QGroupBox" << "";
    QTest::newRow("status") << "labelStatus" << "QLabel" << "--";
    QTest::newRow("pointer") << "labelPointer" << "QLabel" << "";
    QTest::newRow("left column") << "widget" << "QWidget" << "";
    QTest::newRow("tool bar") << "horizontalLayoutWidget" << "QWidget" << "";
}

static QString textOf(QObject *object)
{
    if (auto *button = qobject_cast<QAbstractButton *>(object))
        return button->text();
    if (auto *label = qobject_cast<QLabel *>(object))
        return label->text();
    if (auto *group = qobject_cast<QGroupBox *>(object))
        return group->title();
    return QString();
}

void TestMainWindow::widgetsHaveNamesClassesAndTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, text);
    EditorFixture editor;
    QObject *object = editor.window->findChild<QObject *>(name);
    QVERIFY2(object, qPrintable(name));
    QCOMPARE(QString(object->metaObject()->className()), className);
    QCOMPARE(textOf(object), text);
}

void TestMainWindow::shortcuts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::newRow("save") << "btnSaveMap" << QKeySequence("Ctrl+S");
    QTest::newRow("edit") << "radioPaint" << QKeySequence("E");
    QTest::newRow("select") << "radioSelect" << QKeySequence("S");
    QTest::newRow("line") << "radioLine" << QKeySequence("L");
    QTest::newRow("rectangle") << "radioRectangle" << QKeySequence("R");
    QTest::newRow("room") << "radioRoom" << QKeySequence("O");
    QTest::newRow("edit selection") << "btnEditSelection" << QKeySequence("Ctrl+E");
}

void TestMainWindow::shortcuts()
{
    QFETCH(QString, name);
    QFETCH(QKeySequence, shortcut);
    EditorFixture editor;
    auto *button = editor.window->findChild<QAbstractButton *>(name);
    QVERIFY(button);
    QCOMPARE(button->shortcut(), shortcut);
}

void TestMainWindow::firstSizeAndTitle()
{
    EditorFixture editor;
    QCOMPARE(editor.window->size(), QSize(1124, 768));
    QCOMPARE(editor.shownTitle(), QString("Tessel"));
    QCOMPARE(editor.window->objectName(), QString("TesselClass"));
}

// The row of modes, tools and zoom has a size of its own; at the first window
// size nothing of it may be cut off by the frame (the slider was, once).
void TestMainWindow::toolRowFitsItsFrame()
{
    EditorFixture editor;
    const auto *frame = editor.window->findChild<QFrame *>("frame");
    for (const char *name : {"groupBox_2", "radioPencil", "radioFloodFill", "radioLine", "radioRectangle", "radioRoom",
                             "btnEditSelection", "groupBox_3", "mapViewZoomSlider"}) {
        const auto *widget = editor.window->findChild<QWidget *>(name);
        const QRect place(widget->mapTo(frame, QPoint()), widget->size());
        QVERIFY2(frame->contentsRect().contains(place),
                 qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 in a frame of %6x%7").arg(name).arg(place.x()).arg(place.y())
                                .arg(place.width()).arg(place.height()).arg(frame->width()).arg(frame->height())));
    }
}

void TestMainWindow::layoutsAndProperties()
{
    EditorFixture editor;
    Tessel *w = editor.window.get();
    for (const char *name : {"gridLayout_4", "verticalLayout_4", "verticalLayout_5", "gridLayout_2", "gridLayout",
                             "verticalLayout_3", "gridLayout_3", "horizontalLayout_2", "gridLayout_6",
                             "horizontalLayout_3"})
        QVERIFY2(w->findChild<QLayout *>(name), name);
    QCOMPARE(w->findChild<QLayout *>("horizontalLayout_2")->sizeConstraint(), QLayout::SetFixedSize);
    QCOMPARE(w->findChild<QWidget *>("btnMapLayerClear")->geometry(), QRect(220, 60, 89, 27));
    QCOMPARE(w->findChild<QWidget *>("comboBoxMapLayer")->geometry(), QRect(10, 30, 301, 22));
    QCOMPARE(w->findChild<QWidget *>("radioPaint")->geometry(), QRect(30, 20, 71, 21));
    QCOMPARE(w->findChild<QWidget *>("radioSelect")->geometry(), QRect(100, 20, 81, 20));
    QVERIFY(!w->findChild<QWidget *>("label")->isEnabled());
    QCOMPARE(w->findChild<QWidget *>("label")->font().pointSize(), 7);
    QVERIFY(!w->findChild<QWidget *>("labelStatus")->isEnabled());
    // The status bar: the pointer's cell, the spacer, the status text.
    QLayout *status = w->findChild<QLayout *>("horizontalLayout_3");
    QCOMPARE(status->count(), 3);
    QCOMPARE(status->itemAt(0)->widget(), w->findChild<QWidget *>("labelPointer"));
    QVERIFY(status->itemAt(1)->spacerItem());
    QCOMPARE(status->itemAt(2)->widget(), w->findChild<QWidget *>("labelStatus"));
    auto *slider = w->findChild<QSlider *>("mapViewZoomSlider");
    QCOMPARE(slider->minimum(), 1);
    QCOMPARE(slider->maximum(), 4);
    QCOMPARE(slider->value(), 4);
    QCOMPARE(slider->tickPosition(), QSlider::TicksBelow);
    auto *list = w->findChild<QListWidget *>("listViewTextures");
    QCOMPARE(list->gridSize(), QSize(64, 100));
    QCOMPARE(list->viewMode(), QListView::IconMode);
    QVERIFY(list->uniformItemSizes());
    QCOMPARE(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(list->textElideMode(), Qt::ElideLeft);
    QCOMPARE(w->findChild<QWidget *>("widget")->minimumWidth(), 340);
    QCOMPARE(w->findChild<QWidget *>("mapWidget")->minimumWidth(), 400);
}

void TestMainWindow::modeRadiosShareTheButtonGroup()
{
    EditorFixture editor;
    auto *group = editor.window->findChild<QButtonGroup *>("buttonGroup");
    QVERIFY(group);
    QCOMPARE(group->buttons().size(), 2);
    QCOMPARE(group->buttons().at(0)->objectName(), QString("radioPaint"));
    QCOMPARE(group->buttons().at(1)->objectName(), QString("radioSelect"));
}

void TestMainWindow::shortcutsActivateTheirButtons()
{
    EditorFixture editor;
    // A shortcut animates a click, which lands a moment later.
    QTest::keyClick(editor.window.get(), Qt::Key_S);
    QTRY_VERIFY(editor.window->findChild<QRadioButton *>("radioSelect")->isChecked());
    QTRY_VERIFY(editor.window->findChild<QPushButton *>("btnEditSelection")->isEnabled());
    QTest::keyClick(editor.window.get(), Qt::Key_E);
    QTRY_VERIFY(editor.window->findChild<QRadioButton *>("radioPaint")->isChecked());
    QTRY_VERIFY(!editor.window->findChild<QPushButton *>("btnEditSelection")->isEnabled());
}

void TestMainWindow::toolKeyTypedRightAfterSelectIsIgnored()
{
    EditorFixture editor;
    auto *room = editor.window->findChild<QRadioButton *>("radioRoom");
    // Both keys arrive before either animated click lands: O's click comes
    // after Select mode has disabled its button. (The random operations type
    // such pairs of mode and tool keys.)
    QTest::keyClick(editor.window.get(), Qt::Key_S);
    QTest::keyClick(editor.window.get(), Qt::Key_O);
    QVERIFY(room->isDown());
    QTRY_VERIFY(!room->isDown());
    QCOMPARE(editor.view->editingState()->mode(), EditingState::Mode::Select);
    QCOMPARE(editor.view->editingState()->paintTool(), EditingState::PaintTool::Pencil);
    QVERIFY(editor.window->findChild<QRadioButton *>("radioPencil")->isChecked());
}

void TestMainWindow::shiftAndCtrlHoldTemporaryLayers()
{
    EditorFixture editor;
    editor.setLayer("Floor");
    auto *status = editor.window->findChild<QLabel *>("labelStatus");
    QTest::keyPress(editor.window.get(), Qt::Key_Shift);
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Wall"));
    QCOMPARE(status->text(), QString("Temporary editing Walls layer"));
    // The pencil paints on the temporary layer.
    QVERIFY(editor.paint(1, 1));
    QVERIFY(editor.sectorOn("Wall", 1, 1));
    QTest::keyRelease(editor.window.get(), Qt::Key_Shift);
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Floor"));
    QCOMPARE(status->text(), QString());
    QTest::keyPress(editor.window.get(), Qt::Key_Control);
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Door"));
    QCOMPARE(status->text(), QString("Temporary editing Doors layer"));
    QTest::keyRelease(editor.window.get(), Qt::Key_Control);
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Floor"));
    QCOMPARE(editor.window->findChild<QComboBox *>("comboBoxMapLayer")->currentText(), QString("Floor"));
}

void TestMainWindow::temporaryLayerIgnoredWhenAlreadyShown()
{
    EditorFixture editor;
    auto *status = editor.window->findChild<QLabel *>("labelStatus");
    const QString before = status->text();
    QTest::keyPress(editor.window.get(), Qt::Key_Shift);
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Wall"));
    QCOMPARE(status->text(), before);
    QTest::keyRelease(editor.window.get(), Qt::Key_Shift);
}

void TestMainWindow::releasingEitherKeyEndsTheTemporaryLayer()
{
    EditorFixture editor;
    editor.setLayer("Item");
    QTest::keyPress(editor.window.get(), Qt::Key_Shift);
    QTest::keyPress(editor.window.get(), Qt::Key_Control);
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Door"));
    QTest::keyRelease(editor.window.get(), Qt::Key_Control);
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Item"));
    QTest::keyRelease(editor.window.get(), Qt::Key_Shift);
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Item"));
}

void TestMainWindow::losingTheKeyboardEndsTheTemporaryLayer()
{
    EditorFixture editor;
    editor.setLayer("Floor");
    QTest::keyPress(editor.window.get(), Qt::Key_Shift);
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Wall"));
    // A dialog (say, the save dialog of Ctrl+S) takes the keyboard; the release goes there.
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(editor.window.get(), &deactivate);
    QCOMPARE(editor.layers->currentLayer(), QByteArray("Floor"));
    QCOMPARE(editor.window->findChild<QLabel *>("labelStatus")->text(), QString());
    QVERIFY(!editor.view->temporaryLayerActive());
}

void TestMainWindow::pickingALayerHandsTheKeysBackToTheMap()
{
    EditorFixture editor;
    auto *combo = editor.window->findChild<QComboBox *>("comboBoxMapLayer");
    combo->setFocus();
    QTRY_VERIFY(combo->hasFocus());
    const QString before = combo->currentText();
    QTest::keyClick(combo, Qt::Key_Down); // picks the next layer
    const QString picked = combo->currentText();
    QVERIFY(picked != before);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); // meant for the map
    QCOMPARE(combo->currentText(), picked);
    QCOMPARE(QApplication::focusWidget(), editor.map);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
