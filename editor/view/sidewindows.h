#pragma once

#include <QObject>
#include <QByteArray>
#include <QPoint>
#include <QPointer>
#include <QVector>

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
    // Switches to the layer (when known), brings the cell into the middle of
    // the view and marks it (a search's match, Go to Cell).
    void showCell(const QByteArray &layer, const QPoint &cell);

private:
    void followModelIn(QObject *sideWindow, void (*refresh)(QObject *));
    void showProblemCell(const QByteArray &layer, const QPoint &cell, const QVector<QPoint> &cells);
    void centreOn(const QByteArray &layer, const QPoint &cell, CellMarker *marker);

    MapView &view;
    QPointer<QWidget> window;
    QPointer<PreviewWindow> preview;
    QPointer<LevelCheckWindow> levelCheck;
    QPointer<CellMarker> cameraMarker;
    QPointer<CellMarker> problemMarker;
    // The cell a search or Go to Cell showed last.
    QPointer<CellMarker> foundMarker;
};
