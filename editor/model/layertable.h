#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>

#include <vector>

class Sector;

// Layer name -> ordered list of that layer's sectors. Iterates in the order the
// names were first added; looking up a missing name adds an empty list for it.
class LayerTable
{
public:
    struct Entry
    {
        QByteArray name;
        QList<Sector *> sectors;
    };

    LayerTable() = default;
    explicit LayerTable(const QList<QByteArray> &names);

    QList<Sector *> &operator[](const QByteArray &name);
    QList<Sector *> value(const QByteArray &name) const;
    bool contains(const QByteArray &name) const;
    QList<QByteArray> names() const;
    int size() const { return int(entries.size()); }
    bool isEmpty() const { return entries.empty(); }
    int sectorCount() const;
    QList<Sector *> allSectors() const;

    std::vector<Entry>::iterator begin() { return entries.begin(); }
    std::vector<Entry>::iterator end() { return entries.end(); }
    std::vector<Entry>::const_iterator begin() const { return entries.begin(); }
    std::vector<Entry>::const_iterator end() const { return entries.end(); }

private:
    std::vector<Entry> entries;
    QHash<QByteArray, int> indexOfName;
};
