#pragma once

#include "model/mapchange.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class MapModel;

// A part of a level as plain data: every filled cell under a rectangle on
// every layer, placed relative to the rectangle's top-left cell. Turning and
// mirroring make new pieces; pasting and cutting are edits that return a
// MapChange like every other model operation.
class MapPiece
{
public:
    struct Cell
    {
        QPoint offset;
        SectorState state;
    };
    struct Layer
    {
        QByteArray name;
        QList<Cell> cells; // in row order
    };

    MapPiece() = default;
    // Cells outside the size are kept; the size only frames turns and mirrors.
    MapPiece(const QSize &size, QList<Layer> layers);

    // The first sector of each cell of `area` (map cells), on every layer.
    static MapPiece copy(const MapModel &model, const QRect &area);

    QSize size() const { return frame; }
    const QList<Layer> &layers() const { return content; }
    int cellCount() const;
    bool isEmpty() const { return cellCount() == 0; }

    MapPiece turnedClockwise() const;
    MapPiece turnedCounterClockwise() const;
    MapPiece mirroredLeftRight() const;
    MapPiece mirroredTopBottom() const;

    // On each layer the piece's cells replace what was there; other cells stay.
    // Cells that would land left of column 0 or above row 0 are left out and
    // counted in `leftOut`. Light values are taken as they are (no emission).
    MapChange pasteInto(MapModel &model, const QPoint &topLeft, int *leftOut = nullptr) const;
    // Removes every sector of `area` on every layer.
    static MapChange removeArea(MapModel &model, const QRect &area);

private:
    template<typename Move>
    MapPiece moved(const QSize &newSize, Move move) const;

    QSize frame;
    QList<Layer> content;
};
