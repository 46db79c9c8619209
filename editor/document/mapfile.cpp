#include "document/mapfile.h"

#include "document/editedfile.h"
#include "format/maplimits.h"
#include "format/maptextfile.h"
#include "format/texturepath.h"
#include "format/layernames.h"
#include "model/cellrecord.h"
#include "model/sector.h"
#include "model/subtypetable.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <new>
#include <utility>

namespace {

MapFormat::Layer formatLayer(const LayerTable::Entry &entry)
{
    MapFormat::Layer layer;
    layer.name = entry.name;
    layer.cells.reserve(entry.sectors.size());
    for (const Sector *sector : entry.sectors)
        layer.cells.append(CellRecord::of(sector).formatCell());
    return layer;
}

// Why a write failed, in the system's words when it has them. They must be
// taken before cancelWriting(), which forgets them.
QString describe(const QFileDevice &file)
{
    return file.error() == QFileDevice::NoError || file.errorString().isEmpty()
        ? QStringLiteral("the data could not be written completely")
        : file.errorString();
}

// A write the system cut short is tried again with the rest: on a full disk
// the second try is the one that fails and says why.
bool writeAll(QIODevice &device, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

bool sameBytes(const QString &a, const QString &b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.size() != second.size() || first.size() > MapLimits::imageBytes)
        return false;
    QFile one(a);
    QFile other(b);
    return one.open(QIODevice::ReadOnly) && other.open(QIODevice::ReadOnly) && one.readAll() == other.readAll();
}

// Whether the file at `path` may hold the copy of `source`: nothing is there,
// or that very image, or the same bytes. Anything else is not ours to replace.
bool mayHold(const QString &path, const QString &source)
{
    const QFileInfo at(path);
    if (at.isSymLink())
        return false;
    if (!at.exists())
        return true;
    if (!at.isFile())
        return false;
    return QFileInfo(source).canonicalFilePath() == at.canonicalFilePath() || sameBytes(source, path);
}

MapFormat::CopyRules copyRulesFor(const QString &folder)
{
    const QString existing = QFileInfo(folder).canonicalFilePath();
    MapFormat::CopyRules rules;
    rules.copyFolder = existing.isEmpty() ? QByteArray() : existing.toUtf8() + '/';
    rules.canTake = [](const QByteArray &source, const QByteArray &path) {
        return mayHold(QString::fromUtf8(path), QString::fromUtf8(source));
    };
    return rules;
}

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

std::function<std::unique_ptr<QSaveFile>(const QString &)> MapFile::openTarget;
std::function<void(const QString &)> MapFile::beforeReplace;

QString MapFile::dialogCaption()
{
    return QStringLiteral("Save Corvid Map");
}

QString MapFile::openDialogCaption()
{
    // The open dialog once shared the save dialog's caption, which told the user the wrong thing.
    return QStringLiteral("Open Corvid Map");
}

QString MapFile::dialogFilter()
{
    return QStringLiteral("Corvid Map (*.map)");
}

MapFile::Result MapFile::save(const QString &name, const LayerTable &table)
{
    writtenDefinitions.clear();
    fileName = withMapExtension(name);
    writeMap(fileName, table);
    return result();
}

MapFile::Result MapFile::result() const
{
    Result result;
    if (wasCancelled)
        result.outcome = Result::Outcome::Cancelled;
    else if (!problem.isEmpty())
        result.outcome = wasRefused ? Result::Outcome::Refused : Result::Outcome::Failed;
    result.problem = problem;
    result.notices = notes;
    result.failedCopies = copyFailures;
    result.skippedCells = skipped;
    return result;
}

QString MapFile::writeRecoveryCopy(const QString &name, const LayerTable &table, const QList<QByteArray> &lines)
{
    MapFile file;
    file.setLineOrder(lines);
    if (file.writeMap(name, table))
        return QString();
    return file.failure().isEmpty() ? QStringLiteral("the copy could not be written") : file.failure();
}

// The map name goes into every definition line, which a "," or a line break
// would split; the file would no longer read back.
bool MapFile::nameIsWritable(const QString &name)
{
    const QString base = mapName(name);
    if (base.contains(QLatin1Char(',')) || base.contains(QLatin1Char('\r')) || base.contains(QLatin1Char('\n'))) {
        refuse(QStringLiteral("A map name cannot contain \",\" or a line break: the game could not read the file."));
        return false;
    }
    return true;
}

// Every file a save writes must open again: refused here for the reasons the
// load would refuse it, naming the cell that makes the grid so large.
bool MapFile::isWithinLimits(const MapFormat::Plan &plan)
{
    const MapFormat::Cell &far = plan.farthest;
    const QString where = QStringLiteral("Map X %1, Map Y %2 on the %3 layer")
                              .arg(far.mapX)
                              .arg(far.mapY)
                              .arg(QString::fromUtf8(plan.farthestLayer));
    if (std::max(far.mapX, far.mapY) >= MapLimits::extent) {
        refuse(QStringLiteral("The cell at %1 lies beyond the largest map the game reads (%2). Erase the cells "
                            "that far out and save again.")
                 .arg(where, MapLimits::extentText()));
        return false;
    }
    if (plan.bytes > MapLimits::fileBytes) {
        refuse(QStringLiteral("The file would be %1, larger than the %2 the editor opens: every layer is written "
                            "as a grid of %3 columns and %4 rows, out to the cell at %5. Erase the cells that "
                            "far out and save again.")
                 .arg(MapLimits::megabytes(plan.bytes), MapLimits::fileBytesText(), MapLimits::count(plan.width),
                      MapLimits::count(plan.height), where));
        return false;
    }
    if (plan.cells > MapLimits::cells) {
        refuse(QStringLiteral("The map has %1 filled cells, more than the %2 the editor opens; the farthest is the "
                            "cell at %3. Erase some cells and save again.")
                 .arg(MapLimits::count(plan.cells), MapLimits::cellsText(), where));
        return false;
    }
    return true;
}

QString MapFile::withMapExtension(const QString &name)
{
    // The texture folder is named after the map without ".map"; without the
    // extension it would collide with the map file itself.
    return name.endsWith(QLatin1String(".map")) ? name : name + QStringLiteral(".map");
}

QString MapFile::mapName(const QString &name)
{
    QString base = QFileInfo(name).fileName();
    if (base.endsWith(QLatin1String(".map")))
        base.chop(4);
    return base;
}

QString MapFile::copyFolderOf(const QString &name)
{
    return QFileInfo(name).absolutePath() + QLatin1Char('/') + mapName(name);
}

bool MapFile::writeMap(const QString &name, const LayerTable &table)
{
    try {
        // Lines and copies belong to the real file, wherever a link points.
        const QString real = EditedFile::realPathOf(name);
        if (!nameIsWritable(real))
            return false;
        QList<MapFormat::Layer> layers;
        for (const auto &entry : table)
            layers.append(formatLayer(entry));
        const MapFormat::Plan plan =
            MapFormat::plan(layers, mapName(real).toUtf8(), copyRulesFor(copyFolderOf(real)), definitionLines);
        if (!isWithinLimits(plan) || !writePlanned(real, plan))
            return false;
        definitionLines.clear();
        for (const MapDefinition &definition : plan.definitions)
            definitionLines.append(MapFormat::lineText(definition));
        return true;
    } catch (const std::bad_alloc &) {
        fail(outOfMemory);
        return false;
    }
}

std::unique_ptr<QSaveFile> MapFile::target(const QString &name)
{
    return openTarget ? openTarget(name) : std::make_unique<QSaveFile>(name);
}

// Written beside the old file and renamed over it only when complete and when
// its copies exist, so a failed or killed save leaves the old file, or a new
// one whose images are there.
bool MapFile::writePlanned(const QString &name, const MapFormat::Plan &plan)
{
    const std::unique_ptr<QSaveFile> file = target(name);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fail(describe(*file));
        return false;
    }
    QCryptographicHash written(QCryptographicHash::Sha1);
    const bool complete = MapFormat::writeText(plan, [&](const QByteArray &chunk) {
        written.addData(chunk);
        return writeAll(*file, chunk);
    });
    writtenDefinitions = plan.definitions;
    writtenCopies = plan.copies;
    if (!complete) {
        const QString reason = describe(*file);
        file->cancelWriting();
        fail(reason);
        return false;
    }
    if (!copyTextures(name)) {
        file->cancelWriting();
        return false;
    }
    if (beforeReplace)
        beforeReplace(name);
    if (!file->commit()) {
        fail(describe(*file));
        return false;
    }
    hash = written.result();
    return true;
}

// A source that cannot be read is told after the save; a copy that cannot be
// written fails it.
bool MapFile::copyTextures(const QString &name)
{
    const QString folder = copyFolderOf(name);
    const QFileInfo folderInfo(folder);
    // A link here would let the copies land in some other folder.
    if (folderInfo.isSymLink() || (folderInfo.exists() && !folderInfo.isDir())) {
        note(QStringLiteral("Textures not copied"),
             QStringLiteral("The map was saved, but %1 is a symbolic link or not a folder, so no texture "
                            "was copied into it.")
                 .arg(QDir::toNativeSeparators(folder)));
        return true;
    }
    if (!QDir().mkdir(folder) && !QFileInfo(folder).isDir() && !writtenCopies.isEmpty()) {
        fail(QStringLiteral("The folder %1 for the texture copies could not be made.")
                 .arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    for (const MapFormat::Copy &copy : std::as_const(writtenCopies)) {
        const QString source = QString::fromUtf8(copy.source);
        const QString copyName = folder + QLatin1Char('/') + QString::fromUtf8(copy.copyName);
        QString error;
        switch (copyTexture(source, copyName, &error)) {
        case Copy::Made:
            break;
        case Copy::SourceUnusable:
            copyFailures.append(source);
            break;
        case Copy::WriteFailed:
            fail(QStringLiteral("The texture copy %1 could not be written: %2")
                     .arg(QDir::toNativeSeparators(copyName), error));
            return false;
        }
    }
    return true;
}

// Copies only when the copy is missing; a copy with the same bytes (a loaded
// map saved again in place) is left alone, and a different file never replaced.
MapFile::Copy MapFile::copyTexture(const QString &source, const QString &copyName, QString *writeError)
{
    // Only regular images of a sane size: never a device, a pipe or a folder.
    if (!TexturePath::isRegularFile(source, MapLimits::imageBytes))
        return Copy::SourceUnusable;
    const QFileInfo to(copyName);
    if (to.exists() && QFileInfo(source).canonicalFilePath() == to.canonicalFilePath())
        return Copy::Made;
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return Copy::SourceUnusable;
    const QByteArray bytes = input.read(MapLimits::imageBytes);
    if (to.exists() || to.isSymLink()) {
        if (!to.isSymLink() && sameBytes(source, copyName))
            return Copy::Made;
        // Named free when the save began: another program put it there since.
        *writeError = QStringLiteral("another file took its place");
        return Copy::WriteFailed;
    }
    const std::unique_ptr<QSaveFile> output = target(copyName);
    if (!output->open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !writeAll(*output, bytes)) {
        *writeError = describe(*output);
        output->cancelWriting();
        return Copy::WriteFailed;
    }
    if (!output->commit()) {
        *writeError = describe(*output);
        return Copy::WriteFailed;
    }
    return Copy::Made;
}

MapFile::Result MapFile::load(const QString &name, const TextureIds &ids, LayerTable *loaded)
{
    *loaded = loadMapFile(name, ids);
    return result();
}

LayerTable MapFile::loadMapFile(const QString &name, const TextureIds &ids)
{
    // Texture paths are relative to the real file, wherever a link points.
    fileName = EditedFile::realPathOf(name);
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
            wasCancelled = true;
            return LayerTable();
        case MapTextFile::Outcome::Read:
            break;
        }
        hash = EditedFile::hashOf(text);
        return parseMap(text, ids);
    } catch (const std::bad_alloc &) {
        fail(outOfMemory);
        return LayerTable();
    }
}

LayerTable MapFile::parseText(const QByteArray &text, const QString &folder, const TextureIds &ids,
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

LayerTable MapFile::parseMap(const QByteArray &text, const TextureIds &ids)
{
    const MapFormat::Parsed parsed = MapFormat::parse(text, mapFolder().toUtf8(), progressOf(Phase::Parse));
    if (parsed.cancelled) {
        wasCancelled = true;
        return LayerTable();
    }
    definitionLines = parsed.definitionLines;
    if (!parsed.sawDefinitions) {
        fail(QStringLiteral("The file has no \"#Definitions\" section, so it is not a map file."));
        return LayerTable();
    }
    noteSectionsLeftOut(parsed);
    return inEditorOrder(buildSectors(parsed, ids), false);
}

void MapFile::noteSectionsLeftOut(const MapFormat::Parsed &parsed)
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

std::function<bool(qint64, qint64)> MapFile::progressOf(Phase phase) const
{
    if (!reportProgress)
        return {};
    return [this, phase](qint64 done, qint64 total) { return reportProgress(phase, done, total); };
}

// Counts the cells a load would make; refuses more than the editor can hold.
bool MapFile::countCells(const MapFormat::Parsed &parsed)
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

LayerTable MapFile::buildSectors(const MapFormat::Parsed &parsed, const TextureIds &ids)
{
    if (!countCells(parsed))
        return LayerTable();
    chooseIdentifiers(parsed, ids);
    LayerTable table;
    QHash<QByteArray, const Sector *> firstOf;
    int made = 0;
    if (reportProgress && !reportProgress(Phase::Sectors, 0, expectedCells)) {
        wasCancelled = true;
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
                        ++skipped;
                        continue;
                    }
                    QList<Sector *> &sectors = table[grid.name];
                    auto *data = new SectorData;
                    data->mapX = column;
                    data->mapY = row;
                    auto *sector = new Sector(data);
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
                        wasCancelled = true;
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
void MapFile::chooseIdentifiers(const MapFormat::Parsed &parsed, const TextureIds &ids)
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
MapDefinition MapFile::resolved(const QByteArray &key, const MapDefinition &definition,
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
QString MapFile::imageOf(const MapDefinition &definition)
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

void MapFile::noteLeftOut()
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

QString MapFile::mapFolder() const
{
    return textFolder.isEmpty() ? QFileInfo(fileName).absolutePath() : textFolder;
}

LayerTable MapFile::dropAll(LayerTable &table)
{
    // Not yet in any layer table: nobody else will delete them.
    qDeleteAll(table.allSectors());
    return LayerTable();
}

void MapFile::applyDefinition(const MapDefinition &definition, Sector *sector)
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

void MapFile::copyDefinition(const Sector &from, Sector *sector)
{
    sector->setImagePath(from.imagePath());
    sector->setTexture(from.data->texture);
    sector->setSubtype(from.data->subtype);
    sector->setLighting(from.data->lighting);
}

LayerTable MapFile::inEditorOrder(const LayerTable &loaded, bool withAllKnownLayers)
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
