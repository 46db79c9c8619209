// The map under the hand: drags, hover, wheel, keys and the texture pick.
#include "editorfixture.h"

#include "app/tessel.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/mapview.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

namespace {

// Input through the window, as the window system delivers it: the widget under
// the pointer gets it, a press grabs, what a widget leaves goes on to the map.
struct Hand
{
    EditorFixture &e;
    QPoint at(int cx, int cy) const { return e.map->mapTo(e.window.get(), e.cellCenter(cx, cy)); }
    void mouse(QEvent::Type type, int cx, int cy, Qt::KeyboardModifiers keys = Qt::NoModifier) const
    {
        e.moveTo(cx, cy);
        QWindow *w = e.window->windowHandle();
        if (type == QEvent::MouseMove)
            QTest::mouseMove(w, at(cx, cy));
        else if (type == QEvent::MouseButtonPress)
            QTest::mousePress(w, Qt::LeftButton, keys, at(cx, cy));
        else
            QTest::mouseRelease(w, Qt::LeftButton, keys, at(cx, cy));
    }
    // Like a real wheel turn: to the widget under the pointer, and on to its
    // parents while none takes it (a sent event alone stops at its receiver).
    void wheel(int cx, int cy, int delta, Qt::KeyboardModifiers keys) const
    {
        mouse(QEvent::MouseMove, cx, cy);
        const QPoint global = e.window->mapToGlobal(at(cx, cy));
        for (QWidget *target = e.window->childAt(at(cx, cy)); target; target = target->parentWidget()) {
            QWheelEvent event(target->mapFromGlobal(global), global, QPoint(), QPoint(0, delta), Qt::NoButton, keys,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &event);
            if (event.isAccepted())
                break;
        }
    }
    QString label(const char *name) const { return e.window->findChild<QLabel *>(name)->text(); }
    void key(int key, Qt::KeyboardModifiers keys = Qt::NoModifier) const
    {
        QTest::keyClick(e.window.get(), Qt::Key(key), keys);
    }
};

const auto Press = QEvent::MouseButtonPress;
const auto Move = QEvent::MouseMove;
const auto Release = QEvent::MouseButtonRelease;

} // namespace

class TestMapInput : public QObject
{
    Q_OBJECT

private slots:
    void dragFromAPaintedCellPaintsEveryCell();
    void pointerNamesTheCell();
    void pointerLabelFollowsWithoutAMove_data();
    void pointerLabelFollowsWithoutAMove();
    void wheelPansAndZooms_data();
    void wheelPansAndZooms();
    void selectionKeys_data();
    void selectionKeys();
    void pickTexture_data();
    void pickTexture();
};

void TestMapInput::dragFromAPaintedCellPaintsEveryCell()
{
    EditorFixture editor;
    const Hand hand{editor};
    editor.paint(1, 1);
    for (auto [type, x] : {std::pair{Press, 1}, {Move, 2}, {Move, 3}, {Move, 4}, {Release, 4}})
        hand.mouse(type, x, 1);
    QCOMPARE(EditorFixture::cellsOf(editor.layers->currentSectors()), (QList<QPoint>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    // A drag that comes back to its cell is no click; a click without a drag is.
    for (auto [type, x] : {std::pair{Press, 1}, {Move, 2}, {Move, 1}, {Release, 1}})
        hand.mouse(type, x, 1);
    QVERIFY(!editor.view->openForm());
    hand.mouse(Press, 1, 1);
    hand.mouse(Release, 1, 1);
    QVERIFY(editor.view->openForm());
}

void TestMapInput::pointerNamesTheCell()
{
    EditorFixture editor;
    const Hand hand{editor};
    editor.paint(1, 1);
    editor.setLayer("Floor");
    editor.paint(2, 1);
    hand.mouse(Move, 2, 1);
    QCOMPARE(hand.label("labelPointer"), QString("Map X 2, Map Y 1: floor_a.png"));
    editor.setLayer("Wall");
    hand.mouse(Move, 1, 1);
    QCOMPARE(hand.label("labelPointer"), QString("Map X 1, Map Y 1: brick.png, Solid"));
    hand.wheel(2, 1, -120, Qt::NoModifier); // the map moves under a still pointer
    QCOMPARE(hand.label("labelPointer"), QString("Map X 2, Map Y 2: empty"));
    QTest::mouseMove(editor.window->windowHandle(), QPoint(20, 300)); // over the gallery
    QCOMPARE(hand.label("labelPointer"), QString());
}

void TestMapInput::pointerLabelFollowsWithoutAMove_data()
{
    // Steps with the pointer still over cell (1, 1), which holds a Floor, a Wall
    // and a Door; the Floor layer is current. "+Shift" presses, "-Shift" releases.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");
    const QString floor("Map X 1, Map Y 1: floor_a.png");
    const QString wall("Map X 1, Map Y 1: brick.png, Solid");
    const QString door("Map X 1, Map Y 1: door_a.png, Solid");
    QTest::newRow("Shift held") << QStringList{"+Shift"} << wall;
    QTest::newRow("Shift released") << QStringList{"+Shift", "-Shift"} << floor;
    QTest::newRow("Ctrl held") << QStringList{"+Ctrl"} << door;
    QTest::newRow("Ctrl+wheel, Ctrl released") << QStringList{"+Ctrl", "wheel", "-Ctrl"} << floor;
    QTest::newRow("layer picked") << QStringList{"Wall"} << wall;
    QTest::newRow("Ctrl+- zooms around the pointer") << QStringList{"Ctrl+-"} << floor;
    QTest::newRow("undo") << QStringList{"undo"} << "Map X 1, Map Y 1: empty";
}

void TestMapInput::pointerLabelFollowsWithoutAMove()
{
    QFETCH(QStringList, steps);
    EditorFixture editor;
    const Hand hand{editor};
    for (const char *layer : {"Wall", "Door", "Floor"}) {
        editor.setLayer(layer);
        QVERIFY(editor.place(1, 1));
    }
    hand.mouse(Move, 2, 2);
    hand.mouse(Move, 1, 1);
    QCOMPARE(hand.label("labelPointer"), QString("Map X 1, Map Y 1: floor_a.png"));
    QWidget *window = editor.window.get();
    for (const QString &step : steps) {
        const Qt::Key key = step.endsWith("Shift") ? Qt::Key_Shift : Qt::Key_Control;
        if (step.startsWith('+'))
            QTest::keyPress(window, key, key == Qt::Key_Shift ? Qt::ShiftModifier : Qt::ControlModifier);
        else if (step.startsWith('-'))
            QTest::keyRelease(window, key);
        else if (step == "wheel")
            hand.wheel(1, 1, -120, Qt::ControlModifier);
        else if (step == "Ctrl+-")
            hand.key(Qt::Key_Minus, Qt::ControlModifier);
        else if (step == "undo")
            hand.key(Qt::Key_Z, Qt::ControlModifier);
        else
            editor.setLayer(step);
    }
    QTEST(hand.label("labelPointer"), "shown");
}

void TestMapInput::wheelPansAndZooms_data()
{
    QTest::addColumn<int>("delta");     // one wheel notch in parts of this size, or none
    QTest::addColumn<QList<int>>("ctrlKeys");
    QTest::addColumn<int>("keys");
    QTest::addColumn<QPoint>("origin");
    QTest::addColumn<int>("zoom");
    const QList<int> none;
    QTest::newRow("wheel down") << -120 << none << int(Qt::NoModifier) << QPoint(0, -1) << 4;
    QTest::newRow("half notches add up") << 60 << none << int(Qt::NoModifier) << QPoint(0, 1) << 4;
    QTest::newRow("Shift+wheel") << -120 << none << int(Qt::ShiftModifier) << QPoint(-1, 0) << 4;
    // At 48 pixels the pointer's pixel lies in canvas cell (7, 6): map cell (5, 4) moves there.
    QTest::newRow("Ctrl+wheel zooms out") << -120 << none << int(Qt::ControlModifier) << QPoint(2, 2) << 3;
    QTest::newRow("Ctrl+wheel at the largest") << 120 << none << int(Qt::ControlModifier) << QPoint(0, 0) << 4;
    QTest::newRow("Ctrl+-") << 0 << QList<int>{Qt::Key_Minus} << 0 << QPoint(2, 2) << 3;
    QTest::newRow("Ctrl+- Ctrl+-") << 0 << QList<int>{Qt::Key_Minus, Qt::Key_Minus} << 0 << QPoint(6, 5) << 2;
    QTest::newRow("Ctrl+- Ctrl++") << 0 << QList<int>{Qt::Key_Minus, Qt::Key_Plus} << 0 << QPoint(0, 0) << 4;
    QTest::newRow("Ctrl+- Ctrl+- Ctrl+0") << 0 << QList<int>{Qt::Key_Minus, Qt::Key_Minus, Qt::Key_0} << 0
                                          << QPoint(0, 0) << 4;
}

void TestMapInput::wheelPansAndZooms()
{
    QFETCH(int, delta);
    QFETCH(QList<int>, ctrlKeys);
    QFETCH(int, keys);
    EditorFixture editor;
    const Hand hand{editor};
    hand.mouse(Move, 5, 4);
    for (int turn = 0; delta && turn < 120 / std::abs(delta); ++turn)
        hand.wheel(5, 4, delta, Qt::KeyboardModifiers(keys));
    for (int key : ctrlKeys)
        hand.key(key, Qt::ControlModifier);
    QTEST(editor.view->origin(), "origin");
    QTEST(editor.view->zoomSliderValue(), "zoom");
}

void TestMapInput::selectionKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("left");
    QTest::newRow("Delete") << int(Qt::Key_Delete) << 1;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 1;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << 3;
}

void TestMapInput::selectionKeys()
{
    QFETCH(int, key);
    EditorFixture editor;
    const Hand hand{editor};
    editor.paint(0, 0);
    editor.paint(1, 0);
    editor.paint(3, 3);
    editor.clickButton("radioSelect");
    hand.mouse(Press, 0, 0);
    hand.mouse(Release, 1, 0);
    QCOMPARE(editor.layers->selection().size(), 2);
    hand.key(key);
    QVERIFY(editor.layers->selection().isEmpty());
    QTEST(int(editor.layers->currentSectors().size()), "left");
    // Escape in the middle of a drag: the release selects nothing.
    hand.mouse(Press, 0, 0);
    hand.mouse(Move, 3, 3);
    hand.key(Qt::Key_Escape);
    QVERIFY(!editor.view->selectionLabel()->isVisible());
    hand.mouse(Release, 3, 3);
    QVERIFY(editor.layers->selection().isEmpty());
}

void TestMapInput::pickTexture_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<bool>("selectMode");
    QTest::newRow("Alt+click, Pencil") << false << false;
    QTest::newRow("Alt+click, Select") << false << true;
    QTest::newRow("key I") << true << false;
}

void TestMapInput::pickTexture()
{
    QFETCH(bool, byKey);
    QFETCH(bool, selectMode);
    EditorFixture editor;
    const Hand hand{editor};
    editor.pickTexture(2);
    editor.paint(1, 1); // wood.png
    editor.view->mapModel()->placeCell("Wall", QPoint(2, 1), TextureEntry{"own.png", "maps/level/", 7});
    editor.pickTexture(0);
    if (selectMode)
        editor.clickButton("radioSelect");
    auto pick = [&](int cx) {
        hand.mouse(byKey ? Move : Press, cx, 1, Qt::AltModifier);
        if (byKey)
            return hand.key(Qt::Key_I);
        hand.mouse(Move, cx + 1, 1); // a shaky hand: the pick paints nothing on the way
        hand.mouse(Release, cx + 1, 1);
    };
    pick(1);
    QCOMPARE(editor.gallery->currentTexture().fileName, QByteArray("wood.png"));
    QCOMPARE(editor.gallery->listWidget()->currentRow(), 2);
    QVERIFY(!editor.view->openForm());
    pick(2); // the map's own copy
    QCOMPARE(editor.gallery->currentTexture().fileName, QByteArray("wood.png"));
    QVERIFY(hand.label("labelStatus").startsWith("own.png is not in the gallery"));
    pick(4); // an empty cell: nothing picked, nothing painted
    QCOMPARE(editor.layers->currentSectors().size(), 2);
    pick(1);
    QCOMPARE(hand.label("labelStatus"), QString());
}

QTEST_MAIN(TestMapInput)
#include "tst_mapinput.moc"
