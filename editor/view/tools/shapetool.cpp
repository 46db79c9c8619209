#include "view/tools/shapetool.h"

#include "document/mapdocument.h"
#include "model/shapecells.h"
#include "view/mapview.h"
#include "view/tools/pantool.h"

ShapeTool::ShapeTool(MapView &view, PanTool &pan) : view(view), panTool(pan), preview(view.mapSurface())
{
}

ShapeTool::~ShapeTool() = default;

void ShapeTool::handle(QEvent *event, const ToolPoint &at)
{
    // A first button going down while a drag is open: its release was lost.
    if (dragging() && isFirstPress(event))
        drop();
    if (!dragging() && isPress(event, Qt::LeftButton))
        begin(at.mapCell, false);
    else if (!dragging() && erases() && isPress(event, Qt::RightButton))
        begin(at.mapCell, true);
    else if (dragging() && isRelease(event, button))
        finish(at.mapCell);
    else if (dragging() && event->type() == QEvent::MouseMove)
        follow(at.mapCell);
    else
        panTool.takes(event);
}

void ShapeTool::begin(const QPoint &cell, bool erase)
{
    anchor = cell;
    erasing = erase;
    button = erase ? Qt::RightButton : Qt::LeftButton;
    end = cell;
    follow(cell);
}

void ShapeTool::follow(const QPoint &cell)
{
    // A move within the same cell changes nothing.
    if (cell == end && preview.isVisible())
        return;
    end = cell;
    const Draft plan = draft(*anchor, end, erasing);
    QString text = name() + QStringLiteral(": ") + ShapeCells::sizeText(*anchor, end);
    if (!plan.refusal.isEmpty()) {
        preview.hide();
        say(text + QStringLiteral(". ") + plan.refusal);
        return;
    }
    if (plan.leftOut > 0)
        text += QStringLiteral(", ") + leftOutWord(plan.leftOut);
    say(text);
    const QPoint origin = view.origin();
    preview.show(plan.marks, plan.outline, origin, view.cellSize());
}

void ShapeTool::finish(const QPoint &cell)
{
    const QPoint from = *anchor;
    drop();
    const Draft plan = draft(from, cell, erasing);
    if (!plan.refusal.isEmpty()) {
        say(name() + QStringLiteral(": ") + plan.refusal);
        return;
    }
    say(plan.leftOut > 0 ? name() + QStringLiteral(": ") + leftOutWord(plan.leftOut) : name());
    if (!plan.make)
        return;
    MapDocument *document = view.mapDocument();
    document->beginEdit(name());
    plan.make(*document->model());
    document->endEdit();
}

void ShapeTool::reset()
{
    if (!dragging())
        return;
    drop();
    say(name());
}

void ShapeTool::cancel()
{
    if (!dragging())
        return;
    drop();
    say(name() + QStringLiteral(": cancelled"));
}

void ShapeTool::drop()
{
    anchor.reset();
    button = Qt::NoButton;
    preview.hide();
}

void ShapeTool::say(const QString &text)
{
    view.setStatusText(text);
}

QString ShapeTool::leftOutWord(qint64 cells) const
{
    return QStringLiteral("%1 cell(s) left of column 0 or above row 0 left out").arg(cells);
}
