#pragma once

#include "model/layertable.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

class QComboBox;
class QWidget;
class Sector;

// Owns the layers of the map: which sectors each holds, which layer is being
// edited, the selection, and how every sector looks while a layer is edited.
class LayerController : public QObject
{
    Q_OBJECT

public:
    explicit LayerController(QWidget *mainWindow);
    ~LayerController() override;

    static const QColor otherLayerTint;
    static const QColor selectedTint;
    static QColor lightShade(const Sector *sector);

    const LayerTable &layerTable() const { return table; }
    const QList<Sector *> &selection() const { return selected; }
    const QList<Sector *> &currentSectors() const { return current; }
    QByteArray currentLayer() const { return layerName; }

    void commitCurrentLayer();
    void addSector(Sector *sector);
    void removeSectorAt(int x, int y);
    bool hasSectorAt(int x, int y) const;
    Sector *sectorAt(int x, int y) const;
    QList<Sector *> &layerSectors(const QByteArray &name);
    void selectRect(int x1, int y1, int x2, int y2);
    void clearSelection();
    void setCurrentLayer(const QByteArray &name);
    void reloadCurrentLayer();
    void replaceLayers(LayerTable newTable);
    void refreshLayerDisplay();
    void tintLayers(const QByteArray &name);
    void tintLightmapSector(Sector *sector);
    void tintLightmap();

public slots:
    void MapClearButton();
    void MapLayerChanged();

private:
    void switchTo(const QByteArray &name);
    void rebuildIndex();
    void forget(const QList<Sector *> &gone);
    void releaseStoredCurrent();
    void stashIndex();
    void restoreIndex();
    void destroyNow(const QList<Sector *> &gone);
    QString comboText() const;
    void setComboText(const QString &text);

    LayerTable table;
    QList<Sector *> selected;
    QList<Sector *> current;
    QByteArray layerName;
    QPointer<QWidget> mainWindow;
    QPointer<QComboBox> layerCombo;
    // Map cell -> first sector of the current layer on it; always agrees with `current`.
    QHash<quint64, Sector *> cellIndex;
    // Whether `current` may hold two sectors on one cell (only a loaded table can).
    bool currentMayShareCells = false;
    // Cell indexes of layers edited before, each with the list it was built from.
    struct StashedIndex
    {
        QList<Sector *> sectors;
        QHash<quint64, Sector *> index;
        bool mayShareCells = false;
    };
    QHash<QByteArray, StashedIndex> indexCache;
    bool replacing = false;
};
