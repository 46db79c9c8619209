#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Watches the texture folders and their images, and says once when a burst
// of changes (a copy of many files, an editor's save in several steps) has
// settled, so that one look at the folders answers all of it.
class TextureFolderWatch : public QObject
{
    Q_OBJECT

public:
    explicit TextureFolderWatch(QObject *parent = nullptr);

    // Watches these from now on (besides those watched already); a path that
    // does not exist is left out.
    void watch(const QStringList &folders, const QStringList &images);
    // How long the folders must stay quiet before `settled`.
    static constexpr int quietMs = 250;

signals:
    void settled();

private:
    QFileSystemWatcher watcher;
    QTimer quiet;
};
