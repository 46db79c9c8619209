#include "model/floodregion.h"

#include "format/layernames.h"
#include "model/cellkey.h"
#include "model/mapmodel.h"
#include "model/sector.h"

#include <QSet>

namespace {

// A plain recursion over the four neighbours, as deep as the limit at most.
// Each step asks the layers' cell indexes, so a fill costs in proportion to
// its region, not to the map.
class RegionSearch
{
public:
    RegionSearch(const MapModel &model, const QByteArray &layer, qint32 target, int limit)
        : model(model), layer(layer), target(target), limit(limit)
    {
    }

    bool collect(const QPoint &start)
    {
        visit(start);
        return !aborted;
    }

    QList<QPoint> cells;

private:
    qint32 textureIdAt(const QPoint &cell) const
    {
        const Sector *sector = model.sectorAt(layer, cell.x(), cell.y());
        return sector ? sector->data->texture.id : -1;
    }

    bool isBound(const QPoint &cell) const
    {
        return model.hasSectorAt(LayerNames::Wall, cell.x(), cell.y())
            || model.hasSectorAt(LayerNames::Door, cell.x(), cell.y());
    }

    void visit(const QPoint &cell)
    {
        if (aborted)
            return;
        if (cells.size() == limit) {
            aborted = true;
            cells.clear();
            return;
        }
        // Cells left of column 0 or above row 0 cannot be stored in a map file.
        if (cell.x() < 0 || cell.y() < 0)
            return;
        const qint32 value = textureIdAt(cell);
        const quint64 key = cellKey(cell);
        if ((value != target && value != -1) || collected.contains(key) || isBound(cell))
            return;
        cells.append(cell);
        collected.insert(key);
        visit(QPoint(cell.x() + 1, cell.y()));
        visit(QPoint(cell.x() - 1, cell.y()));
        visit(QPoint(cell.x(), cell.y() + 1));
        visit(QPoint(cell.x(), cell.y() - 1));
    }

    const MapModel &model;
    const QByteArray layer;
    const qint32 target;
    const int limit;
    QSet<quint64> collected;
    bool aborted = false;
};

} // namespace

FloodRegion findFloodRegion(const MapModel &model, const QByteArray &layer, const QPoint &start, int limit)
{
    FloodRegion region;
    if (const Sector *sector = model.sectorAt(layer, start.x(), start.y()))
        region.target = sector->data->texture.id;
    if (region.target == -1)
        region.target = 0;
    RegionSearch search(model, layer, region.target, limit);
    region.complete = search.collect(start);
    region.cells = search.cells;
    return region;
}
