// The overview (F6): the whole map from above, kept true by every edit, undo,
// layer switch and pan, and a way to move the map view.
#include "editorfixture.h"

#include "app/tessel.h"
#include "looks/layerlooks.h"
#include "model/sector.h"
#include "view/mapview.h"
#include "view/overviewcontroller.h"
#include "view/overviewwindow.h"

#include <QTest>
#include <QUndoStack>

namespace {

QColor cellColour(const OverviewPicture &picture, const QPoint &cell)
{
    const int n = picture.cellPixels();
    return picture.image().pixelColor(cell * n + QPoint(n / 2, n / 2));
}

bool isEmptyGrid(const OverviewPicture &picture, const QPoint &cell)
{
    return cellColour(picture, cell) == LayerLooks::gridCellColour;
}

OverviewController *openOverview(EditorFixture &editor)
{
    QTest::keyClick(editor.window.get(), Qt::Key_F6);
    OverviewController *overview = editor.window->overviewController();
    return overview->overviewWindow() && overview->overviewWindow()->isVisible() ? overview : nullptr;
}

} // namespace

class TestOverview : public QObject
{
    Q_OBJECT

private slots:
    void followsEditsUndoAndLayers();
    void growsWithTheMap();
    void clickMovesTheViewAndPansMoveTheOutline();
};

void TestOverview::followsEditsUndoAndLayers()
{
    EditorFixture editor;
    editor.setLayer("Wall");
    editor.place(3, 2);
    OverviewController *overview = openOverview(editor);
    QVERIFY(overview);
    const OverviewPicture &picture = *overview->picture();
    QVERIFY(!isEmptyGrid(picture, QPoint(3, 2)));
    const QColor plainWall = cellColour(picture, QPoint(3, 2));

    // An edit after opening, drawn when control returns to the event loop.
    editor.paint(5, 4);
    QVERIFY(isEmptyGrid(picture, QPoint(5, 4)));
    QTRY_VERIFY(!isEmptyGrid(picture, QPoint(5, 4)));
    editor.view->undoStack()->undo();
    QTRY_VERIFY(isEmptyGrid(picture, QPoint(5, 4)));
    editor.view->undoStack()->redo();
    QTRY_VERIFY(!isEmptyGrid(picture, QPoint(5, 4)));
    editor.click(3, 2, Qt::RightButton);
    QTRY_VERIFY(isEmptyGrid(picture, QPoint(3, 2)));

    // Walls stay in sight while the floor is edited, in the other layers' tint.
    editor.setLayer("Floor");
    QCOMPARE(overview->picture()->layer(), QByteArray("Floor"));
    QVERIFY(!isEmptyGrid(picture, QPoint(5, 4)));
    QVERIFY(cellColour(picture, QPoint(5, 4)) != plainWall);
}

void TestOverview::growsWithTheMap()
{
    EditorFixture editor;
    OverviewController *overview = openOverview(editor);
    QVERIFY(overview);
    const QSize before = overview->picture()->cells();
    const QPoint far(before.width() + 40, 3);
    editor.setLayer("Wall");
    editor.place(far.x(), far.y());
    overview->flush();
    QVERIFY(overview->picture()->cells().width() > far.x());
    QVERIFY(!isEmptyGrid(*overview->picture(), far));
}

void TestOverview::clickMovesTheViewAndPansMoveTheOutline()
{
    EditorFixture editor;
    editor.setLayer("Wall");
    editor.place(60, 50);
    OverviewController *overview = openOverview(editor);
    QVERIFY(overview);
    OverviewWindow *window = overview->overviewWindow();
    QCOMPARE(window->visibleCells(), editor.view->visibleCells());

    const QRect area = window->pictureArea();
    const double perCell = double(area.width()) / overview->picture()->cells().width();
    const QPoint onCell = area.topLeft() + QPoint(int(60.5 * perCell), int(50.5 * perCell));
    QCOMPARE(window->cellAt(onCell), QPoint(60, 50));
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, onCell);
    QCOMPARE(editor.view->centreCell(), QPoint(60, 50));
    QCOMPARE(window->visibleCells(), editor.view->visibleCells());

    // A drag keeps moving the view; a pan in the main window moves the outline.
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, onCell);
    const QPoint to = area.topLeft() + QPoint(int(20.5 * perCell), int(30.5 * perCell));
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(window->mapToGlobal(to)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &move);
    QTest::mouseRelease(window, Qt::LeftButton);
    QCOMPARE(editor.view->centreCell(), QPoint(20, 30));
    editor.view->shiftOrigin(QPoint(-3, 0));
    QCOMPARE(window->visibleCells(), editor.view->visibleCells());
}

QTEST_MAIN(TestOverview)
#include "tst_overview.moc"
