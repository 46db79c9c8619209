#include "check/reachability.h"

Reachability::Reachability(const LevelGrid &grid, int start, quint8 assumedKeys, int openedDoor)
    : grid(grid), seen(grid.cellCount(), Unseen), held(assumedKeys), openedDoor(openedDoor)
{
    queue.reserve(grid.cellCount() / 4 + 16);
    seen[start] = Reached;
    queue.append(start);
    int neighbours[4];
    for (int head = 0; head < queue.size(); ++head) {
        const int cell = queue.at(head);
        if (grid.has(cell, LevelGrid::Key))
            pickUpKey(grid.keyColour(cell));
        const int count = grid.neighbours(cell, neighbours);
        for (int i = 0; i < count; ++i)
            visit(neighbours[i]);
    }
}

void Reachability::visit(int cell)
{
    if (seen[cell] != Unseen || grid.blocks(cell))
        return;
    if (grid.has(cell, LevelGrid::KeyDoor) && !heldKey(grid.doorColour(cell)) && cell != openedDoor) {
        seen[cell] = Parked;
        parked[grid.doorColour(cell)].append(cell);
        parkedOrder.append(cell);
        return;
    }
    seen[cell] = Reached;
    queue.append(cell);
}

void Reachability::pickUpKey(int colour)
{
    if (heldKey(colour))
        return;
    held |= quint8(1u << colour);
    for (int door : qAsConst(parked[colour])) {
        seen[door] = Reached;
        queue.append(door);
    }
    parked[colour].clear();
}

QVector<int> Reachability::lockedDoors() const
{
    QVector<int> locked;
    for (int door : parkedOrder) {
        if (seen[door] == Parked)
            locked.append(door);
    }
    return locked;
}
