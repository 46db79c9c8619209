#pragma once

#include <QByteArray>
#include <QList>
#include <QPoint>

class MapModel;

// The cells a flood fill started at `start` on `layer` reaches: 4-connected
// (right, left, down, up), through empty cells and cells whose texture id is
// the start's, bounded by walls, doors, other textures and row/column 0.
struct FloodRegion
{
    QList<QPoint> cells;  // in visiting order
    qint32 target = 0;    // texture id of the start cell, 0 when it is empty
    bool complete = true; // false when the region reached the limit (cells is then empty)
};

FloodRegion findFloodRegion(const MapModel &model, const QByteArray &layer, const QPoint &start, int limit);
