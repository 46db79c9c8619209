#include "view/sectorbutton.h"

#include "view/highdpi.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include <utility>

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

bool SectorButton::atRest() const
{
    return isFlat() && !isDown() && !isChecked() && !hasFocus() && isEnabled() && text().isEmpty() && !menu()
        && !isDefault() && !autoDefault() && layoutDirection() == Qt::LeftToRight && !icon().isNull()
        && style()->inherits("QFusionStyle");
}

// At rest the icon goes exactly where the style puts it: centred in the button
// less its frame, with the same integer rounding.
void SectorButton::drawFace(QPainter &painter, const QPoint &at) const
{
    const QPixmap face = HighDpi::iconPixmap(icon(), iconSize(), this, painter);
    const QSize faceSize = (QSizeF(face.size()) / face.devicePixelRatio()).toSize();
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const QRect inside = rect().adjusted(frame, frame, -frame, -frame);
    painter.drawPixmap(QRect(at.x() + inside.x() + (inside.width() - faceSize.width()) / 2,
                             at.y() + inside.y() + (inside.height() - faceSize.height()) / 2, faceSize.width(),
                             faceSize.height()),
                       face);
}

// Thousands of cells are drawn at a time (a zoom, a selection, a layer switch),
// and the style's whole button path costs several times the icon itself.
void SectorButton::paintEvent(QPaintEvent *event)
{
    if (std::exchange(drawnByHolder, false))
        return;
    if (!atRest()) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFace(painter, QPoint());
}
