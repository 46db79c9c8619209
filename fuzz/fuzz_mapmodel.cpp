// libFuzzer target for the map's operations: the input is read as a sequence
// of edits on a MapModel without any window (place, remove, retexture,
// properties, light emission, clear, paste with turns and mirrors, cut,
// undo, redo, replacing the map). After each one the model must keep its own
// rules (MapModel::checkConsistency), a removed sector must have left every
// list, and reverting the edit and applying it again must give back the map
// of before and after exactly, list order included: that order is what a save
// writes. Build and run with fuzz/run.sh.
#include "format/layernames.h"
#include "model/lightpoint.h"
#include "model/mappiece.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "model/subtypetable.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const int mapSide = 12;

[[noreturn]] void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "fuzz_mapmodel: %s: %s\n", what, qPrintable(detail));
    std::abort();
}

// The input, a byte at a time; 0 once it is used up.
class Bytes
{
public:
    Bytes(const uint8_t *data, size_t size) : data(data), size(size) {}
    bool left() const { return at < size; }
    int next() { return at < size ? data[at++] : 0; }
    int below(int bound) { return next() % bound; }

private:
    const uint8_t *data;
    size_t size;
    size_t at = 0;
};

QByteArray anyLayer(Bytes &in)
{
    return layerOrder().at(in.below(layerOrder().size()));
}

QPoint anyCell(Bytes &in)
{
    return QPoint(in.below(mapSide), in.below(mapSide));
}

// The rectangle with these two cells at opposite corners.
QRect spanning(const QPoint &a, const QPoint &b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

QList<QPoint> someCells(Bytes &in)
{
    QList<QPoint> cells;
    for (int count = 1 + in.below(4); count > 0; --count)
        cells << anyCell(in);
    return cells;
}

// Four textures; two of them share a file name from different folders.
TextureEntry anyTexture(Bytes &in)
{
    const int pick = in.below(4);
    return TextureEntry{QByteArray(pick == 3 ? "t0.png" : "t") + QByteArray::number(pick) + ".png",
                        pick == 3 ? "maps/level/" : "textures/", 100 + pick};
}

QList<Sector *> someSectors(const MapModel &model, Bytes &in)
{
    const QList<Sector *> all = model.layers().allSectors();
    QList<Sector *> picked;
    for (int count = 1 + in.below(3); count > 0 && !all.isEmpty(); --count)
        picked << all.at((in.next() * 256 + in.next()) % all.size());
    return picked;
}

SectorLighting anyLighting(Bytes &in)
{
    SectorLighting light;
    light.emission = in.next();
    light.emissionMin = in.next();
    light.emissionMax = in.next();
    light.blinkDelay = in.next() / 8.0;
    light.isDynamic = quint8(in.below(2));
    light.randomIntensity = quint8(in.below(2));
    return light;
}

// One cell as a save writes it and an undo must give it back.
struct CellRecord
{
    QByteArray layer;
    qint32 mapX;
    qint32 mapY;
    TextureEntry texture;
    QByteArray subtype;
    SectorLighting lighting;
    QString image;

    bool operator==(const CellRecord &o) const
    {
        return layer == o.layer && mapX == o.mapX && mapY == o.mapY && texture == o.texture
            && subtype == o.subtype && lighting == o.lighting && image == o.image;
    }
    bool operator!=(const CellRecord &o) const { return !(*this == o); }
};

// The map: its layers, and every cell in list order (the order a save writes).
struct Snapshot
{
    QList<QByteArray> layers;
    std::vector<CellRecord> cells;

    bool operator==(const Snapshot &o) const { return layers == o.layers && cells == o.cells; }
    bool operator!=(const Snapshot &o) const { return !(*this == o); }
};

Snapshot snapshot(const MapModel &model)
{
    Snapshot map;
    map.layers = model.layers().names();
    for (const auto &entry : model.layers()) {
        for (const Sector *sector : entry.sectors) {
            const SectorData *d = sector->data;
            map.cells.push_back(CellRecord{entry.name, d->mapX, d->mapY, d->texture, d->subtype, d->lighting,
                                           sector->imagePath()});
        }
    }
    return map;
}

QString describe(const CellRecord &cell)
{
    return QStringLiteral("%1 (%2, %3) id %4 %5 %6")
        .arg(QString::fromUtf8(cell.layer))
        .arg(cell.mapX)
        .arg(cell.mapY)
        .arg(cell.texture.id)
        .arg(QString::fromUtf8(cell.subtype), cell.image);
}

// Where two maps first differ.
QString difference(const Snapshot &expected, const Snapshot &found)
{
    if (expected.layers != found.layers)
        return QStringLiteral("the layers differ");
    size_t i = 0;
    while (i < expected.cells.size() && i < found.cells.size() && expected.cells[i] == found.cells[i])
        ++i;
    const QString want = i < expected.cells.size() ? describe(expected.cells[i]) : QStringLiteral("nothing");
    const QString have = i < found.cells.size() ? describe(found.cells[i]) : QStringLiteral("nothing");
    return QStringLiteral("cell %1 of %2: expected %3, found %4").arg(i).arg(expected.cells.size()).arg(want, have);
}

// A copy of every sector, in the same lists and order: what a load hands over.
LayerTable copyOf(const MapModel &model)
{
    LayerTable table;
    for (const auto &entry : model.layers()) {
        QList<Sector *> &sectors = table[entry.name];
        for (const Sector *sector : entry.sectors) {
            SectorData values = *sector->data;
            values.button = nullptr;
            auto *copy = new Sector(values);
            copy->setImagePath(sector->imagePath());
            sectors << copy;
        }
    }
    return table;
}

MapPiece turned(MapPiece piece, int how)
{
    switch (how) {
    case 1: return piece.turnedClockwise();
    case 2: return piece.turnedCounterClockwise();
    case 3: return piece.mirroredLeftRight();
    case 4: return piece.mirroredTopBottom();
    default: return piece;
    }
}

struct Step
{
    MapChange change;
    Snapshot before;
    Snapshot after;
};

class Session
{
public:
    Session()
    {
        QObject::connect(&model, &MapModel::sectorRemoved, [this](Sector *sector) {
            for (const auto &entry : model.layers()) {
                if (entry.sectors.contains(sector))
                    fail("a removed sector is still listed", QString::fromUtf8(entry.name));
            }
        });
    }

    void perform(Bytes &in)
    {
        const Snapshot before = snapshot(model);
        switch (in.below(13)) {
        case 0: { const QByteArray layer = anyLayer(in); const QList<QPoint> cells = someCells(in);
                  record(before, model.placeCells(layer, cells, anyTexture(in))); break; }
        case 1: { const QByteArray layer = anyLayer(in);
                  record(before, model.removeCells(layer, someCells(in))); break; }
        case 2: record(before, model.removeSectors(someSectors(model, in))); break;
        case 3: { const QByteArray layer = anyLayer(in); const QList<QPoint> cells = someCells(in);
                  record(before, model.retextureCells(layer, cells, anyTexture(in))); break; }
        case 4: { const QList<Sector *> sectors = someSectors(model, in);
                  record(before, model.retexture(sectors, anyTexture(in))); break; }
        case 5: properties(in, before); break;
        case 6: emission(in, before); break;
        case 7: record(before, model.clearLayer(anyLayer(in))); break;
        case 8: paste(in, before); break;
        case 9: { const QPoint from = anyCell(in);
                  record(before, MapPiece::removeArea(model, spanning(from, anyCell(in)))); break; }
        case 10: undo(); break;
        case 11: redo(); break;
        default: replace(before); break;
        }
        settle();
    }

private:
    void properties(Bytes &in, const Snapshot &before)
    {
        const QList<Sector *> sectors = someSectors(model, in);
        if (sectors.isEmpty())
            return;
        const QList<QByteArray> subtypes = subtypesOf(sectors.first()->layer());
        const QByteArray subtype = subtypes.value(in.below(std::max(1, int(subtypes.size()))));
        record(before, model.setProperties(sectors.first(), subtype, anyLighting(in)));
    }

    void emission(Bytes &in, const Snapshot &before)
    {
        LightPoint source;
        source.lighting = anyLighting(in);
        const QPoint at = anyCell(in);
        source.mapX = at.x();
        source.mapY = at.y();
        source.intensity = in.next();
        source.radius = 1 + in.below(4);
        record(before, model.emitPointLight(source, TextureEntry{"lamp.png", "assets/", 0}));
    }

    void paste(Bytes &in, const Snapshot &before)
    {
        const QPoint from = anyCell(in);
        const MapPiece piece = turned(MapPiece::copy(model, spanning(from, anyCell(in))), in.below(5));
        // The drop may reach left of column 0 or above row 0: those cells are left out.
        const QPoint topLeft(in.below(mapSide + 4) - 4, in.below(mapSide + 4) - 4);
        record(before, piece.pasteInto(model, topLeft));
    }

    void undo()
    {
        if (history.empty())
            return;
        Step step = history.back();
        history.pop_back();
        model.revert(step.change);
        expect("undo", step.before);
        future.push_back(step);
    }

    void redo()
    {
        if (future.empty())
            return;
        Step step = future.back();
        future.pop_back();
        model.reapply(step.change);
        expect("redo", step.after);
        history.push_back(step);
    }

    void replace(const Snapshot &before)
    {
        model.replaceMap(copyOf(model));
        history.clear();
        future.clear();
        expect("replacing the map with its copy", before);
    }

    // An edit must revert to the map of before and reapply to the map of after.
    void record(const Snapshot &before, const MapChange &change)
    {
        settle();
        if (change.isEmpty()) {
            expect("an edit that changed nothing", before);
            return;
        }
        const Snapshot after = snapshot(model);
        model.revert(change);
        expect("revert", before);
        model.reapply(change);
        expect("reapply", after);
        history.push_back(Step{change, before, after});
        future.clear();
    }

    void expect(const char *what, const Snapshot &map)
    {
        settle();
        const Snapshot now = snapshot(model);
        if (now != map)
            fail(what, difference(map, now));
    }

    // Erased sectors go at the next event-loop pass; then the rules must hold.
    void settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QStringList problems = model.checkConsistency();
        if (!problems.isEmpty())
            fail("the model broke its rules", problems.join(QLatin1Char('\n')));
    }

    MapModel model;
    std::vector<Step> history;
    std::vector<Step> future;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Erased sectors are deleted later, by the event loop's deferred deletion.
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Bytes in(data, size);
    Session session;
    while (in.left())
        session.perform(in);
    return 0;
}
