#pragma once

#include "view/tools/maptool.h"

#include <QPoint>
#include <QRect>

class MapView;
class PanTool;

// Left drag selects the current layer's sectors inside a rectangle of cells,
// right press (or Delete and Backspace) deletes the selection, middle pans,
// Escape drops what is in progress.
class SelectTool : public MapTool
{
public:
    SelectTool(MapView &view, PanTool &pan) : view(view), panTool(pan) {}

    void handle(QEvent *event, const ToolPoint &at) override;
    void reset() override;
    // Escape: ends a drag without selecting and clears the selection.
    void cancel();
    // The one way the selection is deleted, by mouse or by key.
    void deleteSelection();
    // The map cells of the last rectangle dragged (what Copy takes); empty before one.
    QRect area() const { return lastArea; }

private:
    void begin(const ToolPoint &at);
    void finish(const ToolPoint &at);
    bool dragging() const;

    MapView &view;
    PanTool &panTool;
    // Canvas cells of the rectangle's corners; -1 while unset.
    int selStartX = -1;
    int selEndX = -1;
    int selStartY = -1;
    int selEndY = -1;
    // Global pointer positions at the press and the release.
    QPoint selPressPos;
    QPoint selReleasePos;
    QRect lastArea;
};
