#pragma once

#include <QImage>
#include <QVector>

// The icons the desktop shows for the two programs. Both are drawn on a
// 256-unit square and scaled, so every size shows the same picture.
class AppIconArt
{
public:
    static QVector<int> sizes() { return {48, 128, 256}; }

    // A tile of the map grid with painted cells and the pencil.
    static QImage editor(int size);
    // The same tile seen as a corridor, with a start arrow.
    static QImage launcher(int size);
};
