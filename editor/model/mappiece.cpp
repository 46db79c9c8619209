#include "model/mappiece.h"

#include "model/mapmodel.h"
#include "model/sector.h"

#include <algorithm>

namespace {

bool inRowOrder(const MapPiece::Cell &a, const MapPiece::Cell &b)
{
    return a.offset.y() != b.offset.y() ? a.offset.y() < b.offset.y() : a.offset.x() < b.offset.x();
}

// The first sector of each cell of the area on one layer, in row order. A
// small area asks the cell index; a large one walks the layer once.
QList<MapPiece::Cell> cellsOf(const MapModel &model, const QByteArray &layer, const QRect &area)
{
    QList<MapPiece::Cell> cells;
    const QList<Sector *> &sectors = model.sectorsOf(layer);
    if (qint64(area.width()) * area.height() <= sectors.size()) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (const Sector *sector = model.sectorAt(layer, x, y))
                    cells.append({QPoint(x, y) - area.topLeft(), MapModel::stateOf(sector)});
            }
        }
        return cells;
    }
    for (const Sector *sector : sectors) {
        const QPoint cell(sector->data->mapX, sector->data->mapY);
        if (area.contains(cell) && model.sectorAt(layer, cell.x(), cell.y()) == sector)
            cells.append({cell - area.topLeft(), MapModel::stateOf(sector)});
    }
    std::sort(cells.begin(), cells.end(), inRowOrder);
    return cells;
}

} // namespace

MapPiece::MapPiece(const QSize &size, QList<Layer> layers)
    : frame(size), content(std::move(layers))
{
}

MapPiece MapPiece::copy(const MapModel &model, const QRect &area)
{
    QList<Layer> layers;
    for (const auto &entry : model.layers()) {
        QList<Cell> cells = cellsOf(model, entry.name, area);
        if (!cells.isEmpty())
            layers.append(Layer{entry.name, std::move(cells)});
    }
    return MapPiece(area.size(), std::move(layers));
}

int MapPiece::cellCount() const
{
    int count = 0;
    for (const Layer &layer : content)
        count += layer.cells.size();
    return count;
}

template<typename Move>
MapPiece MapPiece::moved(const QSize &newSize, Move move) const
{
    QList<Layer> layers = content;
    for (Layer &layer : layers) {
        for (Cell &cell : layer.cells)
            cell.offset = move(cell.offset);
        std::sort(layer.cells.begin(), layer.cells.end(), inRowOrder);
    }
    return MapPiece(newSize, std::move(layers));
}

MapPiece MapPiece::turnedClockwise() const
{
    const int h = frame.height();
    return moved(frame.transposed(), [h](const QPoint &p) { return QPoint(h - 1 - p.y(), p.x()); });
}

MapPiece MapPiece::turnedCounterClockwise() const
{
    const int w = frame.width();
    return moved(frame.transposed(), [w](const QPoint &p) { return QPoint(p.y(), w - 1 - p.x()); });
}

MapPiece MapPiece::mirroredLeftRight() const
{
    const int w = frame.width();
    return moved(frame, [w](const QPoint &p) { return QPoint(w - 1 - p.x(), p.y()); });
}

MapPiece MapPiece::mirroredTopBottom() const
{
    const int h = frame.height();
    return moved(frame, [h](const QPoint &p) { return QPoint(p.x(), h - 1 - p.y()); });
}

MapChange MapPiece::pasteInto(MapModel &model, const QPoint &topLeft, int *leftOut) const
{
    MapChange change;
    int outside = 0;
    for (const Layer &layer : content) {
        for (const Cell &cell : layer.cells) {
            const QPoint at = topLeft + cell.offset;
            if (at.x() < 0 || at.y() < 0) {
                ++outside;
                continue;
            }
            CellChange record{layer.name, at.x(), at.y(), std::nullopt, cell.state};
            if (const Sector *sector = model.sectorAt(layer.name, at.x(), at.y()))
                record.before = MapModel::stateOf(sector);
            change.cells.append(record);
        }
    }
    // A replaced cell keeps its sector (and its place in the layer's list):
    // only its state changes, so an undo leaves the list as it was.
    model.apply(change);
    if (leftOut)
        *leftOut = outside;
    return change;
}

MapChange MapPiece::removeArea(MapModel &model, const QRect &area)
{
    MapChange change;
    for (const QByteArray &layer : model.layers().names()) {
        QList<QPoint> cells;
        for (const Cell &cell : cellsOf(model, layer, area))
            cells.append(cell.offset + area.topLeft());
        change.cells.append(model.removeCells(layer, cells).cells);
    }
    return change;
}
