#pragma once

#include <QImage>

// Floor textures: opaque, seamless in both directions.
class FloorArt
{
public:
    static QImage tiles();
    static QImage planks();
    static QImage carpet();
    static QImage slabs();
    static QImage diamond();
};
