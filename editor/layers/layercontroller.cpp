#include "layers/layercontroller.h"

#include "app/dialogs.h"
#include "model/layernames.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "model/subtypetable.h"
#include "view/sectorcanvas.h"
#include "view/sectorlook.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QSet>

#include <algorithm>

namespace {

enum class Visibility { Show, Hide, Unchanged };

// Walls are never hidden; Ceil, Floor and Lightmap are each shown alone with the
// walls; the object layers are shown together.
Visibility visibilityOf(const QByteArray &layer, const QByteArray &current)
{
    using namespace LayerNames;
    static const QList<QByteArray> alone{Ceil, Floor, Lightmap};
    static const QList<QByteArray> objects{Door, Actor, Sprite, Item};
    const bool layerKnown = alone.contains(layer) || objects.contains(layer) || layer == Wall;
    if (!layerKnown)
        return Visibility::Unchanged;
    if (alone.contains(current)) {
        if (layer == Wall)
            return Visibility::Unchanged;
        return layer == current ? Visibility::Show : Visibility::Hide;
    }
    return alone.contains(layer) ? Visibility::Hide : Visibility::Show;
}

SectorCanvas *canvasOf(const LayerTable &table)
{
    for (const auto &entry : table) {
        for (Sector *sector : entry.sectors) {
            if (sector->data->button)
                return qobject_cast<SectorCanvas *>(sector->data->button->parentWidget());
        }
    }
    return nullptr;
}

} // namespace

const QColor LayerController::otherLayerTint(0, 0, 155, 255);
const QColor LayerController::selectedTint(0, 155, 0, 255);

QColor LayerController::lightShade(const Sector *sector)
{
    const int e = std::clamp(sector->data->lighting.emission, 0, 255);
    return QColor(e, e, e, 255);
}

LayerController::LayerController(MapModel *mapModel, QComboBox *combo, QPushButton *clearButton)
    : QObject(nullptr), model(mapModel), layerCombo(combo)
{
    if (layerCombo) {
        for (const auto &entry : model->layers())
            layerCombo->addItem(QString::fromUtf8(entry.name));
    }
    setComboText(QString::fromLatin1(LayerNames::Wall));
    layerName = comboText().toUtf8();
    refreshLayerDisplay();
    connect(model, &MapModel::sectorRemoved, this, &LayerController::forgetSector);
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
    return model->sectorsOf(layerName);
}

QString LayerController::comboText() const
{
    return layerCombo ? layerCombo->currentText() : QString::fromLatin1(LayerNames::Wall);
}

void LayerController::setComboText(const QString &text)
{
    if (layerCombo)
        layerCombo->setCurrentText(text);
}

void LayerController::forgetSector(Sector *sector)
{
    selected.removeOne(sector);
}

void LayerController::removeSectorAt(int x, int y)
{
    if (x < 0 || y < 0)
        return;
    model->removeCells(layerName, {QPoint(x, y)});
}

bool LayerController::hasSectorAt(int x, int y) const
{
    return model->hasSectorAt(layerName, x, y);
}

Sector *LayerController::sectorAt(int x, int y) const
{
    return model->sectorAt(layerName, x, y);
}

void LayerController::selectRect(int x1, int y1, int x2, int y2)
{
    for (Sector *sector : currentSectors()) {
        const SectorData *d = sector->data;
        if (d->mapX >= x1 && d->mapX <= x2 && d->mapY >= y1 && d->mapY <= y2) {
            selected.append(sector);
            SectorLook::setLook(sector, selectedTint);
        }
    }
}

void LayerController::clearSelection()
{
    for (Sector *sector : qAsConst(selected)) {
        SectorLook::setLook(sector, QColor());
        if (layerName == LayerNames::Lightmap)
            tintLightmapSector(sector);
    }
    selected.clear();
}

void LayerController::setCurrentLayer(const QByteArray &name)
{
    layerName = name;
    refreshLayerDisplay();
}

void LayerController::MapLayerChanged()
{
    setCurrentLayer(comboText().toUtf8());
}

void LayerController::reloadCurrentLayer()
{
    setCurrentLayer(comboText().toUtf8());
}

void LayerController::replaceLayers(LayerTable newTable)
{
    selected.clear();
    // Destroying a widget that still has a posted event scans the whole event
    // queue; the zoom reset and the hidden canvas of a load leave a repaint
    // request on thousands of buttons, so those go out before the buttons do.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
    // The combo change below runs the view's layer-change handling on the new map.
    model->replaceMap(std::move(newTable));
    setComboText(QString::fromLatin1(LayerNames::Wall));
    layerName = comboText().toUtf8();
    refreshLayerDisplay();
}

void LayerController::refreshLayerDisplay()
{
    SectorCanvas::Batch batch(canvasOf(model->layers()));
    for (Visibility wanted : {Visibility::Hide, Visibility::Show}) {
        for (const auto &entry : model->layers()) {
            if (visibilityOf(entry.name, layerName) != wanted)
                continue;
            for (Sector *sector : entry.sectors) {
                if (QPushButton *button = sector->data->button)
                    button->setVisible(wanted == Visibility::Show);
            }
        }
    }
    tintLayers(layerName);
}

bool LayerController::displayNewSector(Sector *sector) const
{
    sector->setLookColour(sector->data->layer == layerName ? QColor() : otherLayerTint);
    return visibilityOf(sector->data->layer, layerName) != Visibility::Hide;
}

void LayerController::tintLayers(const QByteArray &name)
{
    for (const auto &entry : model->layers()) {
        if (entry.name == name)
            continue;
        for (Sector *sector : entry.sectors)
            SectorLook::setLook(sector, otherLayerTint);
    }
    for (Sector *sector : model->sectorsOf(name))
        SectorLook::setLook(sector, QColor());
    if (name == LayerNames::Lightmap)
        tintLightmap();
}

void LayerController::tintLightmapSector(Sector *sector)
{
    if (sector)
        SectorLook::setLook(sector, lightShade(sector));
}

void LayerController::tintLightmap()
{
    for (Sector *sector : model->sectorsOf(LayerNames::Lightmap))
        tintLightmapSector(sector);
}

void LayerController::MapClearButton()
{
    const QString text = QStringLiteral("All sectors in the currently") + QLatin1Char(' ')
        + QStringLiteral("selected layer will be destroyed!\n")
        + QStringLiteral("Are you sure you want to continue?");
    if (Dialogs::askYesNo(QStringLiteral("Warning!"), text) != QMessageBox::Yes)
        return;
    model->clearLayer(layerName);
}
