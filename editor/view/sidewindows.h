#pragma once

#include <QObject>
#include <QPointer>

class CellMarker;
class LevelCheckWindow;
class MapView;
class PreviewWindow;
class QWidget;

// The windows that look at the map beside the main one: the first-person
// preview and the level check, and the cells they mark on the map. Both read
// the model and never change it.
class SideWindows : public QObject
{
    Q_OBJECT

public:
    SideWindows(MapView &view, QWidget *window);

    // The preview opens at the player start, or with atPointer at the cell under the pointer.
    void openPreview(bool atPointer = false);
    void openLevelCheck();
    PreviewWindow *previewWindow() const;
    LevelCheckWindow *levelCheckWindow() const;
    // Keeps the marks on their cells after a pan or a zoom.
    void placeMarkers();

private:
    void followModelIn(QObject *sideWindow, void (*refresh)(QObject *));
    void showProblemCell(const QByteArray &layer, const QPoint &cell);

    MapView &view;
    QPointer<QWidget> window;
    QPointer<PreviewWindow> preview;
    QPointer<LevelCheckWindow> levelCheck;
    QPointer<CellMarker> cameraMarker;
    QPointer<CellMarker> problemMarker;
};
