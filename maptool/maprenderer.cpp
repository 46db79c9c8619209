#include "maprenderer.h"

#include "check/levelvocabulary.h"
#include "colorize.h"
#include "format/layernames.h"
#include "format/maplimits.h"
#include "looks/layerlooks.h"
#include "mapinput.h"

#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace {

const QString lampKey = QStringLiteral("\nlamp");

} // namespace

QSize MapRenderer::pictureSize(const MapInput &input, int cellSize)
{
    return QSize(input.columns() * cellSize, input.rows() * cellSize);
}

QList<QByteArray> MapRenderer::defaultLayers()
{
    return LayerLooks::layersShownWhileEditing(LayerNames::Wall);
}

QImage MapRenderer::render(const MapInput &input, const Options &chosen)
{
    options = chosen;
    QImage picture(pictureSize(input, options.cellSize), QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    drawGrid(picture);
    QList<QByteArray> order = layerOrder();
    for (const QByteArray &name : std::as_const(options.layers)) {
        if (!order.contains(name))
            order.append(name);
    }
    for (const QByteArray &name : std::as_const(order)) {
        if (options.layers.contains(name))
            drawLayer(picture, input, name);
    }
    return picture;
}

void MapRenderer::drawGrid(QImage &picture) const
{
    // Pixel by pixel rather than with a painter: Qt 5's rasterizer leaves out
    // the last pixel row of a map 4,096 cells tall (32,768 pixels at 8), Qt 6's
    // does not, and both builds must draw the same picture.
    picture.fill(LayerLooks::gridCellColour);
    const int n = options.cellSize;
    const QRgb line = LayerLooks::gridLineColour.rgb();
    for (int y = 0; y < picture.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(picture.scanLine(y));
        if (y % n == 0) {
            std::fill(row, row + picture.width(), line);
            continue;
        }
        for (int x = 0; x < picture.width(); x += n)
            row[x] = line;
    }
}

void MapRenderer::drawLayer(QImage &picture, const MapInput &input, const QByteArray &name)
{
    const MapFormat::Parsed &parsed = input.parsed();
    QPainter painter(&picture);
    const int n = options.cellSize;
    for (const MapFormat::Grid &grid : parsed.grids) {
        if (grid.name != name)
            continue;
        for (int row = 0; row < grid.rows.size(); ++row) {
            const QList<QByteArray> &values = grid.rows.at(row);
            for (int column = 0; column < values.size(); ++column) {
                const auto found = parsed.definitions.constFind(values.at(column));
                if (values.at(column) == "0" || found == parsed.definitions.constEnd())
                    continue;
                // Every Lightmap cell shows the lamp, whatever its definition says.
                const bool lamp = name == LayerNames::Lightmap;
                const QColor tint = LayerLooks::lookOf(name, options.layers.first(), false, found->lighting.emission);
                const QString path = lamp ? lampKey : texturePath(input, *found);
                const QImage image = path.isEmpty() ? QImage() : cellImage(path, tint);
                if (!image.isNull())
                    painter.drawImage(column * n + (n - image.width()) / 2, row * n + (n - image.height()) / 2,
                                      image);
            }
        }
    }
}

// Only an image the editor's path rules accept is opened.
QString MapRenderer::texturePath(const MapInput &input, const MapDefinition &definition)
{
    const TexturePath::Resolved path = input.texture(definition);
    return path.verdict == TexturePath::Verdict::Accepted ? path.path : QString();
}

QImage MapRenderer::cellImage(const QString &path, const QColor &tint)
{
    const QPair<QString, QRgb> key(path, tint.isValid() ? tint.rgba() : 0u);
    auto found = tinted.constFind(key);
    if (found != tinted.constEnd())
        return *found;
    const QImage plain = loadScaled(path);
    const QImage result = tint.isValid() ? Colorize::apply(plain, tint) : plain;
    tinted.insert(key, result);
    return result;
}

// The image shrunk to its cell as the editor's icon shrinks it (aspect kept,
// never enlarged).
// An unreadable image draws nothing.
QImage MapRenderer::loadScaled(const QString &path)
{
    auto found = scaled.constFind(path);
    if (found != scaled.constEnd())
        return *found;
    QImage image;
    const bool lamp = path == lampKey;
    QImageReader reader(lamp ? options.lampImage : path);
    const QSize size = reader.size();
    // A picture this large is no texture; decoding it would only cost memory.
    if (size.isValid() && qint64(size.width()) * size.height() <= MapLimits::imagePixels)
        image = reader.read();
    if (lamp && image.isNull()) {
        // Without the editor's lamp image a light still shows as a plain cell.
        image = QImage(options.cellSize, options.cellSize, QImage::Format_RGB32);
        image.fill(QColor(128, 128, 128));
    }
    // Qt 6 scales a palette image (a one-colour PNG) into noise; Qt 5 made it 32-bit first.
    if (!image.isNull() && image.depth() < 32)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32);
    if (image.width() > options.cellSize || image.height() > options.cellSize)
        image = image.scaled(options.cellSize, options.cellSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.insert(path, image);
    return image;
}
