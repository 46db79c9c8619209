#include "appiconart.h"

#include "interfaceart.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr qreal Design = 256;
const QRectF Tile(16, 16, 224, 224);

QImage iconCanvas(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Paints on the image in design units.
void beginDesign(QPainter &painter, QImage &image)
{
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(image.width() / Design, image.height() / Design);
}

// The rounded dark tile both icons stand on, with a light rim so it reads on
// dark and light panels alike.
void drawTile(QPainter &painter)
{
    QLinearGradient shade(Tile.topLeft(), Tile.bottomLeft());
    shade.setColorAt(0, InterfaceArt::gridCellColour().lighter(160));
    shade.setColorAt(1, InterfaceArt::gridCellColour());
    painter.setPen(QPen(QColor(200, 205, 215), 6));
    painter.setBrush(shade);
    painter.drawRoundedRect(Tile, 36, 36);
}

void drawGrid(QPainter &painter, const QRectF &area, int cells)
{
    const qreal step = area.width() / cells;
    painter.setPen(QPen(InterfaceArt::gridLineColour().lighter(130), 3));
    for (int i = 1; i < cells; ++i) {
        painter.drawLine(QPointF(area.left() + i * step, area.top()), QPointF(area.left() + i * step, area.bottom()));
        painter.drawLine(QPointF(area.left(), area.top() + i * step), QPointF(area.right(), area.top() + i * step));
    }
}

void fillCell(QPainter &painter, const QRectF &area, int cells, int column, int row, const QColor &colour)
{
    const qreal step = area.width() / cells;
    const QRectF cell(area.left() + column * step + 3, area.top() + row * step + 3, step - 6, step - 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(cell, 6, 6);
    painter.setBrush(colour.lighter(135));
    painter.drawRect(QRectF(cell.left(), cell.top(), cell.width(), 6));
}

void drawPencil(QPainter &painter)
{
    painter.save();
    painter.translate(112, 150);
    painter.rotate(-45);
    painter.setPen(QPen(QColor(25, 25, 25), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath cone;
    cone.moveTo(0, 0);
    cone.lineTo(36, -18);
    cone.lineTo(36, 18);
    cone.closeSubpath();
    painter.setBrush(QColor(230, 190, 140));
    painter.drawPath(cone);
    painter.setBrush(QColor(250, 200, 40));
    painter.drawRect(QRectF(36, -18, 90, 36));
    painter.setBrush(QColor(170, 170, 180));
    painter.drawRect(QRectF(126, -18, 14, 36));
    painter.setBrush(QColor(240, 120, 140));
    painter.drawRoundedRect(QRectF(140, -18, 22, 36), 8, 8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 30, 30));
    painter.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(13, -6.5), QPointF(13, 6.5)}));
    painter.restore();
}

} // namespace

QImage AppIconArt::editor(int size)
{
    QImage image = iconCanvas(size);
    QPainter painter;
    beginDesign(painter, image);
    drawTile(painter);
    const QRectF grid = Tile.adjusted(16, 16, -16, -16);
    drawGrid(painter, grid, 4);
    const QColor brick(178, 70, 50), floor(60, 110, 210), lamp(250, 215, 90);
    for (int column = 0; column < 4; ++column)
        fillCell(painter, grid, 4, column, 0, brick);
    fillCell(painter, grid, 4, 0, 1, brick);
    fillCell(painter, grid, 4, 0, 2, brick);
    fillCell(painter, grid, 4, 1, 1, floor);
    fillCell(painter, grid, 4, 2, 1, floor);
    fillCell(painter, grid, 4, 1, 2, floor);
    fillCell(painter, grid, 4, 3, 3, lamp);
    drawPencil(painter);
    painter.end();
    return image;
}

QImage AppIconArt::launcher(int size)
{
    QImage image = iconCanvas(size);
    QPainter painter;
    beginDesign(painter, image);
    drawTile(painter);
    // A corridor in perspective: ceiling, floor and the two walls meet at a far door.
    const QRectF back(84, 84, 88, 88);
    const QRectF front = Tile.adjusted(14, 14, -14, -14);
    auto side = [&painter](const QVector<QPointF> &corners, const QColor &colour) {
        painter.setPen(QPen(colour.darker(170), 3));
        painter.setBrush(colour);
        painter.drawPolygon(QPolygonF(corners));
    };
    side({front.topLeft(), front.topRight(), back.topRight(), back.topLeft()}, QColor(90, 95, 105));
    side({front.bottomLeft(), front.bottomRight(), back.bottomRight(), back.bottomLeft()}, QColor(60, 110, 210));
    side({front.topLeft(), back.topLeft(), back.bottomLeft(), front.bottomLeft()}, QColor(178, 70, 50));
    side({front.topRight(), back.topRight(), back.bottomRight(), front.bottomRight()}, QColor(150, 58, 42));
    painter.setBrush(QColor(250, 215, 90));
    painter.drawRect(back);
    // The start arrow.
    painter.setPen(QPen(QColor(25, 25, 25), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(245, 245, 245));
    painter.drawPolygon(QPolygonF({QPointF(110, 100), QPointF(156, 128), QPointF(110, 156)}));
    painter.end();
    return image;
}
