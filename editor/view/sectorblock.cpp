#include "view/sectorblock.h"

#include "view/sectorbutton.h"

#include <QPaintEvent>
#include <QPainter>
#include <QVector>

#include <algorithm>
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

// A painter per button cost more than the icons it drew: a pan or a selection
// redraws hundreds of cells. The block draws the icons of its buttons at rest
// in one pass, in stacking order, just before Qt sends each of them its own
// paint event. A button that is not at rest (pressed) draws itself, and so
// does every button above it that overlaps it, so that the stacking holds.
void SectorBlock::paintEvent(QPaintEvent *event)
{
    std::optional<QPainter> painter;
    QVector<QRect> drawnByThemselves;
    const auto overlapsOneOfThose = [&](const QRect &place) {
        return std::any_of(drawnByThemselves.cbegin(), drawnByThemselves.cend(),
                           [&](const QRect &other) { return other.intersects(place); });
    };
    for (QObject *child : children()) {
        auto *button = qobject_cast<SectorButton *>(child);
        if (!button || button->isHidden() || !event->region().intersects(button->geometry()))
            continue;
        const QRect place = button->geometry();
        const bool faceOnly = button->atRest() && !button->graphicsEffect() && !overlapsOneOfThose(place);
        button->setDrawnByHolder(faceOnly);
        if (!faceOnly) {
            drawnByThemselves.append(place);
            continue;
        }
        if (!painter)
            painter.emplace(this);
        button->drawFace(*painter, place.topLeft());
    }
}
