#pragma once

#include <QVector>
#include <QtGlobal>

// What matters for walking, per cell of the map's extent, in one dense array of
// two bytes a cell: the check visits every cell several times and must stay
// fast and small on big maps. A run of columns (or rows) that hold nothing on
// any layer walks like a single empty one, so each run is folded into one line:
// a few cells far from the rest cost no more than a small map.
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
    // Bits 8-9 hold a key door's colour, bits 10-11 a key's.
    static const int doorColourShift = 8;
    static const int keyColourShift = 10;

    // One direction of the grid: the map coordinates in use, and the folded
    // empty runs between them (one before the first, none after the last).
    class Axis
    {
    public:
        // used: the coordinates (0 or more) that hold a cell, in any order.
        explicit Axis(QVector<qint32> used);
        int size() const { return firsts.size(); }
        // The line of a coordinate that holds a cell.
        int lineOf(qint32 coordinate) const;
        qint32 first(int line) const { return firsts.at(line); }
        qint32 last(int line) const;
        qint64 span(int line) const { return qint64(last(line)) - first(line) + 1; }

    private:
        // Maps usually stay within a few thousand cells: then a table answers
        // lineOf directly; beyond it, a search over the sorted coordinates.
        QVector<int> lineTable;
        QVector<qint32> used;
        QVector<int> usedLines;
        QVector<qint32> firsts;
    };

    LevelGrid(const Axis &columns, const Axis &rows);

    // Whether the folded grid can be held at all.
    static bool fits(const Axis &columns, const Axis &rows);

    int width() const { return columns.size(); }
    int height() const { return rows.size(); }
    int cellCount() const { return width() * height(); }
    int index(int x, int y) const { return y * width() + x; }
    int xOf(int cell) const { return cell % width(); }
    int yOf(int cell) const { return cell / width(); }
    // The folded cell of a map cell that holds something.
    int cellAt(qint32 mapX, qint32 mapY) const { return index(columns.lineOf(mapX), rows.lineOf(mapY)); }
    // The first map cell a folded cell stands for, and how many it stands for.
    qint32 mapX(int cell) const { return columns.first(xOf(cell)); }
    qint32 mapY(int cell) const { return rows.first(yOf(cell)); }
    const Axis &columnAxis() const { return columns; }
    const Axis &rowAxis() const { return rows; }
    qint64 weight(int cell) const { return columns.span(xOf(cell)) * rows.span(yOf(cell)); }

    void add(int cell, quint16 flags) { flags_[cell] |= flags; }
    bool has(int cell, quint16 flags) const { return flags_.at(cell) & flags; }
    bool blocks(int cell) const { return has(cell, Wall | SolidSprite); }
    // Colour 0..3 of a key door's lock and of a key item on the cell.
    void setDoorColour(int cell, int colour) { flags_[cell] |= quint16(colour << doorColourShift); }
    void setKeyColour(int cell, int colour) { flags_[cell] |= quint16(colour << keyColourShift); }
    int doorColour(int cell) const { return (flags_.at(cell) >> doorColourShift) & 3; }
    int keyColour(int cell) const { return (flags_.at(cell) >> keyColourShift) & 3; }

    // The up to four cells next to a cell; returns how many.
    int neighbours(int cell, int out[4]) const;

private:
    Axis columns;
    Axis rows;
    QVector<quint16> flags_;
};
