#include "view/tools/selecttool.h"

#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/mapview.h"
#include "view/tools/pantool.h"

#include <QCursor>
#include <QLabel>

#include <utility>

void SelectTool::handle(QEvent *event)
{
    if (isPress(event, Qt::LeftButton))
        begin();
    else if (isRelease(event, Qt::LeftButton))
        finish();
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

void SelectTool::begin()
{
    view.layerController()->clearSelection();
    const QPoint cell = view.cursorCell();
    selStartX = cell.x();
    selStartY = cell.y();
    selPressPos = QCursor::pos();
}

void SelectTool::finish()
{
    // A release after Escape (or without a press on the map) selects nothing.
    if (!dragging())
        return;
    const QPoint cell = view.cursorCell();
    selEndX = cell.x();
    selEndY = cell.y();
    selReleasePos = QCursor::pos();
    if (selStartX > selEndX)
        std::swap(selStartX, selEndX);
    if (selStartY > selEndY)
        std::swap(selStartY, selEndY);
    const QPoint from = view.canvasToMap(QPoint(selStartX, selStartY));
    const QPoint to = view.canvasToMap(QPoint(selEndX, selEndY));
    view.layerController()->selectRect(from.x(), from.y(), to.x(), to.y());
    lastArea = QRect(from, to);
    reset();
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
