#include "model/sectorfactory.h"

#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/sector.h"
#include "model/sectorcanvas.h"
#include "model/subtypetable.h"

#include <QPushButton>

Sector *createSectorAt(int cx, int cy, const SectorPlacement &placement)
{
    const int size = placement.cellSize;
    const int px = cx * size;
    const int py = cy * size;
    const TextureEntry texture = placement.gallery ? placement.gallery->currentTexture() : TextureEntry();

    auto *button = new QPushButton(QString(), SectorCanvas::forMap(placement.mapWidget));
    // Thousands of cells in the tab chain would help nobody; focus stays where it was.
    button->setFocusPolicy(Qt::NoFocus);
    button->move(px, py);
    button->resize(size, size);
    button->setFlat(true);
    button->setIconSize(QSize(size, size));

    auto *data = new SectorData;
    data->button = button;
    data->layer = placement.layers ? placement.layers->currentLayer() : QByteArray();
    data->texture = texture;
    data->worldX = px;
    data->worldY = py;
    data->mapX = cx - placement.originX;
    data->mapY = cy - placement.originY;
    const QList<QByteArray> subtypes = subtypesOf(data->layer);
    data->subtype = subtypes.isEmpty() ? QByteArray() : subtypes.first();
    if (data->layer == "Lightmap" && placement.gallery)
        data->texture.id = placement.gallery->nextId();

    auto *sector = new Sector(data, nullptr);
    sector->showImage(texture.imagePath());
    button->show();
    return sector;
}
