#include "view/selectionoverlay.h"

#include <QCursor>
#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QWidget>

#include <algorithm>

SelectionOverlay::SelectionOverlay(QWidget *mapWidget) : mapWidget(mapWidget)
{
    overlay = new QLabel(mapWidget);
    overlay->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    overlay->setAttribute(Qt::WA_NoSystemBackground);
    overlay->setAttribute(Qt::WA_TranslucentBackground);
    // Its own rule keeps the map widget's grid background from cascading onto it.
    overlay->setStyleSheet(QStringLiteral("background: transparent;"));
}

void SelectionOverlay::draw(const QPoint &anchor)
{
    const QPoint cur = QCursor::pos();
    int left = std::min(anchor.x(), cur.x());
    int right = std::max(anchor.x(), cur.x());
    int top = std::min(anchor.y(), cur.y());
    int bottom = std::max(anchor.y(), cur.y());

    const QRect area = mapWidget->geometry();
    const QWidget *parent = mapWidget->parentWidget();
    const QPoint topLeft = parent ? parent->mapToGlobal(area.topLeft()) : mapWidget->mapToGlobal(QPoint());
    const QPoint bottomRight = parent ? parent->mapToGlobal(area.bottomRight())
                                      : mapWidget->mapToGlobal(QPoint(area.width() - 1, area.height() - 1));
    right = std::min(right, bottomRight.x());
    left = std::max(left, topLeft.x());
    bottom = std::min(bottom, bottomRight.y());
    top = std::max(top, topLeft.y());
    const int width = right - left;
    const int height = bottom - top;

    QPicture picture;
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QBrush(Qt::white, Qt::SolidPattern), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    painter.drawLine(left, top, right, top);
    painter.drawLine(right, top, right, bottom);
    painter.drawLine(right, bottom, left, bottom);
    painter.drawLine(left, bottom, left, top);
    painter.end();

    overlay->move(left, top);
    overlay->resize(width + 2, height + 2);
    overlay->setPicture(picture);
    // Without a compositing window manager a translucent window shows black;
    // the mask keeps everything but the outline see-through everywhere.
    const QRect outer(0, 0, width + 2, height + 2);
    overlay->setMask(QRegion(outer).subtracted(QRegion(outer.adjusted(3, 3, -3, -3))));
    overlay->show();
}

QLabel *SelectionOverlay::label() const
{
    return overlay;
}
