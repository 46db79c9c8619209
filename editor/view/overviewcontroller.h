#pragma once

#include "view/overviewpicture.h"
#include "view/overviewwindow.h"

#include <QObject>
#include <QPointer>
#include <QVector>

#include <memory>

class MapView;
class OverviewWindow;
class Sector;

// Opens the overview window (F6) and keeps it true: every edit redraws its
// cells, a layer switch or a new map the whole picture, a pan or zoom the
// outline of what the map view shows; a click there moves the map view.
// Nothing is followed while the window is closed.
class OverviewController : public QObject
{
    Q_OBJECT

public:
    OverviewController(MapView &view, QWidget *window);
    ~OverviewController() override;

    void open();
    OverviewWindow *overviewWindow() const { return shown; }
    const OverviewPicture *picture() const { return drawn.get(); }
    // Draws the cells edited since the last time; runs by itself when control
    // returns to the event loop.
    void flush();
    // Images changed on disk.
    void imagesChanged();

private:
    void follow();
    void cellChanged(const Sector *sector);
    void rebuild();
    void showPicture();
    void showVisibleCells();

    MapView &view;
    QPointer<QWidget> mainWindow;
    QPointer<OverviewWindow> shown;
    std::unique_ptr<OverviewPicture> drawn;
    QVector<QPoint> pending;
    bool flushQueued = false;
};
