#include "view/sectorbutton.h"

#include <QMouseEvent>

SectorButton::SectorButton(QWidget *parent) : QPushButton(parent)
{
}

void SectorButton::mousePressEvent(QMouseEvent *event)
{
    draggedAway = false;
    if (event->modifiers() & Qt::AltModifier) {
        event->ignore();
        return;
    }
    QPushButton::mousePressEvent(event);
}

// The base class takes the move that leaves the button to draw itself released,
// so the Pencil would never see the first cell of the drag.
void SectorButton::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton)) {
        QPushButton::mouseMoveEvent(event);
        return;
    }
    if (!draggedAway && !rect().contains(event->pos())) {
        draggedAway = true;
        setDown(false);
    }
    if (draggedAway)
        event->ignore();
    else
        QPushButton::mouseMoveEvent(event);
}

void SectorButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (draggedAway && event->button() == Qt::LeftButton)
        setDown(false);
    QPushButton::mouseReleaseEvent(event);
    draggedAway = false;
}
