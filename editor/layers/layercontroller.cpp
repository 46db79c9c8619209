#include "layers/layercontroller.h"

#include "model/cellkey.h"
#include "model/dialogs.h"
#include "model/emission.h"
#include "model/sector.h"
#include "model/sectorcanvas.h"
#include "model/subtypetable.h"

#include <QComboBox>
#include <QPushButton>
#include <QSet>

#include <algorithm>

namespace {

bool isOn(const Sector *sector, int x, int y)
{
    return sector->data->mapX == x && sector->data->mapY == y;
}

enum class Visibility { Show, Hide, Unchanged };

// Walls are never hidden; Ceil, Floor and Lightmap are each shown alone with the
// walls; the object layers are shown together.
Visibility visibilityOf(const QByteArray &layer, const QByteArray &current)
{
    static const QList<QByteArray> alone{"Ceil", "Floor", "Lightmap"};
    static const QList<QByteArray> objects{"Door", "Actor", "Sprite", "Item"};
    const bool layerKnown = alone.contains(layer) || objects.contains(layer) || layer == "Wall";
    if (!layerKnown)
        return Visibility::Unchanged;
    if (alone.contains(current)) {
        if (layer == "Wall")
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

LayerController::LayerController(QWidget *window)
    : QObject(nullptr), table(layerOrder()), mainWindow(window)
{
    layerCombo = window ? window->findChild<QComboBox *>(QStringLiteral("comboBoxMapLayer")) : nullptr;
    if (layerCombo) {
        for (const auto &entry : table)
            layerCombo->addItem(QString::fromUtf8(entry.name));
    }
    setComboText(QStringLiteral("Wall"));
    layerName = comboText().toUtf8();
    current = table[layerName];
    rebuildIndex();
    refreshLayerDisplay();
    if (auto *clearButton = window ? window->findChild<QPushButton *>(QStringLiteral("btnMapLayerClear")) : nullptr)
        connect(clearButton, &QPushButton::clicked, this, &LayerController::MapClearButton);
}

// The sectors belong to the layer lists' owner, not to this controller's lifetime.
LayerController::~LayerController() = default;

QString LayerController::comboText() const
{
    return layerCombo ? layerCombo->currentText() : QStringLiteral("Wall");
}

void LayerController::setComboText(const QString &text)
{
    if (layerCombo)
        layerCombo->setCurrentText(text);
}

void LayerController::commitCurrentLayer()
{
    if (replacing)
        return;
    if (layerName.isEmpty())
        layerName = comboText().toUtf8();
    table[layerName] = current;
}

void LayerController::addSector(Sector *sector)
{
    if (!sector)
        return;
    const quint64 key = cellKey(sector->data->mapX, sector->data->mapY);
    if (cellIndex.contains(key))
        return;
    releaseStoredCurrent();
    current.append(sector);
    cellIndex.insert(key, sector);
    commitCurrentLayer();
}

void LayerController::removeSectorAt(int x, int y)
{
    if (x < 0 || y < 0)
        return;
    if (Sector *indexed = cellIndex.value(cellKey(x, y), nullptr)) {
        QList<Sector *> gone;
        if (currentMayShareCells) {
            for (Sector *sector : qAsConst(current)) {
                if (isOn(sector, x, y))
                    gone.append(sector);
            }
        } else {
            // Every cell holds one sector at most: the index names it, no scan needed.
            gone.append(indexed);
        }
        // Without the table's reference the list is changed in place instead of
        // being copied whole for every removed cell; the commit below shares it again.
        releaseStoredCurrent();
        forget(gone);
        for (Sector *sector : qAsConst(gone)) {
            sector->markRemoved();
            sector->deleteLater();
        }
    }
    commitCurrentLayer();
}

bool LayerController::hasSectorAt(int x, int y) const
{
    return cellIndex.contains(cellKey(x, y));
}

Sector *LayerController::sectorAt(int x, int y) const
{
    return cellIndex.value(cellKey(x, y), nullptr);
}

QList<Sector *> &LayerController::layerSectors(const QByteArray &name)
{
    return table[name];
}

void LayerController::selectRect(int x1, int y1, int x2, int y2)
{
    for (Sector *sector : qAsConst(current)) {
        const SectorData *d = sector->data;
        if (d->mapX >= x1 && d->mapX <= x2 && d->mapY >= y1 && d->mapY <= y2) {
            selected.append(sector);
            sector->setLook(selectedTint);
        }
    }
}

void LayerController::clearSelection()
{
    for (Sector *sector : qAsConst(selected)) {
        sector->setLook(QColor());
        if (layerName == "Lightmap")
            tintLightmapSector(sector);
    }
    selected.clear();
}

void LayerController::setCurrentLayer(const QByteArray &name)
{
    switchTo(name);
}

void LayerController::MapLayerChanged()
{
    switchTo(comboText().toUtf8());
}

void LayerController::switchTo(const QByteArray &name)
{
    commitCurrentLayer();
    stashIndex();
    layerName = name;
    current = table[layerName];
    restoreIndex();
    refreshLayerDisplay();
}

void LayerController::reloadCurrentLayer()
{
    layerName = comboText().toUtf8();
    current = table[layerName];
    restoreIndex();
    refreshLayerDisplay();
}

// Rebuilding the cell index of a big layer costs more than the rest of a layer
// switch, so the index of the layer being left is kept for the way back.
void LayerController::stashIndex()
{
    if (layerName.isEmpty())
        return;
    indexCache.insert(layerName, StashedIndex{current, std::move(cellIndex), currentMayShareCells});
    cellIndex = QHash<quint64, Sector *>();
}

void LayerController::restoreIndex()
{
    auto stashed = indexCache.find(layerName);
    // A list still sharing its data with the one the index was built from has
    // not been changed since (any change detaches it), so the index still agrees.
    if (stashed != indexCache.end() && stashed->sectors.isSharedWith(current)) {
        cellIndex = std::move(stashed->index);
        currentMayShareCells = stashed->mayShareCells;
        indexCache.erase(stashed);
        return;
    }
    if (stashed != indexCache.end())
        indexCache.erase(stashed);
    rebuildIndex();
}

void LayerController::replaceLayers(LayerTable newTable)
{
    const QList<Sector *> old = table.allSectors();
    forget(old);
    destroyNow(old);
    indexCache.clear();
    table = std::move(newTable);
    // The combo change below runs the view's layer-change handling; nothing of
    // the old map may be written into the new table on the way.
    replacing = true;
    setComboText(QStringLiteral("Wall"));
    replacing = false;
    layerName = comboText().toUtf8();
    current = table[layerName];
    rebuildIndex();
    refreshLayerDisplay();
}

void LayerController::refreshLayerDisplay()
{
    SectorCanvas::Batch batch(canvasOf(table));
    for (Visibility wanted : {Visibility::Hide, Visibility::Show}) {
        for (const auto &entry : table) {
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

void LayerController::tintLayers(const QByteArray &name)
{
    for (const auto &entry : table) {
        if (entry.name == name)
            continue;
        for (Sector *sector : entry.sectors)
            sector->setLook(otherLayerTint);
    }
    for (Sector *sector : qAsConst(table[name]))
        sector->setLook(QColor());
    if (name == "Lightmap")
        tintLightmap();
}

void LayerController::tintLightmapSector(Sector *sector)
{
    if (sector)
        sector->setLook(lightShade(sector));
}

void LayerController::tintLightmap()
{
    for (Sector *sector : qAsConst(table["Lightmap"]))
        tintLightmapSector(sector);
}

void LayerController::MapClearButton()
{
    const QString text = QStringLiteral("All sectors in the currently") + QLatin1Char(' ')
        + QStringLiteral("selected layer will be destroyed!\n")
        + QStringLiteral("Are you sure you want to continue?");
    if (Dialogs::askYesNo(QStringLiteral("Warning!"), text) != QMessageBox::Yes)
        return;
    commitCurrentLayer();
    const QList<Sector *> gone = table[layerName];
    forget(gone);
    destroyNow(gone);
    table[layerName].clear();
    current.clear();
    cellIndex.clear();
    currentMayShareCells = false;
}

void LayerController::rebuildIndex()
{
    cellIndex.clear();
    cellIndex.reserve(current.size());
    for (Sector *sector : qAsConst(current)) {
        const quint64 key = cellKey(sector->data->mapX, sector->data->mapY);
        if (!cellIndex.contains(key))
            cellIndex.insert(key, sector);
    }
    // addSector never doubles a cell and removing cannot, so this stays true
    // (at worst too cautious) until the next rebuild.
    currentMayShareCells = cellIndex.size() != current.size();
}

void LayerController::releaseStoredCurrent()
{
    if (replacing || layerName.isEmpty())
        return;
    QList<Sector *> &stored = table[layerName];
    if (stored.isSharedWith(current))
        stored = QList<Sector *>();
}

// Takes sectors that are about to die out of every list that could reach them.
void LayerController::forget(const QList<Sector *> &gone)
{
    if (gone.isEmpty())
        return;
    QList<Sector *> &pending = pendingEmissionSectors();
    if (gone.size() <= 8) {
        // A few cells (the usual erase): pointer scans beat hashing every list entry.
        for (Sector *sector : gone) {
            selected.removeAll(sector);
            current.removeAll(sector);
            pending.removeAll(sector);
        }
    } else {
        const QSet<Sector *> dead(gone.begin(), gone.end());
        auto isDead = [&dead](Sector *sector) { return dead.contains(sector); };
        selected.erase(std::remove_if(selected.begin(), selected.end(), isDead), selected.end());
        current.erase(std::remove_if(current.begin(), current.end(), isDead), current.end());
        pending.erase(std::remove_if(pending.begin(), pending.end(), isDead), pending.end());
    }
    QSet<quint64> vacated;
    for (Sector *sector : gone) {
        const quint64 key = cellKey(sector->data->mapX, sector->data->mapY);
        if (cellIndex.value(key) == sector) {
            cellIndex.remove(key);
            vacated.insert(key);
        }
    }
    // A second sector on a vacated cell (only a loaded table can hold one) takes over.
    if (vacated.isEmpty() || !currentMayShareCells)
        return;
    for (Sector *sector : qAsConst(current)) {
        const quint64 key = cellKey(sector->data->mapX, sector->data->mapY);
        if (vacated.contains(key) && !cellIndex.contains(key))
            cellIndex.insert(key, sector);
    }
}

void LayerController::destroyNow(const QList<Sector *> &gone)
{
    for (Sector *sector : gone) {
        sector->markRemoved();
        delete sector;
    }
}
