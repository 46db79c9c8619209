#include "view/filecontroller.h"

#include "view/cellbuttons.h"
#include "view/mapview.h"

#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "document/mapfile.h"
#include "view/prompts.h"
#include "format/layernames.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/loadprogress.h"
#include "view/sectorcanvas.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>

FileController::FileController(MapView &view, QWidget *window) : view(view), window(window)
{
    followHistory();
}

void FileController::followHistory()
{
    connect(view.mapDocument()->undoStack(), &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (window)
            window->setWindowModified(!clean);
    });
    connect(view.mapDocument(), &MapDocument::editClosed, this, &FileController::runWaitingSave);
}

bool FileController::saveMap(bool alwaysAsk)
{
    // The file and the clean state must agree: a stroke in progress ends first.
    if (view.editOpen()) {
        waitingSave = waitingSave.value_or(false) || alwaysAsk;
        return false;
    }
    if (!alwaysAsk && !mayOverwrite(&alwaysAsk))
        return false;
    const EditedFile &openFile = view.mapDocument()->file();
    const bool named = !alwaysAsk && !openFile.realName().isEmpty();
    const QString target = named ? openFile.realName()
                                 : Prompts::current().saveFileName(MapFile::dialogCaption(), MapFile::dialogFilter());
    if (target.isEmpty())
        return false;
    MapFile file;
    file.setLineOrder(view.mapDocument()->lineOrder());
    const MapFile::Result result = file.save(target, view.layerController()->layerTable());
    const QString name = file.savedName();
    if (!result.done()) {
        Prompts::current().warn(QStringLiteral("Save failed"),
                      QStringLiteral("The map could not be saved to %1:\n%2\nThe file was left as it was.")
                          .arg(QDir::toNativeSeparators(named ? openFile.chosenName() : name), result.problem));
        return false;
    }
    // A loaded file without ".map" is saved beside itself with it: from now on
    // the window edits the file written, whose name the title shows.
    const bool inPlace = named && name == openFile.realName();
    view.mapDocument()->markSaved(inPlace ? openFile : EditedFile(name), file.contentHash(), file.lineOrder());
    setWindowTitleFor(view.mapDocument()->file().chosenName());
    showNotices(result);
    if (!result.failedCopies.isEmpty()) {
        Prompts::current().warn(QStringLiteral("Textures not copied"),
                      QStringLiteral("The map was saved, but these textures could not be copied beside it:\n%1")
                          .arg(result.failedCopies.join(QLatin1Char('\n'))));
    }
    return true;
}

// Another program may have written the file since it was loaded or saved
// here: it is overwritten only when the user says so.
bool FileController::mayOverwrite(bool *saveAs)
{
    const EditedFile &openFile = view.mapDocument()->file();
    if (openFile.isEmpty() || !openFile.changedOnDisk())
        return true;
    const QMessageBox::StandardButton answer = Prompts::current().askOverwrite(
        QStringLiteral("File changed on disk"),
        QStringLiteral("%1 was changed by another program since it was opened or saved here.\n"
                       "Overwrite it with this map, or save this map under another name?")
            .arg(QDir::toNativeSeparators(openFile.chosenName())));
    *saveAs = answer == QMessageBox::Save;
    return answer == QMessageBox::Yes || *saveAs;
}

void FileController::runWaitingSave()
{
    if (!waitingSave || view.editOpen())
        return;
    const bool saveAs = *waitingSave;
    waitingSave.reset();
    // After the release that ended the stroke has been handled.
    QTimer::singleShot(0, this, [this, saveAs]() { saveMap(saveAs); });
}

void FileController::showNotices(const MapFile::Result &result)
{
    for (const auto &notice : result.notices)
        Prompts::current().warn(notice.first, notice.second);
}

void FileController::setWindowTitleFor(const QString &name)
{
    window->setWindowTitle(QStringLiteral("Editing: ") + name + QStringLiteral("[*] - Tessel"));
}

void FileController::load()
{
    if (!settleUnsaved())
        return;
    view.resetViewForLoad();
    const QString name = Prompts::current().openFileName(MapFile::openDialogCaption(), MapFile::dialogFilter());
    if (!name.isEmpty())
        loadMapFile(name);
}

bool FileController::loadMapFile(const QString &name)
{
    MapFile file;
    bool read = false;
    {
        // One batch from the first button to the last: they are polished and shown together.
        SectorCanvas::Batch batch(view.canvasWidget());
        LayerTable loaded;
        read = readMap(file, name, &loaded);
        if (read)
            installLoadedMap(loaded);
    }
    const MapFile::Result result = file.result();
    if (!result.problem.isEmpty()) {
        Prompts::current().warn(QStringLiteral("Load failed"),
                      QStringLiteral("The map %1 could not be loaded:\n%2\nThe current map was left as it was.")
                          .arg(QDir::toNativeSeparators(name), result.problem));
    }
    if (!read)
        return false;
    makeWayFor(file.keptIdentifiers());
    // A loaded map starts a history of its own; Save now writes back to the
    // file that was opened (the real one behind a link).
    view.mapDocument()->markLoaded(EditedFile(name), file.contentHash(), file.lineOrder());
    setWindowTitleFor(view.mapDocument()->file().chosenName());
    if (result.skippedCells > 0) {
        Prompts::current().warn(QStringLiteral("Cells skipped"),
                      QStringLiteral("%1 cell(s) of %2 name no definition and were left empty.")
                          .arg(result.skippedCells)
                          .arg(QDir::toNativeSeparators(name)));
    }
    showNotices(result);
    return true;
}

bool FileController::recoverFrom(const QString &name)
{
    if (!loadMapFile(name))
        return false;
    // The copy is not the user's file: Save asks for a name, and the work stays unsaved.
    view.mapDocument()->markRecovered();
    window->setWindowTitle(QStringLiteral("Tessel[*]"));
    window->setWindowModified(true);
    return true;
}

// The file's sectors in their places, under the load's progress dialog;
// false, with nothing made, when the load failed or was cancelled.
bool FileController::readMap(MapFile &file, const QString &name, LayerTable *loaded)
{
    LoadProgress progress(window, QFileInfo(name).fileName());
    file.setProgress(progress.callback());
    if (!file.load(name, view.textureGallery()->textureIds(), loaded).done())
        return false;
    if (placeCells(*loaded, progress))
        return true;
    // Not yet in the model: nobody else deletes them, and the map stays as it was.
    qDeleteAll(loaded->allSectors());
    *loaded = LayerTable();
    return false;
}

// Places on the map for a loaded map's cells before it replaces the current
// one, so that a cancel here still leaves the current map as it was. Buttons
// come later, for the cells in sight only.
bool FileController::placeCells(const LayerTable &loaded, LoadProgress &progress)
{
    const int total = loaded.sectorCount();
    if (!progress.report(MapFile::Phase::Places, 0, total))
        return false;
    int placed = 0;
    for (const auto &entry : loaded) {
        for (Sector *sector : entry.sectors) {
            view.cellButtons()->placeOnMap(sector);
            if (++placed % 4096 == 0 && !progress.report(MapFile::Phase::Places, placed, total))
                return false;
        }
    }
    return true;
}

void FileController::installLoadedMap(LayerTable loaded)
{
    SectorCanvas::Batch batch(view.canvasWidget());
    view.layerController()->replaceLayers(MapFile::inEditorOrder(loaded, true));
    view.textureGallery()->reloadTextures();
    view.textureGallery()->selectLayer(LayerNames::Wall);
    // Loaded buttons must let clicks through like the others in fill and select mode.
    view.applyClickRule();
}

// The loaded map keeps its file's identifiers: textures of the gallery and
// cells of a copied piece that use one of them for another image move aside.
void FileController::makeWayFor(const QSet<qint32> &keptIds)
{
    view.clipboardController()->makeWayFor(keptIds, view.textureGallery()->makeWayFor(keptIds), *view.textureGallery());
}

bool FileController::settleUnsaved()
{
    if (!view.mapDocument()->isModified())
        return true;
    const QMessageBox::StandardButton answer = Prompts::current().askSaveDiscardCancel(
        QStringLiteral("Unsaved changes"), QStringLiteral("The map has unsaved changes.\nSave them first?"));
    if (answer == QMessageBox::Save)
        return saveMap(false);
    return answer == QMessageBox::Discard;
}
