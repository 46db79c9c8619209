#pragma once

#include "view/tools/shapetool.h"

// The Room: a left drag lays walls on the rectangle's outline and floor and
// ceiling inside it, each with the texture its gallery layer has current
// (model/roomplan.h has the rules). The right button draws nothing.
class RoomTool : public ShapeTool
{
public:
    using ShapeTool::ShapeTool;

    QString name() const override { return QStringLiteral("Room"); }

protected:
    Draft draft(const QPoint &from, const QPoint &to, bool erasing) const override;
    bool erases() const override { return false; }
};
