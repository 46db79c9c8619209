// The Line, Rectangle and Room tools: their radio buttons and keys.
#include "view/mapview.h"

#include "ui_tessel.h"

#include "view/tools/cellshapetool.h"
#include "view/tools/roomtool.h"

#include <QRadioButton>

void MapView::makeShapeTools()
{
    lineTool = std::make_unique<CellShapeTool>(*this, *panTool, CellShapeTool::Shape::Line);
    rectangleTool = std::make_unique<CellShapeTool>(*this, *panTool, CellShapeTool::Shape::Rectangle);
    roomTool = std::make_unique<RoomTool>(*this, *panTool);
}

// The buttons' own shortcuts (L, R, O) click them, as E and S click theirs.
void MapView::wireShapeRadios(const Ui::TesselClass &form)
{
    radioLine = form.radioLine;
    connect(radioLine, &QRadioButton::clicked, this, &MapView::SwitchToLineEvent);
    radioRectangle = form.radioRectangle;
    connect(radioRectangle, &QRadioButton::clicked, this, &MapView::SwitchToRectangleEvent);
    radioRoom = form.radioRoom;
    connect(radioRoom, &QRadioButton::clicked, this, &MapView::SwitchToRoomEvent);
}

void MapView::enableShapeRadios(bool enabled)
{
    for (QRadioButton *radio : {radioLine.data(), radioRectangle.data(), radioRoom.data()}) {
        if (radio)
            radio->setEnabled(enabled);
    }
}

ShapeTool *MapView::shapeTool() const
{
    if (editing->mode() != EditingState::Mode::Paint)
        return nullptr;
    switch (editing->paintTool()) {
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

void MapView::SwitchToLineEvent()
{
    useShapeTool(EditingState::PaintTool::Line, radioLine);
}

void MapView::SwitchToRectangleEvent()
{
    // Chosen again (R while it is the tool): the other form.
    if (editing->paintTool() == EditingState::PaintTool::Rectangle) {
        rectangleTool->reset();
        editing->setRectangleFilled(!editing->rectangleFilled());
    }
    useShapeTool(EditingState::PaintTool::Rectangle, radioRectangle);
}

void MapView::SwitchToRoomEvent()
{
    useShapeTool(EditingState::PaintTool::Room, radioRoom);
}

void MapView::useShapeTool(EditingState::PaintTool tool, QRadioButton *radio)
{
    if (editing->paintTool() != tool)
        leaveShapeTools();
    editing->setPaintTool(tool);
    toolCursor = QCursor(Qt::CrossCursor);
    if (radio)
        radio->setChecked(true);
    applyClickRule();
    setStatusText(shapeTool()->name());
}

void MapView::leaveShapeTools()
{
    ShapeTool *shape = shapeTool();
    if (!shape)
        return;
    shape->reset();
    if (statusText().startsWith(shape->name()))
        clearStatusText();
}
