#pragma once

#include <QColor>
#include <QImage>

// The editor's tint of a cell, without widgets: the colorize effect the editor
// puts on a cell's button (strength 1) turns the image grey and lays the
// colour over it in screen mode, keeping the image's alpha.
class Colorize
{
public:
    static QImage apply(const QImage &source, const QColor &colour);
};
