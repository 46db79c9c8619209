#pragma once

#include "check/levelproblem.h"
#include "check/levelsnapshot.h"
#include "mapfile/mapformat.h"

#include <QList>
#include <QString>

// One map file read for the command-line tool: the reader's result, and the
// level snapshot the check and the statistics work on.
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
    // Grid values that have no definition line.
    const QList<LevelProblem> &undefinedValues() const { return undefined; }
    // Columns and rows of the grid the file holds (at least 1 x 1).
    int columns() const { return width; }
    int rows() const { return height; }
    // Whether a texture path read from the file names an image inside the
    // map's folder; the tool never opens anything else.
    bool isInsideFolder(const QString &path) const;

private:
    QString name;
    QString mapFolder;
    MapFormat::Parsed map;
    LevelSnapshot level;
    QList<LevelProblem> undefined;
    int width = 1;
    int height = 1;
};
