#include "layers/layercontroller.h"

#include "document/editingstate.h"
#include "format/layernames.h"
#include "looks/layerlooks.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "model/subtypetable.h"
#include "view/prompts.h"
#include "view/sectorlook.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QSet>

#include <algorithm>

const QColor &LayerController::otherLayerTint = LayerLooks::otherLayerTint;
const QColor &LayerController::selectedTint = LayerLooks::selectedTint;

QColor LayerController::lightShade(const Sector *sector)
{
    return LayerLooks::lightShade(sector->data->lighting.emission);
}

LayerController::LayerController(MapModel *mapModel, EditingState *editingState, QComboBox *combo,
                                 QPushButton *clearButton)
    : QObject(nullptr), model(mapModel), state(editingState)
{
    if (combo) {
        for (const auto &entry : model->layers())
            combo->addItem(QString::fromUtf8(entry.name));
        combo->setCurrentText(QString::fromUtf8(state->chosenLayer()));
    }
    refreshLayerDisplay();
    connect(state, &EditingState::currentLayerChanged, this, &LayerController::refreshLayerDisplay);
    connect(model, &MapModel::sectorRemoved, this, &LayerController::forgetSector);
    // New light levels (a light cell's own, an emission's, an undo's) show at once.
    connect(model, &MapModel::propertiesChanged, this, &LayerController::refreshLook);
    if (clearButton)
        connect(clearButton, &QPushButton::clicked, this, &LayerController::MapClearButton);
}

LayerController::~LayerController() = default;

const LayerTable &LayerController::layerTable() const
{
    return model->layers();
}

const QList<Sector *> &LayerController::currentSectors() const
{
    return model->sectorsOf(currentLayer());
}

const QByteArray &LayerController::currentLayer() const
{
    return state->currentLayer();
}

void LayerController::forgetSector(Sector *sector)
{
    if (selectedSet.remove(sector))
        selected.removeAll(sector);
}

void LayerController::removeSectorAt(int x, int y)
{
    if (x < 0 || y < 0)
        return;
    model->removeCells(currentLayer(), {QPoint(x, y)});
}

bool LayerController::hasSectorAt(int x, int y) const
{
    return model->hasSectorAt(currentLayer(), x, y);
}

Sector *LayerController::sectorAt(int x, int y) const
{
    return model->sectorAt(currentLayer(), x, y);
}

void LayerController::selectRect(int x1, int y1, int x2, int y2)
{
    for (Sector *sector : currentSectors()) {
        const SectorData *d = sector->data;
        if (d->mapX >= x1 && d->mapX <= x2 && d->mapY >= y1 && d->mapY <= y2) {
            selected.append(sector);
            selectedSet.insert(sector);
            SectorLook::setLook(sector, selectedTint);
        }
    }
}

void LayerController::selectSectors(const QList<Sector *> &sectors)
{
    clearSelection();
    for (Sector *sector : sectors) {
        if (selectedSet.contains(sector))
            continue;
        selected.append(sector);
        selectedSet.insert(sector);
        SectorLook::setLook(sector, selectedTint);
    }
}

void LayerController::clearSelection()
{
    const QList<Sector *> was = selected;
    selected.clear();
    selectedSet.clear();
    for (Sector *sector : was)
        refreshLook(sector);
}

void LayerController::dropSelection()
{
    selected.clear();
    selectedSet.clear();
}

void LayerController::replaceLayers(LayerTable newTable)
{
    dropSelection();
    // Destroying a widget that still has a posted event scans the whole event
    // queue; the zoom reset and the hidden canvas of a load leave a repaint
    // request on thousands of buttons, so those go out before the buttons do.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
    // The layer change below runs the view's layer-change handling on the new map.
    model->replaceMap(std::move(newTable));
    const QByteArray before = state->currentLayer();
    state->setChosenLayer(LayerNames::Wall);
    // A change of the edited layer has refreshed the looks already.
    if (state->currentLayer() == before)
        refreshLayerDisplay();
}

void LayerController::refreshLayerDisplay()
{
    tintLayers(currentLayer());
    emit displayChanged();
}

bool LayerController::layerShown(const QByteArray &layer) const
{
    return LayerLooks::shownWhileEditing(layer, currentLayer());
}

bool LayerController::displayNewSector(Sector *sector) const
{
    // Its button is shown by the caller, which also draws the look once.
    sector->setLookColour(lookOf(sector));
    return layerShown(sector->layer());
}

QColor LayerController::lookOf(const Sector *sector) const
{
    return LayerLooks::lookOf(sector->layer(), currentLayer(), selectedSet.contains(sector),
                              sector->data->lighting.emission);
}

void LayerController::refreshLook(Sector *sector)
{
    if (sector)
        SectorLook::setLook(sector, lookOf(sector));
}

void LayerController::tintLayers(const QByteArray &name)
{
    Q_UNUSED(name) // the looks follow the layer being edited
    for (const auto &entry : model->layers()) {
        for (Sector *sector : entry.sectors)
            refreshLook(sector);
    }
}

void LayerController::tintLightmapSector(Sector *sector)
{
    // A selected light cell keeps its marking while it is selected.
    if (sector && !selectedSet.contains(sector))
        SectorLook::setLook(sector, lightShade(sector));
}

void LayerController::tintLightmap()
{
    for (Sector *sector : model->sectorsOf(LayerNames::Lightmap))
        tintLightmapSector(sector);
}

void LayerController::MapClearButton()
{
    // Decided at the click: the question takes the activation, and a temporary
    // layer ends with it.
    const QByteArray layer = currentLayer();
    const QString text = QStringLiteral("All sectors in the currently") + QLatin1Char(' ')
        + QStringLiteral("selected layer (%1) will be destroyed!\n").arg(QString::fromUtf8(layer))
        + QStringLiteral("Are you sure you want to continue?");
    if (Prompts::current().askYesNo(QStringLiteral("Warning!"), text) != QMessageBox::Yes)
        return;
    model->clearLayer(layer);
}
