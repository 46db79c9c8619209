#pragma once

#include "check/levelproblem.h"
#include "check/levelsnapshot.h"
#include "format/mapformat.h"
#include "format/texturepath.h"

#include <QHash>

#include <QList>
#include <QString>

// One map file read for the command-line tool under the editor's rules: the
// same limits (MapLimits) and texture path rules (TexturePath), the same cells
// left out. Holds the reader's result and the level snapshot.
class MapInput
{
public:
    // Reads and parses fileName; on failure returns false and says why.
    bool read(const QString &fileName, QString *failure);

    const QString &fileName() const { return name; }
    // Absolute folder of the map file; texture paths are relative to it.
    const QString &folder() const { return mapFolder; }
    const MapFormat::Parsed &parsed() const { return map; }
    const LevelSnapshot &snapshot() const { return level; }
    // Cells the editor leaves out on loading: values without a definition
    // line, and cells beyond the largest map it opens; a value's cells share
    // one problem (ProblemList).
    const QList<LevelProblem> &leftOut() const { return leftOutCells; }
    int leftOutCount() const { return leftOutTotal; }
    // Columns and rows of the grid the editor holds (at least 1 x 1).
    int columns() const { return width; }
    int rows() const { return height; }
    // Where a definition's texture may be read from; only an Accepted path is
    // ever opened.
    TexturePath::Resolved texture(const MapDefinition &definition) const;

private:
    QString name;
    QString mapFolder;
    MapFormat::Parsed map;
    LevelSnapshot level;
    QList<LevelProblem> leftOutCells;
    mutable QHash<QByteArray, TexturePath::Resolved> textures;
    int leftOutTotal = 0;
    int width = 1;
    int height = 1;
};
