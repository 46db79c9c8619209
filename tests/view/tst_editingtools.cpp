#include "editorfixture.h"

#include "app/tessel.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "app/dialogs.h"
#include "model/sector.h"
#include "view/mapview.h"

#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// Wall ring around the inside rectangle [x1..x2] x [y1..y2] (map cells).
void buildWallRing(EditorFixture &editor, int x1, int y1, int x2, int y2)
{
    editor.setLayer("Wall");
    for (int x = x1 - 1; x <= x2 + 1; ++x) {
        editor.paint(x, y1 - 1);
        editor.paint(x, y2 + 1);
    }
    for (int y = y1; y <= y2; ++y) {
        editor.paint(x1 - 1, y);
        editor.paint(x2 + 1, y);
    }
}

void useFloodFill(EditorFixture &editor)
{
    QTest::mouseClick(editor.window->findChild<QRadioButton *>("radioFloodFill"), Qt::LeftButton);
}

} // namespace

class TestEditingTools : public QObject
{
    Q_OBJECT

private slots:
    void pencilPaintsWithCurrentTexture();
    void pencilRefusesUsedAndNegativeCells();
    void pencilDragPaintsEveryCellPassed();
    void rightButtonErases();
    void fillInsideWallRingInNeighbourOrder();
    void fillIsBoundedByOtherTextures();
    void fillRetexturesConnectedCells();
    void fillAbortsAtTheLimit_data();
    void fillAbortsAtTheLimit();
    void fillStopsAtColumnZero();
    void fillOnWallLayer();
    void fillLeavesButtonsClickThrough();
    void selectionInBothDirections_data();
    void selectionInBothDirections();
    void rightPressDeletesTheSelection();
    void panMovesOneCellPerEvent();
    void panFollowsBothAxesOfADiagonal();
    void panRepositionsEveryLayer();
};

void TestEditingTools::pencilPaintsWithCurrentTexture()
{
    EditorFixture editor;
    editor.setLayer("Floor");
    editor.pickTexture(1);
    Sector *sector = editor.paint(2, 3);
    QVERIFY(sector);
    QCOMPARE(sector->layer(), QByteArray("Floor"));
    QCOMPARE(sector->data->texture.fileName, QByteArray("floor_b.png"));
    QCOMPARE(sector->data->mapX, 2);
    QCOMPARE(sector->data->mapY, 3);
    QCOMPARE(editor.layers->layerTable().value("Floor"), QList<Sector *>{sector});
    QVERIFY(sector->data->button->isVisible());
}

void TestEditingTools::pencilRefusesUsedAndNegativeCells()
{
    EditorFixture editor;
    QVERIFY(editor.paint(0, 0));
    // The second click lands on the button, which opens properties instead.
    QVERIFY(!editor.paint(0, 0));
    QCOMPARE(editor.layers->currentSectors().size(), 1);
    // Pan two cells right: canvas cell 1 is now map cell -1.
    editor.press(0, 0, Qt::MiddleButton);
    editor.release(0, 0, Qt::MiddleButton);
    editor.drag(1, 0, Qt::MiddleButton);
    editor.drag(2, 0, Qt::MiddleButton);
    QCOMPARE(editor.view->origin(), QPoint(2, 0));
    QVERIFY(!editor.paint(1, 4));
    QVERIFY(editor.paint(3, 4));
    QCOMPARE(editor.layers->currentSectors().last()->data->mapX, 1);
}

void TestEditingTools::pencilDragPaintsEveryCellPassed()
{
    EditorFixture editor;
    editor.press(0, 0);
    editor.drag(1, 0, Qt::LeftButton);
    editor.drag(2, 0, Qt::LeftButton);
    editor.drag(2, 1, Qt::LeftButton);
    editor.release(2, 1);
    QCOMPARE(EditorFixture::cellsOf(editor.layers->currentSectors()),
             (QList<QPoint>{{0, 0}, {1, 0}, {2, 0}, {2, 1}}));
}

void TestEditingTools::rightButtonErases()
{
    EditorFixture editor;
    QPointer<Sector> sector = editor.paint(1, 1);
    editor.setLayer("Floor");
    Sector *floor = editor.paint(1, 1);
    editor.click(1, 1, Qt::RightButton);
    QVERIFY(editor.layers->currentSectors().isEmpty());
    editor.flushDeletes();
    QVERIFY(sector);              // other layers are untouched
    QVERIFY(!editor.sectorOn("Floor", 1, 1));
    Q_UNUSED(floor);
    editor.click(5, 5, Qt::RightButton); // an empty cell: nothing happens
    QCOMPARE(editor.layers->layerTable().value("Wall").size(), 1);
}

void TestEditingTools::fillInsideWallRingInNeighbourOrder()
{
    EditorFixture editor;
    buildWallRing(editor, 2, 2, 3, 3);
    editor.setLayer("Floor");
    useFloodFill(editor);
    editor.click(2, 2);
    // Right first, then left, down, up: depth first from (2,2).
    QCOMPARE(EditorFixture::cellsOf(editor.layers->currentSectors()),
             (QList<QPoint>{{2, 2}, {3, 2}, {3, 3}, {2, 3}}));
}

void TestEditingTools::fillIsBoundedByOtherTextures()
{
    EditorFixture editor;
    buildWallRing(editor, 1, 1, 4, 1);
    editor.setLayer("Floor");
    editor.pickTexture(1);
    Sector *blocker = editor.paint(3, 1);
    editor.pickTexture(0);
    useFloodFill(editor);
    editor.click(1, 1);
    QCOMPARE(EditorFixture::cellsOf(editor.layers->currentSectors()), (QList<QPoint>{{3, 1}, {1, 1}, {2, 1}}));
    QCOMPARE(blocker->data->texture.fileName, QByteArray("floor_b.png"));
}

void TestEditingTools::fillRetexturesConnectedCells()
{
    EditorFixture editor;
    buildWallRing(editor, 1, 1, 5, 1);
    editor.setLayer("Floor");
    editor.pickTexture(0);
    Sector *a = editor.paint(1, 1);
    Sector *b = editor.paint(3, 1); // reached through the empty cell (2, 1)
    editor.pickTexture(1);
    useFloodFill(editor);
    editor.click(1, 1);
    QCOMPARE(a->data->texture.fileName, QByteArray("floor_b.png"));
    QCOMPARE(b->data->texture.fileName, QByteArray("floor_b.png"));
    QCOMPARE(a->data->texture.id, editor.gallery->currentTexture().id);
    QCOMPARE(editor.layers->currentSectors().size(), 2); // empty cells stay empty
}

void TestEditingTools::fillAbortsAtTheLimit_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("fills");
    QTest::newRow("999 cells fill") << 37 << 27 << true;
    QTest::newRow("1000 cells abort") << 40 << 25 << false;
}

void TestEditingTools::fillAbortsAtTheLimit()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, fills);
    EditorFixture editor;
    // The ring lies partly off screen, so it is placed directly rather than clicked.
    editor.setLayer("Wall");
    LayerController *layers = editor.layers;
    for (int x = 0; x <= width + 1; ++x) {
        for (int y = 0; y <= height + 1; ++y) {
            if (x == 0 || y == 0 || x == width + 1 || y == height + 1)
                editor.place(x, y);
        }
    }
    editor.setLayer("Floor");
    useFloodFill(editor);
    QString message;
    Dialogs::information = [&message](const QString &, const QString &text) { message = text; };
    editor.click(1, 1);
    if (fills) {
        QCOMPARE(layers->currentSectors().size(), width * height);
        QVERIFY(message.isEmpty());
    } else {
        QVERIFY(layers->currentSectors().isEmpty());
        QCOMPARE(message, QString("Recursive depth limit reached.\nPossibly not wall bounded area."));
    }
}

void TestEditingTools::fillStopsAtColumnZero()
{
    EditorFixture editor;
    // Walls on column 3 and row 3 only: open towards the map's edges.
    for (int i = 0; i <= 3; ++i) {
        editor.paint(3, i);
        editor.paint(i, 3);
    }
    editor.setLayer("Ceil");
    useFloodFill(editor);
    editor.click(1, 1);
    QCOMPARE(editor.layers->currentSectors().size(), 9);
    for (const Sector *sector : editor.layers->currentSectors())
        QVERIFY(sector->data->mapX >= 0 && sector->data->mapY >= 0);
}

void TestEditingTools::fillOnWallLayer()
{
    EditorFixture editor;
    buildWallRing(editor, 1, 1, 2, 1);
    const int walls = editor.layers->currentSectors().size();
    useFloodFill(editor);
    editor.click(0, 0); // on a wall: nothing
    QCOMPARE(editor.layers->currentSectors().size(), walls);
    editor.click(1, 1); // inside: walls fill the empty region
    QCOMPARE(editor.layers->currentSectors().size(), walls + 2);
}

void TestEditingTools::fillLeavesButtonsClickThrough()
{
    EditorFixture editor;
    buildWallRing(editor, 1, 1, 1, 1);
    editor.setLayer("Floor");
    useFloodFill(editor);
    editor.click(1, 1);
    Sector *filled = editor.sectorOn("Floor", 1, 1);
    QVERIFY(filled);
    QVERIFY(filled->data->button->testAttribute(Qt::WA_TransparentForMouseEvents));
}

void TestEditingTools::selectionInBothDirections_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::newRow("top-left to bottom-right") << QPoint(1, 1) << QPoint(2, 2);
    QTest::newRow("bottom-right to top-left") << QPoint(2, 2) << QPoint(1, 1);
    QTest::newRow("bottom-left to top-right") << QPoint(1, 2) << QPoint(2, 1);
}

void TestEditingTools::selectionInBothDirections()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    EditorFixture editor;
    editor.setLayer("Floor");
    Sector *inside1 = editor.paint(1, 1);
    Sector *inside2 = editor.paint(2, 2);
    Sector *outside = editor.paint(3, 2);
    editor.setLayer("Ceil");
    editor.paint(1, 2); // other layer inside the rectangle
    editor.setLayer("Floor");
    editor.clickButton("radioSelect");
    editor.press(from.x(), from.y());
    editor.drag(to.x(), to.y(), Qt::LeftButton);
    editor.release(to.x(), to.y());
    QCOMPARE(editor.layers->selection(), (QList<Sector *>{inside1, inside2}));
    QCOMPARE(inside1->look(), LayerController::selectedTint);
    QVERIFY(!outside->look().isValid());
    QVERIFY(!editor.view->selectionLabel()->isVisible());
}

void TestEditingTools::rightPressDeletesTheSelection()
{
    EditorFixture editor;
    editor.setLayer("Floor");
    QPointer<Sector> a = editor.paint(0, 0);
    QPointer<Sector> b = editor.paint(1, 0);
    QPointer<Sector> c = editor.paint(4, 4);
    editor.clickButton("radioSelect");
    editor.press(0, 0);
    editor.release(1, 0);
    QCOMPARE(editor.layers->selection().size(), 2);
    editor.click(3, 3, Qt::RightButton);
    QVERIFY(editor.layers->selection().isEmpty());
    QCOMPARE(editor.layers->currentSectors(), QList<Sector *>{c.data()});
    editor.flushDeletes();
    QVERIFY(!a && !b && c);
}

void TestEditingTools::panMovesOneCellPerEvent()
{
    EditorFixture editor;
    editor.press(0, 0, Qt::MiddleButton);
    editor.release(0, 0, Qt::MiddleButton);
    // A jump of three cells still moves one cell; the next step measures from there.
    editor.drag(3, 0, Qt::MiddleButton);
    QCOMPARE(editor.view->origin(), QPoint(1, 0));
    editor.drag(3, 0, Qt::MiddleButton);
    QCOMPARE(editor.view->origin(), QPoint(1, 0));
    editor.drag(2, 0, Qt::MiddleButton);
    QCOMPARE(editor.view->origin(), QPoint(0, 0));
    editor.drag(2, 2, Qt::MiddleButton);
    QCOMPARE(editor.view->origin(), QPoint(0, 1));
}

void TestEditingTools::panFollowsBothAxesOfADiagonal()
{
    EditorFixture editor;
    editor.press(0, 0, Qt::MiddleButton);
    editor.release(0, 0, Qt::MiddleButton);
    editor.drag(1, 1, Qt::MiddleButton);
    QCOMPARE(editor.view->origin(), QPoint(1, 1));
}

void TestEditingTools::panRepositionsEveryLayer()
{
    EditorFixture editor;
    Sector *wall = editor.paint(1, 1);
    editor.setLayer("Floor");
    Sector *floor = editor.paint(2, 1);
    editor.setLayer("Ceil");
    Sector *ceil = editor.paint(0, 0); // hidden layers move too
    editor.setLayer("Floor");
    editor.press(0, 0, Qt::MiddleButton);
    editor.release(0, 0, Qt::MiddleButton);
    editor.drag(0, 1, Qt::MiddleButton);
    QCOMPARE(editor.view->origin(), QPoint(0, 1));
    QCOMPARE(editor.placeOf(wall).topLeft(), QPoint(64, 128));
    QCOMPARE(editor.placeOf(floor).topLeft(), QPoint(128, 128));
    QCOMPARE(ceil->data->worldY, 64.0);
    QCOMPARE(ceil->data->mapY, 0);
}

QTEST_MAIN(TestEditingTools)
#include "tst_editingtools.moc"
