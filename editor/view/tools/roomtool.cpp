#include "view/tools/roomtool.h"

#include "format/layernames.h"
#include "gallery/texturegallery.h"
#include "model/cellkey.h"
#include "model/mapmodel.h"
#include "model/roomplan.h"
#include "view/mapview.h"
#include "view/sectorcanvas.h"

#include <QPointer>
#include <QSet>

#include <algorithm>

RoomTool::Draft RoomTool::draft(const QPoint &from, const QPoint &to, bool) const
{
    const TextureGallery *gallery = view.textureGallery();
    const RoomPlan::Textures textures{gallery->currentTextureOf(LayerNames::Wall),
                                      gallery->currentTextureOf(LayerNames::Floor),
                                      gallery->currentTextureOf(LayerNames::Ceil)};
    const RoomPlan room = roomPlan(*view.mapModel(), from, to, textures);
    Draft plan;
    plan.refusal = room.refusal;
    plan.leftOut = room.leftOut;
    plan.outline = QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                         QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())));
    // One mark a cell: its wall, else its floor, else its ceiling (the plan's order).
    QSet<quint64> marked;
    for (const CellChange &cell : room.change.cells) {
        const QPoint at(cell.mapX, cell.mapY);
        if (marked.contains(cellKey(at)))
            continue;
        marked.insert(cellKey(at));
        plan.marks.append(ShapePreview::Mark{at, cell.after ? cell.after->image : QString()});
    }
    if (room.change.isEmpty())
        return plan;
    QPointer<QWidget> surface = view.mapSurface();
    const MapChange change = room.change;
    plan.make = [change, surface](MapModel &target) {
        SectorCanvas::Batch batch(SectorCanvas::forMap(surface));
        target.apply(change);
    };
    return plan;
}
