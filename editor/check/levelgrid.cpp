#include "check/levelgrid.h"

#include <algorithm>
#include <utility>

namespace {

// Room for the largest extent a map file may have (4096 in each direction)
// with some to spare; beyond that a dense grid would cost too much memory.
const qint64 maxCells = qint64(1) << 25;
// Largest coordinate looked up through a table rather than a search.
const qint32 tableLimit = 1 << 16;

} // namespace

LevelGrid::Axis::Axis(QVector<qint32> coordinates) : used(std::move(coordinates))
{
    const qint32 largest = used.isEmpty() ? 0 : *std::max_element(used.begin(), used.end());
    if (largest < tableLimit) {
        // Counting instead of sorting: the coordinates of every cell of the map.
        lineTable.fill(-1, largest + 1);
        for (qint32 coordinate : std::as_const(used))
            lineTable[coordinate] = 0;
        used.clear();
        for (qint32 coordinate = 0; coordinate <= largest; ++coordinate) {
            if (lineTable.at(coordinate) == 0)
                used.append(coordinate);
        }
    } else {
        std::sort(used.begin(), used.end());
        used.erase(std::unique(used.begin(), used.end()), used.end());
    }
    qint64 previous = -1;
    for (qint32 coordinate : std::as_const(used)) {
        if (coordinate > previous + 1)
            firsts.append(qint32(previous + 1)); // the folded empty run before it
        usedLines.append(firsts.size());
        if (!lineTable.isEmpty())
            lineTable[coordinate] = firsts.size();
        firsts.append(coordinate);
        previous = coordinate;
    }
    if (firsts.isEmpty())
        firsts.append(0);
}

int LevelGrid::Axis::lineOf(qint32 coordinate) const
{
    if (!lineTable.isEmpty())
        return lineTable.at(coordinate);
    const auto found = std::lower_bound(used.begin(), used.end(), coordinate);
    return usedLines.at(int(found - used.begin()));
}

qint32 LevelGrid::Axis::last(int line) const
{
    return line + 1 < firsts.size() ? firsts.at(line + 1) - 1 : firsts.at(line);
}

LevelGrid::LevelGrid(const Axis &columns, const Axis &rows)
    : columns(columns), rows(rows), flags_(cellCount(), 0)
{
}

bool LevelGrid::fits(const Axis &columns, const Axis &rows)
{
    return qint64(columns.size()) * rows.size() <= maxCells;
}

int LevelGrid::neighbours(int cell, int out[4]) const
{
    const int x = xOf(cell);
    const int y = yOf(cell);
    int count = 0;
    if (x > 0)
        out[count++] = cell - 1;
    if (x + 1 < width())
        out[count++] = cell + 1;
    if (y > 0)
        out[count++] = cell - width();
    if (y + 1 < height())
        out[count++] = cell + width();
    return count;
}
