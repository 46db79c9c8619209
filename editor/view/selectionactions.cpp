#include "view/selectionactions.h"

#include "document/editingstate.h"
#include "format/layernames.h"
#include "layers/layercontroller.h"
#include "model/findquery.h"
#include "model/mapmodel.h"
#include "view/mapview.h"
#include "view/tools/selecttool.h"
#include "view/tools/toolbox.h"

void SelectionActions::selectCells(const QByteArray &layer, const QList<Sector *> &sectors)
{
    EditingState *editing = view.editingState();
    if (editing->chosenLayer() != layer && layerOrder().contains(layer))
        editing->setChosenLayer(layer);
    if (editing->mode() != EditingState::Mode::Select)
        view.SwitchToSelectMode();
    view.tools()->select().forgetArea();
    LayerController *layers = view.layerController();
    layers->selectSectors(sectors);
    view.setStatusText(QStringLiteral("%1 cell(s) selected").arg(layers->selection().size()));
}

void SelectionActions::selectAlikeAt(const QPoint &mapCell)
{
    const QByteArray layer = view.editingState()->currentLayer();
    const MapModel &model = *view.mapModel();
    const Sector *sector = model.sectorAt(layer, mapCell.x(), mapCell.y());
    if (sector)
        selectCells(layer, alikeOf(model, layer, sector));
}

void SelectionActions::selectWholeLayer()
{
    // While Ctrl is held the Door layer is edited for a moment; Ctrl+A means
    // the layer the user chose.
    const QByteArray layer = view.editingState()->chosenLayer();
    selectCells(layer, view.mapModel()->sectorsOf(layer));
}
