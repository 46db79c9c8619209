#include "check/levelgrid.h"

namespace {

// Room for the largest extent a map file may have (4096 in each direction)
// with some to spare; beyond that a dense grid would cost too much memory.
const qint64 maxCells = qint64(1) << 25;

} // namespace

LevelGrid::LevelGrid(qint32 lastX, qint32 lastY)
    : columns(lastX + 1), rows(lastY + 1),
      flags_(cellCount(), 0), doorColours(cellCount(), 0), keyColours(cellCount(), 0)
{
}

bool LevelGrid::fits(qint64 lastX, qint64 lastY)
{
    return lastX >= 0 && lastY >= 0 && (lastX + 1) * (lastY + 1) <= maxCells;
}

bool LevelGrid::onEdge(int cell) const
{
    const int x = xOf(cell);
    const int y = yOf(cell);
    return x == 0 || y == 0 || x == columns - 1 || y == rows - 1;
}

int LevelGrid::neighbours(int cell, int out[4]) const
{
    const int x = xOf(cell);
    const int y = yOf(cell);
    int count = 0;
    if (x > 0)
        out[count++] = cell - 1;
    if (x + 1 < columns)
        out[count++] = cell + 1;
    if (y > 0)
        out[count++] = cell - columns;
    if (y + 1 < rows)
        out[count++] = cell + columns;
    return count;
}
