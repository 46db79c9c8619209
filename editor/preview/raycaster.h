#pragma once

#include <QImage>
#include <QVector>

class PreviewWorld;
struct PreviewCamera;

// Draws a PreviewWorld from a camera into an image, column by column, the way
// a grid raycaster does: textured walls and door slabs, per-cell floor and
// ceiling, billboards hidden behind nearer walls, and per-cell light.
class Raycaster
{
public:
    // `seconds` drives blinking and flickering lights. The image must be
    // Format_RGB32; its whole area is drawn.
    void render(const PreviewWorld &world, const PreviewCamera &camera, double seconds, QImage &image);

    // A floor or ceiling cell without a texture.
    static constexpr quint32 emptyColour = 0xff202024;

private:
    struct Rays;
    void shadeCells(const PreviewWorld &world, double seconds);
    void drawFloorAndCeiling(const PreviewWorld &world, const Rays &rays, QImage &image) const;
    void drawWalls(const PreviewWorld &world, const Rays &rays, QImage &image);
    void drawBillboards(const PreviewWorld &world, const Rays &rays, QImage &image) const;
    int shadeAt(const PreviewWorld &world, int x, int y) const;

    QVector<double> depth;
    QVector<int> shades;
};
