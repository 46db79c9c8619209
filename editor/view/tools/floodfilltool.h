#pragma once

#include "view/tools/maptool.h"

// Left press fills the region under the cursor (model/floodregion.h): empty
// cells get new sectors, cells of the start's texture get the current one.
class FloodFillTool : public MapTool
{
public:
    explicit FloodFillTool(const ToolContext &context) : context(context) {}

    // Regions larger than this are not filled: the area is most likely open.
    static constexpr int limit = 1000;

    void handle(QEvent *event, const ToolPoint &at) override;

private:
    void fill(const QPoint &start);

    ToolContext context;
};
