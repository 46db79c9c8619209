#include "model/layertable.h"

LayerTable::LayerTable(const QList<QByteArray> &names)
{
    for (const QByteArray &name : names)
        (*this)[name];
}

QList<Sector *> &LayerTable::operator[](const QByteArray &name)
{
    auto found = indexOfName.constFind(name);
    if (found != indexOfName.constEnd())
        return entries[size_t(*found)].sectors;
    indexOfName.insert(name, int(entries.size()));
    entries.push_back({name, {}});
    return entries.back().sectors;
}

QList<Sector *> LayerTable::value(const QByteArray &name) const
{
    auto found = indexOfName.constFind(name);
    return found == indexOfName.constEnd() ? QList<Sector *>() : entries[size_t(*found)].sectors;
}

bool LayerTable::contains(const QByteArray &name) const
{
    return indexOfName.contains(name);
}

QList<QByteArray> LayerTable::names() const
{
    QList<QByteArray> result;
    for (const Entry &entry : entries)
        result.append(entry.name);
    return result;
}

int LayerTable::sectorCount() const
{
    int count = 0;
    for (const Entry &entry : entries)
        count += entry.sectors.size();
    return count;
}

QList<Sector *> LayerTable::allSectors() const
{
    QList<Sector *> result;
    result.reserve(sectorCount());
    for (const Entry &entry : entries)
        result.append(entry.sectors);
    return result;
}
