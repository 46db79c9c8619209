#pragma once

#include "model/layertable.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QObject>
#include <QSet>

class EditingState;
class MapModel;
class QComboBox;
class QPushButton;
class Sector;

// The selection on the layer being edited, and how every sector looks and
// whether it is shown while that layer is edited. The sectors belong to the
// map model; which layer is edited belongs to the editing state.
class LayerController : public QObject
{
    Q_OBJECT

public:
    // The combo box (filled with the layers here) and the clear button may be
    // null (a controller without a window).
    LayerController(MapModel *model, EditingState *state, QComboBox *layerCombo, QPushButton *clearButton);
    ~LayerController() override;

    static const QColor &otherLayerTint;
    static const QColor &selectedTint;
    static QColor lightShade(const Sector *sector);

    MapModel *mapModel() const { return model; }
    const LayerTable &layerTable() const;
    const QList<Sector *> &selection() const { return selected; }
    const QList<Sector *> &currentSectors() const;
    const QByteArray &currentLayer() const;

    void removeSectorAt(int x, int y);
    bool hasSectorAt(int x, int y) const;
    Sector *sectorAt(int x, int y) const;
    void selectRect(int x1, int y1, int x2, int y2);
    // The selection becomes these sectors (cells picked by texture or search).
    void selectSectors(const QList<Sector *> &sectors);
    void clearSelection();
    // Forgets the selection without redrawing its cells: they are about to go.
    void dropSelection();
    // The map's layers replaced; editing starts again on the Wall layer.
    void replaceLayers(LayerTable newTable);
    // Gives every sector its look for the current layer and announces which
    // layers are shown now (displayChanged).
    void refreshLayerDisplay();
    // Whether the layer's sectors are shown while the current layer is edited.
    bool layerShown(const QByteArray &layer) const;
    // Gives a sector that just came into the map its look (not yet drawn) and
    // says whether it is shown while the current layer is edited.
    bool displayNewSector(Sector *sector) const;
    void tintLayers(const QByteArray &name);
    void tintLightmapSector(Sector *sector);
    void tintLightmap();
    // The look the display rules give a sector now: selected, of another
    // layer, a light level, or plain.
    QColor lookOf(const Sector *sector) const;
    void refreshLook(Sector *sector);

signals:
    void displayChanged();

public slots:
    void MapClearButton();

private:
    void forgetSector(Sector *sector);

    MapModel *model = nullptr;
    EditingState *state = nullptr;
    QList<Sector *> selected;
    // The same sectors, to ask about one of them without walking the list.
    QSet<const Sector *> selectedSet;
};
