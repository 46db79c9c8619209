#include "view/tools/toolbox.h"

#include "document/editingstate.h"
#include "view/tools/cellshapetool.h"
#include "view/tools/floodfilltool.h"
#include "view/tools/pantool.h"
#include "view/tools/penciltool.h"
#include "view/tools/roomtool.h"
#include "view/tools/selecttool.h"
#include "view/tools/stamptool.h"

ToolBox::ToolBox(MapView &view, const ToolContext &context, QWidget *window) : context(context)
{
    panTool = std::make_unique<PanTool>(view);
    pencilTool = std::make_unique<PencilTool>(context, *panTool);
    floodFillTool = std::make_unique<FloodFillTool>(context);
    selectTool = std::make_unique<SelectTool>(view, *panTool);
    stampTool = std::make_unique<StampTool>(view, *panTool, window);
    lineTool = std::make_unique<CellShapeTool>(view, *panTool, CellShapeTool::Shape::Line);
    rectangleTool = std::make_unique<CellShapeTool>(view, *panTool, CellShapeTool::Shape::Rectangle);
    roomTool = std::make_unique<RoomTool>(view, *panTool);
}

ToolBox::~ToolBox() = default;

MapTool *ToolBox::active() const
{
    if (stampTool->active())
        return stampTool.get();
    if (context.state->mode() == EditingState::Mode::Select)
        return selectTool.get();
    if (context.state->paintTool() == EditingState::PaintTool::Pencil)
        return pencilTool.get();
    if (ShapeTool *tool = shape())
        return tool;
    return floodFillTool.get();
}

ShapeTool *ToolBox::shape() const
{
    if (context.state->mode() != EditingState::Mode::Paint)
        return nullptr;
    switch (context.state->paintTool()) {
    case EditingState::PaintTool::Line:
        return lineTool.get();
    case EditingState::PaintTool::Rectangle:
        return rectangleTool.get();
    case EditingState::PaintTool::Room:
        return roomTool.get();
    default:
        return nullptr;
    }
}

void ToolBox::endGestures()
{
    pencilTool->reset();
    selectTool->reset();
    for (ShapeTool *tool : {lineTool.get(), rectangleTool.get(), roomTool.get()})
        tool->reset();
}

void ToolBox::cancel()
{
    selectTool->cancel();
    if (ShapeTool *tool = shape())
        tool->cancel();
}
