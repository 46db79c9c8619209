#pragma once

#include <QByteArray>
#include <QList>

// The eight layer names, as the combo box, the texture folders and map files
// spell them, and the two orders in which they are walked. Every other part
// names a layer through these.
namespace LayerNames {
constexpr char Ceil[] = "Ceil";
constexpr char Floor[] = "Floor";
constexpr char Wall[] = "Wall";
constexpr char Door[] = "Door";
constexpr char Actor[] = "Actor";
constexpr char Sprite[] = "Sprite";
constexpr char Item[] = "Item";
constexpr char Lightmap[] = "Lightmap";
} // namespace LayerNames

// The order in which the editor walks its layers (combo box, display, file
// sections) and in which pictures of the map stack them.
const QList<QByteArray> &layerOrder();
// The order in which the texture folders are scanned and numbered.
const QList<QByteArray> &galleryScanOrder();
