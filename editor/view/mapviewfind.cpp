// Selections made without a rectangle: cells alike, a whole layer, a search's
// matches, a level check line's cells.
#include "view/mapview.h"

#include "format/layernames.h"
#include "layers/layercontroller.h"
#include "model/findquery.h"
#include "model/mapmodel.h"
#include "view/tools/selecttool.h"

void MapView::selectCells(const QByteArray &layer, const QList<Sector *> &sectors)
{
    if (editing->chosenLayer() != layer && layerOrder().contains(layer))
        editing->setChosenLayer(layer);
    if (editing->mode() != EditingState::Mode::Select)
        SwitchToSelectMode();
    selectTool->forgetArea();
    layers->selectSectors(sectors);
    setStatusText(QStringLiteral("%1 cell(s) selected").arg(layers->selection().size()));
}

void MapView::selectAlikeAt(const QPoint &mapCell)
{
    const QByteArray layer = editing->currentLayer();
    const Sector *sector = model->sectorAt(layer, mapCell.x(), mapCell.y());
    if (sector)
        selectCells(layer, alikeOf(*model, layer, sector));
}

void MapView::selectWholeLayer()
{
    // While Ctrl is held the Door layer is edited for a moment; Ctrl+A means
    // the layer the user chose.
    const QByteArray layer = editing->chosenLayer();
    selectCells(layer, model->sectorsOf(layer));
}
