#pragma once

#include "check/levelproblem.h"
#include "check/levelsnapshot.h"
#include "format/mapformat.h"
#include "format/texturepath.h"

#include <QHash>
#include <QList>

#include <functional>

// Turns a map file as the reader parsed it into the snapshot the level check
// reads. A cell belongs to the layer of its grid, as in the editor after a load.
class ParsedSnapshot
{
public:
    // Where a definition's image may be read from (TexturePath::resolve
    // against the map's folder).
    using TextureJudge = std::function<TexturePath::Resolved(const MapDefinition &definition)>;

    // order: the known layer names in the editor's order; other grids follow
    // in file order. The cells the editor leaves out on loading are left out
    // (values without a definition line, cells beyond MapLimits::extent, a
    // later section of a name already read) and reported as warnings in
    // leftOut when it is given. With judge, the snapshot tells each cell's
    // image (but a light's, which has none) and how the path rules judge it.
    static LevelSnapshot from(const MapFormat::Parsed &parsed, const QList<QByteArray> &order,
                              QList<LevelProblem> *leftOut = nullptr, const TextureJudge &judge = {});

private:
    ParsedSnapshot(const MapFormat::Parsed &parsed, QList<LevelProblem> *leftOut, const TextureJudge &judge);
    LevelLayer layerOf(const MapFormat::Grid &grid);
    int textureOf(const MapDefinition &definition);

    const MapFormat::Parsed &parsed;
    QList<LevelProblem> *leftOut;
    const TextureJudge &judge;
    LevelSnapshot snapshot;
    // Index in snapshot.textures by the definition's path text.
    QHash<QByteArray, int> textureIndex;
};
