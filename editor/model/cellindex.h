#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRect>
#include <QStringList>

class LayerTable;
class Sector;

// Per layer, the first sector on each cell: the fast lookups beside the
// model's ordered layer lists, which it follows but does not own.
class CellIndex
{
public:
    // The first sector on the cell (a loaded map may hold two on one cell).
    Sector *sectorAt(const QByteArray &layer, int x, int y) const;
    // Every sector of the layer on a cell of the rectangle, in no set order;
    // `all` is the layer's list.
    QList<Sector *> sectorsIn(const QByteArray &layer, const QRect &cells, const QList<Sector *> &all) const;
    // Every sector of the layer on the cell, in list order.
    QList<Sector *> sectorsOn(const QByteArray &layer, int x, int y, const QList<Sector *> &all) const;

    // A sector appended to the end of its layer's list.
    void add(const QByteArray &layer, Sector *sector);
    // A sector inserted anywhere in `sectors`, its layer's list.
    void addInserted(const QByteArray &layer, Sector *sector, const QList<Sector *> &sectors);
    // Sectors already taken out of `remaining`, their layer's list.
    void remove(const QByteArray &layer, const QList<Sector *> &gone, const QList<Sector *> &remaining);
    void rebuild(const QByteArray &layer, const QList<Sector *> &sectors);
    void dropLayer(const QByteArray &layer) { indexes.remove(layer); }
    void clear() { indexes.clear(); }

    // What breaks the rules of the table and this index, one line each.
    QStringList checkAgainst(const LayerTable &table) const;

private:
    struct Layer
    {
        QHash<quint64, Sector *> first;
        bool mayShareCells = false; // only a loaded table can hold two sectors on a cell
    };

    QHash<QByteArray, Layer> indexes;
};
