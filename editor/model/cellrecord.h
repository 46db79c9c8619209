#pragma once

#include "format/mapformat.h"
#include "model/mapchange.h"

#include <QtGlobal>

class Sector;

// One cell as plain values: where it lies and what it holds. The one place
// that reads a sector into values; the writer, the clipboard, the preview and
// the level check all start from it.
struct CellRecord
{
    qint32 mapX = 0;
    qint32 mapY = 0;
    SectorState state;

    static CellRecord of(const Sector *sector);
    // As the map text names it.
    MapFormat::Cell formatCell() const;
};
