#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

// One shared icon per image path, and per (path, tint): thousands of cells show
// a handful of images, so decoding and tinting happen once, not per button.
class IconCache
{
public:
    // An invalid tint gives the plain image.
    static QIcon icon(const QString &path, const QColor &tint = QColor());
    // The image as a colorize effect of that colour draws it.
    static QPixmap tinted(const QPixmap &source, const QColor &tint);
    static void clear();
    // The image changed on disk: the next icon of this path reads it again.
    static void forget(const QString &path);
};
