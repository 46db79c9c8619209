#include "preview/previewworld.h"

#include "format/layernames.h"
#include "format/maplimits.h"
#include "format/texturepath.h"

#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace {

quint8 clampedLevel(int value)
{
    return quint8(std::clamp(value, 0, 255));
}

// A texture the size the raycaster samples, from an image file; a missing or
// unreadable image gives a plain mid grey.
QVector<quint32> loadTexels(const QString &path)
{
    const int size = PreviewWorld::textureSize;
    QImage image;
    if (!path.isEmpty() && TexturePath::isRegularFile(path, MapLimits::imageBytes)) {
        QImageReader reader(path);
        const QSize claimed = reader.size();
        if (claimed.isValid() && qint64(claimed.width()) * claimed.height() <= MapLimits::imagePixels)
            image = reader.read();
    }
    if (image.isNull()) {
        image = QImage(size, size, QImage::Format_ARGB32);
        image.fill(QColor(110, 110, 110));
    }
    image = image.convertToFormat(QImage::Format_ARGB32).scaled(size, size, Qt::IgnoreAspectRatio,
                                                                Qt::SmoothTransformation);
    QVector<quint32> texels(size * size);
    for (int y = 0; y < size; ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < size; ++x)
            texels[y * size + x] = qAlpha(line[x]) < 128 ? 0u : (line[x] | 0xff000000u);
    }
    return texels;
}

// Stable noise per cell and moment, so a flicker is the same on every run.
quint32 noise(int x, int y, qint64 step)
{
    quint32 h = quint32(x) * 73856093u ^ quint32(y) * 19349663u ^ quint32(step) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

} // namespace

void PreviewWorld::forgetTextures()
{
    textures.clear();
    textureIndex.clear();
}

void PreviewWorld::rebuild(const QVector<Record> &records)
{
    columns = 1;
    rows = 1;
    for (const Record &r : records) {
        if (r.mapX >= 0 && r.mapY >= 0 && r.mapX < MapLimits::extent && r.mapY < MapLimits::extent) {
            columns = std::max(columns, r.mapX + 1);
            rows = std::max(rows, r.mapY + 1);
        }
    }
    cells.fill(Cell(), columns * rows);
    sprites.clear();
    animated = false;
    playerX = playerY = -1;
    for (const Record &r : records) {
        if (!contains(r.mapX, r.mapY))
            continue;
        Cell &cell = cells[r.mapY * columns + r.mapX];
        if (r.layer == LayerNames::Wall) {
            cell.wall = textureFor(r.imagePath);
        } else if (r.layer == LayerNames::Door) {
            cell.door = textureFor(r.imagePath);
        } else if (r.layer == LayerNames::Floor) {
            cell.floor = textureFor(r.imagePath);
        } else if (r.layer == LayerNames::Ceil) {
            cell.ceil = textureFor(r.imagePath);
        } else if (r.layer == LayerNames::Lightmap) {
            Light &light = cell.light;
            light.present = true;
            light.level = clampedLevel(r.lighting.emission);
            light.minimum = clampedLevel(r.lighting.emissionMin);
            light.maximum = clampedLevel(r.lighting.emissionMax);
            light.dynamic = r.subtype == "Dynamic" && r.lighting.blinkDelay > 0;
            light.random = r.lighting.randomIntensity != 0;
            light.blinkDelay = float(r.lighting.blinkDelay);
            animated = animated || light.dynamic || light.random;
        } else if (r.layer == LayerNames::Actor || r.layer == LayerNames::Item || r.layer == LayerNames::Sprite) {
            if (r.layer == LayerNames::Sprite && r.subtype == "Solid")
                cell.solidSprite = true;
            if (r.layer == LayerNames::Actor && r.subtype == "Player") {
                playerX = r.mapX;
                playerY = r.mapY;
                continue; // the camera stands there: the player is not drawn
            }
            sprites.append(Billboard{float(r.mapX + 0.5), float(r.mapY + 0.5), textureFor(r.imagePath)});
        }
    }
    placeDoors();
}

// A door spans the gap between its two walls: with walls north and south of
// it, it runs north-south, across the X axis.
void PreviewWorld::placeDoors()
{
    auto isWall = [this](int x, int y) { return contains(x, y) && cellAt(x, y).wall >= 0; };
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            Cell &cell = cells[y * columns + x];
            if (cell.door >= 0)
                cell.doorAxis = isWall(x, y - 1) && isWall(x, y + 1) && !(isWall(x - 1, y) && isWall(x + 1, y))
                    ? DoorAxis::AcrossX
                    : DoorAxis::AcrossY;
        }
    }
}

qint16 PreviewWorld::textureFor(const QString &path)
{
    const auto found = textureIndex.constFind(path);
    if (found != textureIndex.constEnd())
        return *found;
    const qint16 index = qint16(textures.size());
    textures.append(loadTexels(path));
    textureIndex.insert(path, index);
    return index;
}

bool PreviewWorld::blocks(int x, int y) const
{
    if (!contains(x, y))
        return true;
    const Cell &cell = cellAt(x, y);
    return cell.wall >= 0 || cell.solidSprite;
}

int PreviewWorld::lightAt(int x, int y, double seconds) const
{
    if (!contains(x, y))
        return baseLight;
    const Light &light = cellAt(x, y).light;
    if (!light.present)
        return baseLight;
    int level = light.level;
    if (light.random) {
        // A new level every tenth of a second, anywhere between the bounds.
        const int low = std::min(light.minimum, light.maximum);
        const int high = std::max(light.minimum, light.maximum);
        level = low + int(noise(x, y, qint64(std::floor(seconds * 10))) % quint32(high - low + 1));
    }
    if (light.dynamic && qint64(std::floor(seconds / light.blinkDelay)) % 2 == 1)
        level = light.minimum;
    return std::max(level, baseLight);
}

bool PreviewWorld::playerStart(int *x, int *y) const
{
    if (playerX < 0)
        return false;
    *x = playerX;
    *y = playerY;
    return true;
}
