#pragma once

#include "model/mappiece.h"
#include "view/tools/maptool.h"

#include <QObject>
#include <QPixmap>
#include <QPointer>

class MapView;
class PanTool;
class QLabel;
class QKeyEvent;
class QWidget;

// A copied piece that follows the pointer, drawn translucently over the map
// until a left click drops it (again and again) or Escape or a right click
// ends it. R and Shift+R turn it, H and V mirror it. While it follows the
// pointer it takes those keys before any shortcut of the window sees them (a
// shortcut on the same key elsewhere would make both ambiguous); otherwise it
// takes no key at all.
class StampTool : public QObject, public MapTool
{
public:
    StampTool(MapView &view, PanTool &pan, QWidget *window);
    ~StampTool() override;

    // Starts following the pointer from the canvas cell it is over now.
    void start(const MapPiece &piece, const QPoint &canvasCell);
    void stop();
    bool active() const { return following; }
    const MapPiece &piece() const { return stamp; }

    void handle(QEvent *event, const ToolPoint &at) override;
    void reset() override { stop(); }

    void turnClockwise();
    void turnCounterClockwise();
    void mirrorLeftRight();
    void mirrorTopBottom();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The action of a key of the stamp, or null.
    void (StampTool::*actionOf(const QKeyEvent *event) const)();
    void follow();
    void drop(const QPoint &mapCell);
    void restyle(const MapPiece &piece);
    QPixmap render(int cellSize) const;
    QString helpText() const;

    MapView &view;
    PanTool &panTool;
    MapPiece stamp;
    bool following = false;
    QPointer<QLabel> preview;
    int previewCellSize = 0;
    // The canvas cell of the last event, where the stamp is drawn; keys that
    // turn or mirror it redraw it there.
    QPoint pointerCell;
    QPointer<QWidget> window;
};
