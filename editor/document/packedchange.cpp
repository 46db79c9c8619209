#include "document/packedchange.h"

#include <QHash>

#include <functional>
#include <unordered_map>

namespace {

struct StateHash
{
    size_t operator()(const SectorState &state) const
    {
        const SectorLighting &light = state.lighting;
        size_t hash = size_t(qHash(state.texture.fileName)) ^ (size_t(qHash(state.texture.folder)) << 1)
            ^ (size_t(qHash(state.subtype)) << 2) ^ (size_t(qHash(state.image)) << 3);
        for (const qint64 value : {qint64(state.texture.id), qint64(light.emissionRadius), qint64(light.intensity),
                                   qint64(light.emission), qint64(light.emissionMin), qint64(light.emissionMax),
                                   qint64(light.isDynamic), qint64(light.randomIntensity),
                                   qint64(light.isLightEmitter)})
            hash = hash * 31 + size_t(value);
        return hash ^ std::hash<double>()(light.blinkDelay);
    }
};

// Finds each state's place in the list, adding the new ones. Neighbouring cells
// of a step mostly share their state before and their state after, so the
// last one found on that side is tried first.
class StateTable
{
public:
    explicit StateTable(QVector<SectorState> &states) : states(states) {}

    enum Side { Before, After };

    qint32 indexOf(const std::optional<SectorState> &state, Side side)
    {
        qint32 &last = lastFound[side];
        if (!state)
            return -1;
        if (last >= 0 && states.at(last) == *state)
            return last;
        const auto found = places.find(*state);
        if (found != places.end())
            return last = found->second;
        last = states.size();
        states.append(*state);
        places.emplace(*state, last);
        return last;
    }

private:
    QVector<SectorState> &states;
    std::unordered_map<SectorState, qint32, StateHash> places;
    qint32 lastFound[2] = {-1, -1};
};

} // namespace

PackedChange::PackedChange(const MapChange &change)
{
    StateTable table(states);
    cells.reserve(change.cells.size());
    for (const CellChange &cell : change.cells) {
        qint32 layer = layers.indexOf(cell.layer);
        if (layer < 0) {
            layer = layers.size();
            layers.append(cell.layer);
        }
        const qint32 before = table.indexOf(cell.before, StateTable::Before);
        const qint32 after = table.indexOf(cell.after, StateTable::After);
        cells.append({cell.mapX, cell.mapY, cell.position, before, after, layer});
    }
    states.squeeze();
}

MapChange PackedChange::unpacked() const
{
    const auto stateAt = [this](qint32 index) {
        return index < 0 ? std::optional<SectorState>() : std::optional<SectorState>(states.at(index));
    };
    MapChange change;
    change.cells.reserve(cells.size());
    for (const Cell &cell : cells) {
        CellChange record;
        record.layer = layers.at(cell.layer);
        record.mapX = cell.mapX;
        record.mapY = cell.mapY;
        record.before = stateAt(cell.before);
        record.after = stateAt(cell.after);
        record.position = cell.position;
        change.cells.append(std::move(record));
    }
    return change;
}
