#pragma once

#include <QList>
#include <QPoint>
#include <QString>

// A straight line of cells from `from` to `to`, both included, starting at
// `from`; each step goes to a side-by-side cell, so a wall drawn with it has no
// diagonal gaps (|dx| + |dy| + 1 cells). The cells are those that the segment
// between the two cell centres passes through. Where it passes exactly through
// a cell corner, the upper of the two cells beside the corner (the smaller Map
// Y) is taken: the line drawn back from `to` to `from` then holds the same
// cells in reverse order, and the line mirrored left to right holds the
// mirrored cells. As rectangleCells, for corners a map view shows: ShapeCells
// refuses a shape larger than a map before making its cells.
QList<QPoint> lineCells(const QPoint &from, const QPoint &to);

// The rectangle between two opposite corner cells, both included, in row order
// (Map Y, then Map X): its outline, or with `filled` every cell. One row or one
// column is the same either way.
QList<QPoint> rectangleCells(const QPoint &a, const QPoint &b, bool filled);

// What one drag of the Line or Rectangle tool may write: the shape's cells
// without those left of column 0 or above row 0, which a map cannot hold. A
// shape larger than a map may be is refused whole, with the reason.
class ShapeCells
{
public:
    enum class Form { Line, Outline, Filled };

    ShapeCells(Form form, const QPoint &from, const QPoint &to);

    // None negative, each once; in the order lineCells or rectangleCells gives.
    // Empty when refused.
    const QList<QPoint> &cells() const { return written; }
    // Cells of the shape left of column 0 or above row 0 (0 when refused).
    qint64 leftOut() const { return outside; }
    // Empty, or a sentence for the status bar saying why nothing is drawn.
    const QString &refusal() const { return reason; }
    // The size of the rectangle between the two corners, as "12 x 8".
    QString sizeText() const { return sizeText(start, end); }

    static QString sizeText(const QPoint &a, const QPoint &b);
    // Why a shape between the corners that writes `cells` cells on the map is
    // refused, by the limits a map file is loaded under: wider or higher than
    // a map, reaching past its last column or row, or more cells than a map
    // holds. Empty when it may be drawn.
    static QString refusalFor(const QPoint &a, const QPoint &b, qint64 cells);

    // The cells of the rectangle between the corners with no negative
    // coordinate, counted without making them: its outline, or every cell.
    static qint64 countOnMap(const QPoint &a, const QPoint &b, bool filled);

private:
    QPoint start;
    QPoint end;
    QList<QPoint> written;
    qint64 outside = 0;
    QString reason;
};
