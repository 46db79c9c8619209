#pragma once

#include <QByteArray>
#include <QList>
#include <QPoint>

class MapView;
class Sector;

// Selections made without a rectangle: cells alike, a whole layer, a search's
// matches, a level check line's cells. Each switches to Select mode.
class SelectionActions
{
public:
    explicit SelectionActions(MapView &view) : view(view) {}

    // Select mode with these sectors of the layer as the selection.
    void selectCells(const QByteArray &layer, const QList<Sector *> &sectors);
    // Every cell of the current layer alike to the one on mapCell (double-click).
    void selectAlikeAt(const QPoint &mapCell);
    // Every cell of the chosen layer (Ctrl+A).
    void selectWholeLayer();

private:
    MapView &view;
};
