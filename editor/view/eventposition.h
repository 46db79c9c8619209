#pragma once

#include <QMouseEvent>
#include <QPoint>

// Where a mouse event happened, under Qt 5 and Qt 6 alike: Qt 6 deprecates
// the integer globalPos() of Qt 5 and Qt 5 lacks the globalPosition() of Qt 6.
namespace EventPosition {

inline QPoint global(const QMouseEvent *event)
{
#if QT_VERSION_MAJOR >= 6
    return event->globalPosition().toPoint();
#else
    return event->globalPos();
#endif
}

inline QPoint local(const QMouseEvent *event)
{
#if QT_VERSION_MAJOR >= 6
    return event->position().toPoint();
#else
    return event->pos();
#endif
}

} // namespace EventPosition
