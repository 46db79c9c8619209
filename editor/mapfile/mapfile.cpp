#include "mapfile/mapfile.h"

#include "gallery/texturegallery.h"
#include "mapfile/maplimits.h"
#include "mapfile/maptextfile.h"
#include "mapfile/texturepath.h"
#include "app/dialogs.h"
#include "model/layernames.h"
#include "model/sector.h"
#include "model/subtypetable.h"

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
    for (const Sector *sector : entry.sectors) {
        const SectorData *d = sector->data;
        layer.cells.append(MapFormat::Cell{d->mapX, d->mapY, d->texture.id, d->subtype,
                                           d->texture.fileName, d->texture.folder, d->lighting});
    }
    return layer;
}

QString describe(QFileDevice &file)
{
    return file.errorString().isEmpty() ? QStringLiteral("the data could not be written completely")
                                        : file.errorString();
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

const QString extentText = QStringLiteral("4,096 columns and rows");
// How many refused paths a warning names; the count says the rest.
const int namedInWarning = 5;

} // namespace

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

QString MapFile::saveMap(LayerTable table, QString name, bool alwaysAsk)
{
    writtenDefinitions.clear();
    if (name.isEmpty() || alwaysAsk)
        name = Dialogs::saveFileName(dialogCaption(), dialogFilter());
    if (name.isEmpty())
        return QString();
    name = withMapExtension(name);
    fileName = name;
    try {
        if (nameIsWritable(name) && extentIsWritable(table) && writeMap(name, table))
            copyTextures(name);
    } catch (const std::bad_alloc &) {
        fail(outOfMemory);
    }
    return name;
}

// The map name goes into every definition line, which a "," or a line break
// would split; the file would no longer read back.
bool MapFile::nameIsWritable(const QString &name)
{
    const QString base = mapName(name);
    if (base.contains(QLatin1Char(',')) || base.contains(QLatin1Char('\r')) || base.contains(QLatin1Char('\n'))) {
        fail(QStringLiteral("A map name cannot contain \",\" or a line break: the game could not read the file."));
        return false;
    }
    return true;
}

bool MapFile::extentIsWritable(const LayerTable &table)
{
    const Sector *farthest = nullptr;
    QByteArray farthestLayer;
    int reach = MapLimits::extent - 1;
    for (const auto &entry : table) {
        for (const Sector *sector : entry.sectors) {
            const int cellReach = std::max(sector->data->mapX, sector->data->mapY);
            if (cellReach > reach) {
                reach = cellReach;
                farthest = sector;
                farthestLayer = entry.name;
            }
        }
    }
    if (!farthest)
        return true;
    fail(QStringLiteral("The cell at Map X %1, Map Y %2 on the %3 layer lies beyond the largest map "
                        "the game reads (%4). Erase the cells that far out and save again.")
             .arg(farthest->data->mapX)
             .arg(farthest->data->mapY)
             .arg(QString::fromUtf8(farthestLayer), extentText));
    return false;
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
    QList<MapFormat::Layer> layers;
    for (const auto &entry : table)
        layers.append(formatLayer(entry));
    return writeText(name, layers);
}

bool MapFile::writeText(const QString &name, const QList<MapFormat::Layer> &layers)
{
    // Written beside the old file and renamed over it only when complete, so a
    // failed save never destroys what was there.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) {
        fail(file.errorString());
        return false;
    }
    // Images already in the copy folder (a loaded map saved in place) keep their names.
    const QString existingFolder = QFileInfo(copyFolderOf(name)).canonicalFilePath();
    const QByteArray copyFolder = existingFolder.isEmpty() ? QByteArray() : existingFolder.toUtf8() + '/';
    const MapFormat::Written written = MapFormat::write(
        layers, mapName(name).toUtf8(), copyFolder,
        [&file](const QByteArray &chunk) { return file.write(chunk) == chunk.size(); });
    writtenDefinitions = written.definitions;
    writtenCopies = written.copies;
    if (!written.complete || !file.flush()) {
        const QString reason = describe(file);
        file.cancelWriting();
        fail(reason);
        return false;
    }
    if (!file.commit()) {
        fail(describe(file));
        return false;
    }
    return true;
}

void MapFile::copyTextures(const QString &name)
{
    const QString folder = copyFolderOf(name);
    const QFileInfo folderInfo(folder);
    // A link here would let the copies land in some other folder.
    if (folderInfo.isSymLink() || (folderInfo.exists() && !folderInfo.isDir())) {
        note(QStringLiteral("Textures not copied"),
             QStringLiteral("The map was saved, but %1 is a symbolic link or not a folder, so no texture "
                            "was copied into it.")
                 .arg(QDir::toNativeSeparators(folder)));
        return;
    }
    QDir().mkdir(folder);
    for (const MapFormat::Copy &copy : std::as_const(writtenCopies)) {
        const QString source = QString::fromUtf8(copy.source);
        if (!copyTexture(source, folder + QLatin1Char('/') + QString::fromUtf8(copy.copyName)))
            copyFailures.append(source);
    }
}

// Copies only when the copy is missing or differs; a loaded map saved again in
// place has source and target as the same file and is left alone.
bool MapFile::copyTexture(const QString &source, const QString &target)
{
    // Only regular images of a sane size: never a device, a pipe or a folder.
    if (!TexturePath::isRegularFile(source, MapLimits::imageBytes))
        return false;
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return true;
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = input.read(MapLimits::imageBytes);
    if (to.isSymLink() || (to.exists() && !to.isFile())) {
        // Written through, a link would change a file outside the copy folder.
        if (!QFile::remove(target))
            return false;
    } else if (to.exists() && to.size() == bytes.size()) {
        QFile existing(target);
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
            return true;
    }
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly))
        return false;
    if (output.write(bytes) != bytes.size() || !output.flush()) {
        output.cancelWriting();
        return false;
    }
    return output.commit();
}

LayerTable MapFile::loadMap(const SectorPlacement &placement)
{
    const QString name = Dialogs::openFileName(openDialogCaption(), dialogFilter());
    if (name.isEmpty())
        return LayerTable();
    return loadMapFile(name, placement);
}

LayerTable MapFile::loadMapFile(const QString &name, const SectorPlacement &placement)
{
    fileName = name;
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
            fail(QStringLiteral("The file is larger than 64 MB, the largest map file the editor opens."));
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
        return parseMap(text, placement);
    } catch (const std::bad_alloc &) {
        fail(outOfMemory);
        return LayerTable();
    }
}

LayerTable MapFile::parseText(const QByteArray &text, const QString &folder, const SectorPlacement &placement,
                              const QHash<QByteArray, QString> &images)
{
    if (text.size() > MapLimits::fileBytes) {
        fail(QStringLiteral("The text is larger than 64 MB, the largest map the editor opens."));
        return LayerTable();
    }
    textFolder = folder;
    folderUnknown = folder.isEmpty();
    readingText = true;
    sentImages = images;
    try {
        return parseMap(text, placement);
    } catch (const std::bad_alloc &) {
        fail(outOfMemory);
        return LayerTable();
    }
}

LayerTable MapFile::parseMap(const QByteArray &text, const SectorPlacement &placement)
{
    const MapFormat::Parsed parsed = MapFormat::parse(text, mapFolder().toUtf8(), progressOf(Phase::Parse));
    if (parsed.cancelled) {
        wasCancelled = true;
        return LayerTable();
    }
    if (!parsed.sawDefinitions) {
        fail(QStringLiteral("The file has no \"#Definitions\" section, so it is not a map file."));
        return LayerTable();
    }
    noteSectionsLeftOut(parsed);
    return inEditorOrder(buildSectors(parsed, placement), false);
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
        fail(QStringLiteral("The map has %1 filled cells; the editor opens at most 250,000.").arg(cells));
        return false;
    }
    expectedCells = int(cells);
    return true;
}

LayerTable MapFile::buildSectors(const MapFormat::Parsed &parsed, const SectorPlacement &placement)
{
    if (!countCells(parsed))
        return LayerTable();
    LayerTable table;
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
                    applyDefinition(resolved(value, *found, placement), sector);
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

// Cells that shared a definition line share one identifier, fresh from the
// gallery's counter, so a loaded map keeps its sharing and never merges with
// a gallery texture. The texture path is judged once per line.
MapDefinition MapFile::resolved(const QByteArray &key, const MapDefinition &definition,
                                const SectorPlacement &placement)
{
    const auto known = resolvedDefinitions.constFind(key);
    if (known != resolvedDefinitions.constEnd())
        return *known;
    MapDefinition result = definition;
    if (placement.gallery)
        result.id = placement.gallery->nextId();
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
                 .arg(extentText));
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
