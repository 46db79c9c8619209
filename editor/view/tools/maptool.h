#pragma once

#include "view/tools/toolcontext.h"

#include <QEvent>
#include <QMouseEvent>

// One way of working on the map with the mouse. The map view hands every event
// of the map widget (and of the canvas over it) to the tool of the current mode,
// with the cell it happened on.
class MapTool
{
public:
    virtual ~MapTool() = default;
    virtual void handle(QEvent *event, const ToolPoint &at) = 0;
    // Forgets a gesture in progress (mode or layer changed).
    virtual void reset() {}

protected:
    static bool isPress(const QEvent *event, Qt::MouseButton button)
    {
        return event->type() == QEvent::MouseButtonPress
            && static_cast<const QMouseEvent *>(event)->button() == button;
    }

    // A press with no other button held.
    static bool isFirstPress(const QEvent *event)
    {
        if (event->type() != QEvent::MouseButtonPress)
            return false;
        const auto *mouse = static_cast<const QMouseEvent *>(event);
        return mouse->buttons() == mouse->button();
    }

    static bool isRelease(const QEvent *event, Qt::MouseButton button)
    {
        return event->type() == QEvent::MouseButtonRelease
            && static_cast<const QMouseEvent *>(event)->button() == button;
    }

    static bool isPressOrDrag(const QEvent *event, Qt::MouseButton button)
    {
        if (isPress(event, button))
            return true;
        return event->type() == QEvent::MouseMove
            && (static_cast<const QMouseEvent *>(event)->buttons() & button);
    }
};
