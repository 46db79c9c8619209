#pragma once

#include <QColor>
#include <QImage>

// Door textures: opaque, one door filling the cell inside a frame.
class DoorArt
{
public:
    static QImage wood();
    static QImage metal();
    // A metal door with a coloured band and lock plate: the key it needs.
    static QImage keyDoor(const QColor &key);
};
