#pragma once

#include "view/tools/toolcontext.h"

#include <memory>

class FloodFillTool;
class MapTool;
class MapView;
class PanTool;
class PencilTool;
class SelectTool;
class ShapeTool;
class StampTool;
class QWidget;

// Every mouse tool of the map, made once, and which of them the editing state
// (and a stamp that follows the pointer) makes the one in use.
class ToolBox
{
public:
    ToolBox(MapView &view, const ToolContext &context, QWidget *window);
    ~ToolBox();

    // The tool that gets the map's events now.
    MapTool *active() const;
    // The Line, Rectangle or Room tool when it is the one in use, else null.
    ShapeTool *shape() const;

    PencilTool &pencil() const { return *pencilTool; }
    SelectTool &select() const { return *selectTool; }
    StampTool &stamp() const { return *stampTool; }
    ShapeTool &rectangle() const { return *rectangleTool; }

    // Forgets every drag in progress (a lost release, the window left).
    void endGestures();
    // Escape: drops a selection drag and a shape drag.
    void cancel();

private:
    const ToolContext context;
    std::unique_ptr<PanTool> panTool;
    std::unique_ptr<PencilTool> pencilTool;
    std::unique_ptr<FloodFillTool> floodFillTool;
    std::unique_ptr<SelectTool> selectTool;
    std::unique_ptr<StampTool> stampTool;
    std::unique_ptr<ShapeTool> lineTool;
    std::unique_ptr<ShapeTool> rectangleTool;
    std::unique_ptr<ShapeTool> roomTool;
};
