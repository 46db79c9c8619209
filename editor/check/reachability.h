#pragma once

#include "check/levelgrid.h"

#include <QVector>

#include <vector>

// Where the player can walk from a start cell: 4-neighbour moves over cells
// that do not block, through doors, and through a key door once a key of its
// colour lies on a cell reached before. Keys are kept once picked up, so the
// search over (cell, keys held) reduces to one flood that parks each key door
// until its key turns up; a key behind its own door is never picked up.
class Reachability
{
public:
    // assumedKeys: bit c set pretends the key of colour c is held from the start;
    // openedDoor: a key door that opens without its key, -1 for none.
    Reachability(const LevelGrid &grid, int start, quint8 assumedKeys = 0, int openedDoor = -1);

    bool reached(int cell) const { return seen[size_t(cell)] == Reached; }
    bool heldKey(int colour) const { return held & (1u << colour); }
    quint8 heldKeys() const { return held; }
    // Key doors the player stood before but could never open, in the order met.
    QVector<int> lockedDoors() const;

private:
    enum Mark : quint8 { Unseen, Parked, Reached };

    void visit(int cell);
    void pickUpKey(int colour);

    const LevelGrid &grid;
    // Plain vectors: the flood touches every cell four times on big maps.
    std::vector<quint8> seen;
    std::vector<int> queue;
    QVector<int> parked[4];
    QVector<int> parkedOrder;
    quint8 held;
    int openedDoor;
};
