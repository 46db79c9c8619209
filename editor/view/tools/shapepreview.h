#pragma once

#include <QList>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>

class QLabel;
class QPixmap;
class QWidget;

// What a shape drag will change, drawn over the map while the drag lasts:
// the image each changed cell gets, translucent, a red wash on cells that go,
// and a dashed outline around the shape's rectangle. Only the part in view is
// drawn, so its cost follows the window, not the shape.
class ShapePreview
{
public:
    struct Mark
    {
        QPoint cell;   // map cell
        QString image; // empty: the cell is erased
    };

    explicit ShapePreview(QWidget *mapSurface);
    ~ShapePreview();
    ShapePreview(const ShapePreview &) = delete;
    ShapePreview &operator=(const ShapePreview &) = delete;

    // `outline` in map cells (none when null); `origin` is the pan offset.
    void show(const QList<Mark> &marks, const QRect &outline, const QPoint &origin, int cellSize);
    void hide();
    bool isVisible() const;

private:
    QPixmap render(const QList<Mark> &marks, const QRect &outline, const QRect &area, int cellSize) const;

    QPointer<QWidget> surface;
    QPointer<QLabel> label;
};
