#include "assetwriter.h"

#include "assetcatalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>

QStringList AssetWriter::writeAll(const QString &root)
{
    return write(root, AssetCatalogue::all());
}

QStringList AssetWriter::writeIcons(const QString &root)
{
    return write(root, AssetCatalogue::icons());
}

QStringList AssetWriter::write(const QString &root, const QVector<Asset> &assets)
{
    QStringList failed;
    const QDir base(root);
    for (const Asset &asset : assets) {
        const QString filePath = base.filePath(asset.path);
        if (!QDir().mkpath(QFileInfo(filePath).path()) || !save(asset.draw(), filePath))
            failed << asset.path;
    }
    return failed;
}

bool AssetWriter::save(const QImage &image, const QString &filePath)
{
    QImageWriter writer(filePath);
    if (filePath.endsWith(".jpg", Qt::CaseInsensitive)) {
        writer.setQuality(100);
        return writer.write(image.convertToFormat(QImage::Format_RGB32));
    }
    return writer.write(image);
}
