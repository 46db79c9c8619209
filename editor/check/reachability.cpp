#include "check/reachability.h"

#include <utility>

Reachability::Reachability(const LevelGrid &grid, int start, quint8 assumedKeys, int openedDoor)
    : grid(grid), seen(size_t(grid.cellCount()), Unseen), held(assumedKeys), openedDoor(openedDoor)
{
    queue.reserve(size_t(grid.cellCount()) / 4 + 16);
    seen[size_t(start)] = Reached;
    queue.push_back(start);
    int neighbours[4];
    for (size_t head = 0; head < queue.size(); ++head) {
        const int cell = queue[head];
        if (grid.has(cell, LevelGrid::Key))
            pickUpKey(grid.keyColour(cell));
        const int count = grid.neighbours(cell, neighbours);
        for (int i = 0; i < count; ++i)
            visit(neighbours[i]);
    }
}

void Reachability::visit(int cell)
{
    if (seen[size_t(cell)] != Unseen || grid.blocks(cell))
        return;
    if (grid.has(cell, LevelGrid::KeyDoor) && !heldKey(grid.doorColour(cell)) && cell != openedDoor) {
        seen[size_t(cell)] = Parked;
        parked[grid.doorColour(cell)].append(cell);
        parkedOrder.append(cell);
        return;
    }
    seen[size_t(cell)] = Reached;
    queue.push_back(cell);
}

void Reachability::pickUpKey(int colour)
{
    if (heldKey(colour))
        return;
    held |= quint8(1u << colour);
    for (int door : std::as_const(parked[colour])) {
        seen[size_t(door)] = Reached;
        queue.push_back(door);
    }
    parked[colour].clear();
}

QVector<int> Reachability::lockedDoors() const
{
    QVector<int> locked;
    for (int door : parkedOrder) {
        if (seen[size_t(door)] == Parked)
            locked.append(door);
    }
    return locked;
}
