#include "document/recoveryfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>

namespace {

const QString mapFile = QStringLiteral("unsaved.map");
const QString nameFile = QStringLiteral("source.txt");
const QString lockSuffix = QStringLiteral(".lock");
// While a gesture goes on, the copy waits this long before it looks again.
const int busyRetryMs = 500;

QString lockPathOf(const QString &folder)
{
    return folder + lockSuffix;
}

// A lock another editor of ours holds for as long as it runs: only a process
// that is gone makes it stale, however old it is.
std::shared_ptr<QLockFile> lockFor(const QString &folder)
{
    auto lock = std::make_shared<QLockFile>(lockPathOf(folder));
    lock->setStaleLockTime(0);
    return lock;
}

QString readName(const QString &folder)
{
    QFile file(folder + QLatin1Char('/') + nameFile);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.read(4096)) : QString();
}

// The copy an editor of an older kind left: one file, no lock, no images.
void adoptOldCopy(const QString &root)
{
    const QString old = QFileInfo(root).absolutePath() + QLatin1Char('/') + QStringLiteral("recovery.map");
    if (!QFileInfo(old).isFile())
        return;
    const QString folder = root + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::Id128);
    if (QDir().mkpath(folder))
        QFile::rename(old, folder + QLatin1Char('/') + mapFile);
}

} // namespace

QString RecoveryFile::Orphan::mapPath() const
{
    return folder + QLatin1Char('/') + mapFile;
}

RecoveryFile::RecoveryFile(Hooks editorHooks, int delay)
    : hooks(std::move(editorHooks)), delayMs(delay)
{
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, &RecoveryFile::writeWhenIdle);
}

RecoveryFile::~RecoveryFile()
{
    removeOwn();
}

QString RecoveryFile::rootFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
}

QString RecoveryFile::mapPath() const
{
    return ownFolder.isEmpty() ? QString() : ownFolder + QLatin1Char('/') + mapFile;
}

std::vector<RecoveryFile::Orphan> RecoveryFile::orphans()
{
    const QString root = rootFolder();
    adoptOldCopy(root);
    std::vector<Orphan> found;
    const QDir dir(root);
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        const QString folder = dir.filePath(name);
        std::shared_ptr<QLockFile> lock = lockFor(folder);
        if (!lock->tryLock(0))
            continue; // its editor is running
        const QFileInfo copy(folder + QLatin1Char('/') + mapFile);
        Orphan orphan{folder, readName(folder), copy.lastModified(), lock};
        if (copy.isFile())
            found.push_back(orphan);
        else
            discard(orphan); // an editor that died before its first copy
    }
    std::sort(found.begin(), found.end(), [](const Orphan &a, const Orphan &b) { return a.written > b.written; });
    return found;
}

void RecoveryFile::discard(Orphan &orphan)
{
    QDir(orphan.folder).removeRecursively();
    if (orphan.lock)
        orphan.lock->unlock();
    orphan.lock.reset();
}

void RecoveryFile::schedule()
{
    timer.start(delayMs);
}

bool RecoveryFile::writeWhenIdle()
{
    // Half a stroke is not work anyone would want back; the rest of it comes soon.
    if (hooks.busy && hooks.busy()) {
        timer.start(busyRetryMs);
        return false;
    }
    return writeNow();
}

bool RecoveryFile::writeNow()
{
    timer.stop();
    if (!hooks.unsaved()) {
        if (!ownFolder.isEmpty())
            QFile::remove(mapPath());
        return false;
    }
    if (!makeFolder())
        return false;
    const QString failure = hooks.write(mapPath());
    if (!failure.isEmpty()) {
        reportOnce(failure);
        return false;
    }
    QSaveFile name(ownFolder + QLatin1Char('/') + nameFile);
    if (name.open(QIODevice::WriteOnly)) {
        name.write(hooks.mapName ? hooks.mapName().toUtf8() : QByteArray());
        name.commit();
    }
    problemShown = false;
    return true;
}

bool RecoveryFile::makeFolder()
{
    if (!ownFolder.isEmpty())
        return true;
    const QString root = rootFolder();
    const QString folder = root + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::Id128);
    // The lock comes first: another editor that sees the folder sees it locked.
    std::shared_ptr<QLockFile> ownLock = lockFor(folder);
    if (!QDir().mkpath(root) || !ownLock->tryLock(0) || !QDir().mkdir(folder)) {
        reportOnce(QStringLiteral("the folder %1 cannot be written").arg(QDir::toNativeSeparators(root)));
        return false;
    }
    ownFolder = folder;
    lock = ownLock;
    return true;
}

void RecoveryFile::adopt(Orphan &orphan)
{
    removeOwn();
    ownFolder = orphan.folder;
    lock = orphan.lock;
    orphan.lock.reset();
}

void RecoveryFile::removeOwn()
{
    if (ownFolder.isEmpty())
        return;
    QDir(ownFolder).removeRecursively();
    if (lock)
        lock->unlock();
    lock.reset();
    ownFolder.clear();
}

void RecoveryFile::reportOnce(const QString &problem)
{
    if (problemShown || !hooks.report)
        return;
    problemShown = true;
    hooks.report(QStringLiteral("No recovery copy of unsaved work: %1").arg(problem));
}
