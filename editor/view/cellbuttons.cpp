#include "view/cellbuttons.h"

#include "document/editingstate.h"
#include "format/layernames.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/mapview.h"
#include "view/sectorblock.h"
#include "view/sectorbutton.h"
#include "view/sectorcanvas.h"
#include "view/sectorviewport.h"

#include <QPushButton>

CellButtons::CellButtons(MapView &view, SectorCanvas *canvas, SectorViewport &viewport, LayerController &layers,
                         const EditingState &editing)
    : view(view), canvas(canvas), viewport(viewport), layers(layers), editing(editing)
{
    // The buttons follow the model: every sector that comes into the map gets
    // its button here, wherever the edit came from.
    connect(view.mapModel(), &MapModel::sectorAdded, this, &CellButtons::showNewSector);
    connect(view.mapModel(), &MapModel::mapReplaced, this, &CellButtons::showReplacedMap);
    connect(canvas, &SectorCanvas::cellClicked, &view, &MapView::SectorClickEvent);
    viewport.setButtonMaker([this](Sector *sector) { give(sector); });
}

QPushButton *CellButtons::makeButton(const Sector *sector) const
{
    const QSize size(view.cellSize(), view.cellSize());
    QPushButton *button = canvas->takeSpare(sector->data->mapX, sector->data->mapY);
    if (button) {
        // Its last cell may have gone while it was held down.
        button->setDown(false);
    } else {
        // Buttons live on the block of their cell (placeOnMap puts them on it).
        button = new SectorButton(canvas->blockFor(sector->data->mapX, sector->data->mapY));
        // Hover moves over a cell reach the map through it (the pointer's cell).
        button->setMouseTracking(true);
        // Thousands of cells in the tab chain would help nobody; focus stays where it was.
        button->setFocusPolicy(Qt::NoFocus);
        button->setFlat(true);
    }
    button->resize(size);
    button->setIconSize(size);
    return button;
}

// A new sector gets its button only if its cell is in sight.
void CellButtons::showNewSector(Sector *sector)
{
    placeOnMap(sector);
    const bool shown = layers.displayNewSector(sector);
    viewport.place(sector, shown);
}

// The cell's world position from the pan offset and the zoom, and its button there.
void CellButtons::placeOnMap(Sector *sector) const
{
    placeAt(sector, view.origin(), view.cellSize());
}

void CellButtons::placeAt(Sector *sector, const QPoint &origin, int size, const QSize &buttonSize)
{
    sector->setWorldPosition(double(sector->data->mapX + origin.x()) * size,
                             double(sector->data->mapY + origin.y()) * size, buttonSize);
}

// The size and the offset are asked once: a pan passes every sector of the map.
void CellButtons::placeAllOnMap() const
{
    const int size = view.cellSize();
    const QPoint origin = view.origin();
    const QSize cell(size, size);
    for (const auto &entry : view.mapModel()->layers()) {
        for (Sector *sector : entry.sectors) {
            QPushButton *button = sector->data->button;
            // Only a zoom changes the size; a pan leaves the buttons as they are.
            const bool resized = button && button->size() != cell;
            if (resized)
                button->setIconSize(cell);
            placeAt(sector, origin, size, resized ? cell : QSize());
        }
    }
}

void CellButtons::give(Sector *sector)
{
    sector->attachButton(makeButton(sector));
    placeOnMap(sector);
    stackByLayer(sector);
    // Clicks go through a new button like through the others in fill and select mode.
    sector->setMouseTransparent(!editing.cellsTakeClicks());
}

// Cells of several layers on one map cell stack in the layers' order, the later
// on top, as a loaded map lays them: which came into sight first, or which
// button was a spare, must not decide whether an actor shows over its wall.
void CellButtons::stackByLayer(Sector *sector) const
{
    QPushButton *button = sector->data->button;
    const QList<QByteArray> &order = layerOrder();
    for (int above = order.indexOf(sector->layer()) + 1; above > 0 && above < order.size(); ++above) {
        const Sector *other = view.mapModel()->sectorAt(order.at(above), sector->data->mapX, sector->data->mapY);
        if (other && other->data->button && other->data->button->parentWidget() == button->parentWidget()) {
            button->stackUnder(other->data->button);
            return;
        }
    }
    if (button->parentWidget() && button->parentWidget()->children().constLast() != button)
        button->raise();
}

// The viewport gives buttons to the loaded sectors in sight (placing them).
void CellButtons::showReplacedMap()
{
    canvas->dropSpares();
    canvas->dropEmptyBlocks();
    viewport.update();
}
