#include "view/tools/floodfilltool.h"

#include "view/prompts.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/floodregion.h"
#include "model/mapmodel.h"
#include "document/mapdocument.h"
#include "view/sectorcanvas.h"

void FloodFillTool::handle(QEvent *event, const ToolPoint &at)
{
    if (isPress(event, Qt::LeftButton))
        fill(at.mapCell);
}

void FloodFillTool::fill(const QPoint &start)
{
    LayerController *layers = context.layers;
    MapModel *model = context.document->model();
    const QByteArray layer = layers->currentLayer();
    const FloodRegion region = findFloodRegion(*model, layer, start, limit);
    if (!region.complete) {
        Prompts::current().inform(QString(), QStringLiteral("Recursive depth limit reached.\nPossibly not wall bounded area."));
        return;
    }
    if (region.cells.isEmpty())
        return;
    const TextureEntry texture = context.gallery->currentTexture();
    if (region.target != 0) {
        model->retextureCells(layer, region.cells, texture);
        return;
    }
    SectorCanvas::Batch batch(SectorCanvas::forMap(context.mapSurface));
    model->placeCells(layer, region.cells, texture);
}
