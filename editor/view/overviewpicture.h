#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QVector>

class MapModel;
class QPainter;
class Sector;

// The whole map from above as one picture, in the look the map view gives the
// edited layer and the layers shown with it. An edit redraws only its cells;
// the picture is built anew only when the layer changes or the map outgrows it.
class OverviewPicture
{
public:
    explicit OverviewPicture(const MapModel *model) : map(model) {}

    // The picture's side in pixels is kept near this (at least a pixel a
    // cell), so that it is shown without scaling thin lines away.
    void setTargetSide(int pixels);

    // Both redraw a picture already built; the first one comes from rebuild.
    void setLayer(const QByteArray &layer);
    const QByteArray &layer() const { return edited; }
    void rebuild();
    // Images changed on disk: drawn again from their new pixels.
    void forgetImages();
    // Redraws these cells (a cell beyond the picture rebuilds it); returns
    // whether anything was drawn.
    bool redrawCells(const QVector<QPoint> &cells);

    const QImage &image() const { return picture; }
    // The cells the picture covers, from (0, 0).
    QSize cells() const { return covered; }
    int cellPixels() const { return pixels; }

private:
    QSize extentOfMap() const;
    void choose(const QSize &extent);
    void drawCell(QPainter &painter, const QPoint &cell);
    void drawSector(QPainter &painter, const QByteArray &layer, const Sector *sector);
    QImage cellImage(const QString &path, const QColor &tint);

    const MapModel *map;
    QByteArray edited;
    QImage picture;
    QSize covered;
    int pixels = 1;
    int side = 1024;
    QHash<QPair<QString, QRgb>, QImage> images;
};
