#include "view/sectorbutton.h"

#include "view/highdpi.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

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

// Flat, released, unchecked, without focus, text or menu, in the default style:
// then the style draws nothing but the icon.
bool SectorButton::atRest() const
{
    return isFlat() && !isDown() && !isChecked() && !hasFocus() && isEnabled() && text().isEmpty() && !menu()
        && !isDefault() && !autoDefault() && layoutDirection() == Qt::LeftToRight && !icon().isNull()
        && style()->inherits("QFusionStyle");
}

// Thousands of cells are drawn at a time (a zoom, a selection, a layer switch),
// and the style's whole button path costs several times the icon itself. At
// rest the icon is drawn here exactly where the style puts it: centred in the
// button less its frame, with the same integer rounding.
void SectorButton::paintEvent(QPaintEvent *event)
{
    if (!atRest()) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QPixmap face = HighDpi::iconPixmap(icon(), iconSize(), this, painter);
    const QSize faceSize = (QSizeF(face.size()) / face.devicePixelRatio()).toSize();
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const QRect inside = rect().adjusted(frame, frame, -frame, -frame);
    painter.drawPixmap(QRect(inside.x() + (inside.width() - faceSize.width()) / 2,
                             inside.y() + (inside.height() - faceSize.height()) / 2, faceSize.width(),
                             faceSize.height()),
                       face);
}
