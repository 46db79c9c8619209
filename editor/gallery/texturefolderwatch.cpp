#include "gallery/texturefolderwatch.h"

#include <QFileInfo>

TextureFolderWatch::TextureFolderWatch(QObject *parent) : QObject(parent)
{
    quiet.setSingleShot(true);
    quiet.setInterval(quietMs);
    // Every event starts the wait again.
    connect(&watcher, &QFileSystemWatcher::directoryChanged, &quiet, qOverload<>(&QTimer::start));
    connect(&watcher, &QFileSystemWatcher::fileChanged, &quiet, qOverload<>(&QTimer::start));
    connect(&quiet, &QTimer::timeout, this, &TextureFolderWatch::settled);
}

void TextureFolderWatch::watch(const QStringList &folders, const QStringList &images)
{
    QStringList wanted;
    const QStringList watched = watcher.directories() + watcher.files();
    // An image replaced by a rename is no longer watched: it is asked for again.
    for (const QString &path : folders + images) {
        if (!watched.contains(path) && QFileInfo::exists(path))
            wanted.append(path);
    }
    if (!wanted.isEmpty())
        watcher.addPaths(wanted);
}
