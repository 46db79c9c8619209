#pragma once

#include "view/tools/maptool.h"

class PanTool;

// Left paints the current texture into empty cells, right erases, middle pans.
// Clicks on existing sectors reach their buttons, not this tool.
class PencilTool : public MapTool
{
public:
    PencilTool(const ToolContext &context, PanTool &pan) : context(context), panTool(pan) {}

    void handle(QEvent *event, const ToolPoint &at) override;
    void reset() override { endStroke(); }

private:
    void place(const QPoint &cell);
    void erase(const QPoint &cell);
    void endStroke();

    ToolContext context;
    PanTool &panTool;
    bool stroking = false;
};
