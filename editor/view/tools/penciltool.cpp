#include "view/tools/penciltool.h"

#include "format/layernames.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "view/mapview.h"
#include "view/tools/pantool.h"

void PencilTool::handle(QEvent *event)
{
    // A first button going down while a stroke is open: the stroke's release
    // was lost, and it ended then.
    if (stroking && isFirstPress(event))
        endStroke();
    if (!stroking && (isPress(event, Qt::LeftButton) || isPress(event, Qt::RightButton))) {
        stroking = true;
        view.beginEdit(isPress(event, Qt::LeftButton) ? QStringLiteral("Paint") : QStringLiteral("Erase"));
    }
    if (isRelease(event, Qt::LeftButton) || isRelease(event, Qt::RightButton)) {
        if (!(static_cast<QMouseEvent *>(event)->buttons() & (Qt::LeftButton | Qt::RightButton)))
            endStroke();
    }
    if (isPressOrDrag(event, Qt::LeftButton))
        placeUnderCursor();
    else if (isPressOrDrag(event, Qt::RightButton))
        eraseUnderCursor();
    else
        panTool.takes(event);
}

void PencilTool::placeUnderCursor()
{
    const QPoint cell = view.canvasToMap(view.cursorCell());
    LayerController *layers = view.layerController();
    const QByteArray layer = layers->currentLayer();
    MapModel *model = view.mapModel();
    const MapChange change = model->placeCell(layer, cell, view.textureGallery()->currentTexture());
    if (!change.isEmpty() && layer == LayerNames::Lightmap)
        layers->tintLightmapSector(model->sectorAt(layer, cell.x(), cell.y()));
}

void PencilTool::endStroke()
{
    if (stroking) {
        stroking = false;
        view.endEdit();
    }
}

void PencilTool::eraseUnderCursor()
{
    const QPoint cell = view.canvasToMap(view.cursorCell());
    view.layerController()->removeSectorAt(cell.x(), cell.y());
}
