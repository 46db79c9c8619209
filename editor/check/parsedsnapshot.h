#pragma once

#include "check/levelproblem.h"
#include "check/levelsnapshot.h"
#include "format/mapformat.h"

#include <QList>

// Turns a map file as the reader parsed it into the snapshot the level check
// reads. A cell belongs to the layer of its grid, as in the editor after a load.
class ParsedSnapshot
{
public:
    // order: the known layer names in the editor's order; other grids follow
    // in file order. The cells the editor leaves out on loading are left out
    // (values without a definition line, cells beyond MapLimits::extent, a
    // later section of a name already read) and reported as warnings in
    // leftOut when it is given.
    static LevelSnapshot from(const MapFormat::Parsed &parsed, const QList<QByteArray> &order,
                              QList<LevelProblem> *leftOut = nullptr);

private:
    static LevelLayer layerOf(const MapFormat::Parsed &parsed, const MapFormat::Grid &grid,
                              QList<LevelProblem> *leftOut);
};
