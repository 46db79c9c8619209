#pragma once

#include <QImage>

// Ceiling textures: opaque, seamless in both directions.
class CeilingArt
{
public:
    static QImage panels();
    static QImage grate();
    static QImage beams();
    static QImage lights();
    static QImage concrete();
};
