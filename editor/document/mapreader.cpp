#include "document/mapreader.h"

#include "document/editedfile.h"
#include "format/maplimits.h"
#include "format/maptextfile.h"
#include "format/texturepath.h"
#include "format/layernames.h"
#include "model/sector.h"
#include "model/subtypetable.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>

#include <algorithm>
#include <new>

namespace {

const QString outOfMemory = QStringLiteral("There was not enough memory for it.");

// An image another editor window named with its piece. The clipboard is
// anyone's: only an absolute path to a readable image of a sane size counts,
// so that no other file can reach the texture copies of the next save.
QString usableImage(const QString &path)
{
    if (path.isEmpty() || !QDir::isAbsolutePath(path))
        return QString();
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty() || !TexturePath::isRegularFile(target, MapLimits::imageBytes))
        return QString();
    QImageReader reader(target);
    const QSize size = reader.size();
    const bool sane = reader.canRead() && qint64(size.width()) * size.height() <= MapLimits::imagePixels;
    return sane ? target : QString();
}

// How many refused paths a warning names; the count says the rest.
const int namedInWarning = 5;
// A load keeps the file's identifiers below this; the counter goes on above them.
const qint32 highestKeptId = 999999999;

} // namespace

LayerTable MapReader::load(const QString &name, const TextureIds &ids)
{
    // Texture paths are relative to the real file, wherever a link points.
    shared.fileName = EditedFile::realPathOf(name);
    keepFileIds = true;
    try {
        QByteArray text;
        switch (MapTextFile::read(name, &text, nullptr, progressOf(Phase::Read))) {
        case MapTextFile::Outcome::Missing:
            fail(QStringLiteral("The file does not exist."));
            return LayerTable();
        case MapTextFile::Outcome::NotRegular:
            fail(QStringLiteral("It is not a regular file (a folder, a device or a pipe), so it was not read."));
            return LayerTable();
        case MapTextFile::Outcome::TooLarge:
            fail(QStringLiteral("The file is larger than %1, the largest map file the editor opens.")
                     .arg(MapLimits::fileBytesText()));
            return LayerTable();
        case MapTextFile::Outcome::Unreadable:
            fail(QStringLiteral("The file cannot be read."));
            return LayerTable();
        case MapTextFile::Outcome::Cancelled:
            shared.cancelled = true;
            return LayerTable();
        case MapTextFile::Outcome::Read:
            break;
        }
        shared.hash = EditedFile::hashOf(text);
        return parseMap(text, ids);
    } catch (const std::bad_alloc &) {
        fail(outOfMemory);
        return LayerTable();
    }
}

LayerTable MapReader::parseText(const QByteArray &text, const QString &folder, const TextureIds &ids,
                              const QHash<QByteArray, QString> &images)
{
    if (text.size() > MapLimits::fileBytes) {
        fail(QStringLiteral("The text is larger than %1, the largest map the editor opens.")
                 .arg(MapLimits::fileBytesText()));
        return LayerTable();
    }
    textFolder = folder;
    folderUnknown = folder.isEmpty();
    readingText = true;
    sentImages = images;
    try {
        return parseMap(text, ids);
    } catch (const std::bad_alloc &) {
        fail(outOfMemory);
        return LayerTable();
    }
}

LayerTable MapReader::parseMap(const QByteArray &text, const TextureIds &ids)
{
    const MapFormat::Parsed parsed = MapFormat::parse(text, mapFolder().toUtf8(), progressOf(Phase::Parse));
    if (parsed.cancelled) {
        shared.cancelled = true;
        return LayerTable();
    }
    shared.definitionLines = parsed.definitionLines;
    if (!parsed.sawDefinitions) {
        fail(QStringLiteral("The file has no \"#Definitions\" section, so it is not a map file."));
        return LayerTable();
    }
    noteSectionsLeftOut(parsed);
    return inEditorOrder(buildSectors(parsed, ids), false);
}

void MapReader::noteSectionsLeftOut(const MapFormat::Parsed &parsed)
{
    if (!parsed.droppedSections.isEmpty()) {
        QStringList names;
        for (const QByteArray &section : parsed.droppedSections)
            names.append(QStringLiteral("\"%1\"").arg(QString::fromUtf8(section)));
        note(QStringLiteral("Sections left out"),
             QStringLiteral("%1 section(s) have names that cannot be written back (a \",\", a NUL byte or "
                            "invalid UTF-8) and were left out: %2")
                 .arg(names.size())
                 .arg(names.mid(0, namedInWarning).join(QStringLiteral(", "))));
    }
    if (!parsed.duplicateSections.isEmpty()) {
        QStringList sections;
        for (const MapFormat::Duplicate &duplicate : parsed.duplicateSections)
            sections.append(QStringLiteral("\"#%1\" (%2 cell(s))")
                                .arg(QString::fromUtf8(duplicate.name.left(80)))
                                .arg(duplicate.filledCells));
        note(QStringLiteral("Sections left out"),
             QStringLiteral("Only the first section of a name is read. These sections repeat a name, and their "
                            "cells were left out: %1")
                 .arg(sections.mid(0, namedInWarning).join(QStringLiteral(", "))));
    }
}

std::function<bool(qint64, qint64)> MapReader::progressOf(Phase phase) const
{
    if (!reportProgress)
        return {};
    return [this, phase](qint64 done, qint64 total) { return reportProgress(phase, done, total); };
}

// Counts the cells a load would make; refuses more than the editor can hold.
bool MapReader::countCells(const MapFormat::Parsed &parsed)
{
    qint64 cells = 0;
    for (const auto &grid : parsed.grids) {
        for (int row = 0; row < grid.rows.size(); ++row) {
            const QList<QByteArray> &values = grid.rows.at(row);
            for (int column = 0; column < values.size(); ++column) {
                if (values.at(column) == "0")
                    continue;
                if (row >= MapLimits::extent || column >= MapLimits::extent)
                    ++farCells;
                else if (parsed.definitions.contains(values.at(column)))
                    ++cells;
            }
        }
    }
    if (cells > MapLimits::cells) {
        fail(QStringLiteral("The map has %1 filled cells; the editor opens at most %2.")
                 .arg(MapLimits::count(cells), MapLimits::cellsText()));
        return false;
    }
    expectedCells = int(cells);
    return true;
}

LayerTable MapReader::buildSectors(const MapFormat::Parsed &parsed, const TextureIds &ids)
{
    if (!countCells(parsed))
        return LayerTable();
    chooseIdentifiers(parsed, ids);
    LayerTable table;
    QHash<QByteArray, const Sector *> firstOf;
    int made = 0;
    if (reportProgress && !reportProgress(Phase::Sectors, 0, expectedCells)) {
        shared.cancelled = true;
        return table;
    }
    try {
        for (const auto &grid : parsed.grids) {
            const int rows = int(std::min<qsizetype>(grid.rows.size(), MapLimits::extent));
            for (int row = 0; row < rows; ++row) {
                const QList<QByteArray> &values = grid.rows.at(row);
                const int columns = int(std::min<qsizetype>(values.size(), MapLimits::extent));
                for (int column = 0; column < columns; ++column) {
                    const QByteArray &value = values.at(column);
                    if (value == "0")
                        continue;
                    auto found = parsed.definitions.constFind(value);
                    if (found == parsed.definitions.constEnd()) {
                        ++shared.skipped;
                        continue;
                    }
                    QList<Sector *> &sectors = table[grid.name];
                    SectorData values;
                    values.mapX = column;
                    values.mapY = row;
                    auto *sector = new Sector(values);
                    sectors.append(sector);
                    // Cells of one definition share its strings: a large map
                    // holds few definitions and many cells.
                    if (const Sector *first = firstOf.value(value)) {
                        copyDefinition(*first, sector);
                    } else {
                        applyDefinition(resolved(value, *found, ids), sector);
                        firstOf.insert(value, sector);
                    }
                    if (reportProgress && ++made % 256 == 0 && !reportProgress(Phase::Sectors, made, expectedCells)) {
                        shared.cancelled = true;
                        return dropAll(table);
                    }
                }
            }
        }
    } catch (const std::bad_alloc &) {
        fail(outOfMemory);
        return dropAll(table);
    }
    noteLeftOut();
    return table;
}

// A load keeps the identifier each line of the file gives, so that a map
// saved unchanged is the same file: any positive number up to highestKeptId
// that no earlier line took. Other lines, and text from the clipboard, take
// fresh numbers from the gallery's counter, which first moves past every kept
// one. The editor gives way to the kept numbers (TextureGallery::makeWayFor).
void MapReader::chooseIdentifiers(const MapFormat::Parsed &parsed, const TextureIds &ids)
{
    if (!keepFileIds || !ids.isSet())
        return;
    QSet<qint32> taken;
    qint32 highest = 0;
    for (const QByteArray &key : parsed.definitionOrder) {
        const qint32 id = parsed.definitions.value(key).id;
        if (id < 1 || id > highestKeptId || taken.contains(id))
            continue;
        taken.insert(id);
        fileIds.insert(key, id);
        highest = std::max(highest, id);
    }
    ids.reserveThrough(highest);
}

// Cells that shared a definition line share one identifier, the file's own or
// a fresh one, never a gallery texture's. The texture path is judged once per line.
MapDefinition MapReader::resolved(const QByteArray &key, const MapDefinition &definition,
                                const TextureIds &ids)
{
    const auto known = resolvedDefinitions.constFind(key);
    if (known != resolvedDefinitions.constEnd())
        return *known;
    MapDefinition result = definition;
    const auto kept = fileIds.constFind(key);
    if (kept != fileIds.constEnd()) {
        result.id = *kept;
        keptIds.insert(*kept);
    } else if (ids.isSet()) {
        result.id = ids.next();
    }
    if (definition.layer != LayerNames::Lightmap)
        result.texturePath = imageOf(definition).toUtf8();
    resolvedDefinitions.insert(key, result);
    return result;
}

// The image a texture line stands for: the file beside the map, else (a
// texture not yet saved there) the image the sender of a piece showed. Empty,
// with its reason noted, when there is none; a missing file keeps its path
// for its line.
QString MapReader::imageOf(const MapDefinition &definition)
{
    const TexturePath::Resolved path = folderUnknown ? TexturePath::Resolved{TexturePath::Verdict::Missing, {}, {}}
                                                     : TexturePath::resolve(mapFolder(), definition.attributes);
    if (path.verdict == TexturePath::Verdict::Accepted)
        return path.path;
    const QString sent = usableImage(sentImages.value(definition.attributes));
    if (!sent.isEmpty())
        return sent;
    if (path.verdict == TexturePath::Verdict::Refused)
        refusedPaths.append(QStringLiteral("%1 (%2)").arg(QString::fromUtf8(definition.attributes), path.reason));
    else if (readingText)
        ++imagesLeftOut;
    return path.path;
}

void MapReader::noteLeftOut()
{
    if (!refusedPaths.isEmpty()) {
        note(QStringLiteral("Textures refused"),
             QStringLiteral("%1 texture path(s) of this map were not read, and their cells show no image. "
                            "A texture must be a regular image file of at most 16 MB inside the map's "
                            "folder:\n%2")
                 .arg(refusedPaths.size())
                 .arg(refusedPaths.mid(0, namedInWarning).join(QLatin1Char('\n'))));
    }
    if (imagesLeftOut > 0) {
        note(QStringLiteral("Textures left out"),
             QStringLiteral("%1 texture(s) have no image: their image files could not be found.")
                 .arg(imagesLeftOut));
    }
    if (farCells > 0) {
        note(QStringLiteral("Cells left out"),
             QStringLiteral("%1 cell(s) lie beyond the largest map the editor opens (%2) and were left out.")
                 .arg(farCells)
                 .arg(MapLimits::extentText()));
    }
}

QString MapReader::mapFolder() const
{
    return textFolder.isEmpty() ? QFileInfo(shared.fileName).absolutePath() : textFolder;
}

LayerTable MapReader::dropAll(LayerTable &table)
{
    // Not yet in any layer table: nobody else will delete them.
    qDeleteAll(table.allSectors());
    return LayerTable();
}

void MapReader::applyDefinition(const MapDefinition &definition, Sector *sector)
{
    TextureEntry texture;
    if (definition.texturePath.isEmpty()) {
        // A refused path: the cell keeps the file name for its line, but has no
        // image and nothing to copy from.
        const QString name = QFileInfo(QDir::cleanPath(QString::fromUtf8(definition.attributes))).fileName();
        texture.fileName = name == QLatin1String("..") || name == QLatin1String(".") ? QByteArray() : name.toUtf8();
        sector->setImagePath(QString());
    } else {
        const QString path = QString::fromUtf8(definition.texturePath);
        sector->setImagePath(path);
        const QFileInfo info(path);
        texture.fileName = info.fileName().toUtf8();
        texture.folder = info.path().toUtf8() + '/';
    }
    texture.id = definition.id;
    sector->setTexture(texture);
    // The line's layer field stays with the line: the writer shares a line
    // between layers, so the cell's layer is the section it was read from.
    sector->setSubtype(definition.subtype);
    sector->setLighting(definition.lighting);
}

void MapReader::copyDefinition(const Sector &from, Sector *sector)
{
    sector->setImagePath(from.imagePath());
    sector->setTexture(from.data->texture);
    sector->setSubtype(from.data->subtype);
    sector->setLighting(from.data->lighting);
}

LayerTable MapReader::inEditorOrder(const LayerTable &loaded, bool withAllKnownLayers)
{
    LayerTable ordered;
    for (const QByteArray &name : layerOrder()) {
        if (withAllKnownLayers || loaded.contains(name))
            ordered[name] = loaded.value(name);
    }
    for (const auto &entry : loaded) {
        if (!ordered.contains(entry.name))
            ordered[entry.name] = entry.sectors;
    }
    return ordered;
}
