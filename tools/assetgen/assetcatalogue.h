#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// One image the editor ships: where it goes below the editor's folder, and how to draw it.
struct Asset
{
    QString path; // relative, for example "textures/Wall/brick.png"
    std::function<QImage()> draw;
};

// Everything the generator writes, in a fixed order.
class AssetCatalogue
{
public:
    static QVector<Asset> all();
    // The programs' icons in the desktop's icon theme layout ("hicolor/48x48/apps/tessel.png").
    static QVector<Asset> icons();
    // The layers that get a texture folder; light cells use the lamp instead.
    static QStringList textureLayers();
};
