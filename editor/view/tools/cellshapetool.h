#pragma once

#include "view/tools/shapetool.h"

// The Line and the Rectangle: a left drag paints the current texture into the
// shape's empty cells of the current layer, as the Pencil paints (a light
// cell gets a fresh identifier); a right drag erases the layer's cells of the
// line, or of the whole rectangle. The rectangle is an outline or filled, as
// the editing state says.
class CellShapeTool : public ShapeTool
{
public:
    enum class Shape { Line, Rectangle };

    CellShapeTool(MapView &view, PanTool &pan, Shape shape) : ShapeTool(view, pan), shape(shape) {}

    QString name() const override;

protected:
    Draft draft(const QPoint &from, const QPoint &to, bool erasing) const override;

private:
    Shape shape;
};
