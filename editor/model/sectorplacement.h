#pragma once

#include <QtGlobal>

class QWidget;
class LayerController;
class TextureGallery;

// What creating a sector needs to know about the view, handed over by value.
struct SectorPlacement
{
    QWidget *mapWidget = nullptr;
    LayerController *layers = nullptr;
    TextureGallery *gallery = nullptr;
    qint32 cellSize = 64;
    qint32 originX = 0;
    qint32 originY = 0;
};
