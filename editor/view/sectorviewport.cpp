#include "view/sectorviewport.h"

#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/sectorcanvas.h"
#include "view/sectorlook.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QTimer>

#include <utility>

SectorViewport::SectorViewport(MapModel *model, LayerController *layers, SectorCanvas *canvas)
    : QObject(nullptr), model(model), layers(layers), canvas(canvas)
{
    connect(model, &MapModel::sectorRemoved, this, &SectorViewport::forget);
    connect(layers, &LayerController::displayChanged, this, &SectorViewport::update);
    connect(canvas, &SectorCanvas::resized, this, &SectorViewport::update);
}

void SectorViewport::setButtonMaker(std::function<void(Sector *)> maker)
{
    makeButton = std::move(maker);
}

bool SectorViewport::inView(const Sector *sector) const
{
    return canvas && canvas->visibleCells().contains(sector->data->mapX, sector->data->mapY);
}

QList<Sector *> SectorViewport::sectorsWithButtons() const
{
    QList<Sector *> all = shown.values();
    all += kept.values();
    return all;
}

// A shown sector stays shown while its layer is shown and its cell in view, so
// the ones to hide are found by walking the shown ones, and the ones to show
// by asking the shown layers for the view: no set of the whole view is built
// and compared on every pan and zoom.
void SectorViewport::update()
{
    if (!canvas)
        return;
    const QRect cells = canvas->visibleCells();
    QList<QByteArray> shownLayers;
    for (const auto &entry : model->layers()) {
        if (layers->layerShown(entry.name))
            shownLayers.append(entry.name);
    }
    {
        SectorCanvas::Batch batch(canvas);
        QList<Sector *> leaving;
        for (Sector *sector : std::as_const(shown)) {
            if (!cells.contains(sector->data->mapX, sector->data->mapY) || !shownLayers.contains(sector->layer()))
                leaving.append(sector);
        }
        for (Sector *sector : std::as_const(leaving))
            show(sector, false);
        for (const QByteArray &layer : std::as_const(shownLayers)) {
            for (Sector *sector : model->sectorsIn(layer, cells)) {
                if (!shown.contains(sector))
                    show(sector, true);
            }
        }
    }
    releaseIfTooMany();
}

void SectorViewport::place(Sector *sector, bool layerShown)
{
    if (layerShown && inView(sector))
        show(sector, true);
}

void SectorViewport::show(Sector *sector, bool visible)
{
    if (visible && !sector->hasButton() && makeButton)
        makeButton(sector);
    QPushButton *button = sector->data->button;
    if (!button)
        return;
    sector->setInSight(visible);
    if (visible) {
        shown.insert(sector);
        kept.remove(sector);
        // Out of sight it was not drawn again when its look changed.
        SectorLook::refresh(sector);
    } else {
        shown.remove(sector);
        kept.insert(sector);
    }
    canvas->reveal(button, visible);
}

void SectorViewport::forget(Sector *sector)
{
    shown.remove(sector);
    kept.remove(sector);
    if (!canvas)
        return;
    if (QPushButton *button = sector->takeButton())
        canvas->keepSpare(button);
    releaseIfTooMany();
}

void SectorViewport::releaseIfTooMany()
{
    if (kept.size() + canvas->spareCount() > keepLimit)
        releaseWhenIdle();
}

// Buttons are released from the event loop, never while an event is being
// handed to one of them (a wheel zoom on a cell may take that cell out of view).
void SectorViewport::releaseWhenIdle()
{
    if (releaseQueued)
        return;
    releaseQueued = true;
    QTimer::singleShot(0, this, &SectorViewport::releaseOutOfSight);
}

void SectorViewport::releaseOutOfSight()
{
    releaseQueued = false;
    // A drag may hold an implicit grab on a button that went out of view.
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        QTimer::singleShot(100, this, &SectorViewport::releaseWhenIdle);
        return;
    }
    for (Sector *sector : std::exchange(kept, {}))
        sector->releaseButton();
    if (canvas)
        canvas->dropSpares();
}
