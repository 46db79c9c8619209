#include "view/cellmarker.h"

CellMarker::CellMarker(QWidget *canvas, const QColor &colour)
    : QFrame(canvas)
{
    // Clicks go through to the cell below.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setStyleSheet(QStringLiteral("CellMarker { border: 3px solid %1; background: transparent; }").arg(colour.name()));
    hide();
}

void CellMarker::mark(const QPoint &mapCell)
{
    cell = mapCell;
}

void CellMarker::place(const QPoint &origin, int cellSize)
{
    setGeometry((cell.x() + origin.x()) * cellSize, (cell.y() + origin.y()) * cellSize, cellSize, cellSize);
    raise();
}
