#include "model/shapecells.h"

#include "format/maplimits.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

qint64 span(int a, int b)
{
    return std::abs(qint64(b) - a) + 1;
}

// Cells of the rectangle from (left, top) to (right, bottom), all included,
// that lie at `lowest` or beyond on both axes; 0 when there are none.
qint64 countWithin(qint64 left, qint64 top, qint64 right, qint64 bottom, int lowest)
{
    const qint64 width = right - std::max<qint64>(left, lowest) + 1;
    const qint64 height = bottom - std::max<qint64>(top, lowest) + 1;
    return width > 0 && height > 0 ? width * height : 0;
}

qint64 rectangleCount(const QPoint &a, const QPoint &b, bool filled, int lowest)
{
    const qint64 left = std::min(a.x(), b.x());
    const qint64 right = std::max(a.x(), b.x());
    const qint64 top = std::min(a.y(), b.y());
    const qint64 bottom = std::max(a.y(), b.y());
    const qint64 all = countWithin(left, top, right, bottom, lowest);
    return filled ? all : all - countWithin(left + 1, top + 1, right - 1, bottom - 1, lowest);
}

// Row by row, leaving out every cell left of or above `lowest`.
void appendRectangle(QList<QPoint> &cells, const QPoint &a, const QPoint &b, bool filled, int lowest)
{
    const int left = std::min(a.x(), b.x());
    const int right = std::max(a.x(), b.x());
    const int top = std::min(a.y(), b.y());
    const int bottom = std::max(a.y(), b.y());
    for (int y = std::max(top, lowest); y <= bottom; ++y) {
        if (filled || y == top || y == bottom) {
            for (int x = std::max(left, lowest); x <= right; ++x)
                cells.append(QPoint(x, y));
            continue;
        }
        if (left >= lowest)
            cells.append(QPoint(left, y));
        if (right != left && right >= lowest)
            cells.append(QPoint(right, y));
    }
}

} // namespace

QList<QPoint> lineCells(const QPoint &from, const QPoint &to)
{
    const qint64 dx = span(from.x(), to.x()) - 1;
    const qint64 dy = span(from.y(), to.y()) - 1;
    const int sx = to.x() < from.x() ? -1 : 1;
    const int sy = to.y() < from.y() ? -1 : 1;
    QList<QPoint> cells;
    cells.reserve(int(dx + dy + 1));
    QPoint at = from;
    cells.append(at);
    // After ix steps across and iy down, the segment leaves the column at
    // t = (ix + 1/2) / dx and the row at t = (iy + 1/2) / dy: the earlier
    // crossing is the next step. Compared without division.
    for (qint64 ix = 0, iy = 0; ix < dx || iy < dy;) {
        const qint64 acrossAt = (2 * ix + 1) * dy;
        const qint64 downAt = (2 * iy + 1) * dx;
        // Through a corner: the upper cell, whichever way the line is drawn.
        const bool across = acrossAt < downAt || (acrossAt == downAt && sy > 0);
        if (across) {
            at.rx() += sx;
            ++ix;
        } else {
            at.ry() += sy;
            ++iy;
        }
        cells.append(at);
    }
    return cells;
}

QList<QPoint> rectangleCells(const QPoint &a, const QPoint &b, bool filled)
{
    QList<QPoint> cells;
    appendRectangle(cells, a, b, filled, std::numeric_limits<int>::min());
    return cells;
}

qint64 ShapeCells::countOnMap(const QPoint &a, const QPoint &b, bool filled)
{
    return rectangleCount(a, b, filled, 0);
}

ShapeCells::ShapeCells(Form form, const QPoint &from, const QPoint &to)
    : start(from), end(to)
{
    if (form == Form::Line) {
        // No line within the map's extent comes near the cell limit.
        const qint64 all = span(from.x(), to.x()) + span(from.y(), to.y()) - 1;
        reason = refusalFor(from, to, all);
        if (!reason.isEmpty())
            return;
        const QList<QPoint> line = lineCells(from, to);
        written.reserve(line.size());
        for (const QPoint &cell : line) {
            if (cell.x() >= 0 && cell.y() >= 0)
                written.append(cell);
        }
        outside = all - written.size();
        return;
    }
    const bool filled = form == Form::Filled;
    const qint64 onMap = countOnMap(from, to, filled);
    reason = refusalFor(from, to, onMap);
    if (!reason.isEmpty())
        return;
    written.reserve(int(onMap));
    appendRectangle(written, from, to, filled, 0);
    outside = rectangleCount(from, to, filled, std::numeric_limits<int>::min()) - written.size();
}

QString ShapeCells::sizeText(const QPoint &a, const QPoint &b)
{
    return QStringLiteral("%1 x %2").arg(span(a.x(), b.x())).arg(span(a.y(), b.y()));
}

QString ShapeCells::refusalFor(const QPoint &a, const QPoint &b, qint64 cells)
{
    const qint64 width = span(a.x(), b.x());
    const qint64 height = span(a.y(), b.y());
    if (width > MapLimits::extent || height > MapLimits::extent)
        return QStringLiteral("A shape of %1 x %2 cells is larger than the largest map the game reads (%3).")
            .arg(MapLimits::count(width), MapLimits::count(height), MapLimits::extentText());
    const int right = std::max(a.x(), b.x());
    const int bottom = std::max(a.y(), b.y());
    if (right >= MapLimits::extent || bottom >= MapLimits::extent)
        return QStringLiteral("The shape reaches Map X %1, Map Y %2, beyond the largest map the game reads (%3).")
            .arg(right)
            .arg(bottom)
            .arg(MapLimits::extentText());
    if (cells > MapLimits::cells)
        return QStringLiteral("The shape would fill %1 cells, more than the %2 a map may hold.")
            .arg(MapLimits::count(cells), MapLimits::cellsText());
    return QString();
}
