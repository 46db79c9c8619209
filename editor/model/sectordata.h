#pragma once

#include "format/sectorlighting.h"
#include "model/textureentry.h"

#include <QByteArray>

class QPushButton;

// The record of one filled cell of one layer. Which layer that is, is not part
// of the record: the layer's list in the map says it (Sector::layer).
struct SectorData
{
    SectorLighting lighting;
    double worldX = 0;
    double worldY = 0;
    qint32 mapX = 0;
    qint32 mapY = 0;
    QPushButton *button = nullptr; // owned; deleted by the Sector
    TextureEntry texture;
    QByteArray subtype;
};
