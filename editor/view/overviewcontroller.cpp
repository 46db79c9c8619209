#include "view/overviewcontroller.h"

#include "document/editingstate.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/mapview.h"
#include "view/overviewwindow.h"

#include <QTimer>

#include <algorithm>

OverviewController::OverviewController(MapView &mapView, QWidget *window) : view(mapView), mainWindow(window) {}

OverviewController::~OverviewController()
{
    delete shown;
}

void OverviewController::open()
{
    if (!shown) {
        shown = new OverviewWindow(mainWindow);
        shown->setAttribute(Qt::WA_DeleteOnClose);
        drawn = std::make_unique<OverviewPicture>(view.mapModel());
        drawn->setTargetSide(std::min(shown->width(), shown->height()));
        drawn->setLayer(view.editingState()->currentLayer());
        drawn->rebuild();
        follow();
        showPicture();
        showVisibleCells();
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
}

// Every connection has the window as its context, so closing it ends them.
void OverviewController::follow()
{
    MapModel *model = view.mapModel();
    auto cell = [this](Sector *sector) { cellChanged(sector); };
    connect(model, &MapModel::sectorAdded, shown, cell);
    connect(model, &MapModel::sectorRemoved, shown, cell);
    connect(model, &MapModel::textureChanged, shown, cell);
    connect(model, &MapModel::propertiesChanged, shown, cell);
    connect(model, &MapModel::mapReplaced, shown, [this] { rebuild(); });
    connect(view.editingState(), &EditingState::currentLayerChanged, shown, [this](const QByteArray &layer) {
        drawn->setLayer(layer);
        showPicture();
    });
    connect(&view, &MapView::viewMoved, shown, [this] { showVisibleCells(); });
    connect(shown, &OverviewWindow::cellChosen, &view, qOverload<const QPoint &>(&MapView::centreOn));
    connect(shown, &OverviewWindow::resized, this, [this] {
        drawn->setTargetSide(std::min(shown->width(), shown->height()));
        showPicture();
    });
    connect(shown, &QObject::destroyed, this, [this] {
        drawn.reset();
        pending.clear();
    });
}

// Many cells of one operation come one by one; they are drawn together.
void OverviewController::cellChanged(const Sector *sector)
{
    pending.append(QPoint(sector->data->mapX, sector->data->mapY));
    if (flushQueued)
        return;
    flushQueued = true;
    QTimer::singleShot(0, shown, [this] { flush(); });
}

void OverviewController::flush()
{
    flushQueued = false;
    if (!drawn || pending.isEmpty())
        return;
    const int pixelsBefore = drawn->cellPixels();
    const bool drawnAgain = drawn->redrawCells(pending);
    pending.clear();
    if (drawnAgain)
        showPicture();
    // The picture may have grown, which moves the outline with it.
    if (drawn->cellPixels() != pixelsBefore)
        showVisibleCells();
}

void OverviewController::imagesChanged()
{
    if (!drawn)
        return;
    drawn->forgetImages();
    showPicture();
}

void OverviewController::rebuild()
{
    pending.clear();
    drawn->rebuild();
    showPicture();
}

void OverviewController::showPicture()
{
    shown->showPicture(&drawn->image(), drawn->cellPixels());
}

void OverviewController::showVisibleCells()
{
    shown->showVisibleCells(view.visibleCells());
}
