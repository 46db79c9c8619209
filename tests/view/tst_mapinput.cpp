// The map under the hand, driven through the window as the window system
// delivers input: the widget under the pointer gets it, a press grabs, and
// what it does not take goes on to the map.
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

class Hand
{
public:
    explicit Hand(EditorFixture &editor) : e(editor) {}

    void press(int cx, int cy, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        e.moveTo(cx, cy);
        QTest::mousePress(window(), Qt::LeftButton, keys, at(cx, cy));
    }
    void move(int cx, int cy)
    {
        e.moveTo(cx, cy);
        QTest::mouseMove(window(), at(cx, cy));
    }
    void release(int cx, int cy)
    {
        e.moveTo(cx, cy);
        QTest::mouseRelease(window(), Qt::LeftButton, Qt::NoModifier, at(cx, cy));
    }
    // One wheel event at the widget under the pointer; the map takes what that one leaves.
    void wheel(int cx, int cy, int delta, Qt::KeyboardModifiers keys)
    {
        move(cx, cy);
        QWidget *target = e.window->childAt(at(cx, cy));
        const QPoint global = e.window->mapToGlobal(at(cx, cy));
        QWheelEvent event(target->mapFromGlobal(global), global, QPoint(), QPoint(0, delta), Qt::NoButton, keys,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }
    QString pointerLabel() const { return e.window->findChild<QLabel *>("labelPointer")->text(); }
    QString statusLabel() const { return e.window->findChild<QLabel *>("labelStatus")->text(); }

private:
    QWindow *window() const { return e.window->windowHandle(); }
    QPoint at(int cx, int cy) const { return e.map->mapTo(e.window.get(), e.cellCenter(cx, cy)); }

    EditorFixture &e;
};

QList<QPoint> cellsOf(const QList<Sector *> &sectors)
{
    QList<QPoint> cells;
    for (const Sector *sector : sectors)
        cells << QPoint(sector->data->mapX, sector->data->mapY);
    return cells;
}

} // namespace

class TestMapInput : public QObject
{
    Q_OBJECT

private slots:
    void dragFromAPaintedCellPaintsEveryCell();
    void pointerNamesTheCell();
    void wheelPansAndZooms_data();
    void wheelPansAndZooms();
    void zoomKeys();
    void selectionKeys_data();
    void selectionKeys();
    void pickTexture_data();
    void pickTexture();
};

void TestMapInput::dragFromAPaintedCellPaintsEveryCell()
{
    EditorFixture editor;
    Hand hand(editor);
    editor.paint(1, 1);
    hand.press(1, 1);
    for (int x = 2; x <= 4; ++x)
        hand.move(x, 1);
    hand.release(4, 1);
    QCOMPARE(cellsOf(editor.layers->currentSectors()), (QList<QPoint>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    QVERIFY(!editor.view->openForm());
    // A drag that comes back to its cell is still no click; a click without a drag is.
    hand.press(1, 1);
    hand.move(2, 1);
    hand.move(1, 1);
    hand.release(1, 1);
    QVERIFY(!editor.view->openForm());
    hand.press(1, 1);
    hand.release(1, 1);
    QVERIFY(editor.view->openForm());
}

void TestMapInput::pointerNamesTheCell()
{
    EditorFixture editor;
    Hand hand(editor);
    editor.paint(1, 1);
    editor.setLayer("Floor");
    editor.paint(2, 1);
    hand.move(2, 1);
    QCOMPARE(hand.pointerLabel(), QString("Map X 2, Map Y 1: floor_a.png"));
    editor.setLayer("Wall");
    hand.move(1, 1);
    QCOMPARE(hand.pointerLabel(), QString("Map X 1, Map Y 1: brick.png, Solid"));
    hand.move(2, 1); // the Floor cell is not on the current layer
    QCOMPARE(hand.pointerLabel(), QString("Map X 2, Map Y 1: empty"));
    hand.wheel(2, 1, -120, Qt::NoModifier); // the map moves under a still pointer
    QCOMPARE(hand.pointerLabel(), QString("Map X 2, Map Y 2: empty"));
    QTest::mouseMove(editor.window->windowHandle(), QPoint(20, 300)); // over the gallery
    QCOMPARE(hand.pointerLabel(), QString());
}

void TestMapInput::wheelPansAndZooms_data()
{
    QTest::addColumn<int>("delta");
    QTest::addColumn<int>("keys");
    QTest::addColumn<QPoint>("origin");
    QTest::addColumn<int>("zoom");
    QTest::newRow("wheel down") << -120 << int(Qt::NoModifier) << QPoint(0, -1) << 4;
    QTest::newRow("wheel up") << 120 << int(Qt::NoModifier) << QPoint(0, 1) << 4;
    QTest::newRow("half notches add up") << -60 << int(Qt::NoModifier) << QPoint(0, -1) << 4;
    QTest::newRow("Shift+wheel") << -120 << int(Qt::ShiftModifier) << QPoint(-1, 0) << 4;
    // At 48 pixels the pointer's pixel lies in canvas cell (7, 6): map cell (5, 4) moves there.
    QTest::newRow("Ctrl+wheel down zooms out") << -120 << int(Qt::ControlModifier) << QPoint(2, 2) << 3;
    QTest::newRow("Ctrl+wheel up at the largest") << 120 << int(Qt::ControlModifier) << QPoint(0, 0) << 4;
}

void TestMapInput::wheelPansAndZooms()
{
    QFETCH(int, delta);
    QFETCH(int, keys);
    QFETCH(QPoint, origin);
    QFETCH(int, zoom);
    EditorFixture editor;
    Hand hand(editor);
    for (int turn = 0; turn < 120 / std::abs(delta); ++turn)
        hand.wheel(5, 4, delta, Qt::KeyboardModifiers(keys));
    QCOMPARE(editor.view->origin(), origin);
    QCOMPARE(editor.view->zoomSliderValue(), zoom);
}

void TestMapInput::zoomKeys()
{
    EditorFixture editor;
    Hand hand(editor);
    hand.move(5, 4);
    const QPoint pixel = editor.cellCenter(5, 4);
    QTest::keyClick(editor.window.get(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(editor.window.get(), Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(editor.view->zoomSliderValue(), 2);
    // The cell under the pointer stays under it.
    QCOMPARE(editor.view->canvasToMap(MapView::cellAtPixel(pixel, 32)), QPoint(5, 4));
    QTest::keyClick(editor.window.get(), Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(editor.view->zoomSliderValue(), 3);
    QTest::keyClick(editor.window.get(), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(editor.view->zoomSliderValue(), 4);
    QCOMPARE(editor.view->origin(), QPoint(0, 0));
}

void TestMapInput::selectionKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("deletes");
    QTest::newRow("Delete") << int(Qt::Key_Delete) << true;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << true;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
}

void TestMapInput::selectionKeys()
{
    QFETCH(int, key);
    QFETCH(bool, deletes);
    EditorFixture editor;
    Hand hand(editor);
    editor.paint(0, 0);
    editor.paint(1, 0);
    Sector *outside = editor.paint(3, 3);
    editor.clickButton("radioSelect");
    hand.press(0, 0);
    hand.release(1, 0);
    QCOMPARE(editor.layers->selection().size(), 2);
    QTest::keyClick(editor.window.get(), Qt::Key(key));
    QVERIFY(editor.layers->selection().isEmpty());
    QCOMPARE(editor.layers->currentSectors().size(), deletes ? 1 : 3);
    QVERIFY(editor.layers->currentSectors().contains(outside));
    // Escape in the middle of a drag: the release selects nothing.
    hand.press(0, 0);
    hand.move(3, 3);
    QTest::keyClick(editor.window.get(), Qt::Key_Escape);
    QVERIFY(!editor.view->selectionLabel()->isVisible());
    hand.release(3, 3);
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
    Hand hand(editor);
    editor.pickTexture(2);
    editor.paint(1, 1); // wood.png
    editor.view->mapModel()->placeCell("Wall", QPoint(2, 1), TextureEntry{"own.png", "maps/level/", 7});
    editor.pickTexture(0);
    if (selectMode)
        editor.clickButton("radioSelect");
    auto pick = [&](int cx, int cy) {
        if (byKey) {
            hand.move(cx, cy);
            QTest::keyClick(editor.window.get(), Qt::Key_I);
        } else {
            hand.press(cx, cy, Qt::AltModifier);
            hand.release(cx, cy);
        }
    };
    pick(1, 1);
    QCOMPARE(editor.gallery->currentTexture().fileName, QByteArray("wood.png"));
    QCOMPARE(editor.gallery->listWidget()->currentRow(), 2);
    QVERIFY(!editor.view->openForm());
    pick(2, 1);
    QCOMPARE(editor.gallery->currentTexture().fileName, QByteArray("wood.png"));
    QVERIFY(hand.statusLabel().startsWith("own.png is not in the gallery"));
    pick(4, 1); // an empty cell: nothing picked, nothing painted
    QCOMPARE(editor.layers->currentSectors().size(), 2);
    pick(1, 1);
    QCOMPARE(hand.statusLabel(), QString());
}

QTEST_MAIN(TestMapInput)
#include "tst_mapinput.moc"
