#include "view/sectorblock.h"

#include "view/sectorbutton.h"

#include <QPaintEvent>
#include <QPainter>

#include <optional>
#include <utility>

SectorBlock::SectorBlock(QWidget *canvas) : QWidget(canvas)
{
    setAttribute(Qt::WA_NoSystemBackground);
    // Hover moves over a cell reach the map through it.
    setMouseTracking(true);
}

int SectorBlock::dropSpares()
{
    const int count = spares.size();
    qDeleteAll(std::exchange(spares, {}));
    return count;
}

// The block draws all its buttons in one pass, in stacking order: a painter
// per button cost more than the icons it drew, and Qt's own pass over each
// cell widget cost more again. A button at rest is its icon; one pressed or
// disabled is drawn by the style. A button whose updates are on (one given an
// effect) draws itself.
void SectorBlock::paintEvent(QPaintEvent *event)
{
    std::optional<QPainter> painter;
    for (QObject *child : children()) {
        auto *button = qobject_cast<SectorButton *>(child);
        if (!button || button->isHidden() || button->updatesEnabled())
            continue;
        const QRect place = button->geometry();
        if (!event->region().intersects(place))
            continue;
        if (!painter)
            painter.emplace(this);
        button->draw(*painter, place.topLeft());
    }
}
