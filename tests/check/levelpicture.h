#pragma once

// A small level drawn as characters, turned into the text of a map file by the
// map writer: the level check's cases, and maps the editor must save back
// unchanged.
#include "format/mapformat.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>

#include <algorithm>

namespace LevelPicture {

inline const QList<QByteArray> editorLayers{"Ceil", "Wall", "Floor", "Door", "Actor", "Sprite", "Item", "Lightmap"};

using Stack = QList<QPair<QByteArray, QByteArray>>; // (layer, subtype) of one picture character

// An open cell gets floor and ceiling unless the character says otherwise.
inline Stack stackOf(char c)
{
    const Stack room{{"Floor", ""}, {"Ceil", ""}};
    const QByteArray colours = "brgy";
    const QList<QByteArray> colourNames{"Blue", "Red", "Green", "Yellow"};
    switch (c) {
    case '#': return {{"Wall", "Solid"}};
    case '.': return room;
    case '~': return {};
    case 'f': return {{"Floor", ""}};
    case 'c': return {{"Ceil", ""}};
    case 'P': return room + Stack{{"Actor", "Player"}};
    case 'E': return room + Stack{{"Item", "LevelEnd"}};
    case 'D': return room + Stack{{"Door", "Solid"}};
    case 'S': return room + Stack{{"Actor", "Soldier"}};
    case 'h': return room + Stack{{"Item", "Healthpack"}};
    case 'o': return room + Stack{{"Sprite", "Solid"}};
    case 'n': return room + Stack{{"Sprite", "No Collision"}};
    case 'X': return {{"Wall", "Solid"}, {"Actor", "Soldier"}};
    case 'I': return {{"Wall", "Solid"}, {"Item", "Healthpack"}};
    case 'O': return {{"Wall", "Solid"}, {"Sprite", "Solid"}};
    case 'N': return {{"Wall", "Solid"}, {"Sprite", "No Collision"}};
    }
    const int key = colours.indexOf(c);
    if (key >= 0)
        return room + Stack{{"Item", colourNames.at(key) + "Key"}};
    const int door = colours.toUpper().indexOf(c);
    if (door >= 0)
        return room + Stack{{"Door", colourNames.at(door) + "KeyDoor"}};
    qFatal("unknown picture character '%c'", c);
    return {};
}

inline QByteArray mapText(const QList<QByteArray> &picture)
{
    QList<MapFormat::Layer> layers;
    for (const QByteArray &name : editorLayers)
        layers.append(MapFormat::Layer{name, {}});
    QHash<QByteArray, qint32> ids;
    for (int y = 0; y < picture.size(); ++y) {
        for (int x = 0; x < picture.at(y).size(); ++x) {
            for (const auto &part : stackOf(picture.at(y).at(x))) {
                const QByteArray key = part.first + '/' + part.second;
                const qint32 id = ids.value(key, 100 + ids.size());
                ids.insert(key, id);
                auto layer = std::find_if(layers.begin(), layers.end(),
                                          [&](const MapFormat::Layer &l) { return l.name == part.first; });
                layer->cells.append(MapFormat::Cell{x, y, id, part.second, "t.png", "textures/", SectorLighting()});
            }
        }
    }
    return MapFormat::write(layers, "case").text;
}

// The picture of a level file: the lines after "---".
inline QList<QByteArray> pictureOf(const QByteArray &levelFile)
{
    QList<QByteArray> picture;
    bool inPicture = false;
    for (const QByteArray &line : levelFile.split('\n')) {
        if (inPicture && !line.isEmpty())
            picture.append(line);
        inPicture = inPicture || line == "---";
    }
    return picture;
}

} // namespace LevelPicture
