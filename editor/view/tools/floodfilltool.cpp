#include "view/tools/floodfilltool.h"

#include "app/dialogs.h"
#include "format/layernames.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/floodregion.h"
#include "model/mapmodel.h"
#include "view/mapview.h"
#include "view/sectorcanvas.h"

void FloodFillTool::handle(QEvent *event)
{
    if (isPress(event, Qt::LeftButton))
        fill();
}

void FloodFillTool::fill()
{
    LayerController *layers = view.layerController();
    MapModel *model = view.mapModel();
    const QByteArray layer = layers->currentLayer();
    const QPoint start = view.canvasToMap(view.cursorCell());
    const FloodRegion region = findFloodRegion(*model, layer, start, view.floodFillLimit);
    if (!region.complete) {
        Dialogs::inform(QString(), QStringLiteral("Recursive depth limit reached.\nPossibly not wall bounded area."));
        return;
    }
    if (region.cells.isEmpty())
        return;
    const TextureEntry texture = view.textureGallery()->currentTexture();
    if (region.target != 0) {
        model->retextureCells(layer, region.cells, texture);
        return;
    }
    SectorCanvas::Batch batch(SectorCanvas::forMap(view.mapSurface()));
    model->placeCells(layer, region.cells, texture);
    if (layer == LayerNames::Lightmap) {
        for (const QPoint &cell : region.cells)
            layers->tintLightmapSector(model->sectorAt(layer, cell.x(), cell.y()));
    }
}
