#pragma once

#include <QColor>
#include <QImage>

// Pick-up images on a transparent background.
class ItemArt
{
public:
    static QImage health();
    static QImage armor();
    static QImage ammo();
    static QImage shotgun();
    static QImage key(const QColor &colour);
};
