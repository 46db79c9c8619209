#include "document/mapfile.h"

#include "document/editedfile.h"
#include "format/maplimits.h"
#include "format/texturepath.h"
#include "model/cellrecord.h"
#include "model/sector.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    shared.fileName = withMapExtension(name);
    writeMap(shared.fileName, table);
    return result();
}

MapFile::Result MapFile::result() const
{
    Result result;
    if (shared.cancelled)
        result.outcome = Result::Outcome::Cancelled;
    else if (!shared.problem.isEmpty())
        result.outcome = wasRefused ? Result::Outcome::Refused : Result::Outcome::Failed;
    result.problem = shared.problem;
    result.notices = shared.notes;
    result.failedCopies = copyFailures;
    result.skippedCells = shared.skipped;
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
            MapFormat::plan(layers, mapName(real).toUtf8(), copyRulesFor(copyFolderOf(real)), shared.definitionLines);
        if (!isWithinLimits(plan) || !writePlanned(real, plan))
            return false;
        shared.definitionLines.clear();
        for (const MapDefinition &definition : plan.definitions)
            shared.definitionLines.append(MapFormat::lineText(definition));
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
    shared.hash = written.result();
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
    // Asked for the limit, QIODevice::read allocates all of it up front:
    // 16 MB for every texture copied.
    const QByteArray bytes = input.read(std::min(input.size(), MapLimits::imageBytes));
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
    *loaded = reader.load(name, ids);
    return result();
}
