#include "mapinput.h"

#include "check/levelvocabulary.h"
#include "check/parsedsnapshot.h"
#include "check/problemlist.h"
#include "format/layernames.h"
#include "format/maplimits.h"
#include "format/maptextfile.h"

#include <QFileInfo>

#include <algorithm>
#include <utility>

bool MapInput::read(const QString &fileName, QString *failure)
{
    name = fileName;
    QByteArray text;
    QString error;
    switch (MapTextFile::read(fileName, &text, &error)) {
    case MapTextFile::Outcome::Missing:
        *failure = QStringLiteral("no such file");
        return false;
    case MapTextFile::Outcome::NotRegular:
        *failure = QStringLiteral("not a regular file");
        return false;
    case MapTextFile::Outcome::TooLarge:
        *failure = QStringLiteral("the file is larger than %1, the largest map file the editor opens")
                       .arg(MapLimits::fileBytesText());
        return false;
    case MapTextFile::Outcome::Unreadable:
    case MapTextFile::Outcome::Cancelled: // no progress is asked for, so never cancelled
        *failure = error;
        return false;
    case MapTextFile::Outcome::Read:
        break;
    }
    const QFileInfo info(fileName);
    mapFolder = info.absolutePath();
    map = MapFormat::parse(text, mapFolder.toUtf8());
    if (!map.sawDefinitions) {
        *failure = QStringLiteral("no \"#Definitions\" section, so this is not a map file");
        return false;
    }
    QList<LevelProblem> leftOut;
    level = ParsedSnapshot::from(map, layerOrder(), &leftOut,
                                 [this](const MapDefinition &definition) { return texture(definition); });
    ProblemList lines;
    for (const LevelProblem &problem : std::as_const(leftOut))
        lines.add(problem);
    leftOutCells = lines.take();
    int cells = 0;
    for (const LevelLayer &layer : std::as_const(level.layers)) {
        cells += layer.cells.size();
        for (const LevelCell &cell : layer.cells) {
            width = std::max(width, cell.mapX + 1);
            height = std::max(height, cell.mapY + 1);
        }
    }
    if (cells > MapLimits::cells) {
        *failure = QStringLiteral("the map has %1 filled cells; the editor opens at most %2")
                       .arg(cells)
                       .arg(MapLimits::cellsText());
        return false;
    }
    // The grid as the file holds it, as far as the editor holds it.
    for (const MapFormat::Grid &grid : std::as_const(map.grids)) {
        height = std::max(height, int(std::min<qsizetype>(grid.rows.size(), MapLimits::extent)));
        for (const QList<QByteArray> &row : grid.rows) {
            width = std::max(width, int(std::min<qsizetype>(row.size(), MapLimits::extent)));
            leftOutTotal += int(std::count_if(row.begin(), row.end(), [](const QByteArray &v) { return v != "0"; }));
        }
    }
    leftOutTotal -= cells;
    for (const MapFormat::Duplicate &duplicate : std::as_const(map.duplicateSections))
        leftOutTotal += duplicate.filledCells;
    return true;
}

TexturePath::Resolved MapInput::texture(const MapDefinition &definition) const
{
    auto known = textures.constFind(definition.attributes);
    if (known == textures.constEnd())
        known = textures.insert(definition.attributes, TexturePath::resolve(mapFolder, definition.attributes));
    return *known;
}
