#pragma once

#include "preview/previewcamera.h"
#include "preview/previewworld.h"
#include "preview/raycaster.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class PreviewWindow;
}

// The map seen from inside, in a window of its own. It reads the map through
// a record source whenever told that the map changed and never changes it.
// Frames are drawn only while something moves or blinks.
class PreviewWindow : public QWidget
{
    Q_OBJECT

public:
    using RecordSource = std::function<QVector<PreviewWorld::Record>()>;

    explicit PreviewWindow(RecordSource source, QWidget *parent = nullptr);
    ~PreviewWindow() override;

    // Puts the camera in the middle of a cell, facing its first open side.
    void placeCamera(const QPoint &cell);
    // At the player start, or at `fallback` when the map has none.
    void placeAtPlayerStart(const QPoint &fallback);
    const PreviewCamera &camera() const { return eye; }
    QPoint cameraCell() const { return QPoint(eye.cellX(), eye.cellY()); }
    const QImage &frame() const { return image; }

    static QString cellText(const QPoint &cell);

public slots:
    // Anything of the map changed: the next frame reads it again.
    void mapChanged();
    // Images changed on disk: the world is built again with their new pixels.
    void imagesChanged();

signals:
    void cameraCellChanged(const QPoint &cell);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void tick();
    void step(double seconds);
    void renderFrame();
    void keepTicking();
    void showCameraCell();
    bool moving() const;

    std::unique_ptr<Ui::PreviewWindow> ui;
    RecordSource source;
    PreviewWorld world;
    PreviewCamera eye;
    Raycaster raycaster;
    QImage image{640, 400, QImage::Format_RGB32};
    QSet<int> held;
    bool worldStale = true;
    QTimer frames;
    QElapsedTimer clock;
    qint64 lastTick = 0;
    QPoint shownCell{-1, -1};
};
