#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

class MapInput;
struct MapDefinition;

// A top-down picture of a map as the editor shows it: the grid, then each
// chosen layer's textures in the editor's layer order. The first chosen layer
// is the one being edited and is drawn plain (Lightmap cells shaded by their
// emission); the other layers carry the editor's other-layer tint.
class MapRenderer
{
public:
    struct Options
    {
        int cellSize = 16;
        // The first one is the layer being edited.
        QList<QByteArray> layers;
        // The image of every Lightmap cell.
        QString lampImage;
    };

    static QSize pictureSize(const MapInput &input, int cellSize);
    // The editor's look after loading a map: the Wall layer being edited.
    static QList<QByteArray> defaultLayers();

    QImage render(const MapInput &input, const Options &options);

private:
    void drawGrid(QImage &picture) const;
    void drawLayer(QImage &picture, const MapInput &input, const QByteArray &name);
    static QString texturePath(const MapInput &input, const MapDefinition &definition);
    QImage cellImage(const QString &path, const QColor &tint);
    QImage loadScaled(const QString &path);

    Options options;
    QHash<QString, QImage> scaled;
    QHash<QPair<QString, QRgb>, QImage> tinted;
};
