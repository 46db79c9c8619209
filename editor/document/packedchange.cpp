#include "document/packedchange.h"

#include <QHash>

#include <unordered_map>

namespace {

// Equal states hash alike; the fields that tell a step's few states apart
// are enough for the rest.
struct StateHash
{
    size_t operator()(const SectorState &state) const
    {
        return size_t(qHash(state.image)) ^ (size_t(qHash(state.subtype)) * 31)
            ^ (size_t(state.texture.id) << 16) ^ size_t(state.lighting.emission);
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
