#pragma once

#include <QtGlobal>

// Bounds no real level comes near. They keep a hostile or broken file from
// exhausting memory or time; each is named in the message that enforces it.
namespace MapLimits {

// The largest map file a load reads.
constexpr qint64 fileBytes = 64LL * 1024 * 1024;
// Columns and rows of the grid, on load and on save.
constexpr int extent = 4096;
// Filled cells one load may create.
constexpr int cells = 250000;
// The largest texture image that is opened or copied.
constexpr qint64 imageBytes = 16LL * 1024 * 1024;
// The largest picture (in pixels) a texture image may hold once decoded.
constexpr qint64 imagePixels = 4096LL * 4096;

} // namespace MapLimits
