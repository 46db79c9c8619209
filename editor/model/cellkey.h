#pragma once

#include <QPoint>
#include <QtGlobal>

// One number per map cell, for the indexes that sit beside the ordered layer lists.
inline quint64 cellKey(int x, int y)
{
    return (quint64(quint32(x)) << 32) | quint32(y);
}

inline quint64 cellKey(const QPoint &cell)
{
    return cellKey(cell.x(), cell.y());
}
