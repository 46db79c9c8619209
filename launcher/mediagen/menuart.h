#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

// Pictures of the launcher menu. The entry rectangles match the menu form:
// 500 x 27 at x 58, one every 59 pixels from y 191.
class MenuArt
{
public:
    static const QSize BackgroundSize;
    static const QSize PointerSize;
    static const QSize EntrySize;

    static QRect entryRect(int index);
    static QString entryLabel(int index);

    static QImage background();
    static QImage pointer();
    // The entry picture is cut from the background, so laid over it the
    // button matches the picture beneath to the pixel.
    static QImage entry(const QImage &background, int index);

    // Shared with the intro video: night sky, glowing sun and the grid floor
    // running to the horizon. gridPhase in [0, 1) scrolls the floor lines.
    static void drawScene(QPainter &painter, const QSize &size, double horizon, double gridPhase,
                          double sunRise);
    static void drawTitle(QPainter &painter, const QPointF &baseline, double scale, double opacity);
};
