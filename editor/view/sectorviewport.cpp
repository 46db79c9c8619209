#include "view/sectorviewport.h"

#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/sectorcanvas.h"
#include "view/sectorlook.h"

#include <QPushButton>

#include <utility>

SectorViewport::SectorViewport(MapModel *model, LayerController *layers, SectorCanvas *canvas)
    : QObject(nullptr), model(model), layers(layers), canvas(canvas)
{
    connect(model, &MapModel::sectorRemoved, this, &SectorViewport::forget);
    connect(layers, &LayerController::displayChanged, this, &SectorViewport::update);
    connect(canvas, &SectorCanvas::resized, this, &SectorViewport::update);
}

bool SectorViewport::inView(const Sector *sector) const
{
    return canvas && canvas->visibleCells().contains(sector->data->mapX, sector->data->mapY);
}

void SectorViewport::update()
{
    if (!canvas)
        return;
    const QRect cells = canvas->visibleCells();
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
    for (Sector *sector : std::as_const(wanted)) {
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
