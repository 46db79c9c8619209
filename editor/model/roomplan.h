#pragma once

#include "model/mapchange.h"

#include <QPoint>
#include <QString>

class MapModel;

// What one drag of the Room tool writes, prepared as a single change that
// MapModel::apply makes as one edit (one undo step), as a paste is.
struct RoomPlan
{
    struct Textures
    {
        TextureEntry wall;
        TextureEntry floor;
        TextureEntry ceil;
    };

    // Empty when refused or when every cell already is as the room makes it.
    MapChange change;
    // Empty, or why nothing is drawn (ShapeCells::refusalFor).
    QString refusal;
    // Cells of the room (outline and inside) left of column 0 or above row 0.
    qint64 leftOut = 0;
    // Walls inside the room left standing, and doors on its outline kept.
    int wallsInside = 0;
    int doorsOnOutline = 0;
};

// The room between two opposite corner cells:
// - its outline gets a wall (Wall layer), except where a door stands, so that
//   a doorway stays open;
// - every cell inside the outline gets a floor and a ceiling (Floor and Ceil);
// - whatever those layers held on a cell it writes is replaced: the cell keeps
//   its sector and place and takes the new texture, the layer's first subtype
//   and plain light values, as a painted cell has; a cell that already is so
//   is not in the change;
// - a wall inside the room is left as it is, for the designer to keep or erase;
// - a layer whose texture is empty (its gallery has none) is not written, so
//   no cell is made without an image;
// - cells left of column 0 or above row 0 are left out and counted.
// Plan and apply at once: the change holds the cells as the map has them now.
RoomPlan roomPlan(const MapModel &model, const QPoint &a, const QPoint &b, const RoomPlan::Textures &textures);
