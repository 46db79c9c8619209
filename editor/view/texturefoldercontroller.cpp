#include "view/texturefoldercontroller.h"

#include "gallery/texturegallery.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/iconcache.h"
#include "view/mapview.h"
#include "view/overviewcontroller.h"
#include "view/previewwindow.h"
#include "view/sectorlook.h"
#include "view/sidewindows.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

TextureFolderController::TextureFolderController(MapView &mapView, OverviewController *overviewController)
    : view(mapView), overview(overviewController)
{
    connect(&watch, &TextureFolderWatch::settled, this, &TextureFolderController::followFolders);
    watchFolders();
}

void TextureFolderController::watchFolders()
{
    const TextureGallery *gallery = view.textureGallery();
    watch.watch(gallery->watchedFolders(), gallery->listedImages());
}

void TextureFolderController::followFolders()
{
    const TextureGallery::FolderChanges changes = view.textureGallery()->rescanFolders();
    watchFolders();
    if (changes.isEmpty())
        return;
    if (!changes.changed.isEmpty())
        redrawImages(changes.changed);
    view.setStatusText(statusOf(changes.added, changes.changed, changes.removed));
}

// Cells that show a changed image are drawn again from the file; the cells
// of a removed one keep the picture they have. A loaded cell may name its
// image by another path than the gallery does (beside the map, absolute),
// so files are compared, once per distinct path.
void TextureFolderController::redrawImages(const QStringList &paths)
{
    QSet<QString> changedFiles;
    for (const QString &path : paths)
        changedFiles.insert(QFileInfo(path).absoluteFilePath());
    QHash<QString, bool> isChanged;
    for (const auto &entry : view.mapModel()->layers()) {
        for (Sector *sector : entry.sectors) {
            const QString path = sector->imagePath();
            auto known = isChanged.find(path);
            if (known == isChanged.end()) {
                known = isChanged.insert(path, changedFiles.contains(QFileInfo(path).absoluteFilePath()));
                // The gallery has the cache forget its own paths; this one may differ.
                if (*known)
                    IconCache::forget(path);
            }
            if (*known)
                SectorLook::refresh(sector);
        }
    }
    if (PreviewWindow *preview = view.sideWindows()->previewWindow())
        preview->imagesChanged();
    if (overview)
        overview->imagesChanged();
}

QString TextureFolderController::statusOf(const QStringList &added, const QStringList &changed,
                                          const QStringList &removed)
{
    QStringList parts;
    const auto names = [](const QStringList &paths) {
        QStringList shown;
        for (const QString &path : paths)
            shown.append(QFileInfo(path).fileName());
        return shown.join(QStringLiteral(", "));
    };
    if (!added.isEmpty())
        parts.append(QStringLiteral("New texture: %1").arg(names(added)));
    if (!changed.isEmpty())
        parts.append(QStringLiteral("Texture changed on disk: %1").arg(names(changed)));
    if (!removed.isEmpty())
        parts.append(QStringLiteral("Texture removed from its folder: %1 (its cells keep it)").arg(names(removed)));
    return parts.join(QStringLiteral("; "));
}
