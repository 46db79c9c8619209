#pragma once

#include <QtGlobal>

#include <functional>

// Where a read of map text takes texture identifiers: the editor's counter.
// Without it (empty functions) every line keeps the number it was read with.
struct TextureIds
{
    // The counter goes on above the highest number a loaded file keeps.
    std::function<void(qint32 highest)> reserveThrough;
    std::function<qint32()> next;

    bool isSet() const { return reserveThrough && next; }
};
