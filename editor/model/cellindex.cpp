#include "model/cellindex.h"

#include "model/cellkey.h"
#include "model/layertable.h"
#include "model/sector.h"

#include <QSet>

Sector *CellIndex::sectorAt(const QByteArray &layer, int x, int y) const
{
    const auto index = indexes.constFind(layer);
    return index == indexes.constEnd() ? nullptr : index->first.value(cellKey(x, y), nullptr);
}

QList<Sector *> CellIndex::sectorsIn(const QByteArray &layer, const QRect &cells, const QList<Sector *> &all) const
{
    QList<Sector *> found;
    if (cells.isEmpty() || all.isEmpty())
        return found;
    // Asking the index cell by cell pays while the rectangle is smaller than the layer.
    const auto index = indexes.constFind(layer);
    const bool walk = index == indexes.constEnd() || index->mayShareCells
        || qint64(cells.width()) * cells.height() >= all.size();
    if (walk) {
        for (Sector *sector : all) {
            if (cells.contains(sector->data->mapX, sector->data->mapY))
                found.append(sector);
        }
        return found;
    }
    for (int y = cells.top(); y <= cells.bottom(); ++y) {
        for (int x = cells.left(); x <= cells.right(); ++x) {
            if (Sector *sector = index->first.value(cellKey(x, y), nullptr))
                found.append(sector);
        }
    }
    return found;
}

QList<Sector *> CellIndex::sectorsOn(const QByteArray &layer, int x, int y, const QList<Sector *> &all) const
{
    QList<Sector *> found;
    Sector *first = sectorAt(layer, x, y);
    if (!first)
        return found;
    if (!indexes.value(layer).mayShareCells) {
        found.append(first);
        return found;
    }
    for (Sector *sector : all) {
        if (sector->data->mapX == x && sector->data->mapY == y)
            found.append(sector);
    }
    return found;
}

void CellIndex::add(const QByteArray &layer, Sector *sector)
{
    Layer &index = indexes[layer];
    const quint64 key = cellKey(sector->data->mapX, sector->data->mapY);
    if (index.first.contains(key))
        index.mayShareCells = true;
    else
        index.first.insert(key, sector);
}

void CellIndex::addInserted(const QByteArray &layer, Sector *sector, const QList<Sector *> &sectors)
{
    Layer &index = indexes[layer];
    const quint64 key = cellKey(sector->data->mapX, sector->data->mapY);
    if (index.first.contains(key))
        rebuild(layer, sectors); // a shared cell: the first in the list must lead
    else
        index.first.insert(key, sector);
}

void CellIndex::remove(const QByteArray &layer, const QList<Sector *> &gone, const QList<Sector *> &remaining)
{
    Layer &index = indexes[layer];
    for (Sector *sector : gone) {
        const quint64 key = cellKey(sector->data->mapX, sector->data->mapY);
        if (index.first.value(key) == sector)
            index.first.remove(key);
    }
    if (!index.mayShareCells)
        return;
    // A second sector on a vacated cell takes over.
    for (Sector *sector : remaining) {
        const quint64 key = cellKey(sector->data->mapX, sector->data->mapY);
        if (!index.first.contains(key))
            index.first.insert(key, sector);
    }
}

void CellIndex::rebuild(const QByteArray &layer, const QList<Sector *> &sectors)
{
    Layer &index = indexes[layer];
    index = Layer();
    index.first.reserve(sectors.size());
    for (Sector *sector : sectors) {
        const quint64 key = cellKey(sector->data->mapX, sector->data->mapY);
        if (index.first.contains(key))
            index.mayShareCells = true;
        else
            index.first.insert(key, sector);
    }
}

namespace {

QString placeText(const QByteArray &layer, int position)
{
    return QStringLiteral("%1 list, place %2").arg(QString::fromUtf8(layer)).arg(position);
}

QString cellText(const Sector *sector)
{
    return QStringLiteral("(%1, %2)").arg(sector->data->mapX).arg(sector->data->mapY);
}

} // namespace

QStringList CellIndex::checkAgainst(const LayerTable &table) const
{
    QStringList problems;
    QHash<const Sector *, QByteArray> listOf;
    for (const auto &entry : table) {
        const auto index = indexes.constFind(entry.name);
        const bool indexed = index != indexes.constEnd();
        QSet<quint64> cells;
        for (int i = 0; i < entry.sectors.size(); ++i) {
            const Sector *sector = entry.sectors.at(i);
            if (!sector || !sector->data) {
                problems << placeText(entry.name, i) + QStringLiteral(": no sector or no record");
                continue;
            }
            if (listOf.contains(sector)) {
                problems << placeText(entry.name, i) + QStringLiteral(": the sector is also in the %1 list")
                                                          .arg(QString::fromUtf8(listOf.value(sector)));
                continue;
            }
            listOf.insert(sector, entry.name);
            const SectorData *d = sector->data;
            if (d->mapX < 0 || d->mapY < 0)
                problems << placeText(entry.name, i) + QStringLiteral(": cell %1 lies off the map").arg(cellText(sector));
            const quint64 key = cellKey(d->mapX, d->mapY);
            const bool shared = cells.contains(key);
            cells.insert(key);
            // The first sector of a cell in list order is the one the index names.
            if (!shared && (!indexed || index->first.value(key) != sector))
                problems << placeText(entry.name, i) + QStringLiteral(": the cell index does not name it at %1")
                                                          .arg(cellText(sector));
            if (shared && !(indexed && index->mayShareCells))
                problems << placeText(entry.name, i) + QStringLiteral(": a second sector at %1").arg(cellText(sector));
        }
        if (!indexed)
            continue;
        for (auto it = index->first.cbegin(); it != index->first.cend(); ++it) {
            // Pointers not listed are never read: they may be gone.
            if (listOf.value(it.value()) != entry.name)
                problems << QStringLiteral("%1 cell index: names a sector that is not in the list")
                                .arg(QString::fromUtf8(entry.name));
            else if (cellKey(it.value()->data->mapX, it.value()->data->mapY) != it.key())
                problems << QStringLiteral("%1 cell index: names the sector at %2 under another cell")
                                .arg(QString::fromUtf8(entry.name), cellText(it.value()));
        }
    }
    for (auto it = indexes.cbegin(); it != indexes.cend(); ++it) {
        if (!table.contains(it.key()) && !it->first.isEmpty())
            problems << QStringLiteral("%1 cell index: the map has no such layer").arg(QString::fromUtf8(it.key()));
    }
    return problems;
}
