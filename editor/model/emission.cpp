#include "model/emission.h"

#include <algorithm>
#include <cstdlib>

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
