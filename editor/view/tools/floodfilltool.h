#pragma once

#include "view/tools/maptool.h"

class MapView;

// Left press fills the region under the cursor (model/floodregion.h): empty
// cells get new sectors, cells of the start's texture get the current one.
class FloodFillTool : public MapTool
{
public:
    explicit FloodFillTool(MapView &view) : view(view) {}

    void handle(QEvent *event) override;

private:
    void fill();

    MapView &view;
};
