// Saving and loading the map from the window's buttons.
#include "view/mapview.h"

#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "mapfile/mapfile.h"
#include "app/dialogs.h"
#include "model/sector.h"
#include "model/layernames.h"
#include "view/sectorcanvas.h"

#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

void MapView::BtnSaveMapEvent()
{
    MapFile file;
    const QString name = file.saveMap(layers->layerTable(), mapFileName);
    if (file.failed()) {
        Dialogs::warn(QStringLiteral("Save failed"),
                      QStringLiteral("The map could not be saved to %1:\n%2\nThe file was left as it was.")
                          .arg(QDir::toNativeSeparators(name), file.failure()));
        return;
    }
    mapFileName = name;
    if (!mapFileName.isEmpty())
        setWindowTitleFor(mapFileName);
    if (!file.failedCopies().isEmpty()) {
        Dialogs::warn(QStringLiteral("Textures not copied"),
                      QStringLiteral("The map was saved, but these textures could not be copied beside it:\n%1")
                          .arg(file.failedCopies().join(QLatin1Char('\n'))));
    }
}

void MapView::setWindowTitleFor(const QString &name)
{
    window->setWindowTitle(QStringLiteral("Editing: ") + name + QStringLiteral(" - Tessel"));
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
    resetViewForLoad();
    const SectorPlacement where = placement();
    SectorCanvas::Batch batch(canvas);
    MapFile file;
    LayerTable loaded = file.loadMap(mapWidget, where);
    if (file.failed()) {
        Dialogs::warn(QStringLiteral("Load failed"),
                      QStringLiteral("The map %1 could not be loaded:\n%2\nThe current map was left as it was.")
                          .arg(QDir::toNativeSeparators(file.chosenFileName()), file.failure()));
        return;
    }
    if (file.chosenFileName().isEmpty())
        return;
    layers->replaceLayers(MapFile::inEditorOrder(loaded, true));
    layers->reloadCurrentLayer();
    gallery->reloadTextures();
    gallery->selectLayer(LayerNames::Wall);
    // Loaded buttons must let clicks through like the others in fill and select mode.
    setAllMouseTransparent(!(radioPaint->isChecked() && radioPencil->isChecked()));
    if (file.skippedCells() > 0) {
        Dialogs::warn(QStringLiteral("Cells skipped"),
                      QStringLiteral("%1 cell(s) of %2 name no definition and were left empty.")
                          .arg(file.skippedCells())
                          .arg(QDir::toNativeSeparators(file.chosenFileName())));
    }
}
