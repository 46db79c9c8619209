#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>

class EditingState;
class LayerController;
class MapModel;
class MapView;
class QPushButton;
class Sector;
class SectorCanvas;
class SectorViewport;

// The sectors' flat buttons on the canvas: made when the viewport brings a
// sector's cell into sight, placed at its cell from the view's origin and zoom,
// given its look and click rule.
class CellButtons : public QObject
{
    Q_OBJECT

public:
    CellButtons(MapView &view, SectorCanvas *canvas, SectorViewport &viewport, LayerController &layers,
                const EditingState &editing);

    // A button for the sector, placed, with its click rule.
    void give(Sector *sector);
    // The cell's world position from the pan offset and the zoom, and its button there.
    void placeOnMap(Sector *sector) const;
    // Every cell after a pan or a zoom: world positions, and the buttons there
    // at the cell size.
    void placeAllOnMap() const;

private:
    void showNewSector(Sector *sector);
    void showReplacedMap();
    QPushButton *makeButton(const Sector *sector) const;
    void stackByLayer(Sector *sector) const;
    static void placeAt(Sector *sector, const QPoint &origin, int size, const QSize &buttonSize = QSize());

    MapView &view;
    QPointer<SectorCanvas> canvas;
    SectorViewport &viewport;
    LayerController &layers;
    const EditingState &editing;
};
