#pragma once

#include "document/editingstate.h"

#include <QCursor>
#include <QPointer>

namespace Ui {
class TesselClass;
}
class MapView;
class ToolBox;
class QPushButton;
class QRadioButton;
class QString;

// Choosing the mode and the paint tool: writes the editing state, mirrors it
// in the radio buttons (and the Edit selection button, which only Select mode
// offers) and keeps the pointer's shape over the map for the chosen tool.
class ToolSwitch
{
public:
    ToolSwitch(MapView &view, ToolBox &tools, const Ui::TesselClass &form);

    void paintMode();
    void selectMode();
    void pencil();
    void floodFill();
    void line();
    // Chosen again it switches between outline and filled.
    void rectangle();
    void room();

    QCursor cursor() const { return toolCursor; }

private:
    void useShapeTool(EditingState::PaintTool tool);
    // True, with the radios mirroring the state again, for a tool chosen in
    // Select mode, where the tools are disabled.
    bool ignoredOutsidePaintMode();
    QRadioButton *radioOf(EditingState::PaintTool tool) const;
    // Drops a shape drag and the tool's word in the status bar.
    void leaveShapeTools();
    void enablePaintTools(bool enabled);
    QCursor cursorFromImage(const QString &path) const;

    MapView &view;
    ToolBox &tools;
    EditingState &editing;
    struct Radios
    {
        QPointer<QRadioButton> paint, select, pencil, floodFill, line, rectangle, room;
    } radios;
    QPointer<QPushButton> editSelection;
    QCursor toolCursor;
};
