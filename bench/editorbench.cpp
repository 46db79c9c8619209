// The editor side of the benchmark: a real Tessel window, driven the way a user
// drives it (the layer through the editing state the combo box mirrors, slider,
// radio buttons, mouse events on the map).
#include "benchcommon.h"

#include "app/tessel.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "app/dialogs.h"
#include "document/editingstate.h"
#include "format/layernames.h"
#include "model/emission.h"
#include "view/iconcache.h"
#include "model/sector.h"
#include "view/sectorcanvas.h"
#include "model/mapmodel.h"
#include "model/subtypetable.h"
#include "view/mapview.h"
#include "view/overviewcontroller.h"
#include "view/tools/stamptool.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsColorizeEffect>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QWindow>

#include <memory>
#include <utility>

namespace {

class EditorBench
{
public:
    EditorBench(Workspace &workspace, int side, int runs, Report &report)
        : workspace(workspace), side(side), runs(runs), report(report)
    {
        window.reset(new Tessel);
        window->show();
        for (int i = 0; i < 100 && !(window->windowHandle() && window->windowHandle()->isExposed()); ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        view = window->mapView();
        layers = view->layerController();
        gallery = view->textureGallery();
        map = view->mapSurface();
        canvas = SectorCanvas::forMap(map);
        slider = window->findChild<QSlider *>("mapViewZoomSlider");
        Dialogs::information = [this](const QString &, const QString &) { ++notices; };
        Dialogs::question = [](const QString &, const QString &) { return QMessageBox::Yes; };
        Dialogs::warning = [&report](const QString &title, const QString &text) {
            report.note("warning", title + QStringLiteral(": ") + QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        };
        // Any repaint of the window counts: cells are drawn on blocks of the canvas.
        paints.watch(qApp);
        settle();
        report.note("mapsize", QStringLiteral("%1x%2").arg(map->width()).arg(map->height()));
    }

    ~EditorBench()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Dialogs::restoreDefaults();
        IconCache::clear();
    }

    void load();
    void save();
    void zoom();
    void pan();
    void pointer();
    void switchLayers();
    void floodFill();
    void emission();
    void selectAndDelete();
    void copyAndPaste();
    void clearAndUndo();
    void shapes();
    void effectObjects();
    void overview();

private:
    bool loadFromFile();
    void buildDirectly();
    void setLayer(const QString &name) { view->editingState()->setChosenLayer(name.toUtf8()); settle(); }
    QPoint cellCenter(int mapX, int mapY) const;
    void mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, int mapX, int mapY);
    void placeCells(const QList<QPoint> &cells);
    void selectOnFloorAtZoomOne();
    int count(const QByteArray &layer) const { return layers->layerTable().value(layer).size(); }
    void panTo(int x);

    Workspace &workspace;
    const int side;
    const int runs;
    Report &report;
    std::unique_ptr<Tessel> window;
    MapView *view = nullptr;
    LayerController *layers = nullptr;
    TextureGallery *gallery = nullptr;
    QWidget *map = nullptr;
    SectorCanvas *canvas = nullptr;
    QSlider *slider = nullptr;
    int notices = 0;
    PaintCounter paints;
    bool fileLoads = true;
};

QPoint EditorBench::cellCenter(int mapX, int mapY) const
{
    const int size = view->cellSize();
    const QPoint cell = view->mapToCanvas(QPoint(mapX, mapY));
    return QPoint(cell.x() * size + size / 2, cell.y() * size + size / 2);
}

// Real pointer input lands on the canvas that covers the map widget; the map
// view filters both.
void EditorBench::mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, int mapX, int mapY)
{
    const QPoint local = cellCenter(mapX, mapY);
    const QPoint global = map->mapToGlobal(local);
    QCursor::setPos(global);
    QMouseEvent event(type, canvas->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &event);
}

bool EditorBench::loadFromFile()
{
    const QString file = workspace.mapFile(side);
    Dialogs::openChooser = [file](const QString &, const QString &) { return file; };
    view->BtnLoadMapEvent();
    settle();
    return layers->layerTable().sectorCount() == Recipe::sectorCount(side);
}

// Until maps can be loaded from a file: the same cells made through the same
// objects a loader uses, with the canvas hidden while they are made.
void EditorBench::buildDirectly()
{
    EditingState *editing = view->editingState();
    const QByteArray keep = editing->chosenLayer();
    SectorCanvas::Batch batch(canvas);
    for (const QByteArray layer : {"Ceil", "Floor", "Wall", "Lightmap"}) {
        editing->setChosenLayer(layer);
        QList<QPoint> cells;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                if (layer != "Lightmap" || Recipe::hasLight(x, y))
                    cells.append(QPoint(x, y));
            }
        }
        view->mapModel()->placeCells(layer, cells, gallery->currentTexture());
    }
    editing->setChosenLayer(keep);
}

void EditorBench::load()
{
    for (int run = 0; run < runs; ++run) {
        if (fileLoads) {
            Stopwatch timer(paints);
            const bool loaded = loadFromFile();
            if (loaded) {
                timer.record(report, "load");
                continue;
            }
            fileLoads = false;
            report.note("load", "the map file did not load; timing direct construction instead");
        }
        layers->replaceLayers(LayerTable(layerOrder()));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        settle();
        Stopwatch timer(paints);
        buildDirectly();
        settle();
        timer.record(report, "build");
    }
    report.add("sectors", layers->layerTable().sectorCount());
}

void EditorBench::save()
{
    const QString file = workspace.path(QStringLiteral("out/saved.map"));
    QDir().mkpath(QFileInfo(file).absolutePath());
    Dialogs::saveChooser = [file](const QString &, const QString &) { return file; };
    for (int run = 0; run < runs; ++run) {
        QFile::remove(file);
        QDir(workspace.path(QStringLiteral("out/saved"))).removeRecursively();
        Stopwatch timer(paints);
        // A loaded map saves back to its own file; Save As always asks, and so
        // writes to the benchmark's file.
        view->saveMapAs();
        settle();
        if (QFileInfo(file).size() == 0) {
            report.note("save", "saving wrote no file; not timed");
            return;
        }
        timer.record(report, "save", false);
    }
}

void EditorBench::zoom()
{
    for (int run = 0; run < runs; ++run) {
        const int value = slider->value() == 4 ? 3 : 4;
        Stopwatch timer(paints);
        slider->setValue(value);
        settle();
        timer.record(report, "zoom");
    }
    slider->setValue(4);
    settle();
    // The whole range at once: the most cells that come into sight in one step.
    for (int run = 0; run < runs; ++run) {
        for (int to : {1, 4}) {
            Stopwatch timer(paints);
            slider->setValue(to);
            settle();
            timer.record(report, to == 1 ? "zoomout" : "zoomin");
        }
    }
}

// One middle-button move of more than half a cell is one pan step.
void EditorBench::pan()
{
    const QPoint base = map->rect().center();
    auto move = [&](int dx) {
        const QPoint local = base + QPoint(dx, 0);
        const QPoint global = map->mapToGlobal(local);
        QMouseEvent event(QEvent::MouseMove, local, global, Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
        QCoreApplication::sendEvent(map, &event);
    };
    const int step = view->cellSize() / 2 + 8;
    move(0);
    settle();
    for (int run = 0; run < runs; ++run) {
        const int before = view->origin().x();
        Stopwatch timer(paints);
        move(run % 2 == 0 ? step : 0);
        settle();
        timer.record(report, "pan");
        if (view->origin().x() == before)
            report.note("pan", "a move did not pan the view");
    }
    panTo(0);
}

// One hover move to the next cell: the status bar names the cell under the pointer.
void EditorBench::pointer()
{
    auto *label = window->findChild<QLabel *>("labelPointer");
    if (!label) {
        report.note("pointer", "no pointer label");
        return;
    }
    paints.watch(label);
    auto hover = [this](int mapX, int mapY) {
        const QPoint global = map->mapToGlobal(cellCenter(mapX, mapY));
        QCursor::setPos(global);
        // Real input lands on the cell's button and goes on to the map from there.
        QWidget *target = canvas->childAt(canvas->mapFromGlobal(global));
        if (!target)
            target = canvas;
        QMouseEvent event(QEvent::MouseMove, target->mapFromGlobal(global), global, Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    };
    hover(2, 2);
    settle();
    for (int run = 0; run < runs; ++run) {
        const QString before = label->text();
        Stopwatch timer(paints);
        hover(2 + (run + 1) % 2, 2);
        settle();
        timer.record(report, "pointer");
        if (label->text() == before || label->text().isEmpty())
            report.note("pointer", QStringLiteral("the label did not follow the pointer: \"%1\"").arg(label->text()));
    }
}

void EditorBench::panTo(int x)
{
    const QPoint base = map->rect().center();
    int offset = 0;
    const int step = view->cellSize() / 2 + 8;
    while (view->origin().x() != x) {
        offset += view->origin().x() > x ? -step : step;
        const QPoint local = base + QPoint(offset, 0);
        QMouseEvent event(QEvent::MouseMove, local, map->mapToGlobal(local), Qt::NoButton, Qt::MiddleButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(map, &event);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, base, map->mapToGlobal(base), Qt::MiddleButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(map, &release);
    settle();
}

void EditorBench::switchLayers()
{
    for (int run = 0; run < runs; ++run) {
        const QByteArray next = view->editingState()->chosenLayer() == "Floor" ? "Ceil" : "Floor";
        Stopwatch timer(paints);
        view->editingState()->setChosenLayer(next);
        settle();
        timer.record(report, "layer");
    }
}

// The Wall layer is full except for the room, which the fill closes again.
void EditorBench::floodFill()
{
    setLayer("Wall");
    window->findChild<QRadioButton *>("radioFloodFill")->click();
    const int walls = count("Wall");
    for (int run = 0; run < runs; ++run) {
        for (int y = Recipe::roomTop; y < Recipe::roomTop + Recipe::roomHeight; ++y) {
            for (int x = Recipe::roomLeft; x < Recipe::roomLeft + Recipe::roomWidth; ++x)
                layers->removeSectorAt(x, y);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        settle();
        const int x = Recipe::roomLeft + 1, y = Recipe::roomTop + 1;
        Stopwatch timer(paints);
        mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, x, y);
        mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, x, y);
        settle();
        timer.record(report, "fill");
        if (count("Wall") != walls || notices)
            report.note("fill", QStringLiteral("the fill did not close the room (%1 walls)").arg(count("Wall")));
    }
    window->findChild<QRadioButton *>("radioPencil")->click();
}

void EditorBench::emission()
{
    setLayer("Lightmap");
    Sector *source = layers->sectorAt(Recipe::lightX, Recipe::lightY);
    if (!source) {
        report.note("emission", "no light cell at the source");
        return;
    }
    LightPoint point;
    point.lighting = source->data->lighting;
    point.mapX = Recipe::lightX;
    point.mapY = Recipe::lightY;
    point.intensity = Recipe::lightLevel;
    point.radius = Recipe::lightRadius;
    QList<QPoint> made;
    for (const LightPoint &cell : computeEmissionCells(point)) {
        if (!layers->hasSectorAt(cell.mapX, cell.mapY))
            made.append(QPoint(cell.mapX, cell.mapY));
    }
    for (int run = 0; run < runs; ++run) {
        Stopwatch timer(paints);
        // What the properties form's OK does: the emission, then the view's
        // handling of the closed form (click connections, light shades).
        {
            SectorCanvas::Batch batch(canvas);
            view->mapModel()->emitPointLight(point, gallery->currentTexture());
        }
        view->SectorPropertiesClosedEvent();
        settle();
        timer.record(report, "emission");
        for (const QPoint &cell : std::as_const(made))
            layers->removeSectorAt(cell.x(), cell.y());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        settle();
    }
}

// With the overview open: what an edit of one cell costs there, its redraw
// and the window's repaint (the edit itself is not timed).
void EditorBench::overview()
{
    setLayer("Wall");
    OverviewController *overview = window->overviewController();
    overview->open();
    settle();
    const QPoint cell(side / 2, side / 2);
    for (int run = 0; run < runs; ++run) {
        for (bool remove : {true, false}) {
            if (remove)
                layers->removeSectorAt(cell.x(), cell.y());
            else
                placeCells({cell});
            Stopwatch timer(paints);
            overview->flush();
            overview->overviewWindow()->repaint();
            timer.record(report, "overview");
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            settle();
        }
    }
    overview->overviewWindow()->close();
    settle();
}

void EditorBench::placeCells(const QList<QPoint> &cells)
{
    SectorCanvas::Batch batch(canvas);
    view->mapModel()->placeCells(layers->currentLayer(), cells, gallery->currentTexture());
}

// Both rectangle phases work in Select mode on the Floor layer at zoom 1.
void EditorBench::selectOnFloorAtZoomOne()
{
    setLayer("Floor");
    slider->setValue(1);
    settle();
    window->findChild<QRadioButton *>("radioSelect")->click();
    settle();
}

void EditorBench::selectAndDelete()
{
    selectOnFloorAtZoomOne();
    const int last = Recipe::selectSide - 1;
    const int floors = count("Floor");
    QList<QPoint> cells;
    for (int y = 0; y <= last; ++y) {
        for (int x = 0; x <= last; ++x)
            cells.append(QPoint(x, y));
    }
    for (int run = 0; run < runs; ++run) {
        Stopwatch timer(paints);
        mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 0, 0);
        mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, last, last);
        settle();
        timer.record(report, "select");
        if (layers->selection().size() != cells.size())
            report.note("select", QStringLiteral("selected %1 sectors").arg(layers->selection().size()));

        timer.restart();
        mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, last, last);
        mouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, last, last);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        settle();
        timer.record(report, "delete");
        if (count("Floor") != floors - cells.size())
            report.note("delete", QStringLiteral("%1 floor sectors left").arg(count("Floor")));

        placeCells(cells);
        view->setAllMouseTransparent(true);
        settle();
    }
    window->findChild<QRadioButton *>("radioPaint")->click();
    slider->setValue(4);
    settle();
}

// Copy of a 32 x 32 piece on every layer (three full ones and their lights),
// the stamp following the pointer one cell, and the piece dropped over full
// cells elsewhere.
void EditorBench::copyAndPaste()
{
    selectOnFloorAtZoomOne();
    const int last = Recipe::selectSide - 1;
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 0, 0);
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, last, last);
    settle();
    for (int run = 0; run < runs; ++run) {
        Stopwatch timer(paints);
        view->copySelection();
        timer.record(report, "copy", false);

        view->pasteClipboard();
        settle();
        timer.restart();
        mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, 9, 4);
        settle();
        timer.record(report, "stampmove");

        timer.restart();
        mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 8, 4);
        mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 8, 4);
        settle();
        timer.record(report, "paste");
        view->stamp()->stop();
    }
    window->findChild<QRadioButton *>("radioPaint")->click();
    slider->setValue(4);
    settle();
}

// Each shape tool's largest drag, 64 x 64 cells, just right of the map where
// every cell is new: the last pointer move (its preview) and the release.
void EditorBench::shapes()
{
    setLayer("Wall");
    slider->setValue(1);
    settle();
    const int left = side, right = side + 63;
    const struct
    {
        const char *radio;
        const char *key;
        int cells;
    } tools[] = {{"radioLine", "shapeline", 64 + 63},
                 {"radioRectangle", "shaperect", 64 * 64},
                 {"radioRoom", "shaperoom", 4 * 63 + 2 * 62 * 62}};
    for (const auto &tool : tools) {
        auto *radio = window->findChild<QRadioButton *>(tool.radio);
        radio->click();
        // The Rectangle filled: its second click switches the form.
        if (QByteArray(tool.key) == "shaperect" && !view->editingState()->rectangleFilled())
            radio->click();
        settle();
        for (int run = 0; run < runs; ++run) {
            const int before = view->mapModel()->layers().sectorCount();
            mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, left, 0);
            mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, right - 1, 62);
            settle();
            Stopwatch timer(paints);
            mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, right, 63);
            settle();
            // The room's preview has the most cells to look up and draw.
            if (QByteArray(tool.key) == "shaperoom")
                timer.record(report, "shapemove");
            timer.restart();
            mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, right, 63);
            settle();
            timer.record(report, tool.key);
            const int made = view->mapModel()->layers().sectorCount() - before;
            if (made != tool.cells)
                report.note(tool.key, QStringLiteral("%1 cells made, not %2").arg(made).arg(tool.cells));
            view->undo();
            settle();
        }
    }
    window->findChild<QRadioButton *>("radioPencil")->click();
    slider->setValue(4);
    settle();
}

// The largest single steps a user takes: clearing a full layer (the question
// answered Yes), taking that back and doing it again.
void EditorBench::clearAndUndo()
{
    setLayer("Floor");
    const int floors = count("Floor");
    auto *clear = window->findChild<QPushButton *>("btnMapLayerClear");
    for (int run = 0; run < runs; ++run) {
        Stopwatch timer(paints);
        clear->click();
        settle();
        timer.record(report, "clear");
        timer.restart();
        view->undo();
        settle();
        timer.record(report, "undo");
        if (count("Floor") != floors)
            report.note("undo", QStringLiteral("%1 floor sectors after the undo").arg(count("Floor")));
        timer.restart();
        view->redo();
        // Undone cells go at the next pass of the event loop, as erased ones do.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        settle();
        timer.record(report, "redo");
        if (count("Floor") != 0)
            report.note("redo", QStringLiteral("%1 floor sectors after the redo").arg(count("Floor")));
        view->undo();
        settle();
    }
}

// What a build that gives every look its own colorize effect pays: the same
// layer switch and zoom, with each button's look drawn by a new effect object
// over the plain image instead of by a cached tinted icon.
void EditorBench::effectObjects()
{
    auto applyEffects = [this]() {
        for (const auto &entry : layers->layerTable()) {
            for (Sector *sector : entry.sectors) {
                QPushButton *button = sector->data->button;
                if (!button)
                    continue;
                button->setIcon(IconCache::icon(sector->imagePath()));
                // An effect is applied only where Qt paints the widget itself.
                button->setUpdatesEnabled(true);
                if (sector->look().isValid()) {
                    auto *effect = new QGraphicsColorizeEffect(button);
                    effect->setColor(sector->look());
                    button->setGraphicsEffect(effect);
                } else {
                    button->setGraphicsEffect(nullptr);
                }
            }
        }
    };
    applyEffects();
    settle();
    for (int run = 0; run < runs; ++run) {
        const QByteArray next = view->editingState()->chosenLayer() == "Floor" ? "Ceil" : "Floor";
        Stopwatch timer(paints);
        view->editingState()->setChosenLayer(next);
        applyEffects();
        settle();
        timer.record(report, "layer");
    }
    for (int run = 0; run < runs; ++run) {
        const int value = slider->value() == 4 ? 3 : 4;
        Stopwatch timer(paints);
        slider->setValue(value);
        settle();
        timer.record(report, "zoom");
    }
}

} // namespace

void runEditorPhase(int side, int runs, bool effects, const QStringList &only)
{
    auto wanted = [&only](const char *name) { return only.isEmpty() || only.contains(QLatin1String(name)); };
    Workspace workspace;
    Report report;
    {
        EditorBench bench(workspace, side, runs, report);
        // The window alone, shown and idle: what the map work adds is the peak less this.
        const double window = peakMemoryMb();
        report.add("memorywindow", window);
        bench.load();
        if (effects) {
            bench.effectObjects();
        } else {
            if (wanted("save"))
                bench.save();
            if (wanted("zoom"))
                bench.zoom();
            if (wanted("pan"))
                bench.pan();
            if (wanted("pointer"))
                bench.pointer();
            if (wanted("switchLayers"))
                bench.switchLayers();
            if (wanted("floodFill"))
                bench.floodFill();
            if (wanted("emission"))
                bench.emission();
            if (wanted("selectAndDelete"))
                bench.selectAndDelete();
            // The reference runs the rows up to here: its peak compares with this one.
            const double shared = peakMemoryMb();
            report.add("memoryshared", shared);
            report.add("memoryworkshared", shared - window);
            if (wanted("copyAndPaste"))
                bench.copyAndPaste();
            if (wanted("overview"))
                bench.overview();
            if (wanted("shapes"))
                bench.shapes();
        }
        const double peak = peakMemoryMb();
        report.add("memory", peak);
        report.add("memorywork", peak - window);
        // Last: a history holding a whole layer, and a layer's buttons made
        // and destroyed twice over, leave their mark on the peak.
        if (!effects && wanted("clearAndUndo")) {
            bench.clearAndUndo();
            report.add("memoryundo", peakMemoryMb());
        }
    }
    report.print();
}
