#pragma once

#include <QColor>
#include <QString>

class Sector;

// Draws a sector's button: its image, tinted by its look, from the icon cache.
namespace SectorLook {
// Shows the image at this path (the sector's image from now on).
void showImage(Sector *sector, const QString &path);
// An invalid colour is the plain look (no tint). A button out of sight keeps
// its icon until it comes into sight and is drawn again.
void setLook(Sector *sector, const QColor &tint);
// Draws the button again from what the sector says it shows.
void refresh(Sector *sector);
} // namespace SectorLook
