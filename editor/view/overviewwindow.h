#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

// The "Overview" window: the whole map scaled to fit, the part the map view
// shows outlined on it. A click or a drag asks for the view to go there.
class OverviewWindow : public QWidget
{
    Q_OBJECT

public:
    explicit OverviewWindow(QWidget *parent = nullptr);

    // The picture is drawn where it lies, so that redrawing a few of its cells
    // copies nothing; `cellPixels` is the size of one map cell in it.
    void showPicture(const QImage *picture, int cellPixels);
    void showVisibleCells(const QRect &cells);
    // Where the picture is drawn now, and the map cell under a point of it.
    QRect pictureArea() const;
    QPoint cellAt(const QPoint &position) const;
    QRect visibleCells() const { return visible; }

signals:
    void cellChosen(const QPoint &cell);
    void resized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QRectF cellsOnScreen(const QRect &cells) const;

    const QImage *picture = nullptr;
    int pixels = 1;
    QRect visible;
};
