#pragma once

#include "format/sectorlighting.h"
#include "model/textureentry.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <algorithm>
#include <optional>

// What a cell of a layer holds, as far as an edit can change it.
struct SectorState
{
    TextureEntry texture;
    QByteArray subtype;
    SectorLighting lighting;
    QString image;
};

inline bool operator==(const SectorState &a, const SectorState &b)
{
    return a.texture == b.texture && a.subtype == b.subtype && a.lighting == b.lighting && a.image == b.image;
}

inline bool operator!=(const SectorState &a, const SectorState &b) { return !(a == b); }

// One cell before and after an edit; no value means the cell was empty.
struct CellChange
{
    QByteArray layer;
    qint32 mapX = 0;
    qint32 mapY = 0;
    std::optional<SectorState> before;
    std::optional<SectorState> after;
    // The sector's place in its layer's list on the side that holds it (for a
    // removal the place it had, for a new cell the place it took), so that
    // undo and redo give back the list order a save writes; -1 when unknown.
    int position = -1;

    bool changesSomething() const { return before != after; }
};

// What one model operation changed, in the order it changed it: enough to
// revert the operation or to apply it again.
struct MapChange
{
    QList<CellChange> cells;

    // Also a change whose every cell ends as it began (an OK that changed no
    // value): it must not become an undo step nor mark the map unsaved.
    bool isEmpty() const
    {
        return std::none_of(cells.cbegin(), cells.cend(), [](const CellChange &c) { return c.changesSomething(); });
    }
    int size() const { return cells.size(); }
};
