#include "view/gridbackground.h"

#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

GridBackground::GridBackground(QWidget *mapWidget) : QObject(mapWidget), map(mapWidget)
{
    mapWidget->installEventFilter(this);
}

void GridBackground::setTile(const QString &path)
{
    map->setStyleSheet(QStringLiteral("background: url('") + path + QStringLiteral("');"));
    // A tile that is missing or lets the window show through must leave the
    // painting to Qt: stale pixels would show where the grid draws nothing.
    const QPixmap tile(path);
    map->setAttribute(Qt::WA_OpaquePaintEvent, !tile.isNull() && !tile.hasAlphaChannel());
}

bool GridBackground::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == map && event->type() == QEvent::Paint && map->testAttribute(Qt::WA_OpaquePaintEvent))
        drawGrid();
    return QObject::eventFilter(watched, event);
}

// What Qt draws for a styled widget's background, within the paint event's
// region. A widget is polished, its style sheet with it, before it first paints.
void GridBackground::drawGrid() const
{
    QPainter painter(map);
    QStyleOption option;
    option.initFrom(map);
    map->style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, map);
}
