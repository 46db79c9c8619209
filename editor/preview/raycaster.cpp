#include "preview/raycaster.h"

#include "preview/previewcamera.h"
#include "preview/previewworld.h"

#include <algorithm>
#include <cmath>
#include <limits>

// The camera's view: its position, heading and the screen plane (a field of
// view of about 66 degrees).
struct Raycaster::Rays
{
    double x, y, dirX, dirY, planeX, planeY;
    int width, height;

    explicit Rays(const PreviewCamera &camera, const QImage &image)
        : x(camera.x), y(camera.y), dirX(std::cos(camera.angle)), dirY(std::sin(camera.angle)),
          planeX(-dirY * 0.66), planeY(dirX * 0.66), width(image.width()), height(image.height())
    {
    }
};

namespace {

constexpr int mask = PreviewWorld::textureSize - 1;

quint32 shaded(quint32 colour, int shade)
{
    const quint32 r = (((colour >> 16) & 0xff) * quint32(shade)) >> 8;
    const quint32 g = (((colour >> 8) & 0xff) * quint32(shade)) >> 8;
    const quint32 b = ((colour & 0xff) * quint32(shade)) >> 8;
    return 0xff000000u | (r << 16) | (g << 8) | b;
}

int cellOf(double coordinate)
{
    return int(std::floor(coordinate));
}

struct Hit
{
    double distance = std::numeric_limits<double>::infinity();
    int texture = -1;
    double u = 0; // across the surface, 0..1
    int lightX = 0;
    int lightY = 0;
    bool darker = false;
};

// Where a ray meets the slab through the middle of a door cell, if it does.
bool hitDoor(const PreviewWorld::Cell &cell, int mapX, int mapY, double x, double y, double rayX, double rayY, Hit &hit)
{
    const bool acrossX = cell.doorAxis == PreviewWorld::DoorAxis::AcrossX;
    const double ray = acrossX ? rayX : rayY;
    if (ray == 0)
        return false;
    const double t = acrossX ? (mapX + 0.5 - x) / rayX : (mapY + 0.5 - y) / rayY;
    if (t <= 0)
        return false;
    const double along = acrossX ? y + t * rayY : x + t * rayX;
    if (cellOf(along) != (acrossX ? mapY : mapX))
        return false;
    hit = Hit{t, cell.door, along - std::floor(along), mapX, mapY, acrossX};
    return true;
}

Hit castRay(const PreviewWorld &world, double x, double y, double rayX, double rayY)
{
    int mapX = cellOf(x);
    int mapY = cellOf(y);
    const double deltaX = rayX == 0 ? 1e30 : std::abs(1 / rayX);
    const double deltaY = rayY == 0 ? 1e30 : std::abs(1 / rayY);
    const int stepX = rayX < 0 ? -1 : 1;
    const int stepY = rayY < 0 ? -1 : 1;
    double sideX = rayX < 0 ? (x - mapX) * deltaX : (mapX + 1.0 - x) * deltaX;
    double sideY = rayY < 0 ? (y - mapY) * deltaY : (mapY + 1.0 - y) * deltaY;
    const int limit = world.width() + world.height() + 2;
    for (int steps = 0; steps < limit; ++steps) {
        const int fromX = mapX;
        const int fromY = mapY;
        bool alongX;
        if (sideX < sideY) {
            sideX += deltaX;
            mapX += stepX;
            alongX = true;
        } else {
            sideY += deltaY;
            mapY += stepY;
            alongX = false;
        }
        if (!world.contains(mapX, mapY))
            break;
        const PreviewWorld::Cell &cell = world.cellAt(mapX, mapY);
        if (cell.wall >= 0) {
            const double distance = alongX ? sideX - deltaX : sideY - deltaY;
            const double along = alongX ? y + distance * rayY : x + distance * rayX;
            return Hit{distance, cell.wall, along - std::floor(along), fromX, fromY, !alongX};
        }
        Hit door;
        if (cell.door >= 0 && hitDoor(cell, mapX, mapY, x, y, rayX, rayY, door))
            return door;
    }
    return Hit();
}

} // namespace

void Raycaster::render(const PreviewWorld &world, const PreviewCamera &camera, double seconds, QImage &image)
{
    if (image.isNull())
        return;
    const Rays rays(camera, image);
    shadeCells(world, seconds);
    drawFloorAndCeiling(world, rays, image);
    drawWalls(world, rays, image);
    drawBillboards(world, rays, image);
}

// Light as a multiplier (0..256) per cell, worked out once a frame.
void Raycaster::shadeCells(const PreviewWorld &world, double seconds)
{
    shades.resize(world.width() * world.height());
    for (int y = 0; y < world.height(); ++y) {
        for (int x = 0; x < world.width(); ++x)
            shades[y * world.width() + x] = world.lightAt(x, y, seconds) * 256 / 255;
    }
}

int Raycaster::shadeAt(const PreviewWorld &world, int x, int y) const
{
    return world.contains(x, y) ? shades[y * world.width() + x] : PreviewWorld::baseLight * 256 / 255;
}

void Raycaster::drawFloorAndCeiling(const PreviewWorld &world, const Rays &rays, QImage &image) const
{
    const int w = rays.width;
    const int h = rays.height;
    const double leftX = rays.dirX - rays.planeX;
    const double leftY = rays.dirY - rays.planeY;
    const double rightX = rays.dirX + rays.planeX;
    const double rightY = rays.dirY + rays.planeY;
    const int size = PreviewWorld::textureSize;
    const int columns = world.width();
    const int rows = world.height();
    for (int row = h / 2; row < h; ++row) {
        auto *floorLine = reinterpret_cast<quint32 *>(image.scanLine(row));
        auto *ceilLine = reinterpret_cast<quint32 *>(image.scanLine(h - 1 - row));
        const double distance = 0.5 * h / (row - h / 2.0 + 0.5);
        const double stepX = distance * (rightX - leftX) / w;
        const double stepY = distance * (rightY - leftY) / w;
        double fx = rays.x + distance * leftX;
        double fy = rays.y + distance * leftY;
        for (int column = 0; column < w; ++column, fx += stepX, fy += stepY) {
            // Truncation is the floor here: negative positions lie off the map anyway.
            const int cx = fx < 0 ? -1 : int(fx);
            const int cy = fy < 0 ? -1 : int(fy);
            quint32 floorTexel = emptyColour;
            quint32 ceilTexel = emptyColour;
            int shade = 256;
            if (cx < columns && cy < rows && cx >= 0 && cy >= 0) {
                const PreviewWorld::Cell &cell = world.cellAt(cx, cy);
                const int tx = int((fx - cx) * size) & mask;
                const int ty = int((fy - cy) * size) & mask;
                shade = shades[cy * world.width() + cx];
                if (cell.floor >= 0)
                    floorTexel = shaded(world.texels(cell.floor)[ty * size + tx], shade);
                if (cell.ceil >= 0)
                    ceilTexel = shaded(world.texels(cell.ceil)[ty * size + tx], shade);
            }
            floorLine[column] = floorTexel;
            ceilLine[column] = ceilTexel;
        }
    }
}

void Raycaster::drawWalls(const PreviewWorld &world, const Rays &rays, QImage &image)
{
    const int w = rays.width;
    const int h = rays.height;
    const int size = PreviewWorld::textureSize;
    depth.fill(std::numeric_limits<double>::infinity(), w);
    for (int column = 0; column < w; ++column) {
        const double cameraX = 2.0 * column / w - 1;
        const Hit hit = castRay(world, rays.x, rays.y, rays.dirX + rays.planeX * cameraX,
                                rays.dirY + rays.planeY * cameraX);
        if (hit.texture < 0)
            continue;
        depth[column] = hit.distance;
        const double lineHeight = h / std::max(hit.distance, 1e-6);
        const int top = std::max(0, int(std::ceil(h / 2.0 - lineHeight / 2)));
        const int bottom = std::min(h, int(std::ceil(h / 2.0 + lineHeight / 2)));
        const int tx = int(hit.u * size) & mask;
        const double step = size / lineHeight;
        double ty = (top - h / 2.0 + lineHeight / 2) * step;
        int shade = shadeAt(world, hit.lightX, hit.lightY);
        if (hit.darker)
            shade = shade * 3 / 4; // one side of every wall a little darker, for depth
        const quint32 *texels = world.texels(hit.texture);
        for (int row = top; row < bottom; ++row, ty += step) {
            auto *line = reinterpret_cast<quint32 *>(image.scanLine(row));
            line[column] = shaded(texels[(int(ty) & mask) * size + tx], shade);
        }
    }
}

void Raycaster::drawBillboards(const PreviewWorld &world, const Rays &rays, QImage &image) const
{
    struct Placed
    {
        double depth, across;
        const PreviewWorld::Billboard *billboard;
    };
    const double inverse = 1.0 / (rays.planeX * rays.dirY - rays.dirX * rays.planeY);
    QVector<Placed> placed;
    for (const PreviewWorld::Billboard &b : world.billboards()) {
        const double dx = b.x - rays.x;
        const double dy = b.y - rays.y;
        const double across = inverse * (rays.dirY * dx - rays.dirX * dy);
        const double ahead = inverse * (-rays.planeY * dx + rays.planeX * dy);
        if (ahead > 0.1 && b.texture >= 0)
            placed.append(Placed{ahead, across, &b});
    }
    // Far ones first, so nearer ones cover them.
    std::sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) { return a.depth > b.depth; });
    const int w = rays.width;
    const int h = rays.height;
    const int size = PreviewWorld::textureSize;
    for (const Placed &p : placed) {
        const double extent = h / p.depth;
        const double centre = w / 2.0 * (1 + p.across / p.depth);
        const int left = std::max(0, int(std::ceil(centre - extent / 2)));
        const int right = std::min(w, int(std::ceil(centre + extent / 2)));
        const int top = std::max(0, int(std::ceil(h / 2.0 - extent / 2)));
        const int bottom = std::min(h, int(std::ceil(h / 2.0 + extent / 2)));
        const int shade = shadeAt(world, cellOf(p.billboard->x), cellOf(p.billboard->y));
        const quint32 *texels = world.texels(p.billboard->texture);
        for (int column = left; column < right; ++column) {
            if (p.depth >= depth[column])
                continue; // behind a nearer wall
            const int tx = int((column - (centre - extent / 2)) * size / extent) & mask;
            for (int row = top; row < bottom; ++row) {
                const int ty = int((row - (h / 2.0 - extent / 2)) * size / extent) & mask;
                const quint32 texel = texels[ty * size + tx];
                if (texel != 0)
                    reinterpret_cast<quint32 *>(image.scanLine(row))[column] = shaded(texel, shade);
            }
        }
    }
}
