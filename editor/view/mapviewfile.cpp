// Saving and loading the map from the window's buttons.
#include "view/mapview.h"

#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "mapfile/mapfile.h"
#include "app/dialogs.h"
#include "model/sector.h"
#include "model/layernames.h"
#include "view/loadprogress.h"
#include "view/mapeditcommand.h"
#include "view/recoveryfile.h"
#include "view/sectorcanvas.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QUndoStack>

#include <algorithm>

void MapView::BtnSaveMapEvent()
{
    saveMap(false);
}

void MapView::saveMapAs()
{
    saveMap(true);
}

bool MapView::saveMap(bool alwaysAsk)
{
    MapFile file;
    const QString name = file.saveMap(layers->layerTable(), mapFileName, alwaysAsk);
    if (file.failed()) {
        Dialogs::warn(QStringLiteral("Save failed"),
                      QStringLiteral("The map could not be saved to %1:\n%2\nThe file was left as it was.")
                          .arg(QDir::toNativeSeparators(name), file.failure()));
        return false;
    }
    if (name.isEmpty())
        return false;
    mapFileName = name;
    history->setClean();
    RecoveryFile::remove();
    setWindowTitleFor(mapFileName);
    showNotices(file);
    if (!file.failedCopies().isEmpty()) {
        Dialogs::warn(QStringLiteral("Textures not copied"),
                      QStringLiteral("The map was saved, but these textures could not be copied beside it:\n%1")
                          .arg(file.failedCopies().join(QLatin1Char('\n'))));
    }
    return true;
}

void MapView::showNotices(const MapFile &file)
{
    for (const auto &notice : file.notices())
        Dialogs::warn(notice.first, notice.second);
}

void MapView::setWindowTitleFor(const QString &name)
{
    window->setWindowTitle(QStringLiteral("Editing: ") + name + QStringLiteral("[*] - Tessel"));
}

void MapView::resetViewForLoad()
{
    originX = 0;
    originY = 0;
    zoomSlider->setValue(4);
    // Without a zoom change nothing else would redraw the sectors at the new origin.
    repositionAllSectors();
}

void MapView::BtnLoadMapEvent()
{
    if (!settleUnsaved())
        return;
    resetViewForLoad();
    const QString name = Dialogs::openFileName(MapFile::openDialogCaption(), MapFile::dialogFilter());
    if (!name.isEmpty())
        loadMapFile(name);
}

bool MapView::loadMapFile(const QString &name)
{
    MapFile file;
    bool read = false;
    {
        // One batch from the first button to the last: they are polished and shown together.
        SectorCanvas::Batch batch(canvas);
        LayerTable loaded;
        read = readMap(file, name, &loaded);
        if (read)
            installLoadedMap(loaded);
    }
    if (file.failed()) {
        Dialogs::warn(QStringLiteral("Load failed"),
                      QStringLiteral("The map %1 could not be loaded:\n%2\nThe current map was left as it was.")
                          .arg(QDir::toNativeSeparators(name), file.failure()));
    }
    if (!read)
        return false;
    // A loaded map starts a history of its own.
    history->clear();
    history->setClean();
    // Save now writes back to the file that was opened.
    mapFileName = name;
    setWindowTitleFor(mapFileName);
    if (file.skippedCells() > 0) {
        Dialogs::warn(QStringLiteral("Cells skipped"),
                      QStringLiteral("%1 cell(s) of %2 name no definition and were left empty.")
                          .arg(file.skippedCells())
                          .arg(QDir::toNativeSeparators(name)));
    }
    showNotices(file);
    return true;
}

bool MapView::recoverFrom(const QString &name)
{
    if (!loadMapFile(name))
        return false;
    // The copy is not the user's file: Save asks for a name, and the work stays unsaved.
    mapFileName.clear();
    window->setWindowTitle(QStringLiteral("Tessel[*]"));
    history->resetClean();
    window->setWindowModified(true);
    return true;
}

// The file's sectors with their buttons, under the load's progress dialog;
// false, with nothing made, when the load failed or was cancelled.
bool MapView::readMap(MapFile &file, const QString &name, LayerTable *loaded)
{
    LoadProgress progress(window, QFileInfo(name).fileName());
    file.setProgress(progress.callback());
    *loaded = file.loadMapFile(name, placement());
    if (file.cancelled() || file.failed())
        return false;
    if (makeButtons(*loaded, progress))
        return true;
    // Not yet in the model: nobody else deletes them, and the map stays as it was.
    qDeleteAll(loaded->allSectors());
    *loaded = LayerTable();
    canvas->dropEmptyBlocks();
    return false;
}

// Buttons for a loaded map before it replaces the current one, so that a
// cancel here still leaves the current map as it was.
bool MapView::makeButtons(const LayerTable &loaded, LoadProgress &progress)
{
    const int total = loaded.sectorCount();
    if (!progress.report(MapFile::Phase::Buttons, 0, total))
        return false;
    int made = 0;
    for (const auto &entry : loaded) {
        for (Sector *sector : entry.sectors) {
            giveButton(sector);
            if (++made % 256 == 0 && !progress.report(MapFile::Phase::Buttons, made, total))
                return false;
        }
    }
    return true;
}

void MapView::installLoadedMap(LayerTable loaded)
{
    SectorCanvas::Batch batch(canvas);
    layers->replaceLayers(MapFile::inEditorOrder(loaded, true));
    layers->reloadCurrentLayer();
    gallery->reloadTextures();
    gallery->selectLayer(LayerNames::Wall);
    // Loaded buttons must let clicks through like the others in fill and select mode.
    setAllMouseTransparent(!(radioPaint->isChecked() && radioPencil->isChecked()));
}
