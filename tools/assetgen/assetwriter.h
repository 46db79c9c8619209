#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// Writes the catalogue's images below the editor's folder.
class AssetWriter
{
public:
    // Returns the relative paths that could not be written; empty means success.
    static QStringList writeAll(const QString &root);
    // JPEG at full quality, so the one-pixel grid line survives compression.
    static bool save(const QImage &image, const QString &filePath);
};
