#pragma once

#include "format/mapdefinition.h"
#include "format/sectorlighting.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QtGlobal>

#include <functional>
#include <utility>
#include <vector>

// The text of a map file in both directions. Works on UTF-8 bytes and plain
// structs only, so that it can be tested on exact text and fuzzed without widgets.
class MapFormat
{
public:
    // One painted cell as the writer sees it.
    struct Cell
    {
        qint32 mapX = 0;
        qint32 mapY = 0;
        qint32 id = 0;
        QByteArray subtype;
        QByteArray textureFileName;
        QByteArray textureFolder;
        SectorLighting lighting;
    };

    // One layer section; cells in the layer's list order (a later cell on the
    // same place wins).
    struct Layer
    {
        QByteArray name;
        QList<Cell> cells;
    };

    // One image to copy beside the map, under the name its lines use.
    struct Copy
    {
        QByteArray source;
        QByteArray copyName;
    };

    struct Written
    {
        // Empty when the text went to a sink.
        QByteArray text;
        // The definition lines in file order, with the identifier that was
        // written; texturePath is the image to copy (empty for a cell that has
        // no source), lighting stays at its defaults.
        QList<MapDefinition> definitions;
        // Every distinct source image, once, with the name of its copy.
        QList<Copy> copies;
        // False when the sink refused a chunk.
        bool complete = true;
    };

    // Receives the text piece by piece; returns false to stop the write.
    using Sink = std::function<bool(const QByteArray &chunk)>;

    // How the copies beside the map are named. `copyFolder` is that folder
    // (absolute, ending in "/") when it exists; its images keep their names.
    // `canTake(source, path)` says whether the file at `path` may hold the copy
    // of `source`: nothing lies there, or the same bytes do. Without it every
    // name is free, and two sources never share one copy.
    struct CopyRules
    {
        QByteArray copyFolder;
        std::function<bool(const QByteArray &source, const QByteArray &path)> canTake;
    };

    // A layer's cell values by position (row * width + column) in row order.
    using Placed = std::vector<std::pair<qint64, qint32>>;

    // Everything a write decides before its first byte: the grid, each layer's
    // values, the definition lines, the copies, and the exact size of the text.
    struct Plan
    {
        struct Section
        {
            QByteArray name;
            Placed values;
        };
        QList<Section> sections;
        qint64 width = 1;
        qint64 height = 1;
        QList<MapDefinition> definitions;
        QList<Copy> copies;
        // Bytes of the text, CR LF line ends included.
        qint64 bytes = 0;
        // Filled places over all layers, as a load counts them.
        qint64 cells = 0;
        // The placed cell that reaches farthest (the larger of its column and
        // row), and its layer; mapX is -1 when nothing is placed.
        Cell farthest{-1, -1, 0, {}, {}, {}, {}};
        QByteArray farthestLayer;
    };

    // Definition lines come in the order the writer meets them, except that
    // lines found in `lineOrder` (a file's lines as read) keep its order and
    // come first: an unchanged map writes its lines as its file had them.
    static Plan plan(const QList<Layer> &layers, const QByteArray &mapName, const CopyRules &rules,
                     const QList<QByteArray> &lineOrder = {});
    // Hands the planned text to `sink`; false when the sink refused a chunk.
    static bool writeText(const Plan &plan, const Sink &sink);

    struct Grid
    {
        QByteArray name;
        QList<QList<QByteArray>> rows;
    };

    // A section whose name came before: it is not read.
    struct Duplicate
    {
        QByteArray name;
        // Its values other than "0".
        int filledCells = 0;
    };

    struct Parsed
    {
        // In the order the sections first appear; the first grid of a name wins.
        QList<Grid> grids;
        // Keyed by the exact text of the first field.
        QHash<QByteArray, MapDefinition> definitions;
        // The same keys in the order of their lines in the file, and those
        // lines as the file has them.
        QList<QByteArray> definitionOrder;
        QList<QByteArray> definitionLines;
        // False for text that is not a map file at all.
        bool sawDefinitions = false;
        // Sections left out because their names could not be written back.
        QList<QByteArray> droppedSections;
        // Later sections of a name already read, in file order.
        QList<Duplicate> duplicateSections;
        // The reader was told to stop; the rest is incomplete.
        bool cancelled = false;
    };

    // Told how many bytes of `total` are done; returns false to stop.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    // mapName is the map file's name without folder and without its final
    // ".map"; the definition lines name the texture copies beside the map with it.
    static Written write(const QList<Layer> &layers, const QByteArray &mapName);
    // The same, handing the text to `sink` row by row instead of holding it.
    // Images already in `copyFolder` (absolute, ending in "/") keep their names;
    // two other images with one file name get distinct copy names.
    static Written write(const QList<Layer> &layers, const QByteArray &mapName,
                         const QByteArray &copyFolder, const Sink &sink);

    // Text that goes back into a file as it is: valid UTF-8 without NUL, ","
    // or a line break.
    static bool isWritable(const QByteArray &text);
    // Invalid UTF-8 replaced by U+FFFD and NUL bytes removed.
    static QByteArray cleaned(const QByteArray &text);

    // mapFolder is the folder holding the map file; texture paths are resolved
    // against it.
    static Parsed parse(const QByteArray &text, const QByteArray &mapFolder, const Progress &progress = {});
    static QList<QList<QByteArray>> parseGrid(const QByteArray &body);
    static QHash<QByteArray, MapDefinition> parseDefinitions(const QByteArray &body,
                                                             const QByteArray &mapFolder);

    // A definition line as the writer writes it, without its line end.
    static QByteArray lineText(const MapDefinition &definition);

    // Six significant digits, like QString::number(value, 'g', 6).
    static QByteArray formatBlinkDelay(double value);

    static const char *const lampImage;

};
