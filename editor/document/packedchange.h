#pragma once

#include "model/mapchange.h"

#include <QByteArray>
#include <QVector>

// A MapChange as the history keeps it. A step's cells mostly go between a few
// states (one texture painted over another, a layer cleared), yet a record per
// cell held two whole states: a thousand steps of large edits could take
// gigabytes. Here each distinct state and layer name is stored once, and a cell
// is its place and the indexes of what it was and became.
class PackedChange
{
public:
    explicit PackedChange(const MapChange &change);

    MapChange unpacked() const;
    int size() const { return cells.size(); }
    // How many distinct states the change holds.
    int stateCount() const { return states.size(); }

private:
    struct Cell
    {
        qint32 mapX;
        qint32 mapY;
        qint32 position;
        qint32 before; // index into states, -1 for an empty cell
        qint32 after;
        qint32 layer; // index into layers
    };

    QVector<Cell> cells;
    QVector<SectorState> states;
    QVector<QByteArray> layers;
};
