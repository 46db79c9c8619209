// libFuzzer target for the map file reader. Build and run with fuzz/run.sh.
#include "mapfile/mapformat.h"

#include <QSet>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// What the loader relies on: the line and field splitting left no separators
// behind, and every number it hands out is usable.
void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool hasSeparator(const QByteArray &text)
{
    return text.contains('\n') || text.contains('\r');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const MapFormat::Parsed parsed = MapFormat::parse(text, "maps");

    QSet<QByteArray> names;
    for (const MapFormat::Grid &grid : parsed.grids) {
        check(!grid.name.contains('#') && !hasSeparator(grid.name) && grid.name != "Definitions");
        check(!names.contains(grid.name));
        names.insert(grid.name);
        for (const QList<QByteArray> &row : grid.rows) {
            for (const QByteArray &value : row) {
                check(!value.isEmpty() && !value.contains(',') && !hasSeparator(value));
                parsed.definitions.value(value);
            }
        }
    }
    check(parsed.definitions.isEmpty() || parsed.sawDefinitions);
    for (auto it = parsed.definitions.constBegin(); it != parsed.definitions.constEnd(); ++it) {
        const MapDefinition &definition = it.value();
        check(!it.key().contains(',') && !hasSeparator(it.key()));
        check(std::isfinite(definition.lighting.blinkDelay));
        check(!(definition.layer == "Ceil" || definition.layer == "Floor") || definition.subtype.isEmpty());
        check(definition.attributes.isEmpty() && !definition.texturePath.isEmpty());
    }

    // The reader's parts are also called on their own with bodies from elsewhere.
    for (const QList<QByteArray> &row : MapFormat::parseGrid(text)) {
        for (const QByteArray &value : row)
            check(!value.isEmpty() && !hasSeparator(value));
    }
    MapFormat::parseDefinitions(text, "maps");
    return 0;
}
