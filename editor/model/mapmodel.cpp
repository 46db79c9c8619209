#include "model/mapmodel.h"

#include "format/layernames.h"
#include "model/cellkey.h"
#include "model/cellrecord.h"
#include "model/emission.h"
#include "model/sector.h"
#include "model/subtypetable.h"

#include <QSet>

#include <algorithm>
#include <utility>

namespace {

CellChange changeOf(const Sector *sector)
{
    CellChange change;
    change.layer = sector->layer();
    change.mapX = sector->data->mapX;
    change.mapY = sector->data->mapY;
    change.before = MapModel::stateOf(sector);
    return change;
}

} // namespace

MapModel::MapModel(QObject *parent)
    : QObject(parent), table(layerOrder())
{
}

MapModel::~MapModel()
{
    qDeleteAll(table.allSectors());
}

const QList<Sector *> &MapModel::sectorsOf(const QByteArray &layer) const
{
    static const QList<Sector *> none;
    const auto entry = std::find_if(table.begin(), table.end(),
                                    [&layer](const LayerTable::Entry &e) { return e.name == layer; });
    return entry == table.end() ? none : entry->sectors;
}

Sector *MapModel::sectorAt(const QByteArray &layer, int x, int y) const
{
    return index.sectorAt(layer, x, y);
}

qint32 MapModel::nextId()
{
    return idSource ? idSource() : ++counter;
}

SectorState MapModel::stateOf(const Sector *sector)
{
    return CellRecord::of(sector).state;
}

void MapModel::setState(Sector *sector, const SectorState &state)
{
    sector->setTexture(state.texture);
    sector->setSubtype(state.subtype);
    sector->setLighting(state.lighting);
    sector->setImagePath(state.image);
}

Sector *MapModel::makeSector(const QByteArray &layer, int x, int y, const TextureEntry &texture)
{
    SectorData values;
    values.texture = texture;
    values.mapX = x;
    values.mapY = y;
    values.subtype = subtypesOf(layer).value(0);
    if (layer == LayerNames::Lightmap)
        values.texture.id = nextId();
    auto *sector = new Sector(values);
    sector->setImagePath(texture.imagePath());
    return sector;
}

void MapModel::insert(const QByteArray &layer, Sector *sector)
{
    sector->listedIn = layer;
    table[layer].append(sector);
    index.add(layer, sector);
}

QList<Sector *> MapModel::sectorsIn(const QByteArray &layer, const QRect &cells) const
{
    return index.sectorsIn(layer, cells, sectorsOf(layer));
}

QList<Sector *> MapModel::sectorsOn(const QByteArray &layer, int x, int y) const
{
    return index.sectorsOn(layer, x, y, sectorsOf(layer));
}

// Takes sectors out of their layer's list and index; the caller destroys them.
// Each leaves with its layer name cleared, which is how the list sheds them in
// one pass whatever their number. `positions` learns the place each one had.
void MapModel::takeOut(const QByteArray &layer, const QList<Sector *> &gone, QHash<Sector *, int> *positions)
{
    QList<Sector *> &sectors = table[layer];
    if (gone.size() <= 8) {
        // A few cells (the usual erase): pointer scans beat a pass over the layer.
        if (positions) {
            for (Sector *sector : gone) {
                const int at = sectors.indexOf(sector);
                if (at >= 0)
                    positions->insert(sector, at);
            }
        }
        for (Sector *sector : gone) {
            sectors.removeOne(sector);
            sector->listedIn.clear();
        }
    } else {
        for (Sector *sector : gone)
            sector->listedIn.clear();
        int kept = 0;
        for (int i = 0; i < sectors.size(); ++i) {
            Sector *sector = sectors.at(i);
            if (!sector->listedIn.isEmpty())
                sectors[kept++] = sector;
            else if (positions)
                positions->insert(sector, i);
        }
        sectors.erase(sectors.begin() + kept, sectors.end());
    }
    if (sectors.isEmpty())
        index.dropLayer(layer);
    else
        index.remove(layer, gone, sectors);
}

void MapModel::takeOutAll(const QList<Sector *> &gone, QHash<Sector *, int> *positions)
{
    QHash<QByteArray, QList<Sector *>> byLayer;
    for (Sector *sector : gone)
        byLayer[sector->layer()].append(sector);
    for (auto layer = byLayer.cbegin(); layer != byLayer.cend(); ++layer)
        takeOut(layer.key(), layer.value(), positions);
}

MapChange MapModel::placeCell(const QByteArray &layer, const QPoint &cell, const TextureEntry &texture)
{
    return placeCells(layer, {cell}, texture);
}

MapChange MapModel::placeCells(const QByteArray &layer, const QList<QPoint> &cells, const TextureEntry &texture)
{
    MapChange change;
    for (const QPoint &cell : cells) {
        if (cell.x() < 0 || cell.y() < 0 || hasSectorAt(layer, cell.x(), cell.y()))
            continue;
        Sector *sector = makeSector(layer, cell.x(), cell.y(), texture);
        const int position = sectorsOf(layer).size();
        insert(layer, sector);
        CellChange record{layer, cell.x(), cell.y(), std::nullopt, stateOf(sector), position};
        change.cells.append(record);
        emit sectorAdded(sector);
    }
    return announce(change);
}

MapChange MapModel::removeCells(const QByteArray &layer, const QList<QPoint> &cells)
{
    QList<Sector *> gone;
    QSet<quint64> seen;
    for (const QPoint &cell : cells) {
        // A cell named twice must not be removed twice.
        if (!seen.contains(cellKey(cell))) {
            seen.insert(cellKey(cell));
            gone.append(sectorsOn(layer, cell.x(), cell.y()));
        }
    }
    return announce(removeGone(gone));
}

MapChange MapModel::removeSectors(const QList<Sector *> &sectors)
{
    QList<Sector *> gone;
    QSet<Sector *> seen;
    for (Sector *sector : sectors) {
        // Only sectors still in the map, each once.
        // A sector in no layer's list has left the map already.
        if (sector && !sector->layer().isEmpty() && !seen.contains(sector)) {
            seen.insert(sector);
            gone.append(sector);
        }
    }
    return announce(removeGone(gone));
}

// Takes the sectors out of the map and destroys them at the next event-loop
// pass, recording each with the place it had.
MapChange MapModel::removeGone(const QList<Sector *> &gone)
{
    MapChange change;
    for (const Sector *sector : gone)
        change.cells.append(changeOf(sector));
    QHash<Sector *, int> positions;
    destroy(gone, Removal::Later, &positions);
    for (int i = 0; i < gone.size(); ++i)
        change.cells[i].position = positions.value(gone.at(i), -1);
    return change;
}

// Takes the sectors out of the map and destroys them; `positions` learns the
// place each one had.
void MapModel::destroy(const QList<Sector *> &gone, Removal removal, QHash<Sector *, int> *positions)
{
    takeOutAll(gone, positions);
    for (Sector *sector : gone) {
        emit sectorRemoved(sector);
        if (removal == Removal::AtOnce)
            delete sector;
        else
            sector->deleteLater();
    }
}

MapChange MapModel::retextureCells(const QByteArray &layer, const QList<QPoint> &cells, const TextureEntry &texture)
{
    QList<Sector *> sectors;
    for (const QPoint &cell : cells)
        sectors.append(sectorsOn(layer, cell.x(), cell.y()));
    return retexture(sectors, texture);
}

MapChange MapModel::retexture(const QList<Sector *> &sectors, const TextureEntry &texture)
{
    MapChange change;
    for (Sector *sector : sectors) {
        CellChange record = changeOf(sector);
        sector->setImagePath(texture.imagePath());
        sector->setTexture(texture);
        record.after = stateOf(sector);
        change.cells.append(record);
        emit textureChanged(sector);
    }
    return announce(change);
}

MapChange MapModel::setProperties(Sector *sector, const QByteArray &subtype, const SectorLighting &lighting)
{
    MapChange change;
    if (!sector)
        return change;
    CellChange record = changeOf(sector);
    sector->setSubtype(subtype);
    sector->setLighting(lighting);
    record.after = stateOf(sector);
    change.cells.append(record);
    emit propertiesChanged(sector);
    return announce(change);
}

MapChange MapModel::emitPointLight(const LightPoint &source, const TextureEntry &texture)
{
    const QByteArray layer = LayerNames::Lightmap;
    const QList<QByteArray> lightSubtypes = subtypesOf(layer);
    MapChange change;
    for (const LightPoint &cell : computeEmissionCells(source)) {
        Sector *sector = sectorAt(layer, cell.mapX, cell.mapY);
        const bool created = sector == nullptr;
        CellChange record{layer, cell.mapX, cell.mapY, std::nullopt, std::nullopt};
        int level = cell.intensity;
        if (created) {
            sector = makeSector(layer, cell.mapX, cell.mapY, texture);
        } else {
            record.before = stateOf(sector);
            level = std::max(level, sector->data->lighting.emission);
        }
        SectorLighting &light = sector->data->lighting;
        light.emission = level;
        light.emissionMax = level;
        light.intensity = level;
        light.emissionMin = source.lighting.emissionMin;
        light.isDynamic = source.lighting.isDynamic;
        light.randomIntensity = source.lighting.randomIntensity;
        light.blinkDelay = source.lighting.blinkDelay;
        light.isLightEmitter = 1;
        sector->setSubtype(lightSubtypes.value(light.isDynamic));
        record.after = stateOf(sector);
        if (created) {
            record.position = sectorsOf(layer).size();
            change.cells.append(record);
            insert(layer, sector);
            emit sectorAdded(sector);
        } else {
            change.cells.append(record);
            emit propertiesChanged(sector);
        }
    }
    return announce(change);
}

MapChange MapModel::clearLayer(const QByteArray &layer)
{
    const QList<Sector *> gone = sectorsOf(layer);
    MapChange change;
    if (gone.isEmpty())
        return change;
    table[layer].clear();
    index.dropLayer(layer);
    for (int i = 0; i < gone.size(); ++i) {
        Sector *sector = gone.at(i);
        CellChange record = changeOf(sector);
        record.position = i;
        change.cells.append(std::move(record));
        sector->listedIn.clear();
        emit sectorRemoved(sector);
        delete sector;
    }
    return announce(change);
}

void MapModel::replaceMap(LayerTable newTable)
{
    const QList<Sector *> old = table.allSectors();
    table = std::move(newTable);
    index.clear();
    for (const auto &entry : table) {
        index.rebuild(entry.name, entry.sectors);
        for (Sector *sector : entry.sectors)
            sector->listedIn = entry.name;
    }
    for (Sector *sector : old) {
        emit sectorRemoved(sector);
        delete sector;
    }
    emit mapReplaced();
}

MapChange MapModel::announce(const MapChange &change)
{
    if (!change.isEmpty())
        emit edited(change);
    return change;
}

// The sector a record speaks of: the one at its recorded place when that place
// still holds its cell (two sectors may share a cell in a loaded map).
Sector *MapModel::located(const CellChange &cell) const
{
    const QList<Sector *> &sectors = sectorsOf(cell.layer);
    if (cell.position >= 0 && cell.position < sectors.size()) {
        Sector *candidate = sectors.at(cell.position);
        if (candidate->data->mapX == cell.mapX && candidate->data->mapY == cell.mapY)
            return candidate;
    }
    return sectorAt(cell.layer, cell.mapX, cell.mapY);
}

void MapModel::restore(const CellChange &cell, const SectorState &state)
{
    SectorData values;
    values.mapX = cell.mapX;
    values.mapY = cell.mapY;
    auto *sector = new Sector(values);
    sector->listedIn = cell.layer;
    setState(sector, state);
    QList<Sector *> &sectors = table[cell.layer];
    const int position = cell.position < 0 ? sectors.size() : std::min(cell.position, int(sectors.size()));
    sectors.insert(position, sector);
    index.addInserted(cell.layer, sector, sectors);
    emit sectorAdded(sector);
}

// Removals and changes first, then the cells that come back, each layer's in
// ascending list order: every recorded place is then the place it had.
void MapModel::applySide(const MapChange &change, bool forward, Removal removal)
{
    QList<Sector *> gone;
    QList<const CellChange *> returning;
    const int count = change.cells.size();
    for (int i = 0; i < count; ++i) {
        const CellChange &cell = change.cells.at(forward ? i : count - 1 - i);
        const std::optional<SectorState> &from = forward ? cell.before : cell.after;
        const std::optional<SectorState> &to = forward ? cell.after : cell.before;
        if (!from) {
            if (to)
                returning.append(&cell);
            continue;
        }
        Sector *sector = located(cell);
        if (!sector)
            continue;
        if (!to) {
            gone.append(sector);
            continue;
        }
        setState(sector, *to);
        emit textureChanged(sector);
        emit propertiesChanged(sector);
    }
    // Undo and redo hold the change they put back: no record of the removal.
    destroy(gone, removal);
    std::stable_sort(returning.begin(), returning.end(),
                     [](const CellChange *a, const CellChange *b) { return a->position < b->position; });
    for (const CellChange *cell : std::as_const(returning))
        restore(*cell, forward ? *cell->after : *cell->before);
}

void MapModel::revert(const MapChange &change)
{
    applySide(change, false, Removal::AtOnce);
}

void MapModel::reapply(const MapChange &change)
{
    applySide(change, true, Removal::AtOnce);
}

void MapModel::apply(const MapChange &change)
{
    applySide(change, true, Removal::Later);
    announce(change);
}

QStringList MapModel::checkConsistency() const
{
    return index.checkAgainst(table);
}
