#pragma once

#include <QColor>
#include <QImage>

// The editor's own interface images: the grid tile, the tool cursors and the lamp.
class InterfaceArt
{
public:
    static constexpr int CursorSize = 32;
    static constexpr int LampSize = 64;

    static QColor gridCellColour();
    static QColor gridLineColour();

    // One size x size cell whose top row and left column are the grid line, so
    // that repeating the tile draws each line once. At scale 2 the same tile
    // for screens of twice the density ("@2x"): twice the pixels, the line
    // still one logical pixel wide.
    static QImage gridTile(int size, int scale = 1);
    // Cursors: the hot spot is the centre pixel (CursorSize / 2, CursorSize / 2),
    // drawn at scale times CursorSize pixels.
    static QImage pencilCursor(int scale = 1);
    static QImage bucketCursor(int scale = 1);
    // Light cells are shown greyed by their light level, so the lamp is bright
    // and carries its shape in its outline as well as in its shading.
    static QImage lamp();
};
