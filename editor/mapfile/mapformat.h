#pragma once

#include "mapfile/mapdefinition.h"
#include "model/sectorlighting.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QtGlobal>

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

    struct Written
    {
        QByteArray text;
        // The definition lines in file order, with the identifier that was
        // written; texturePath is the image to copy, lighting stays at its defaults.
        QList<MapDefinition> definitions;
    };

    struct Grid
    {
        QByteArray name;
        QList<QList<QByteArray>> rows;
    };

    struct Parsed
    {
        // In the order the sections first appear; the first grid of a name wins.
        QList<Grid> grids;
        // Keyed by the exact text of the first field.
        QHash<QByteArray, MapDefinition> definitions;
        // False for text that is not a map file at all.
        bool sawDefinitions = false;
    };

    // mapName is the map file's name without folder and without its final
    // ".map"; the definition lines name the texture copies beside the map with it.
    static Written write(const QList<Layer> &layers, const QByteArray &mapName);

    // mapFolder is the folder holding the map file; texture paths are resolved
    // against it.
    static Parsed parse(const QByteArray &text, const QByteArray &mapFolder);
    static QList<QList<QByteArray>> parseGrid(const QByteArray &body);
    static QHash<QByteArray, MapDefinition> parseDefinitions(const QByteArray &body,
                                                             const QByteArray &mapFolder);

    // Six significant digits, like QString::number(value, 'g', 6).
    static QByteArray formatBlinkDelay(double value);

    static const char *const lampImage;
};
