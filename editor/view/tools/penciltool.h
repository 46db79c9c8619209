#pragma once

#include "view/tools/maptool.h"

class MapView;
class PanTool;

// Left paints the current texture into empty cells, right erases, middle pans.
// Clicks on existing sectors reach their buttons, not this tool.
class PencilTool : public MapTool
{
public:
    PencilTool(MapView &view, PanTool &pan) : view(view), panTool(pan) {}

    void handle(QEvent *event) override;
    void reset() override { endStroke(); }

private:
    void placeUnderCursor();
    void eraseUnderCursor();
    void endStroke();

    MapView &view;
    PanTool &panTool;
    bool stroking = false;
};
