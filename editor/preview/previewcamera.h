#pragma once

class PreviewWorld;

// Where the preview looks from: a point in map cells (cell (x, y) spans
// x..x+1, y..y+1) and a heading; 0 faces east (+X), a quarter turn faces south (+Y).
struct PreviewCamera
{
    double x = 0.5;
    double y = 0.5;
    double angle = 0;

    // At the centre of a cell, facing the first open direction (east, south,
    // west, north); east when all are closed.
    static PreviewCamera standingIn(const PreviewWorld &world, int cellX, int cellY);

    // Moves along the heading and sideways (to the right), in cells. Walls and
    // solid sprites stop the camera; along a wall it slides.
    void walk(const PreviewWorld &world, double forward, double sideways);
    void turn(double radians);

    int cellX() const;
    int cellY() const;

    // How far the camera keeps from anything that blocks it.
    static constexpr double radius = 0.2;
};
