#pragma once

#include <QVector>
#include <QtGlobal>

// What matters for walking, per cell of the map's extent, in one dense array:
// the check visits every cell several times and must stay fast on big maps.
class LevelGrid
{
public:
    enum Flag : quint16 {
        Wall = 1 << 0,
        SolidSprite = 1 << 1,
        Door = 1 << 2,
        KeyDoor = 1 << 3,
        Key = 1 << 4,
        Floor = 1 << 5,
        Ceil = 1 << 6,
        Exit = 1 << 7,
    };

    // Columns 0..lastX and rows 0..lastY.
    LevelGrid(qint32 lastX, qint32 lastY);

    // Whether an extent can be held; the editor's own maps are unbounded.
    static bool fits(qint64 lastX, qint64 lastY);

    int width() const { return columns; }
    int height() const { return rows; }
    int cellCount() const { return columns * rows; }
    int index(int x, int y) const { return y * columns + x; }
    int xOf(int cell) const { return cell % columns; }
    int yOf(int cell) const { return cell / columns; }
    bool onEdge(int cell) const;

    void add(int cell, quint16 flags) { flags_[cell] |= flags; }
    bool has(int cell, quint16 flags) const { return flags_[cell] & flags; }
    bool blocks(int cell) const { return has(cell, Wall | SolidSprite); }
    // Colour 0..3 of a key door's lock and of a key item on the cell.
    void setDoorColour(int cell, int colour) { doorColours[cell] = quint8(colour); }
    void setKeyColour(int cell, int colour) { keyColours[cell] = quint8(colour); }
    int doorColour(int cell) const { return doorColours[cell]; }
    int keyColour(int cell) const { return keyColours[cell]; }

    // The up to four cells next to a cell; returns how many.
    int neighbours(int cell, int out[4]) const;

private:
    int columns;
    int rows;
    QVector<quint16> flags_;
    QVector<quint8> doorColours;
    QVector<quint8> keyColours;
};
