#pragma once

#include "model/cellindex.h"
#include "model/layertable.h"
#include "model/lightpoint.h"
#include "model/mapchange.h"

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QStringList>

#include <functional>

class Sector;

// The map: every layer's sectors, which it alone owns and destroys, with an
// index from cell to sector per layer. All edits go through the operations
// below; each returns what it changed, and the widgets follow the signals.
class MapModel : public QObject
{
    Q_OBJECT

public:
    explicit MapModel(QObject *parent = nullptr);
    ~MapModel() override;

    const LayerTable &layers() const { return table; }
    const QList<Sector *> &sectorsOf(const QByteArray &layer) const;
    // The first sector on the cell (a loaded map may hold two on one cell).
    Sector *sectorAt(const QByteArray &layer, int x, int y) const;
    bool hasSectorAt(const QByteArray &layer, int x, int y) const { return sectorAt(layer, x, y); }
    // Every sector of the layer on a cell of the rectangle, in no set order.
    QList<Sector *> sectorsIn(const QByteArray &layer, const QRect &cells) const;

    // Identifiers for light cells and loaded definitions; by default a counter
    // of the model's own, the editor hands it the gallery's.
    void setIdSource(std::function<qint32()> source) { idSource = std::move(source); }
    qint32 nextId();

    // A sector in no map yet, as painting makes it: the layer's first subtype,
    // and a fresh identifier on the light layer.
    Sector *makeSector(const QByteArray &layer, int x, int y, const TextureEntry &texture);

    // Refuses a negative or occupied cell.
    MapChange placeCell(const QByteArray &layer, const QPoint &cell, const TextureEntry &texture);
    MapChange placeCells(const QByteArray &layer, const QList<QPoint> &cells, const TextureEntry &texture);
    // Every sector on each cell. The sectors are destroyed when control returns
    // to the event loop, so a button that was just pressed outlives its event.
    MapChange removeCells(const QByteArray &layer, const QList<QPoint> &cells);
    // These very sectors, each from its own layer (a selection, whatever layer is current).
    MapChange removeSectors(const QList<Sector *> &sectors);
    MapChange retextureCells(const QByteArray &layer, const QList<QPoint> &cells, const TextureEntry &texture);
    MapChange retexture(const QList<Sector *> &sectors, const TextureEntry &texture);
    MapChange setProperties(Sector *sector, const QByteArray &subtype, const SectorLighting &lighting);
    // Lights the Lightmap cells around the source; new cells show `texture`.
    MapChange emitPointLight(const LightPoint &source, const TextureEntry &texture);
    // Destroys the layer's sectors at once.
    MapChange clearLayer(const QByteArray &layer);
    // Takes ownership of the new table's sectors and destroys the old ones at
    // once. Each sector belongs to the layer whose list holds it. A new map
    // starts a new history, so no change is recorded.
    void replaceMap(LayerTable newTable);

    // Undo and redo: put back one side of a change, sectors at their old places
    // in their lists. They do not count as edits (no `edited`). Sectors they
    // take out are destroyed at once: neither runs in the middle of a press.
    void revert(const MapChange &change);
    void reapply(const MapChange &change);
    // Makes a change prepared elsewhere (a paste) as an edit of its own:
    // like reapply, and announced as every other operation is.
    void apply(const MapChange &change);

    static SectorState stateOf(const Sector *sector);

    // What breaks the map's own rules, one line each; empty when nothing does.
    // Every sector is in exactly one layer's list, on a cell of the map, and is
    // what that layer's cell index names for its cell. Walks the whole map: for
    // tests and fuzzing, not for every edit.
    QStringList checkConsistency() const;

signals:
    void sectorAdded(Sector *sector);
    // Already out of every layer; destroyed right after (or at the next event loop pass).
    void sectorRemoved(Sector *sector);
    void textureChanged(Sector *sector);
    void propertiesChanged(Sector *sector);
    // Every sector is new; no sectorAdded is sent for them.
    void mapReplaced();
    // After each operation above that changed something, except replaceMap
    // (a new map starts a new history).
    void edited(const MapChange &change);

private:
    void insert(const QByteArray &layer, Sector *sector);
    QList<Sector *> sectorsOn(const QByteArray &layer, int x, int y) const;
    void takeOut(const QByteArray &layer, const QList<Sector *> &gone, QHash<Sector *, int> *positions);
    void takeOutAll(const QList<Sector *> &gone, QHash<Sector *, int> *positions);
    // Later: at the next event-loop pass, so that a button just pressed outlives its event.
    enum class Removal { Later, AtOnce };
    MapChange removeGone(const QList<Sector *> &gone);
    void destroy(const QList<Sector *> &gone, Removal removal, QHash<Sector *, int> *positions = nullptr);
    MapChange announce(const MapChange &change);
    void applySide(const MapChange &change, bool forward, Removal removal);
    Sector *located(const CellChange &cell) const;
    void restore(const CellChange &cell, const SectorState &state);
    static void setState(Sector *sector, const SectorState &state);

    LayerTable table;
    CellIndex index;
    std::function<qint32()> idSource;
    qint32 counter = 100;
};
