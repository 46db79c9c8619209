#pragma once

#include <QString>
#include <QtGlobal>

// Bounds no real level comes near. They keep a hostile or broken file from
// exhausting memory or time; each is named in the message that enforces it.
// A save refuses what a load would refuse, by the same numbers and words.
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

// "64 MB", "250,000", "4,096 columns and rows": the limits as messages name them.
QString fileBytesText();
QString cellsText();
QString extentText();
// A size in megabytes with one decimal, "70.6 MB".
QString megabytes(qint64 bytes);
// A count with thousands separators, "260,000".
QString count(qint64 number);

} // namespace MapLimits
