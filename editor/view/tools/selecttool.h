#pragma once

#include "view/tools/maptool.h"

#include <QPoint>
#include <QRect>

class MapView;
class PanTool;

// Left drag selects the current layer's sectors inside a rectangle of cells,
// a double-click every sector of the layer alike to the one under it,
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
    // A selection made without a rectangle (by texture, of a whole layer, by
    // a search) leaves none for Copy.
    void forgetArea() { lastArea = QRect(); }

private:
    void begin(const ToolPoint &at);
    void finish(const ToolPoint &at);
    bool dragging() const;
    static bool isDoubleClick(const QEvent *event);
    void selectAlike(const ToolPoint &at);

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
