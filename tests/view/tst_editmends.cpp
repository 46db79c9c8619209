#include "editorfixture.h"

#include "app/dialogs.h"
#include "app/tessel.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "properties/objectpropertiesform.h"
#include "view/mapview.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>

namespace {

void holdKey(EditorFixture &editor, Qt::Key key, bool down)
{
    if (down)
        QTest::keyPress(editor.window.get(), key);
    else
        QTest::keyRelease(editor.window.get(), key);
}

// Presses the mouse on the map widget when the Edit selection button is first
// disabled, which happens while the map view is still finding its widgets.
class EarlyPress : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!done && event->type() == QEvent::EnabledChange && watched->objectName() == "btnEditSelection") {
            done = true;
            QWidget *map = static_cast<QWidget *>(watched)->window()->findChild<QWidget *>("mapWidget");
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), map->mapToGlobal(QPoint(5, 5)),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(map, &press);
        }
        return false;
    }
    bool done = false;
};

} // namespace

class TestEditMends : public QObject
{
    Q_OBJECT

private slots:
    void deletingTheSelectionTakesItsOwnSectors();
    void clearTakesTheLayerShownAtTheClick();
    void selectionKeepsItsMarkingThroughATemporaryLayer();
    void closingTheWindowClosesTheForm();
    void eventsDuringConstructionAreHarmless();
};

void TestEditMends::deletingTheSelectionTakesItsOwnSectors()
{
    EditorFixture editor;
    editor.place(3, 3);
    editor.place(4, 3);
    editor.setLayer("Door");
    editor.place(3, 3);
    editor.setLayer("Wall");
    editor.clickButton("radioSelect");
    editor.layers->selectRect(3, 3, 4, 3);
    holdKey(editor, Qt::Key_Control, true);
    editor.click(8, 8, Qt::RightButton);
    holdKey(editor, Qt::Key_Control, false);
    editor.flushDeletes();
    QVERIFY(!editor.sectorOn("Wall", 3, 3));
    QVERIFY(!editor.sectorOn("Wall", 4, 3));
    QVERIFY(editor.sectorOn("Door", 3, 3));
}

void TestEditMends::clearTakesTheLayerShownAtTheClick()
{
    EditorFixture editor;
    editor.place(3, 3);
    editor.setLayer("Door");
    editor.place(4, 3);
    editor.setLayer("Wall");
    QString asked;
    MapView *view = editor.view;
    Dialogs::question = [&asked, view](const QString &, const QString &text) {
        asked = text;
        // The question box takes the activation: the temporary layer ends.
        view->endTemporaryLayer();
        return QMessageBox::Yes;
    };
    holdKey(editor, Qt::Key_Control, true);
    editor.clickButton("btnMapLayerClear");
    QVERIFY2(asked.contains("(Door)"), qPrintable(asked));
    QVERIFY(editor.sectorOn("Wall", 3, 3));
    QVERIFY(!editor.sectorOn("Door", 4, 3));
}

void TestEditMends::selectionKeepsItsMarkingThroughATemporaryLayer()
{
    EditorFixture editor;
    editor.setLayer("Floor");
    Sector *floor = editor.place(3, 3);
    editor.clickButton("radioSelect");
    editor.layers->selectRect(3, 3, 3, 3);
    for (Qt::Key key : {Qt::Key_Control, Qt::Key_Shift}) {
        holdKey(editor, key, true);
        QCOMPARE(floor->look(), LayerController::selectedTint);
        holdKey(editor, key, false);
        QCOMPARE(floor->look(), LayerController::selectedTint);
    }
}

void TestEditMends::closingTheWindowClosesTheForm()
{
    EditorFixture editor;
    editor.paint(3, 3);
    editor.click(3, 3);
    QPointer<ObjectPropertiesForm> form = editor.view->openForm();
    QVERIFY(form && form->isVisible());
    Dialogs::unsavedChoice = [](const QString &, const QString &) { return QMessageBox::Discard; };
    QVERIFY(editor.window->close());
    QVERIFY(!form || !form->isVisible());
}

void TestEditMends::eventsDuringConstructionAreHarmless()
{
    EditorFixture editor; // the working folder with its assets
    EarlyPress early;
    qApp->installEventFilter(&early);
    Tessel window;
    qApp->removeEventFilter(&early);
    QVERIFY(early.done);
}

QTEST_MAIN(TestEditMends)
#include "tst_editmends.moc"
