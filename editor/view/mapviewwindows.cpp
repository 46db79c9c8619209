// The windows that look at the map beside the main window: the first-person
// preview and the level check. Both read the model and never change it.
#include "view/mapview.h"

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
void MapView::followModelIn(QObject *window, void (*refresh)(QObject *))
{
    const auto changed = [window, refresh]() { refresh(window); };
    connect(model, &MapModel::sectorAdded, window, changed);
    connect(model, &MapModel::sectorRemoved, window, changed);
    connect(model, &MapModel::textureChanged, window, changed);
    connect(model, &MapModel::propertiesChanged, window, changed);
    connect(model, &MapModel::mapReplaced, window, changed);
}

PreviewWindow *MapView::previewWindow() const
{
    return preview;
}

LevelCheckWindow *MapView::levelCheckWindow() const
{
    return levelCheck;
}

QPoint MapView::centreCell() const
{
    const int size = cellSize();
    return canvasToMap(QPoint(mapWidget->width() / size / 2, mapWidget->height() / size / 2));
}

void MapView::centreOn(const QPoint &cell)
{
    const QPoint centre = mapToCanvas(centreCell());
    const QPoint wanted = centre - cell; // the origin that puts the cell there
    shiftOrigin(wanted - origin());
}

QRect MapView::visibleCells() const
{
    const int size = cellSize();
    const QSize cells((mapWidget->width() + size - 1) / size, (mapWidget->height() + size - 1) / size);
    return QRect(canvasToMap(QPoint(0, 0)), cells);
}

void MapView::openPreview(bool atPointer)
{
    if (!preview) {
        preview = new PreviewWindow([this]() { return previewRecords(*model); }, window);
        preview->setAttribute(Qt::WA_DeleteOnClose);
        followModelIn(preview, [](QObject *w) { static_cast<PreviewWindow *>(w)->mapChanged(); });
        cameraMarker = new CellMarker(canvas, QColor(255, 200, 0));
        connect(preview, &PreviewWindow::cameraCellChanged, this, [this](const QPoint &cell) {
            cameraMarker->mark(cell);
            placeMarkers();
            cameraMarker->show();
        });
        // The mark goes with the window.
        connect(preview, &QObject::destroyed, cameraMarker, &QObject::deleteLater);
        preview->placeAtPlayerStart(centreCell());
    }
    if (atPointer) {
        const QPoint cell = canvasToMap(cursorCell());
        if (cell.x() >= 0 && cell.y() >= 0)
            preview->placeCamera(cell);
    }
    preview->show();
    preview->raise();
    preview->activateWindow();
}

void MapView::openLevelCheck()
{
    if (!levelCheck) {
        levelCheck = new LevelCheckWindow([this]() { return levelSnapshot(*model); }, window);
        levelCheck->setAttribute(Qt::WA_DeleteOnClose);
        followModelIn(levelCheck, [](QObject *w) { static_cast<LevelCheckWindow *>(w)->mapChanged(); });
        problemMarker = new CellMarker(canvas, QColor(230, 40, 40));
        connect(levelCheck, &LevelCheckWindow::problemActivated, this, &MapView::showProblemCell);
        connect(levelCheck, &QObject::destroyed, problemMarker, &QObject::deleteLater);
    }
    levelCheck->show();
    levelCheck->raise();
    levelCheck->activateWindow();
}

// Brings the line's first cell into the middle of the view, on its own layer,
// marked, with every cell of the line selected.
void MapView::showProblemCell(const QByteArray &layer, const QPoint &cell, const QVector<QPoint> &cells)
{
    centreOn(layer, cell, problemMarker);
    QList<Sector *> sectors;
    for (const QPoint &at : cells) {
        if (Sector *sector = model->sectorAt(layer, at.x(), at.y()))
            sectors.append(sector);
    }
    if (!sectors.isEmpty())
        selectCells(layer, sectors);
}

void MapView::centreOn(const QByteArray &layer, const QPoint &cell, CellMarker *marker)
{
    if (layerOrder().contains(layer))
        editing->setChosenLayer(layer);
    centreOn(cell);
    if (!marker)
        return;
    marker->mark(cell);
    placeMarkers();
    marker->show();
}

void MapView::placeMarkers()
{
    for (CellMarker *marker : {cameraMarker.data(), problemMarker.data(), foundMarker.data()}) {
        if (marker)
            marker->place(origin(), cellSize());
    }
}
