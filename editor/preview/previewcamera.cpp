#include "preview/previewcamera.h"

#include "preview/previewworld.h"

#include <cmath>

namespace {

const double quarterTurn = 1.5707963267948966;

bool freeAt(const PreviewWorld &world, double x, double y)
{
    const double r = PreviewCamera::radius;
    for (double dx : {-r, r}) {
        for (double dy : {-r, r}) {
            if (world.blocks(int(std::floor(x + dx)), int(std::floor(y + dy))))
                return false;
        }
    }
    return true;
}

} // namespace

PreviewCamera PreviewCamera::standingIn(const PreviewWorld &world, int cellX, int cellY)
{
    PreviewCamera camera;
    camera.x = cellX + 0.5;
    camera.y = cellY + 0.5;
    const int steps[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    for (int i = 0; i < 4; ++i) {
        if (!world.blocks(cellX + steps[i][0], cellY + steps[i][1])) {
            camera.angle = i * quarterTurn;
            break;
        }
    }
    return camera;
}

void PreviewCamera::walk(const PreviewWorld &world, double forward, double sideways)
{
    const double dx = std::cos(angle) * forward - std::sin(angle) * sideways;
    const double dy = std::sin(angle) * forward + std::cos(angle) * sideways;
    // Each axis on its own, so that a blocked one still lets the other slide.
    if (freeAt(world, x + dx, y))
        x += dx;
    if (freeAt(world, x, y + dy))
        y += dy;
}

void PreviewCamera::turn(double radians)
{
    angle = std::remainder(angle + radians, 4 * quarterTurn);
}

int PreviewCamera::cellX() const
{
    return int(std::floor(x));
}

int PreviewCamera::cellY() const
{
    return int(std::floor(y));
}
