#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>

#include "assetcatalogue.h"

// Writes the catalogue's images below a folder: the editor's, or the icon theme's.
class AssetWriter
{
public:
    // Returns the relative paths that could not be written; empty means success.
    static QStringList writeAll(const QString &root);
    // root/hicolor/<size>/apps/...
    static QStringList writeIcons(const QString &root);
    static QStringList write(const QString &root, const QVector<Asset> &assets);
    // JPEG at full quality, so the one-pixel grid line survives compression.
    static bool save(const QImage &image, const QString &filePath);
};
