#include "model/cellrecord.h"

#include "model/sector.h"

CellRecord CellRecord::of(const Sector *sector)
{
    const SectorData *d = sector->data;
    return CellRecord{d->mapX, d->mapY, SectorState{d->texture, d->subtype, d->lighting, sector->imagePath()}};
}

MapFormat::Cell CellRecord::formatCell() const
{
    return MapFormat::Cell{mapX, mapY, state.texture.id, state.subtype, state.texture.fileName, state.texture.folder,
                           state.lighting};
}
