#pragma once

#include "model/lightpoint.h"
#include "model/textureentry.h"

#include <QtGlobal>

// Values the model's tests build again and again.
inline TextureEntry texture(const char *name, qint32 id, const char *folder = "textures/")
{
    return TextureEntry{name, folder, id};
}

// A point light's source cell, intensity and radius.
inline LightPoint lightAt(int x, int y, int intensity, int radius)
{
    LightPoint source;
    source.mapX = x;
    source.mapY = y;
    source.intensity = intensity;
    source.radius = radius;
    return source;
}
