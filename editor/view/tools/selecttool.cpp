#include "view/tools/selecttool.h"

#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/mapview.h"
#include "view/selectionactions.h"
#include "view/tools/pantool.h"

#include <QLabel>

#include <utility>

void SelectTool::handle(QEvent *event, const ToolPoint &at)
{
    if (isPress(event, Qt::LeftButton))
        begin(at);
    else if (isDoubleClick(event))
        selectAlike(at);
    else if (isRelease(event, Qt::LeftButton))
        finish(at);
    else if (isPress(event, Qt::RightButton))
        deleteSelection();
    else
        panTool.takes(event);
    if (dragging())
        view.drawSelectionOverlay(selPressPos);
}

void SelectTool::reset()
{
    selStartX = selEndX = selStartY = selEndY = -1;
    if (QLabel *overlay = view.selectionLabel())
        overlay->hide();
}

bool SelectTool::dragging() const
{
    return selStartX != -1 && selStartY != -1 && selEndX == -1 && selEndY == -1;
}

void SelectTool::begin(const ToolPoint &at)
{
    view.layerController()->clearSelection();
    selStartX = at.canvasCell.x();
    selStartY = at.canvasCell.y();
    selPressPos = at.global;
}

void SelectTool::finish(const ToolPoint &at)
{
    // A release after Escape (or without a press on the map) selects nothing.
    if (!dragging())
        return;
    selEndX = at.canvasCell.x();
    selEndY = at.canvasCell.y();
    selReleasePos = at.global;
    if (selStartX > selEndX)
        std::swap(selStartX, selEndX);
    if (selStartY > selEndY)
        std::swap(selStartY, selEndY);
    // Canvas cells become map cells by the pan offset of the release.
    const QPoint offset = at.mapCell - at.canvasCell;
    const QPoint from = QPoint(selStartX, selStartY) + offset;
    const QPoint to = QPoint(selEndX, selEndY) + offset;
    view.layerController()->selectRect(from.x(), from.y(), to.x(), to.y());
    lastArea = QRect(from, to);
    reset();
}

bool SelectTool::isDoubleClick(const QEvent *event)
{
    return event->type() == QEvent::MouseButtonDblClick
        && static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton;
}

// The first click of the pair has selected its cell as a rectangle; the
// second widens that to every cell alike, which has no rectangle.
void SelectTool::selectAlike(const ToolPoint &at)
{
    reset();
    lastArea = QRect();
    view.selectionActions()->selectAlikeAt(at.mapCell);
}

void SelectTool::cancel()
{
    reset();
    lastArea = QRect(); // nothing left for Copy to take
    view.layerController()->clearSelection();
}

void SelectTool::deleteSelection()
{
    view.deleteSelection();
}
