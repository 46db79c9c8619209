#include "buttonlooks.h"
#include "editorfixture.h"

#include "app/tessel.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/sector.h"
#include "view/iconcache.h"
#include "view/mapview.h"
#include "view/sectorcanvas.h"
#include "view/sectorviewport.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPicture>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTest>

#include <functional>

class TestMapView : public QObject
{
    Q_OBJECT

private slots:
    void startsInEditModeWithPencil();
    void cellAtPixel_data();
    void cellAtPixel();
    void zoom_data();
    void zoom();
    void zoomKeepsPannedSectorsOnTheirCells();
    void gridFillsTheMap();
    void screenFollowsEveryChange();
    void cellButtonsLookAsTheStyleDrawsThem_data();
    void cellButtonsLookAsTheStyleDrawsThem();
    void cellsComeIntoSightWithTheirLook_data();
    void cellsComeIntoSightWithTheirLook();
    void buttonsOutOfSightAreReleasedAndComeBack();
    void removedCellsLeaveSpareButtons();
    void batchKeepsTheLastWordOnEachButton();
    void layersStackInTheirOrder();
    void toolSwitchesChangeCursorAndClickThrough();
    void cursorOverrideFollowsEnterAndLeave();
    void newCursorShowsOnNextEnter();
    void overlayIsClampedToTheMap();
    void overlayFollowsTheDrag();
    void galleryShowsWallTexturesAtStart();
};

void TestMapView::startsInEditModeWithPencil()
{
    EditorFixture editor;
    Tessel *w = editor.window.get();
    QVERIFY(w->findChild<QRadioButton *>("radioPaint")->isChecked());
    QVERIFY(w->findChild<QRadioButton *>("radioPencil")->isChecked());
    QVERIFY(!w->findChild<QPushButton *>("btnEditSelection")->isEnabled());
    QCOMPARE(editor.view->cellSize(), 64);
    QCOMPARE(editor.view->origin(), QPoint(0, 0));
    QVERIFY(editor.view->currentMapFileName().isEmpty());
    QVERIFY(!editor.view->selectionLabel()->isVisible());
    QCOMPARE(editor.map->styleSheet(), QString("background: url('assets/bg64x64.jpg');"));
    // The pencil image, hot spot in its middle.
    const QCursor cursor = editor.view->currentToolCursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), QPoint(16, 16));
}

void TestMapView::cellAtPixel_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<int>("size");
    QTest::addColumn<QPoint>("cell");
    QTest::newRow("origin") << QPoint(0, 0) << 64 << QPoint(0, 0);
    QTest::newRow("inside") << QPoint(130, 63) << 64 << QPoint(2, 0);
    QTest::newRow("edge") << QPoint(64, 128) << 64 << QPoint(1, 2);
    QTest::newRow("just left of zero") << QPoint(-1, -63) << 64 << QPoint(0, 0);
    QTest::newRow("one cell left") << QPoint(-64, -16) << 16 << QPoint(-4, -1);
    QTest::newRow("small cells") << QPoint(47, 48) << 16 << QPoint(2, 3);
}

void TestMapView::cellAtPixel()
{
    QFETCH(QPoint, pixel);
    QFETCH(int, size);
    QFETCH(QPoint, cell);
    QCOMPARE(MapView::cellAtPixel(pixel, size), cell);
}

void TestMapView::zoom_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("tile");
    QTest::newRow("1") << 1 << "assets/bg16x16.jpg";
    QTest::newRow("2") << 2 << "assets/bg32x32.jpg";
    QTest::newRow("3") << 3 << "assets/bg48x48.jpg";
    QTest::newRow("4") << 4 << "assets/bg64x64.jpg";
}

void TestMapView::zoom()
{
    QFETCH(int, step);
    QFETCH(QString, tile);
    EditorFixture editor;
    Sector *a = editor.paint(0, 0);
    Sector *b = editor.paint(3, 2);
    auto *slider = editor.window->findChild<QSlider *>("mapViewZoomSlider");
    slider->setValue(step == 4 ? 3 : 4);
    slider->setValue(step);
    const int size = step * 16;
    QCOMPARE(editor.view->cellSize(), size);
    QCOMPARE(editor.map->styleSheet(), "background: url('" + tile + "');");
    QCOMPARE(editor.placeOf(a), QRect(0, 0, size, size));
    QCOMPARE(editor.placeOf(b), QRect(3 * size, 2 * size, size, size));
    QCOMPARE(b->data->button->iconSize(), QSize(size, size));
    QCOMPARE(b->data->worldX, 3.0 * size);
    QCOMPARE(b->data->worldY, 2.0 * size);
    // Positions are map widget positions, wherever the buttons live.
    QCOMPARE(b->data->button->mapTo(editor.window.get(), QPoint()),
             editor.map->mapTo(editor.window.get(), QPoint(3 * size, 2 * size)));
}

void TestMapView::zoomKeepsPannedSectorsOnTheirCells()
{
    EditorFixture editor;
    Sector *sector = editor.paint(2, 1);
    // Pan one cell right with the middle button.
    editor.press(0, 0, Qt::MiddleButton);
    editor.release(0, 0, Qt::MiddleButton);
    editor.drag(1, 0, Qt::MiddleButton);
    QCOMPARE(editor.view->origin(), QPoint(1, 0));
    editor.window->findChild<QSlider *>("mapViewZoomSlider")->setValue(2);
    QCOMPARE(editor.placeOf(sector).topLeft(), QPoint(3 * 32, 1 * 32));
    QCOMPARE(editor.view->origin(), QPoint(1, 0));
}

// The grid is the zoom's tile repeated from the map's corner; without a tile
// the window's colour shows, never stale pixels.
void TestMapView::gridFillsTheMap()
{
    QImage tile(48, 48, QImage::Format_RGB32); // every pixel differs: a shifted grid shows
    for (int i = 0; i < 48 * 48; ++i)
        tile.setPixel(i % 48, i / 48, qRgb(i % 48 * 5, i / 48 * 5, 128));
    for (bool tileThere : {true, false}) {
        EditorFixture editor;
        QFile::remove(editor.path("assets/bg48x48.jpg"));
        QVERIFY(!tileThere || tile.save(editor.path("assets/bg48x48.jpg"), "PNG")); // exact pixels
        editor.window->findChild<QSlider *>("mapViewZoomSlider")->setValue(3);
        const QImage shot = editor.window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint corner = editor.map->mapTo(editor.window.get(), QPoint());
        const QRgb window = editor.window->palette().window().color().rgb();
        for (int y = 0; y < editor.map->height(); y += 7) {
            for (int x = 0; x < editor.map->width(); x += 5)
                QCOMPARE(shot.pixel(corner + QPoint(x, y)), tileThere ? tile.pixel(x % 48, y % 48) : window);
        }
    }
}

// The blocks draw their cells, so every change of a cell must reach the screen
// through them: after each step the window's pixels on screen are those of a
// fresh drawing, with nothing left where a cell was.
void TestMapView::screenFollowsEveryChange()
{
    EditorFixture editor;
    auto *zoom = editor.window->findChild<QSlider *>("mapViewZoomSlider");
    const QList<QPair<const char *, std::function<void()>>> steps = {
        {"paint", [&] { for (int x = 1; x <= 3; ++x) editor.paint(x, 1); }},
        {"zoom out", [&] { zoom->setValue(2); }},
        {"a cell on the layer above", [&] { editor.setLayer("Actor"); editor.place(2, 1); }},
        {"select, tinted", [&] {
             editor.setLayer("Wall");
             editor.clickButton("radioSelect");
             editor.press(1, 1);
             editor.drag(3, 1, Qt::LeftButton);
             editor.release(3, 1);
         }},
        {"undo the actor", [&] { editor.view->undo(); editor.flushDeletes(); }},
        {"zoom in", [&] { zoom->setValue(4); }},
    };
    const QRect map(editor.map->mapTo(editor.window.get(), QPoint()), editor.map->size());
    for (const auto &step : steps) {
        step.second();
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::processEvents();
        const QImage onScreen = editor.window->screen()->grabWindow(editor.window->winId()).toImage();
        const QImage fresh = editor.window->grab().toImage();
        QVERIFY2(onScreen.copy(map).convertToFormat(QImage::Format_RGB32)
                     == fresh.copy(map).convertToFormat(QImage::Format_RGB32),
                 step.first);
    }
}

void TestMapView::cellButtonsLookAsTheStyleDrawsThem_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("onBlock");
    QTest::newRow("exact fit") << QSize(64, 64) << 64 << false << true;
    QTest::newRow("smaller, centred") << QSize(9, 9) << 32 << false << true;
    QTest::newRow("scaled, not square") << QSize(40, 21) << 16 << false << true;
    QTest::newRow("pressed, under another") << QSize(9, 9) << 48 << true << true;
    QTest::newRow("pressed, not on a block") << QSize(9, 9) << 48 << true << false;
}

void TestMapView::cellButtonsLookAsTheStyleDrawsThem()
{
    QFETCH(QSize, image);
    QFETCH(int, size);
    QFETCH(bool, down);
    QFETCH(bool, onBlock);
    const auto drawn = drawnByCellAndStyle(patternedIcon(image), size, down, onBlock);
    QCOMPARE(drawn.first, drawn.second);
}

void TestMapView::cellsComeIntoSightWithTheirLook_data()
{
    QTest::addColumn<QPoint>("pan");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("grow"); // pixels the window grows by
    QTest::newRow("pan") << QPoint(-20, -20) << 4 << 0;
    QTest::newRow("zoom out") << QPoint(0, 0) << 1 << 0;
    QTest::newRow("window grows") << QPoint(0, 0) << 2 << 200;
}

// Only the buttons in view are shown; one that comes into view shows the look
// it was given while out of sight, at its place.
void TestMapView::cellsComeIntoSightWithTheirLook()
{
    QFETCH(QPoint, pan);
    QFETCH(int, zoom);
    QFETCH(int, grow);
    EditorFixture editor;
    Sector *nearWall = editor.place(1, 1);
    Sector *farWall = editor.place(22, 21);
    editor.setLayer("Floor");
    QVERIFY(editor.shown(nearWall));
    QVERIFY(!editor.shown(farWall));
    editor.view->shiftOrigin(pan);
    editor.window->findChild<QSlider *>("mapViewZoomSlider")->setValue(zoom);
    QCOMPARE(editor.shown(farWall), grow == 0);
    editor.window->resize(editor.window->size() + QSize(grow, grow));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QVERIFY(editor.shown(farWall));
    QCOMPARE(editor.shown(nearWall), pan.isNull());
    QCOMPARE(farWall->data->button->icon().cacheKey(),
             IconCache::icon(farWall->imagePath(), QColor(0, 0, 155)).cacheKey());
    const int size = editor.view->cellSize();
    QCOMPARE(editor.placeOf(farWall), QRect((22 + pan.x()) * size, (21 + pan.y()) * size, size, size));
}

// Only the cells in sight have buttons: one painted out of sight has none,
// and released buttons come back at their place with their look and click rule.
void TestMapView::buttonsOutOfSightAreReleasedAndComeBack()
{
    EditorFixture editor;
    editor.view->sectorViewport()->setKeptOutOfSight(0);
    Sector *wall = editor.place(1, 1);
    Sector *farWall = editor.place(40, 30);
    QVERIFY(wall->hasButton());
    QVERIFY(!farWall->hasButton());
    editor.view->shiftOrigin(QPoint(-30, -25));
    QCoreApplication::processEvents();
    QVERIFY(!wall->hasButton());
    QVERIFY(editor.shown(farWall));
    editor.clickButton("radioFloodFill");
    editor.view->shiftOrigin(QPoint(30, 25));
    QVERIFY(editor.shown(wall));
    QCOMPARE(editor.placeOf(wall), QRect(64, 64, 64, 64));
    QCOMPARE(wall->data->button->icon().cacheKey(), IconCache::icon(wall->imagePath(), QColor()).cacheKey());
    QVERIFY(wall->data->button->testAttribute(Qt::WA_TransparentForMouseEvents));
    editor.clickButton("radioPencil");
    QVERIFY(!wall->data->button->testAttribute(Qt::WA_TransparentForMouseEvents));
}

// A removed cell's button waits, hidden, for the next cell of its block, which
// gets it released and in its own place; past the keep limit spares go.
void TestMapView::removedCellsLeaveSpareButtons()
{
    EditorFixture editor;
    QPointer<QPushButton> button = editor.place(1, 1)->data->button;
    QTest::mousePress(button, Qt::LeftButton);
    editor.layers->removeSectorAt(1, 1);
    QTest::mouseRelease(editor.map, Qt::LeftButton);
    editor.flushDeletes();
    QVERIFY(button && button->isHidden());
    Sector *next = editor.place(2, 1);
    QVERIFY(next->data->button == button && editor.shown(next) && !button->isDown());
    QCOMPARE(editor.placeOf(next), QRect(128, 64, 64, 64));
    editor.view->sectorViewport()->setKeptOutOfSight(0);
    editor.layers->removeSectorAt(2, 1);
    QCoreApplication::processEvents();
    QVERIFY(!button);
}

// The last word on each button counts; a button destroyed within the batch
// has none, and a new one (likely at its address) keeps its own.
void TestMapView::batchKeepsTheLastWordOnEachButton()
{
    QWidget host;
    SectorCanvas *canvas = SectorCanvas::forMap(new QWidget(&host));
    host.show();
    QPointer<QPushButton> hidden = new QPushButton(canvas), shown = new QPushButton(canvas);
    QPointer<QPushButton> dead = new QPushButton(canvas), reborn;
    {
        SectorCanvas::Batch batch(canvas);
        for (bool last : {false, true}) {
            canvas->reveal(hidden, !last);
            canvas->reveal(shown, last);
        }
        canvas->reveal(dead, false);
        delete dead.data();
        reborn = new QPushButton(canvas);
        canvas->reveal(reborn, true);
    }
    QVERIFY(!hidden->isVisible() && shown->isVisible() && reborn->isVisible());
}

// Actors over walls on the same cells, whichever was painted first or came
// into sight first: the later layer lies on top, as in a loaded map.
void TestMapView::layersStackInTheirOrder()
{
    EditorFixture editor;
    QList<Sector *> walls, actors;
    for (int x = 0; x < 12; ++x) {
        const QPoint cell(x, x < 6 ? 1 : 40); // the last six out of sight until a pan
        for (const char *layer : {x % 2 ? "Wall" : "Actor", x % 2 ? "Actor" : "Wall"}) {
            editor.setLayer(layer);
            (QByteArray(layer) == "Wall" ? walls : actors).append(editor.place(cell.x(), cell.y()));
        }
    }
    for (int dy : {-36, 36, -36})
        editor.view->shiftOrigin(QPoint(0, dy));
    for (int i = 0; i < walls.size(); ++i) {
        QPushButton *wall = walls[i]->data->button, *actor = actors[i]->data->button;
        QVERIFY(wall && actor && wall->parent() == actor->parent());
        QVERIFY2(wall->parent()->children().indexOf(actor) > wall->parent()->children().indexOf(wall),
                 qPrintable(QString::number(i)));
    }
}

void TestMapView::toolSwitchesChangeCursorAndClickThrough()
{
    EditorFixture editor;
    Sector *sector = editor.paint(1, 1);
    auto *fill = editor.window->findChild<QRadioButton *>("radioFloodFill");
    QTest::mouseClick(fill, Qt::LeftButton);
    QVERIFY(fill->isChecked());
    QVERIFY(sector->data->button->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(editor.view->currentToolCursor().hotSpot(), QPoint(16, 16));
    auto *select = editor.window->findChild<QRadioButton *>("radioSelect");
    QTest::mouseClick(select, Qt::LeftButton);
    QCOMPARE(editor.view->currentToolCursor().shape(), Qt::CrossCursor);
    QVERIFY(!editor.window->findChild<QRadioButton *>("radioPencil")->isEnabled());
    QVERIFY(!fill->isEnabled());
    QVERIFY(editor.window->findChild<QPushButton *>("btnEditSelection")->isEnabled());
    QTest::mouseClick(editor.window->findChild<QRadioButton *>("radioPaint"), Qt::LeftButton);
    QVERIFY(editor.window->findChild<QRadioButton *>("radioPencil")->isChecked());
    QVERIFY(!sector->data->button->testAttribute(Qt::WA_TransparentForMouseEvents));
}

void TestMapView::cursorOverrideFollowsEnterAndLeave()
{
    EditorFixture editor;
    // Qt 6 sends a real Enter when the window opens under the pointer: only
    // what this pair of events does is looked at.
    const bool overriddenBefore = QGuiApplication::overrideCursor();
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(editor.map, &enter);
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->hotSpot(), QPoint(16, 16));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(editor.map, &leave);
    QCOMPARE(bool(QGuiApplication::overrideCursor()), overriddenBefore);
}

void TestMapView::newCursorShowsOnNextEnter()
{
    EditorFixture editor;
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(editor.map, &enter);
    editor.clickButton("radioSelect");
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BitmapCursor);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(editor.map, &leave);
    QCoreApplication::sendEvent(editor.map, &enter);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QCoreApplication::sendEvent(editor.map, &leave);
}

void TestMapView::overlayIsClampedToTheMap()
{
    EditorFixture editor;
    const QPoint mapTopLeft = editor.map->mapToGlobal(QPoint(0, 0));
    const QPoint inside = editor.map->mapToGlobal(QPoint(100, 80));
    // Drag from inside the map to far outside its top-left corner.
    QCursor::setPos(mapTopLeft - QPoint(200, 300));
    editor.view->drawSelectionOverlay(inside);
    QLabel *overlay = editor.view->selectionLabel();
    QVERIFY(overlay->isVisible());
    QCOMPARE(overlay->pos(), mapTopLeft);
    QCOMPARE(overlay->size(), QSize(100 + 2, 80 + 2));
    QVERIFY(!overlay->picture(Qt::ReturnByValue).isNull());
    // Only the outline is opaque: the map stays visible inside the rectangle.
    QVERIFY(overlay->mask().contains(QPoint(0, 0)));
    QVERIFY(overlay->mask().contains(QPoint(101, 81)));
    QVERIFY(!overlay->mask().contains(QPoint(50, 40)));
}

void TestMapView::overlayFollowsTheDrag()
{
    EditorFixture editor;
    editor.clickButton("radioSelect");
    editor.press(1, 1);
    editor.drag(3, 2, Qt::LeftButton);
    QLabel *overlay = editor.view->selectionLabel();
    QVERIFY(overlay->isVisible());
    const QPoint start = editor.map->mapToGlobal(editor.cellCenter(1, 1));
    QCOMPARE(overlay->pos(), start);
    QCOMPARE(overlay->size(), QSize(2 * 64 + 2, 64 + 2));
    editor.release(3, 2);
    QVERIFY(!overlay->isVisible());
}

void TestMapView::galleryShowsWallTexturesAtStart()
{
    EditorFixture editor;
    QCOMPARE(editor.gallery->currentTexture().fileName, QByteArray("brick.png"));
    QCOMPARE(editor.gallery->shownTextures().size(), 3);
}

QTEST_MAIN(TestMapView)
#include "tst_mapview.moc"
