#include "view/sidewindows.h"

#include "view/mapview.h"
#include "view/selectionactions.h"

#include "check/levelsnapshot.h"
#include "format/layernames.h"
#include "layers/layercontroller.h"
#include "model/cellrecord.h"
#include "model/subtypetable.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/cellmarker.h"
#include "view/levelcheckwindow.h"
#include "view/leveltextures.h"
#include "view/previewwindow.h"

#include <QComboBox>

namespace {

QVector<PreviewWorld::Record> previewRecords(const MapModel &model)
{
    QVector<PreviewWorld::Record> records;
    for (const auto &entry : model.layers()) {
        for (const Sector *sector : entry.sectors) {
            const CellRecord cell = CellRecord::of(sector);
            records.append({entry.name, cell.mapX, cell.mapY, cell.state.image, cell.state.subtype, cell.state.lighting});
        }
    }
    return records;
}

LevelSnapshot levelSnapshot(const MapModel &model)
{
    LevelSnapshot level;
    LevelTextures textures(&level.textures);
    for (const auto &entry : model.layers()) {
        LevelLayer layer{entry.name, {}};
        layer.cells.reserve(entry.sectors.size());
        for (const Sector *sector : entry.sectors) {
            const CellRecord cell = CellRecord::of(sector);
            layer.cells.append(LevelCell{cell.mapX, cell.mapY, cell.state.subtype, cell.state.lighting,
                                         textures.indexOf(entry.name, cell.state)});
        }
        level.layers.append(layer);
    }
    return level;
}

} // namespace

// Every change of the model reaches the window, which folds a burst into one refresh.
void SideWindows::followModelIn(QObject *sideWindow, void (*refresh)(QObject *))
{
    const auto changed = [sideWindow, refresh]() { refresh(sideWindow); };
    const MapModel *model = view.mapModel();
    connect(model, &MapModel::sectorAdded, sideWindow, changed);
    connect(model, &MapModel::sectorRemoved, sideWindow, changed);
    connect(model, &MapModel::textureChanged, sideWindow, changed);
    connect(model, &MapModel::propertiesChanged, sideWindow, changed);
    connect(model, &MapModel::mapReplaced, sideWindow, changed);
}

SideWindows::SideWindows(MapView &view, QWidget *window) : view(view), window(window)
{
}

PreviewWindow *SideWindows::previewWindow() const
{
    return preview;
}

LevelCheckWindow *SideWindows::levelCheckWindow() const
{
    return levelCheck;
}

void SideWindows::openPreview(bool atPointer)
{
    if (!preview) {
        preview = new PreviewWindow([this]() { return previewRecords(*view.mapModel()); }, window);
        preview->setAttribute(Qt::WA_DeleteOnClose);
        followModelIn(preview, [](QObject *w) { static_cast<PreviewWindow *>(w)->mapChanged(); });
        cameraMarker = new CellMarker(view.canvasWidget(), QColor(255, 200, 0));
        connect(preview, &PreviewWindow::cameraCellChanged, this, [this](const QPoint &cell) {
            cameraMarker->mark(cell);
            placeMarkers();
            cameraMarker->show();
        });
        // The mark goes with the window.
        connect(preview, &QObject::destroyed, cameraMarker, &QObject::deleteLater);
        preview->placeAtPlayerStart(view.centreCell());
    }
    if (atPointer) {
        const QPoint cell = view.canvasToMap(view.cursorCell());
        if (cell.x() >= 0 && cell.y() >= 0)
            preview->placeCamera(cell);
    }
    preview->show();
    preview->raise();
    preview->activateWindow();
}

void SideWindows::openLevelCheck()
{
    if (!levelCheck) {
        levelCheck = new LevelCheckWindow([this]() { return levelSnapshot(*view.mapModel()); }, window);
        levelCheck->setAttribute(Qt::WA_DeleteOnClose);
        followModelIn(levelCheck, [](QObject *w) { static_cast<LevelCheckWindow *>(w)->mapChanged(); });
        problemMarker = new CellMarker(view.canvasWidget(), QColor(230, 40, 40));
        connect(levelCheck, &LevelCheckWindow::problemActivated, this, &SideWindows::showProblemCell);
        connect(levelCheck, &QObject::destroyed, problemMarker, &QObject::deleteLater);
    }
    levelCheck->show();
    levelCheck->raise();
    levelCheck->activateWindow();
}

// Brings the line's first cell into the middle of the view, on its own layer,
// marked, with every cell of the line selected.
void SideWindows::showProblemCell(const QByteArray &layer, const QPoint &cell, const QVector<QPoint> &cells)
{
    centreOn(layer, cell, problemMarker);
    QList<Sector *> sectors;
    for (const QPoint &at : cells) {
        if (Sector *sector = view.mapModel()->sectorAt(layer, at.x(), at.y()))
            sectors.append(sector);
    }
    if (!sectors.isEmpty())
        view.selectionActions()->selectCells(layer, sectors);
}

void SideWindows::showCell(const QByteArray &layer, const QPoint &cell)
{
    if (!foundMarker)
        foundMarker = new CellMarker(view.canvasWidget(), QColor(40, 150, 255));
    centreOn(layer, cell, foundMarker);
}

void SideWindows::centreOn(const QByteArray &layer, const QPoint &cell, CellMarker *marker)
{
    if (layerOrder().contains(layer))
        view.editingState()->setChosenLayer(layer);
    view.centreOn(cell);
    if (!marker)
        return;
    marker->mark(cell);
    placeMarkers();
    marker->show();
}

void SideWindows::placeMarkers()
{
    for (CellMarker *marker : {cameraMarker.data(), problemMarker.data(), foundMarker.data()}) {
        if (marker)
            marker->place(view.origin(), view.cellSize());
    }
}
