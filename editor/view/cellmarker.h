#pragma once

#include <QColor>
#include <QFrame>
#include <QPoint>

// A coloured outline around one map cell, lying on the sector canvas above
// the buttons; the map view moves it along with the cells it marks.
class CellMarker : public QFrame
{
    Q_OBJECT

public:
    CellMarker(QWidget *canvas, const QColor &colour);

    void mark(const QPoint &mapCell);
    QPoint markedCell() const { return cell; }
    // Puts the outline where the cell is now: origin is the view's pan
    // offset, cellSize its zoom.
    void place(const QPoint &origin, int cellSize);

private:
    QPoint cell;
};
