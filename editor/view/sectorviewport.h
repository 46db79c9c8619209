#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>

#include <functional>

class LayerController;
class MapModel;
class Sector;
class SectorCanvas;

// Decides which sectors have a button and which buttons are shown: those of
// the layers the current layer shows that lie on the visible part of the
// canvas. A sector gets its button when its cell first comes into sight; a
// button out of sight is kept for a while (a pan back finds it) and released
// once too many have gathered, so a load, a pan, a layer switch or an edit
// costs in proportion to the view, not to the map.
class SectorViewport : public QObject
{
    Q_OBJECT

public:
    SectorViewport(MapModel *model, LayerController *layers, SectorCanvas *canvas);

    // Gives a sector its button, placed, with its click rule and look.
    void setButtonMaker(std::function<void(Sector *)> maker);
    // Shows and hides what the layers and the view ask for now (after a pan or
    // a zoom has placed the canvas; a resize or a layer change calls it itself).
    void update();
    // A sector that just came into the map, its look already set: given a
    // button and shown when its layer is and it lies in view.
    void place(Sector *sector, bool layerShown);
    bool inView(const Sector *sector) const;
    // Every sector that has a button now, shown or kept out of sight.
    QList<Sector *> sectorsWithButtons() const;
    // How many out-of-sight and spare buttons are kept before they are all released.
    void setKeptOutOfSight(int count) { keepLimit = count; }

private:
    void show(Sector *sector, bool shown);
    void forget(Sector *sector);
    void releaseIfTooMany();
    void releaseWhenIdle();
    void releaseOutOfSight();

    MapModel *model;
    LayerController *layers;
    QPointer<SectorCanvas> canvas;
    std::function<void(Sector *)> makeButton;
    QSet<Sector *> shown;
    // Sectors whose buttons are hidden but kept.
    QSet<Sector *> kept;
    // About two screens of three layers at the usual zoom, and the spares of a
    // 32 x 32 delete; a button costs about a kilobyte, so more held the heap
    // of every cell that a zoom-out once showed.
    int keepLimit = 2048;
    bool releaseQueued = false;
};
