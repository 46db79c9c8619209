#pragma once

#include "gallery/texturefolderwatch.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class MapView;
class OverviewController;

// Textures follow their folders while the editor runs: a new image appears in
// the gallery, a changed one is drawn anew wherever it is used (gallery, map,
// preview, overview), and a removed one leaves the gallery while its cells
// keep it; the status bar says what happened.
class TextureFolderController : public QObject
{
    Q_OBJECT

public:
    TextureFolderController(MapView &view, OverviewController *overview);

    // One look at the folders, as a settled burst of changes brings.
    void followFolders();
    TextureFolderWatch *folderWatch() { return &watch; }

private:
    void watchFolders();
    void redrawImages(const QStringList &paths);
    static QString statusOf(const QStringList &added, const QStringList &changed, const QStringList &removed);

    MapView &view;
    QPointer<OverviewController> overview;
    TextureFolderWatch watch;
};
