#include "mapfile/mapformat.h"

#include <QSet>
#include <QString>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

const char *const MapFormat::lampImage = "assets/lamp.png";

namespace {

const QByteArray definitionsSection("Definitions");
const QByteArray lightmapLayer("Lightmap");
const char utf8Bom[] = "\xEF\xBB\xBF";
// A fresh identifier for a line that would clash starts this far above the
// sector's own one, so the relation stays visible in the file.
const qint32 freshIdOffset = 5000;

bool hasNoSubtype(const QByteArray &layer)
{
    return layer == "Ceil" || layer == "Floor";
}

// Numbers are read exactly as QString reads them: surrounding Unicode white
// space and a leading "+" are accepted, anything else reads as 0.
qint32 readInt(const QByteArray &field)
{
    bool ok = false;
    const qint32 value = QString::fromUtf8(field).toInt(&ok, 10);
    return ok ? value : 0;
}

double readDouble(const QByteArray &field)
{
    bool ok = false;
    const double value = QString::fromUtf8(field).toDouble(&ok);
    // "nan" and "inf" parse, but no blink delay can use them.
    return ok && std::isfinite(value) ? value : 0.0;
}

// Calls lineFound for every line of a file: LF ends a line, a CR right before
// it belongs to the line end, and any other CR splits the line as well.
template<typename Function>
void forEachFileLine(const QByteArray &text, Function lineFound)
{
    int position = 0;
    while (position < text.size()) {
        const int newline = text.indexOf('\n', position);
        const int end = newline < 0 ? text.size() : newline;
        int lineEnd = end;
        if (newline >= 0 && lineEnd > position && text.at(lineEnd - 1) == '\r')
            --lineEnd;
        const QByteArray line = text.mid(position, lineEnd - position);
        if (line.contains('\r')) {
            for (const QByteArray &part : line.split('\r'))
                lineFound(part);
        } else {
            lineFound(line);
        }
        position = end + 1;
    }
}

// The non-empty lines of a section body; bodies handed in from outside may
// still carry CR characters.
QList<QByteArray> bodyLines(const QByteArray &body)
{
    QList<QByteArray> lines;
    forEachFileLine(body, [&lines](const QByteArray &line) {
        if (!line.isEmpty())
            lines.append(line);
    });
    return lines;
}

QByteArray lightAttributes(const SectorLighting &lighting)
{
    QByteArray text = QByteArray::number(lighting.emission);
    text += ',';
    text += QByteArray::number(lighting.emissionMin);
    text += ',';
    text += QByteArray::number(lighting.emissionMax);
    text += lighting.randomIntensity ? ",true," : ",false,";
    text += MapFormat::formatBlinkDelay(lighting.blinkDelay);
    return text;
}

// Collects the definition lines of one write. A line is shared only by cells
// that would read back identically; any other cell with the same identifier
// gets a line of its own under an identifier nothing else in the file uses.
class DefinitionTable
{
public:
    DefinitionTable(const QByteArray &mapName, QSet<qint32> usedIds)
        : mapName(mapName), used(std::move(usedIds)) {}

    qint32 idFor(const MapFormat::Cell &cell, const QByteArray &layer)
    {
        MapDefinition definition;
        definition.layer = layer;
        definition.subtype = cell.subtype;
        definition.texturePath = cell.textureFolder + cell.textureFileName;
        const bool light = layer == lightmapLayer;
        definition.attributes = light ? lightAttributes(cell.lighting)
                                      : mapName + '/' + cell.textureFileName;

        QList<int> &sameSource = bySourceId[cell.id];
        for (int index : qAsConst(sameSource)) {
            const MapDefinition &line = lines.at(index);
            if ((line.layer == lightmapLayer) == light && line.subtype == definition.subtype
                && line.attributes == definition.attributes)
                return line.id;
        }
        // "0" is an empty cell, so a sector numbered 0 would vanish from the grid.
        definition.id = sameSource.isEmpty() && cell.id != 0 ? cell.id : freshId(cell.id);
        sameSource.append(lines.size());
        lines.append(definition);
        return definition.id;
    }

    const QList<MapDefinition> &definitions() const { return lines; }

private:
    qint32 freshId(qint32 id)
    {
        // Counts in 32 bits and wraps around at the top; "0" means an empty cell.
        quint32 candidate = quint32(id) + quint32(freshIdOffset);
        while (candidate == 0 || used.contains(qint32(candidate)))
            ++candidate;
        used.insert(qint32(candidate));
        return qint32(candidate);
    }

    QByteArray mapName;
    QSet<qint32> used;
    QHash<qint32, QList<int>> bySourceId;
    QList<MapDefinition> lines;
};

bool isPlaced(const MapFormat::Cell &cell)
{
    return cell.mapX >= 0 && cell.mapY >= 0;
}

} // namespace

MapFormat::Written MapFormat::write(const QList<Layer> &layers, const QByteArray &mapName)
{
    qint64 width = 1;
    qint64 height = 1;
    QSet<qint32> cellIds;
    for (const Layer &layer : layers) {
        for (const Cell &cell : layer.cells) {
            if (!isPlaced(cell))
                continue;
            width = std::max(width, qint64(cell.mapX) + 1);
            height = std::max(height, qint64(cell.mapY) + 1);
            cellIds.insert(cell.id);
        }
    }

    DefinitionTable table(mapName, cellIds);
    QByteArray text;
    std::vector<qint32> grid;
    for (const Layer &layer : layers) {
        grid.assign(size_t(width * height), 0);
        for (const Cell &cell : layer.cells) {
            if (isPlaced(cell))
                grid[size_t(cell.mapY * width + cell.mapX)] = table.idFor(cell, layer.name);
        }
        text += '#';
        text += layer.name;
        text += '\n';
        for (qint64 row = 0; row < height; ++row) {
            for (qint64 column = 0; column < width; ++column) {
                text += QByteArray::number(grid[size_t(row * width + column)]);
                text += ',';
            }
            text += '\n';
        }
        text += '\n';
    }

    text += "#Definitions\n";
    for (const MapDefinition &definition : table.definitions()) {
        text += QByteArray::number(definition.id);
        text += ',';
        text += definition.layer;
        text += ',';
        text += definition.subtype;
        text += ',';
        text += definition.attributes;
        text += '\n';
    }
    // The game expects CR LF line ends, also for any LF inside a name.
    text.replace('\n', "\r\n");
    return Written{text, table.definitions()};
}

MapFormat::Parsed MapFormat::parse(const QByteArray &text, const QByteArray &mapFolder)
{
    Parsed parsed;
    QSet<QByteArray> storedGrids;
    QByteArray section;
    QByteArray body;

    auto endSection = [&]() {
        if (section == definitionsSection) {
            // A later body adds to the definitions instead of replacing them, so
            // a stray empty line cannot wipe what was read before.
            const QHash<QByteArray, MapDefinition> more = parseDefinitions(body, mapFolder);
            for (auto it = more.constBegin(); it != more.constEnd(); ++it) {
                if (!parsed.definitions.contains(it.key()))
                    parsed.definitions.insert(it.key(), it.value());
            }
        } else if (!storedGrids.contains(section)) {
            storedGrids.insert(section);
            parsed.grids.append(Grid{section, parseGrid(body)});
        }
        body.clear();
    };

    const int start = text.startsWith(utf8Bom) ? int(sizeof(utf8Bom)) - 1 : 0;
    forEachFileLine(text.mid(start), [&](const QByteArray &line) {
        if (line.startsWith('#')) {
            // The body is kept: rows right above a header belong to that header.
            section = line;
            section.replace('#', QByteArray());
            if (section == definitionsSection)
                parsed.sawDefinitions = true;
        } else if (line.isEmpty()) {
            endSection();
        } else {
            body += line;
            body += '\n';
        }
    });
    endSection();
    return parsed;
}

QList<QList<QByteArray>> MapFormat::parseGrid(const QByteArray &body)
{
    QList<QList<QByteArray>> rows;
    for (const QByteArray &line : bodyLines(body)) {
        QList<QByteArray> values;
        for (const QByteArray &value : line.split(',')) {
            if (!value.isEmpty())
                values.append(value);
        }
        rows.append(values);
    }
    return rows;
}

QHash<QByteArray, MapDefinition> MapFormat::parseDefinitions(const QByteArray &body,
                                                             const QByteArray &mapFolder)
{
    QHash<QByteArray, MapDefinition> definitions;
    for (const QByteArray &line : bodyLines(body)) {
        const QList<QByteArray> fields = line.split(',');
        if (definitions.contains(fields.at(0)))
            continue;
        // A field the line does not have reads as its default.
        auto field = [&fields](int index) { return fields.value(index); };
        auto has = [&fields](int index) { return index < fields.size(); };

        MapDefinition definition;
        definition.id = readInt(fields.at(0));
        definition.layer = field(1);
        if (!hasNoSubtype(definition.layer))
            definition.subtype = field(2);
        if (definition.layer == lightmapLayer) {
            definition.texturePath = lampImage;
            SectorLighting &lighting = definition.lighting;
            if (has(3))
                lighting.emission = readInt(field(3));
            if (has(4))
                lighting.emissionMin = readInt(field(4));
            if (has(5))
                lighting.emissionMax = readInt(field(5));
            if (has(6))
                lighting.randomIntensity = field(6) == "true" ? 1 : 0;
            if (has(7))
                lighting.blinkDelay = readDouble(field(7));
        } else {
            definition.texturePath = mapFolder + '/' + field(3);
        }
        definitions.insert(fields.at(0), definition);
    }
    return definitions;
}

QByteArray MapFormat::formatBlinkDelay(double value)
{
    return QString::number(value, 'g', 6).toLatin1();
}
