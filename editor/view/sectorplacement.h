#pragma once

#include <QtGlobal>

class QWidget;
class LayerController;
class TextureGallery;

// What an edit made outside the map view needs to know about it (the properties
// form's light emission): handed over by value.
struct SectorPlacement
{
    QWidget *mapWidget = nullptr;
    LayerController *layers = nullptr;
    TextureGallery *gallery = nullptr;
    qint32 cellSize = 64;
    qint32 originX = 0;
    qint32 originY = 0;
};
