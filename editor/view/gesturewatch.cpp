#include "view/gesturewatch.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

GestureWatch::GestureWatch(QWidget *topLevel)
    : QObject(nullptr), window(topLevel)
{
    // The window system hands every release to a top-level window first,
    // also one that no widget receives afterwards.
    qApp->installEventFilter(this);
}

GestureWatch::~GestureWatch()
{
    qApp->removeEventFilter(this);
}

bool GestureWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (!window)
        return false;
    // Any of the program's windows: a pop-up that took the mouse mid-stroke
    // gets the release in place of the map's window.
    if (event->type() == QEvent::MouseButtonRelease && watched->isWindowType()) {
        if (static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton)
            QMetaObject::invokeMethod(this, &GestureWatch::buttonsUp, Qt::QueuedConnection);
    } else if (event->type() == QEvent::WindowDeactivate && watched == window) {
        emit windowLeft();
    }
    return false;
}
