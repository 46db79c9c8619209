#include "view/tools/pantool.h"

#include "view/eventposition.h"
#include "view/mapview.h"

#include <cstdlib>

void PanTool::handle(QEvent *event, const ToolPoint &)
{
    takes(event);
}

bool PanTool::takes(QEvent *event)
{
    if (isPressOrDrag(event, Qt::MiddleButton)) {
        pan(static_cast<QMouseEvent *>(event));
        return true;
    }
    if (isRelease(event, Qt::MiddleButton)) {
        lastPanPos = static_cast<QMouseEvent *>(event)->pos();
        return true;
    }
    return false;
}

void PanTool::pan(const QMouseEvent *event)
{
    // Mouse events may arrive on the canvas that covers the map widget.
    const QPoint pos = view.mapSurface()->mapFromGlobal(EventPosition::global(event));
    if (pos == lastPanPos)
        return;
    const int dx = pos.x() - lastPanPos.x();
    const int dy = pos.y() - lastPanPos.y();
    const int half = view.cellSize() / 2;
    // Both axes are measured from the same anchor, so a diagonal drag pans diagonally.
    QPoint step;
    if (std::abs(dx) > half)
        step.rx() = dx > 0 ? 1 : -1;
    if (std::abs(dy) > half)
        step.ry() = dy > 0 ? 1 : -1;
    if (step.isNull())
        return;
    lastPanPos = pos;
    view.shiftOrigin(step);
}
