#pragma once

#include <QColor>

#include <cstdlib>

// Whether two colours differ by at most tolerance in each of red, green and blue.
inline bool near(const QColor &a, const QColor &b, int tolerance = 1)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}
