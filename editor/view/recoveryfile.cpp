#include "view/recoveryfile.h"

#include "mapfile/mapfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

RecoveryFile::RecoveryFile(Unsaved isUnsaved, Table currentTable, int intervalMs)
    : unsaved(std::move(isUnsaved)), table(std::move(currentTable))
{
    timer.setInterval(intervalMs);
    connect(&timer, &QTimer::timeout, this, &RecoveryFile::writeNow);
    timer.start();
}

QString RecoveryFile::path()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
        + QStringLiteral("/recovery.map");
}

bool RecoveryFile::exists()
{
    return QFile::exists(path());
}

bool RecoveryFile::writeNow()
{
    if (!unsaved())
        return false;
    QDir().mkpath(QFileInfo(path()).absolutePath());
    // The map writer saves through QSaveFile: an interrupted write leaves the last copy.
    MapFile file;
    return file.writeMap(path(), table());
}

void RecoveryFile::remove()
{
    QFile::remove(path());
}
