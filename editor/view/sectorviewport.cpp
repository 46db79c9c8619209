#include "view/sectorviewport.h"

#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/sectorcanvas.h"
#include "view/sectorlook.h"

#include <QPushButton>

#include <climits>

SectorViewport::SectorViewport(MapModel *model, LayerController *layers, SectorCanvas *canvas)
    : QObject(nullptr), model(model), layers(layers), canvas(canvas)
{
    connect(model, &MapModel::sectorRemoved, this, &SectorViewport::forget);
    connect(layers, &LayerController::displayChanged, this, &SectorViewport::update);
    connect(canvas, &SectorCanvas::resized, this, &SectorViewport::update);
}

void SectorViewport::setView(const QPoint &newOrigin, int newCellSize)
{
    origin = newOrigin;
    cellSize = qMax(1, newCellSize);
    update();
}

QRect SectorViewport::visibleCells() const
{
    if (!canvas)
        return QRect();
    const int columns = (canvas->width() + cellSize - 1) / cellSize;
    const int rows = (canvas->height() + cellSize - 1) / cellSize;
    // No cell lies left of column 0 or above row 0.
    return QRect(-origin.x(), -origin.y(), columns, rows).intersected(QRect(0, 0, INT_MAX, INT_MAX));
}

bool SectorViewport::inView(const Sector *sector) const
{
    return visibleCells().contains(sector->data->mapX, sector->data->mapY);
}

void SectorViewport::update()
{
    if (!canvas)
        return;
    const QRect cells = visibleCells();
    QSet<Sector *> wanted;
    for (const auto &entry : model->layers()) {
        if (!layers->layerShown(entry.name))
            continue;
        for (Sector *sector : model->sectorsIn(entry.name, cells))
            wanted.insert(sector);
    }
    SectorCanvas::Batch batch(canvas);
    const QSet<Sector *> was = shown;
    for (Sector *sector : was) {
        if (!wanted.contains(sector))
            show(sector, false);
    }
    for (Sector *sector : qAsConst(wanted)) {
        if (!was.contains(sector))
            show(sector, true);
    }
}

void SectorViewport::place(Sector *sector, bool layerShown)
{
    // A new button starts hidden.
    if (layerShown && inView(sector))
        show(sector, true);
}

void SectorViewport::show(Sector *sector, bool visible)
{
    QPushButton *button = sector->data->button;
    if (!button)
        return;
    sector->setInSight(visible);
    if (visible) {
        shown.insert(sector);
        // Out of sight it was not drawn again when its look changed.
        SectorLook::refresh(sector);
    } else {
        shown.remove(sector);
    }
    canvas->reveal(button, visible);
}

void SectorViewport::forget(Sector *sector)
{
    shown.remove(sector);
}
