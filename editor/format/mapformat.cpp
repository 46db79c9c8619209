#include "format/mapformat.h"

#include "format/layernames.h"


#include <QSet>
#include <QString>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

const char *const MapFormat::lampImage = "assets/lamp.png";

namespace {

const QByteArray definitionsSection("Definitions");
const QByteArray lightmapLayer(LayerNames::Lightmap);
const char utf8Bom[] = "\xEF\xBB\xBF";
// A fresh identifier for a line that would clash starts this far above the
// sector's own one, so the relation stays visible in the file.
const qint32 freshIdOffset = 5000;

bool hasNoSubtype(const QByteArray &layer)
{
    return layer == LayerNames::Ceil || layer == LayerNames::Floor;
}

// Numbers are read as Qt 5's QString read them: surrounding Unicode white
// space and a leading "+" are accepted, anything else reads as 0. Qt 6 takes
// ASCII white space only, so the rest is trimmed here first.
qint32 readInt(const QByteArray &field)
{
    bool ok = false;
    const qint32 value = QString::fromUtf8(field).trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

double readDouble(const QByteArray &field)
{
    bool ok = false;
    const double value = QString::fromUtf8(field).trimmed().toDouble(&ok);
    // "nan" and "inf" parse, but no blink delay can use them.
    return ok && std::isfinite(value) ? value : 0.0;
}

// Calls lineFound for every line of a file: LF ends a line, a CR right before
// it belongs to the line end, and any other CR splits the line as well. Stops
// when lineFound returns false.
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
            for (const QByteArray &part : line.split('\r')) {
                if (!lineFound(part))
                    return;
            }
        } else if (!lineFound(line)) {
            return;
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
        return true;
    });
    return lines;
}

// Tells the reader's progress every so many lines, and remembers a stop, so
// that a long read can be followed and cancelled.
class LineTicker
{
public:
    LineTicker(const MapFormat::Progress &progress, qint64 total) : progress(progress), total(total)
    {
        if (progress)
            stopped = !progress(0, total);
    }
    // False once the reader was told to stop.
    bool tick()
    {
        if (progress && !stopped && ++lines % linesPerReport == 0)
            stopped = !progress(done, total);
        return !stopped;
    }
    bool stopped = false;
    qint64 done = 0;

private:
    static constexpr qint64 linesPerReport = 4096;
    const MapFormat::Progress &progress;
    const qint64 total;
    qint64 lines = 0;
};

// A grid holds a few distinct values (zeros and the definitions' keys) in a
// great many cells: the cells share one copy of each instead of an allocation
// apiece, most of what a large map's parse held. Past a bound on distinct
// values (a file of nothing but different keys) the rest are plain copies.
class ValuePool
{
public:
    QByteArray shared(const char *begin, int length)
    {
        // Runs of one value are common (a row of zeros, a floor of one texture).
        if (length == last.size() && std::equal(begin, begin + length, last.constData()))
            return last;
        last = lookUp(begin, length);
        return last;
    }

private:
    static constexpr int maxDistinct = 65536;

    QByteArray lookUp(const char *begin, int length)
    {
        const QByteArray probe = QByteArray::fromRawData(begin, length);
        const auto found = pool.constFind(probe);
        if (found != pool.constEnd())
            return *found;
        QByteArray copy(begin, length);
        if (pool.size() < maxDistinct)
            pool.insert(copy);
        return copy;
    }

    QSet<QByteArray> pool;
    QByteArray last;
};

QList<QList<QByteArray>> rowsOf(const QList<QByteArray> &lines, LineTicker *ticker)
{
    QList<QList<QByteArray>> rows;
    rows.reserve(lines.size());
    ValuePool values;
    for (const QByteArray &line : lines) {
        if (ticker && !ticker->tick())
            break;
        // The fields between commas; empty ones are no cells. Sized once: a
        // growing list would hold up to twice the cells of a large grid.
        QList<QByteArray> row;
        row.reserve(int(line.count(',')) + 1);
        const char *const text = line.constData();
        int start = 0;
        while (start <= line.size()) {
            int end = line.indexOf(',', start);
            if (end < 0)
                end = line.size();
            if (end > start)
                row.append(values.shared(text + start, end - start));
            start = end + 1;
        }
        rows.append(row);
    }
    return rows;
}

// The definitions of the lines; with order and kept, also their keys and lines in file order.
QHash<QByteArray, MapDefinition> definitionsOf(const QList<QByteArray> &lines, const QByteArray &mapFolder,
                                               LineTicker *ticker, QList<QByteArray> *order = nullptr,
                                               QList<QByteArray> *kept = nullptr);

int filledValues(const QList<QByteArray> &lines)
{
    int filled = 0;
    for (const QByteArray &line : lines) {
        for (const QByteArray &value : line.split(','))
            filled += !value.isEmpty() && value != "0" ? 1 : 0;
    }
    return filled;
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

// Decides the file name of each source image's copy beside the map. Images
// that already lie in the copy folder keep their names (they are their own
// copies). Any other image takes its own file name when that is free: no other
// image of this write has it, and the copy folder holds nothing under it, or
// only the same bytes. Otherwise it gets the layer's name added.
class CopyNames
{
public:
    explicit CopyNames(const MapFormat::CopyRules &rules) : rules(rules) {}

    void reserve(const MapFormat::Cell &cell)
    {
        if (!rules.copyFolder.isEmpty() && cell.textureFolder == rules.copyFolder)
            claim(cell.textureFolder + cell.textureFileName, safeName(cell.textureFileName));
    }

    QByteArray nameFor(const MapFormat::Cell &cell, const QByteArray &layer)
    {
        const QByteArray name = safeName(cell.textureFileName);
        if (cell.textureFolder.isEmpty() || name.isEmpty())
            return name; // nothing to copy
        const QByteArray source = cell.textureFolder + cell.textureFileName;
        const auto known = nameOfSource.constFind(source);
        if (known != nameOfSource.constEnd())
            return *known;
        QByteArray chosen = name;
        for (int attempt = 1; !fits(source, chosen); ++attempt)
            chosen = suffixed(name, layer, attempt);
        claim(source, chosen);
        return chosen;
    }

    const QList<MapFormat::Copy> &copies() const { return list; }

private:
    // A name that reads back as one field of one line and stays in its folder.
    static QByteArray safeName(QByteArray name)
    {
        for (char &c : name) {
            if (c == ',' || c == '\r' || c == '\n' || c == '\0' || c == '/')
                c = '_';
        }
        return name == "." || name == ".." ? QByteArray("_") : name;
    }

    static QByteArray suffixed(const QByteArray &name, const QByteArray &layer, int attempt)
    {
        const int dot = name.lastIndexOf('.');
        const QByteArray stem = dot > 0 ? name.left(dot) : name;
        const QByteArray extension = dot > 0 ? name.mid(dot) : QByteArray();
        QByteArray tag = '-' + safeName(layer);
        if (attempt > 1)
            tag += '-' + QByteArray::number(attempt);
        return stem + tag + extension;
    }

    bool fits(const QByteArray &source, const QByteArray &name) const
    {
        // Two images with the same bytes may share one copy.
        const auto claimed = sourceOfName.constFind(name);
        if (claimed != sourceOfName.constEnd())
            return rules.canTake && rules.canTake(source, *claimed);
        return rules.copyFolder.isEmpty() || !rules.canTake || rules.canTake(source, rules.copyFolder + name);
    }

    void claim(const QByteArray &source, const QByteArray &name)
    {
        if (nameOfSource.contains(source))
            return;
        nameOfSource.insert(source, name);
        if (sourceOfName.contains(name))
            return; // shares the copy of an image with the same bytes
        sourceOfName.insert(name, source);
        list.append(MapFormat::Copy{source, name});
    }

    const MapFormat::CopyRules &rules;
    QHash<QByteArray, QByteArray> nameOfSource;
    QHash<QByteArray, QByteArray> sourceOfName;
    QList<MapFormat::Copy> list;
};

// Collects the definition lines of one write. A line is shared only by cells
// that would read back identically; any other cell with the same identifier
// gets a line of its own under an identifier nothing else in the file uses.
class DefinitionTable
{
public:
    DefinitionTable(const QByteArray &mapName, QSet<qint32> usedIds, CopyNames &copyNames)
        : mapName(mapName), used(std::move(usedIds)), names(copyNames) {}

    qint32 idFor(const MapFormat::Cell &cell, const QByteArray &layer)
    {
        // A layer's cells come in runs that look alike: a cell that would build
        // the very line of the cell before it takes that line's identifier.
        if (hasRecent && layer == recentLayer && looksAlike(cell, recent))
            return recentId;
        recentId = buildIdFor(cell, layer);
        recent = cell;
        recentLayer = layer;
        hasRecent = true;
        return recentId;
    }

    const QList<MapDefinition> &definitions() const { return lines; }

private:
    static bool looksAlike(const MapFormat::Cell &a, const MapFormat::Cell &b)
    {
        return a.id == b.id && a.subtype == b.subtype && a.textureFileName == b.textureFileName
            && a.textureFolder == b.textureFolder && a.lighting == b.lighting;
    }

    qint32 buildIdFor(const MapFormat::Cell &cell, const QByteArray &layer)
    {
        MapDefinition definition;
        definition.layer = layer;
        definition.subtype = cell.subtype;
        const bool light = layer == lightmapLayer;
        if (!cell.textureFolder.isEmpty())
            definition.texturePath = cell.textureFolder + cell.textureFileName;
        definition.attributes = light ? lightAttributes(cell.lighting)
                                      : mapName + '/' + names.nameFor(cell, layer);

        QList<int> &sameSource = bySourceId[cell.id];
        for (int index : std::as_const(sameSource)) {
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
    CopyNames &names;
    QHash<qint32, QList<int>> bySourceId;
    QList<MapDefinition> lines;
    bool hasRecent = false;
    MapFormat::Cell recent;
    QByteArray recentLayer;
    qint32 recentId = 0;
};

// Gathers the text in pieces of about a megabyte for the sink, with the CR LF
// line ends the game expects (also for any LF inside a name).
class Emitter
{
public:
    explicit Emitter(const MapFormat::Sink &sink) : sink(sink) {}

    Emitter &operator<<(const QByteArray &text)
    {
        buffer += text;
        if (buffer.size() >= chunkSize)
            flush();
        return *this;
    }
    Emitter &operator<<(char c)
    {
        buffer += c;
        return *this;
    }

    bool flush()
    {
        if (ok && !buffer.isEmpty()) {
            buffer.replace('\n', "\r\n");
            ok = sink(buffer);
        }
        buffer.clear();
        return ok;
    }

private:
    static constexpr int chunkSize = 1 << 20;
    const MapFormat::Sink &sink;
    QByteArray buffer;
    bool ok = true;
};

bool isPlaced(const MapFormat::Cell &cell)
{
    return cell.mapX >= 0 && cell.mapY >= 0;
}

using Placed = MapFormat::Placed;

// A layer's cell values by position in row order; of two cells on one place
// the later one in the list wins when the grid is emitted.
Placed layerValues(const MapFormat::Layer &layer, qint64 width, DefinitionTable &table)
{
    Placed values;
    values.reserve(size_t(layer.cells.size()));
    for (const MapFormat::Cell &cell : layer.cells) {
        if (isPlaced(cell))
            values.emplace_back(qint64(cell.mapY) * width + cell.mapX, table.idFor(cell, layer.name));
    }
    std::stable_sort(values.begin(), values.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    return values;
}

// The value written at each filled place: the last one on it.
template<typename Function>
void forEachPlace(const Placed &values, Function found)
{
    for (size_t i = 0; i < values.size(); ++i) {
        if (i + 1 == values.size() || values[i + 1].first != values[i].first)
            found(values[i].first, values[i].second);
    }
}

void emitGrid(Emitter &out, const Placed &values, qint64 width, qint64 height)
{
    static const QByteArray empty("0,");
    size_t next = 0;
    for (qint64 row = 0; row < height; ++row) {
        QByteArray line;
        for (qint64 column = 0; column < width; ++column) {
            const qint64 key = row * width + column;
            qint32 value = 0;
            while (next < values.size() && values[next].first == key)
                value = values[next++].second;
            if (value == 0) {
                line += empty;
            } else {
                line += QByteArray::number(value);
                line += ',';
            }
        }
        line += '\n';
        out << line;
    }
}

QByteArray definitionLine(const MapDefinition &definition)
{
    return MapFormat::lineText(definition) + '\n';
}

// Bytes of text as written: every LF becomes CR LF.
qint64 writtenSize(const QByteArray &text)
{
    return text.size() + text.count('\n');
}

QList<MapDefinition> inFileOrder(QList<MapDefinition> definitions, const QList<QByteArray> &lineOrder)
{
    if (lineOrder.isEmpty())
        return definitions;
    QHash<QByteArray, int> rank;
    for (int i = 0; i < lineOrder.size(); ++i) {
        if (!rank.contains(lineOrder.at(i)))
            rank.insert(lineOrder.at(i), i);
    }
    std::vector<std::pair<int, int>> order;
    for (int i = 0; i < definitions.size(); ++i) {
        order.emplace_back(rank.value(MapFormat::lineText(definitions.at(i)), lineOrder.size()), i);
    }
    std::stable_sort(order.begin(), order.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<MapDefinition> sorted;
    for (const auto &entry : order)
        sorted.append(definitions.at(entry.second));
    return sorted;
}

// The size of the planned text. Grids can be vast before the limits judge
// them, so their part is counted in floating point and saturates.
qint64 plannedBytes(const MapFormat::Plan &plan)
{
    const double emptyGrid = double(plan.height) * double(2 * plan.width + 2);
    double bytes = writtenSize("#Definitions\n");
    for (const MapFormat::Plan::Section &grid : plan.sections) {
        bytes += writtenSize('#' + grid.name + '\n') + emptyGrid + 2;
        // A filled place writes its number and "," where an empty one writes "0,".
        forEachPlace(grid.values, [&bytes](qint64, qint32 value) { bytes += QByteArray::number(value).size() - 1; });
    }
    for (const MapDefinition &definition : plan.definitions)
        bytes += writtenSize(definitionLine(definition));
    const double most = double(std::numeric_limits<qint64>::max() / 2);
    return bytes < most ? qint64(bytes) : qint64(most);
}

} // namespace

MapFormat::Written MapFormat::write(const QList<Layer> &layers, const QByteArray &mapName)
{
    QByteArray text;
    Written written = write(layers, mapName, QByteArray(), [&text](const QByteArray &chunk) {
        text += chunk;
        return true;
    });
    written.text = text;
    return written;
}

MapFormat::Written MapFormat::write(const QList<Layer> &layers, const QByteArray &mapName,
                                    const QByteArray &copyFolder, const Sink &sink)
{
    const Plan planned = plan(layers, mapName, CopyRules{copyFolder, {}});
    Written written;
    written.complete = writeText(planned, sink);
    written.definitions = planned.definitions;
    written.copies = planned.copies;
    return written;
}

MapFormat::Plan MapFormat::plan(const QList<Layer> &layers, const QByteArray &mapName, const CopyRules &rules,
                                const QList<QByteArray> &lineOrder)
{
    Plan plan;
    QSet<qint32> cellIds;
    CopyNames copyNames(rules);
    for (const Layer &layer : layers) {
        for (const Cell &cell : layer.cells) {
            if (!isPlaced(cell))
                continue;
            plan.width = std::max(plan.width, qint64(cell.mapX) + 1);
            plan.height = std::max(plan.height, qint64(cell.mapY) + 1);
            if (std::max(cell.mapX, cell.mapY) > std::max(plan.farthest.mapX, plan.farthest.mapY)) {
                plan.farthest = cell;
                plan.farthestLayer = layer.name;
            }
            cellIds.insert(cell.id);
            copyNames.reserve(cell);
        }
    }

    DefinitionTable table(mapName, cellIds, copyNames);
    for (const Layer &layer : layers) {
        plan.sections.append(Plan::Section{layer.name, layerValues(layer, plan.width, table)});
        forEachPlace(plan.sections.last().values, [&plan](qint64, qint32) { ++plan.cells; });
    }
    plan.definitions = inFileOrder(table.definitions(), lineOrder);
    plan.copies = copyNames.copies();
    plan.bytes = plannedBytes(plan);
    return plan;
}

bool MapFormat::writeText(const Plan &plan, const Sink &sink)
{
    Emitter out(sink);
    for (const Plan::Section &grid : plan.sections) {
        out << '#' << grid.name << '\n';
        emitGrid(out, grid.values, plan.width, plan.height);
        out << '\n';
    }
    out << QByteArray("#Definitions\n");
    for (const MapDefinition &definition : plan.definitions)
        out << definitionLine(definition);
    return out.flush();
}

MapFormat::Parsed MapFormat::parse(const QByteArray &text, const QByteArray &mapFolder, const Progress &progress)
{
    Parsed parsed;
    LineTicker ticker(progress, text.size());
    QSet<QByteArray> storedGrids;
    QByteArray section;
    QList<QByteArray> lines;

    auto endSection = [&]() {
        if (section == definitionsSection) {
            // A later body adds to the definitions instead of replacing them, so
            // a stray empty line cannot wipe what was read before.
            QList<QByteArray> keys;
            QList<QByteArray> kept;
            const QHash<QByteArray, MapDefinition> more = definitionsOf(lines, mapFolder, &ticker, &keys, &kept);
            for (int i = 0; i < keys.size(); ++i) {
                if (!parsed.definitions.contains(keys.at(i))) {
                    parsed.definitions.insert(keys.at(i), more.value(keys.at(i)));
                    parsed.definitionOrder.append(keys.at(i));
                    parsed.definitionLines.append(kept.at(i));
                }
            }
        } else if (storedGrids.contains(section)) {
            // Only the first grid of a name is read; what a later one held is lost.
            const int filled = filledValues(lines);
            if (filled > 0)
                parsed.duplicateSections.append(Duplicate{cleaned(section), filled});
        } else {
            storedGrids.insert(section);
            // A name that could not be written back would make the next save
            // unreadable, so such a section is left out (and reported).
            if (isWritable(section))
                parsed.grids.append(Grid{section, rowsOf(lines, &ticker)});
            else
                parsed.droppedSections.append(cleaned(section));
        }
        lines.clear();
    };

    const int start = text.startsWith(utf8Bom) ? int(sizeof(utf8Bom)) - 1 : 0;
    forEachFileLine(text.mid(start), [&](const QByteArray &line) {
        ticker.done += line.size() + 1;
        if (line.startsWith('#')) {
            // The lines are kept: rows right above a header belong to that header.
            section = line;
            section.replace('#', QByteArray());
            if (section == definitionsSection)
                parsed.sawDefinitions = true;
        } else if (line.isEmpty()) {
            endSection();
        } else {
            lines.append(line);
        }
        return ticker.tick();
    });
    if (!ticker.stopped)
        endSection();
    parsed.cancelled = ticker.stopped;
    return parsed;
}

QList<QList<QByteArray>> MapFormat::parseGrid(const QByteArray &body)
{
    return rowsOf(bodyLines(body), nullptr);
}

QHash<QByteArray, MapDefinition> MapFormat::parseDefinitions(const QByteArray &body,
                                                             const QByteArray &mapFolder)
{
    return definitionsOf(bodyLines(body), mapFolder, nullptr);
}

namespace {

QHash<QByteArray, MapDefinition> definitionsOf(const QList<QByteArray> &lines, const QByteArray &mapFolder,
                                               LineTicker *ticker, QList<QByteArray> *order, QList<QByteArray> *kept)
{
    QHash<QByteArray, MapDefinition> definitions;
    for (const QByteArray &line : lines) {
        if (ticker && !ticker->tick())
            break;
        const QList<QByteArray> fields = line.split(',');
        if (definitions.contains(fields.at(0)))
            continue;
        // A field the line does not have reads as its default.
        auto field = [&fields](int index) { return fields.value(index); };
        auto has = [&fields](int index) { return index < fields.size(); };

        MapDefinition definition;
        definition.id = readInt(fields.at(0));
        definition.layer = MapFormat::cleaned(field(1));
        if (!hasNoSubtype(definition.layer))
            definition.subtype = MapFormat::cleaned(field(2));
        if (definition.layer == lightmapLayer) {
            definition.texturePath = MapFormat::lampImage;
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
            // The path as the file gives it; the loader decides whether it may be read.
            definition.attributes = MapFormat::cleaned(field(3));
            definition.texturePath = mapFolder + '/' + definition.attributes;
        }
        definitions.insert(fields.at(0), definition);
        if (order && kept) {
            order->append(fields.at(0));
            kept->append(line);
        }
    }
    return definitions;
}

} // namespace

bool MapFormat::isWritable(const QByteArray &text)
{
    for (char c : text) {
        if (c == ',' || c == '\r' || c == '\n' || c == '\0')
            return false;
    }
    return cleaned(text) == text;
}

QByteArray MapFormat::cleaned(const QByteArray &text)
{
    QByteArray bytes = text;
    bytes.replace('\0', QByteArray()); // first: decoding would stop at a NUL
    return QString::fromUtf8(bytes).toUtf8();
}

QByteArray MapFormat::lineText(const MapDefinition &definition)
{
    return QByteArray::number(definition.id) + ',' + definition.layer + ',' + definition.subtype + ','
        + definition.attributes;
}

QByteArray MapFormat::formatBlinkDelay(double value)
{
    return QString::number(value, 'g', 6).toLatin1();
}
