#include "view/tools/penciltool.h"

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
    // The new cell's look (a light's shade too) comes with its button.
    context.document->model()->placeCell(context.layers->currentLayer(), cell, context.gallery->currentTexture());
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
