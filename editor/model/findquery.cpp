#include "model/findquery.h"

#include "format/layernames.h"
#include "model/mapmodel.h"
#include "model/sector.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A cell's place in row order as one number (signs flipped, so that a
// negative coordinate, which no map cell has, still sorts first).
struct Hit
{
    quint64 place;
    Sector *sector;
};

quint64 placeOf(const SectorData &data)
{
    return quint64(quint32(data.mapY) ^ 0x80000000u) << 32 | (quint32(data.mapX) ^ 0x80000000u);
}

bool inRowOrder(const Hit &a, const Hit &b)
{
    return a.place < b.place;
}

// One pass over the layers that `wanted` accepts, each layer's matches put in
// row order (a loaded layer already is: its list was made row by row).
template<typename LayerFilter, typename Match>
QList<Sector *> collect(const MapModel &model, LayerFilter wanted, Match matches)
{
    QList<Sector *> found;
    std::vector<Hit> hits;
    for (const auto &entry : model.layers()) {
        if (!wanted(entry.name))
            continue;
        hits.clear();
        for (Sector *sector : entry.sectors) {
            if (matches(*sector->data))
                hits.push_back({placeOf(*sector->data), sector});
        }
        if (!std::is_sorted(hits.begin(), hits.end(), inRowOrder))
            std::stable_sort(hits.begin(), hits.end(), inRowOrder);
        found.reserve(found.size() + qsizetype(hits.size()));
        for (const Hit &hit : hits)
            found.append(hit.sector);
    }
    return found;
}

// Whether a file name holds the part, in any letter case (Unicode's, so the
// name is read as text). Cells share a few texture names: each distinct name
// is judged once.
class FileNameMatch
{
public:
    explicit FileNameMatch(const QString &part) : part(part) {}

    bool operator()(const QByteArray &fileName)
    {
        if (part.isEmpty())
            return true;
        const auto known = verdicts.constFind(fileName);
        if (known != verdicts.constEnd())
            return *known;
        const bool verdict = QString::fromUtf8(fileName).contains(part, Qt::CaseInsensitive);
        verdicts.insert(fileName, verdict);
        return verdict;
    }

private:
    const QString part;
    QHash<QByteArray, bool> verdicts;
};

bool lightMatches(const FindQuery &query, const SectorLighting &light)
{
    return (!query.emission || *query.emission == light.emission)
        && (!query.emissionMin || *query.emissionMin == light.emissionMin)
        && (!query.emissionMax || *query.emissionMax == light.emissionMax)
        && (!query.blinkDelay || std::abs(*query.blinkDelay - light.blinkDelay) <= 1e-6)
        && (!query.randomIntensity || *query.randomIntensity == (light.randomIntensity != 0));
}

} // namespace

QList<Sector *> findSectors(const MapModel &model, const FindQuery &query)
{
    const bool light = query.asksForLight();
    const auto wanted = [&](const QByteArray &layer) {
        return (query.layer.isEmpty() || layer == query.layer) && (!light || layer == LayerNames::Lightmap);
    };
    FileNameMatch nameMatches(query.fileNamePart);
    return collect(model, wanted, [&](const SectorData &data) {
        return (query.subtype.isEmpty() || data.subtype == query.subtype)
            && (!light || lightMatches(query, data.lighting)) && nameMatches(data.texture.fileName);
    });
}

QList<Sector *> alikeOf(const MapModel &model, const QByteArray &layer, const Sector *sector)
{
    if (!sector)
        return {};
    const TextureEntry &texture = sector->data->texture;
    const QByteArray &subtype = sector->data->subtype;
    return collect(
        model, [&](const QByteArray &name) { return name == layer; },
        [&](const SectorData &data) {
            return data.texture.fileName == texture.fileName && data.texture.folder == texture.folder
                && data.subtype == subtype;
        });
}
