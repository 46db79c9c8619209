#include "model/emission.h"

#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/sector.h"
#include "model/sectorcanvas.h"
#include "model/sectorfactory.h"
#include "model/subtypetable.h"

#include <algorithm>
#include <cstdlib>

QList<Sector *> &pendingEmissionSectors()
{
    static QList<Sector *> pending;
    return pending;
}

namespace {

// A light cell made while the gallery shows another layer's textures.
void showAsLamp(Sector *sector, const SectorPlacement &placement)
{
    if (!placement.gallery)
        return;
    const TextureEntry lamp = placement.gallery->texturesOf("Lightmap").value(0);
    sector->data->texture.fileName = lamp.fileName;
    sector->data->texture.folder = lamp.folder;
    sector->showImage(lamp.imagePath());
}

} // namespace

QList<LightPoint> computeEmissionCells(const LightPoint &source)
{
    // A radius below 1 lights only the source cell (and must not divide by zero).
    const int radius = std::max(source.radius, 0);
    const int step = radius > 0 ? source.intensity / radius : 0;
    QList<LightPoint> cells;
    cells.reserve((2 * radius + 1) * (2 * radius + 1));
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            const int y = source.mapY + dy;
            const int x = source.mapX + dx;
            if (y < 0 || x < 0)
                continue;
            const int ring = std::max(std::abs(dx), std::abs(dy));
            LightPoint cell;
            cell.mapX = x;
            cell.mapY = y;
            cell.intensity = std::clamp(source.intensity - ring * step, 40, 255);
            cells.append(cell);
        }
    }
    return cells;
}

void emitPointLight(const SectorPlacement &placement, const LightPoint &source)
{
    LayerController *layers = placement.layers;
    if (!layers)
        return;
    const QList<QByteArray> lightSubtypes = subtypesOf("Lightmap");
    const QList<LightPoint> cells = computeEmissionCells(source);
    SectorCanvas::Batch batch(SectorCanvas::forMap(placement.mapWidget));
    // The properties form is not modal: the user may have moved to another layer
    // before pressing OK. Light cells belong on the light layer all the same.
    const QByteArray previousLayer = layers->currentLayer();
    const bool elsewhere = previousLayer != "Lightmap";
    if (elsewhere)
        layers->setCurrentLayer("Lightmap");
    for (const LightPoint &cell : cells) {
        Sector *sector = layers->sectorAt(cell.mapX, cell.mapY);
        const bool created = sector == nullptr;
        int level = cell.intensity;
        if (created) {
            sector = createSectorAt(cell.mapX + placement.originX, cell.mapY + placement.originY, placement);
            if (elsewhere)
                showAsLamp(sector, placement);
        } else
            level = std::max(level, sector->data->lighting.emission);

        SectorLighting &light = sector->data->lighting;
        light.emission = level;
        light.emissionMax = level;
        light.intensity = level;
        light.emissionMin = source.lighting.emissionMin;
        light.isDynamic = source.lighting.isDynamic;
        light.randomIntensity = source.lighting.randomIntensity;
        light.blinkDelay = source.lighting.blinkDelay;
        light.isLightEmitter = 1;
        const int subtypeIndex = light.isDynamic;
        sector->setSubtype(subtypeIndex < lightSubtypes.size() ? lightSubtypes.at(subtypeIndex) : QByteArray());

        if (created) {
            layers->addSector(sector);
            pendingEmissionSectors().append(sector);
        }
    }
    if (elsewhere)
        layers->setCurrentLayer(previousLayer);
}
