// libFuzzer target for the map file reader and writer, and for the rule that
// keeps texture paths inside the map's folder. Build and run with fuzz/run.sh.
#include "format/mapformat.h"
#include "format/texturepath.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>
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

void checkRead(const MapFormat::Parsed &parsed)
{
    QSet<QByteArray> names;
    for (const MapFormat::Grid &grid : parsed.grids) {
        check(!grid.name.contains('#') && !hasSeparator(grid.name) && grid.name != "Definitions");
        check(MapFormat::isWritable(grid.name));
        check(!names.contains(grid.name));
        names.insert(grid.name);
        for (const QList<QByteArray> &row : grid.rows) {
            for (const QByteArray &value : row)
                check(!value.isEmpty() && !value.contains(',') && !hasSeparator(value));
        }
    }
    check(parsed.definitions.isEmpty() || parsed.sawDefinitions);
    for (auto it = parsed.definitions.constBegin(); it != parsed.definitions.constEnd(); ++it) {
        const MapDefinition &definition = it.value();
        check(!it.key().contains(',') && !hasSeparator(it.key()));
        check(std::isfinite(definition.lighting.blinkDelay));
        check(!(definition.layer == "Ceil" || definition.layer == "Floor") || definition.subtype.isEmpty());
        check(MapFormat::isWritable(definition.layer) && MapFormat::isWritable(definition.subtype));
        check(!definition.texturePath.isEmpty());
    }
}

bool hasNoSubtype(const QByteArray &layer)
{
    return layer == "Ceil" || layer == "Floor";
}

QByteArray baseName(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// The name a texture's copy gets: "." and ".." would name a folder, not a file.
QByteArray copyName(const QByteArray &path)
{
    const QByteArray name = baseName(path);
    return name == "." || name == ".." ? QByteArray("_") : name;
}

QByteArray lightText(const SectorLighting &l)
{
    return QByteArray::number(l.emission) + ',' + QByteArray::number(l.emissionMin) + ','
        + QByteArray::number(l.emissionMax) + ',' + QByteArray::number(l.randomIntensity) + ','
        + MapFormat::formatBlinkDelay(l.blinkDelay);
}

// What the editor makes of each cell: "section x y subtype texture-or-light".
// A section decides how its cells are written (a light or an image), and Ceil
// and Floor cells carry no subtype.
QList<QByteArray> meaning(const MapFormat::Parsed &parsed)
{
    QList<QByteArray> cells;
    for (const MapFormat::Grid &grid : parsed.grids) {
        for (int row = 0; row < grid.rows.size(); ++row) {
            for (int column = 0; column < grid.rows.at(row).size(); ++column) {
                const auto found = parsed.definitions.constFind(grid.rows.at(row).at(column));
                if (found == parsed.definitions.constEnd())
                    continue;
                const QByteArray subtype = hasNoSubtype(grid.name) ? QByteArray() : found->subtype;
                const QByteArray what = grid.name == "Lightmap" ? lightText(found->lighting) : copyName(found->attributes);
                cells.append(grid.name + ' ' + QByteArray::number(column) + ' ' + QByteArray::number(row) + ' '
                             + subtype + ' ' + what);
            }
        }
    }
    std::sort(cells.begin(), cells.end());
    return cells;
}

// Parse, write, parse again: the second reading holds the same cells.
void checkWriteBack(const MapFormat::Parsed &parsed)
{
    QList<MapFormat::Layer> layers;
    qint64 cellsWritten = 1;
    for (const MapFormat::Grid &grid : parsed.grids) {
        MapFormat::Layer layer{grid.name, {}};
        for (int row = 0; row < grid.rows.size(); ++row) {
            for (int column = 0; column < grid.rows.at(row).size(); ++column) {
                const auto found = parsed.definitions.constFind(grid.rows.at(row).at(column));
                if (found == parsed.definitions.constEnd())
                    continue;
                // One identifier per line, as a load gives them.
                const qint32 id = qint32(qHash(found.key()) & 0x3fffffff) + 1;
                const QByteArray subtype = hasNoSubtype(grid.name) ? QByteArray() : found->subtype;
                // One source per copy name, as images of one folder have.
                layer.cells.append(MapFormat::Cell{column, row, id, subtype, copyName(found->attributes), "src/",
                                                   found->lighting});
                cellsWritten = std::max(cellsWritten, qint64(row + 1) * (column + 1));
            }
        }
        layers.append(layer);
    }
    if (cellsWritten * std::max(1, int(layers.size())) > 4000000)
        return; // a sparse giant: writing it out says nothing new and takes long
    const MapFormat::Parsed again = MapFormat::parse(MapFormat::write(layers, "m").text, "maps");
    check(again.droppedSections.isEmpty());
    check(meaning(again) == meaning(parsed));
}

// A folder holding one image, with a secret beside it, made once per run.
struct Sandbox
{
    QTemporaryDir root;
    QString folder;
    QString canonicalFolder;
    Sandbox()
    {
        folder = root.filePath(QStringLiteral("maps"));
        QDir().mkpath(folder + QStringLiteral("/level"));
        QFile image(folder + QStringLiteral("/level/a.png"));
        image.open(QIODevice::WriteOnly);
        image.write("png");
        QFile secret(root.filePath(QStringLiteral("secret.txt")));
        secret.open(QIODevice::WriteOnly);
        secret.write("secret");
        QFile::link(root.filePath(QStringLiteral("secret.txt")), folder + QStringLiteral("/level/out.png"));
        canonicalFolder = QDir(folder).canonicalPath() + QLatin1Char('/');
    }
};

void checkConfinement(const QByteArray &relative)
{
    static Sandbox sandbox;
    const TexturePath::Resolved resolved = TexturePath::resolve(sandbox.folder, relative);
    if (resolved.verdict == TexturePath::Verdict::Refused) {
        check(resolved.path.isEmpty() && !resolved.reason.isEmpty());
        return;
    }
    check(resolved.path.startsWith(sandbox.canonicalFolder));
    if (resolved.verdict == TexturePath::Verdict::Accepted)
        check(QFileInfo(resolved.path).isFile() && !resolved.path.endsWith(QLatin1String("secret.txt")));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const MapFormat::Parsed parsed = MapFormat::parse(text, "maps");
    checkRead(parsed);
    checkWriteBack(parsed);
    for (const MapDefinition &definition : parsed.definitions)
        checkConfinement(definition.attributes);
    checkConfinement(text.left(256));

    // The reader's parts are also called on their own with bodies from elsewhere.
    for (const QList<QByteArray> &row : MapFormat::parseGrid(text)) {
        for (const QByteArray &value : row)
            check(!value.isEmpty() && !hasSeparator(value));
    }
    MapFormat::parseDefinitions(text, "maps");
    return 0;
}
