#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>

class LayerController;
class MapModel;
class Sector;
class SectorCanvas;

// Decides which sector buttons are shown: those of the layers the current layer
// shows that lie on the visible part of the canvas. The others stay hidden, so
// a layer switch, a pan, a zoom or an edit costs in proportion to the view, not
// to the map. The buttons keep their places, sizes and looks either way.
class SectorViewport : public QObject
{
    Q_OBJECT

public:
    SectorViewport(MapModel *model, LayerController *layers, SectorCanvas *canvas);

    // Shows and hides what the layers and the view ask for now (after a pan or
    // a zoom has placed the buttons; a resize or a layer change calls it itself).
    void update();
    // A sector that just came into the map, its look already set: shown when
    // its layer is and it lies in view.
    void place(Sector *sector, bool layerShown);
    bool inView(const Sector *sector) const;

private:
    void show(Sector *sector, bool shown);
    void forget(Sector *sector);

    MapModel *model;
    LayerController *layers;
    QPointer<SectorCanvas> canvas;
    QSet<Sector *> shown;
};
