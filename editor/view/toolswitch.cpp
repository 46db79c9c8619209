#include "view/toolswitch.h"

#include "ui_tessel.h"

#include "layers/layercontroller.h"
#include "view/highdpi.h"
#include "view/mapview.h"
#include "view/tools/selecttool.h"
#include "view/tools/shapetool.h"
#include "view/tools/stamptool.h"
#include "view/tools/toolbox.h"

#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

ToolSwitch::ToolSwitch(MapView &view, ToolBox &tools, const Ui::TesselClass &form)
    : view(view), tools(tools), editing(*view.editingState()),
      radios{form.radioPaint, form.radioSelect, form.radioPencil, form.radioFloodFill,
             form.radioLine, form.radioRectangle, form.radioRoom},
      editSelection(form.btnEditSelection)
{
    editSelection->setEnabled(false);
}

// The radio buttons write the state through these and mirror it.
void ToolSwitch::pencil()
{
    if (ignoredOutsidePaintMode())
        return;
    leaveShapeTools();
    editing.setPaintTool(EditingState::PaintTool::Pencil);
    toolCursor = cursorFromImage(QStringLiteral("assets/pencil.png"));
    radios.pencil->setChecked(true);
    view.applyClickRule();
}

void ToolSwitch::floodFill()
{
    if (ignoredOutsidePaintMode())
        return;
    leaveShapeTools();
    editing.setPaintTool(EditingState::PaintTool::FloodFill);
    toolCursor = cursorFromImage(QStringLiteral("assets/bucket.png"));
    radios.floodFill->setChecked(true);
    view.applyClickRule();
}

void ToolSwitch::paintMode()
{
    editing.setMode(EditingState::Mode::Paint);
    radios.paint->setChecked(true);
    tools.select().reset();
    tools.stamp().stop();
    view.layerController()->clearSelection();
    editSelection->setEnabled(false);
    enablePaintTools(true);
    pencil();
}

void ToolSwitch::selectMode()
{
    leaveShapeTools();
    editing.setMode(EditingState::Mode::Select);
    radios.select->setChecked(true);
    view.applyClickRule();
    toolCursor = QCursor(Qt::CrossCursor);
    editSelection->setEnabled(true);
    enablePaintTools(false);
}

void ToolSwitch::enablePaintTools(bool enabled)
{
    for (QRadioButton *radio : {radios.pencil.data(), radios.floodFill.data(), radios.line.data(),
                                radios.rectangle.data(), radios.room.data()}) {
        if (radio)
            radio->setEnabled(enabled);
    }
}

QCursor ToolSwitch::cursorFromImage(const QString &path) const
{
    // Drawn for the screen's pixel density. X takes the hot spot in the
    // image's own pixels, under Qt 5 and Qt 6 alike, whatever its pixel ratio.
    const QPixmap image = HighDpi::pixmap(path, view.mapSurface()->devicePixelRatioF());
    return QCursor(image, image.width() / 2, image.height() / 2);
}

void ToolSwitch::line()
{
    useShapeTool(EditingState::PaintTool::Line);
}

void ToolSwitch::rectangle()
{
    useShapeTool(EditingState::PaintTool::Rectangle);
}

void ToolSwitch::room()
{
    useShapeTool(EditingState::PaintTool::Room);
}

void ToolSwitch::useShapeTool(EditingState::PaintTool tool)
{
    if (ignoredOutsidePaintMode())
        return;
    // The rectangle chosen again (R while it is the tool): the other form.
    if (tool == EditingState::PaintTool::Rectangle && editing.paintTool() == tool) {
        tools.rectangle().reset();
        editing.setRectangleFilled(!editing.rectangleFilled());
    }
    if (editing.paintTool() != tool)
        leaveShapeTools();
    editing.setPaintTool(tool);
    toolCursor = QCursor(Qt::CrossCursor);
    if (QRadioButton *radio = radioOf(tool))
        radio->setChecked(true);
    view.applyClickRule();
    view.setStatusText(tools.shape()->name());
}

bool ToolSwitch::ignoredOutsidePaintMode()
{
    if (editing.mode() == EditingState::Mode::Paint)
        return false;
    // A shortcut clicks its button a moment after the key, even if the button
    // was disabled meanwhile: S then O typed quickly. The click has checked the
    // radio; the chosen tool stays, so its radio is checked again.
    if (QRadioButton *chosen = radioOf(editing.paintTool()))
        chosen->setChecked(true);
    return true;
}

QRadioButton *ToolSwitch::radioOf(EditingState::PaintTool tool) const
{
    switch (tool) {
    case EditingState::PaintTool::Pencil:
        return radios.pencil;
    case EditingState::PaintTool::FloodFill:
        return radios.floodFill;
    case EditingState::PaintTool::Line:
        return radios.line;
    case EditingState::PaintTool::Rectangle:
        return radios.rectangle;
    case EditingState::PaintTool::Room:
        return radios.room;
    }
    return nullptr;
}

void ToolSwitch::leaveShapeTools()
{
    ShapeTool *shape = tools.shape();
    if (!shape)
        return;
    shape->reset();
    if (view.statusText().startsWith(shape->name()))
        view.clearStatusText();
}
