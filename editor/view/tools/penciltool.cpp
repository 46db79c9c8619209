#include "view/tools/penciltool.h"

#include "format/layernames.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "document/mapdocument.h"
#include "model/mapmodel.h"
#include "view/tools/pantool.h"

void PencilTool::handle(QEvent *event, const ToolPoint &at)
{
    // A first button going down while a stroke is open: the stroke's release
    // was lost, and it ended then.
    if (stroking && isFirstPress(event))
        endStroke();
    if (!stroking && (isPress(event, Qt::LeftButton) || isPress(event, Qt::RightButton))) {
        stroking = true;
        context.document->beginEdit(isPress(event, Qt::LeftButton) ? QStringLiteral("Paint") : QStringLiteral("Erase"));
    }
    if (isRelease(event, Qt::LeftButton) || isRelease(event, Qt::RightButton)) {
        if (!(static_cast<QMouseEvent *>(event)->buttons() & (Qt::LeftButton | Qt::RightButton)))
            endStroke();
    }
    if (isPressOrDrag(event, Qt::LeftButton))
        place(at.mapCell);
    else if (isPressOrDrag(event, Qt::RightButton))
        erase(at.mapCell);
    else
        panTool.takes(event);
}

void PencilTool::place(const QPoint &cell)
{
    LayerController *layers = context.layers;
    const QByteArray layer = layers->currentLayer();
    MapModel *model = context.document->model();
    const MapChange change = model->placeCell(layer, cell, context.gallery->currentTexture());
    if (!change.isEmpty() && layer == LayerNames::Lightmap)
        layers->tintLightmapSector(model->sectorAt(layer, cell.x(), cell.y()));
}

void PencilTool::endStroke()
{
    if (stroking) {
        stroking = false;
        context.document->endEdit();
    }
}

void PencilTool::erase(const QPoint &cell)
{
    context.layers->removeSectorAt(cell.x(), cell.y());
}
