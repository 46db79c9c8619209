#pragma once

#include "view/tools/maptool.h"

#include <QPoint>

class MapView;

// Middle-button panning, one cell per axis and event at most; the content
// follows the pointer. The Pencil and Select tools hand it their middle-button events.
class PanTool : public MapTool
{
public:
    explicit PanTool(MapView &view) : view(view) {}

    void handle(QEvent *event, const ToolPoint &) override;
    // Whether the event was a middle-button one (and so taken).
    bool takes(QEvent *event);

private:
    void pan(const QMouseEvent *event);

    MapView &view;
    // Where the last step (or the last release) left the pointer; the first step
    // of a drag is measured from there, not from the press.
    QPoint lastPanPos;
};
