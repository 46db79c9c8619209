#pragma once

#include <QPoint>
#include <QtGlobal>

// One number per map cell, for the cell indexes beside the ordered layer lists.
// Qt hashes a 64-bit key as (key >> 31) ^ key: with x and y side by side that
// leaves about 2 * width distinct hashes for a whole map, and long chains. The
// row is therefore scrambled by an odd multiplier (a bijection, so keys stay
// unique) before it takes the low half.
inline quint64 cellKey(int x, int y)
{
    return (quint64(quint32(x)) << 32) | quint32(quint32(y) * 0x9E3779B1u);
}

inline quint64 cellKey(const QPoint &cell)
{
    return cellKey(cell.x(), cell.y());
}
