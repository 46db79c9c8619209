#pragma once

// The eight layer names, as the combo box, the texture folders and map files spell them.
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
