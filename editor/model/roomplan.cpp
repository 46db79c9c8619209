#include "model/roomplan.h"

#include "format/layernames.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "model/shapecells.h"
#include "model/subtypetable.h"

#include <algorithm>
#include <cstdlib>

namespace {

SectorState paintedState(const QByteArray &layer, const TextureEntry &texture)
{
    return SectorState{texture, subtypesOf(layer).value(0), SectorLighting(), texture.imagePath()};
}

} // namespace

RoomPlan roomPlan(const MapModel &model, const QPoint &a, const QPoint &b, const RoomPlan::Textures &textures)
{
    RoomPlan plan;
    const qint64 outline = ShapeCells::countOnMap(a, b, false);
    const qint64 inside = ShapeCells::countOnMap(a, b, true) - outline;
    plan.refusal = ShapeCells::refusalFor(a, b, outline + 2 * inside);
    if (!plan.refusal.isEmpty())
        return plan;
    const qint64 width = std::abs(qint64(b.x()) - a.x()) + 1;
    const qint64 height = std::abs(qint64(b.y()) - a.y()) + 1;
    plan.leftOut = width * height - outline - inside;

    // A cell that already is what the room makes stays out of the change. New
    // cells go to the end of their layer's list in this order, as a paste's do.
    const auto write = [&model, &plan](const QByteArray &layer, const QPoint &cell, const SectorState &state) {
        CellChange record{layer, cell.x(), cell.y(), std::nullopt, state};
        if (const Sector *sector = model.sectorAt(layer, cell.x(), cell.y())) {
            record.before = MapModel::stateOf(sector);
            if (*record.before == state)
                return;
        }
        plan.change.cells.append(record);
    };
    plan.change.cells.reserve(int(outline + 2 * inside));
    const SectorState wall = paintedState(LayerNames::Wall, textures.wall);
    const ShapeCells outlineCells(ShapeCells::Form::Outline, a, b);
    for (const QPoint &cell : outlineCells.cells()) {
        if (model.hasSectorAt(LayerNames::Door, cell.x(), cell.y()))
            ++plan.doorsOnOutline;
        else if (!textures.wall.isEmpty())
            write(LayerNames::Wall, cell, wall);
    }
    if (inside == 0)
        return plan;
    // Inside: one cell in from the outline on every side, on the map.
    const int left = std::max(std::min(a.x(), b.x()) + 1, 0);
    const int right = std::max(a.x(), b.x()) - 1;
    const int top = std::max(std::min(a.y(), b.y()) + 1, 0);
    const int bottom = std::max(a.y(), b.y()) - 1;
    for (const QByteArray &layer : {QByteArray(LayerNames::Floor), QByteArray(LayerNames::Ceil)}) {
        const TextureEntry &texture = layer == LayerNames::Floor ? textures.floor : textures.ceil;
        const SectorState state = paintedState(layer, texture);
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                if (layer == LayerNames::Floor && model.hasSectorAt(LayerNames::Wall, x, y))
                    ++plan.wallsInside;
                if (!texture.isEmpty())
                    write(layer, QPoint(x, y), state);
            }
        }
    }
    return plan;
}
