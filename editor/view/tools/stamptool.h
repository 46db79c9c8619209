#pragma once

#include "model/mappiece.h"
#include "view/tools/maptool.h"

#include <QList>
#include <QPixmap>
#include <QPointer>

class MapView;
class PanTool;
class QLabel;
class QShortcut;
class QWidget;

// A copied piece that follows the pointer, drawn translucently over the map
// until a left click drops it (again and again) or Escape or a right click
// ends it. R and Shift+R turn it, H and V mirror it. Its keys exist only while
// it follows the pointer, so they never reach another tool.
class StampTool : public MapTool
{
public:
    StampTool(MapView &view, PanTool &pan, QWidget *window);
    ~StampTool() override;

    void start(const MapPiece &piece);
    void stop();
    bool active() const { return following; }
    const MapPiece &piece() const { return stamp; }

    void handle(QEvent *event) override;
    void reset() override { stop(); }

    void turnClockwise();
    void turnCounterClockwise();
    void mirrorLeftRight();
    void mirrorTopBottom();

private:
    void addKey(QWidget *window, const QKeySequence &keys, void (StampTool::*action)());
    void setKeysEnabled(bool enabled);
    void follow();
    void drop();
    void restyle(const MapPiece &piece);
    QPixmap render(int cellSize) const;
    QString helpText() const;

    MapView &view;
    PanTool &panTool;
    MapPiece stamp;
    bool following = false;
    QPointer<QLabel> preview;
    int previewCellSize = 0;
    QList<QShortcut *> keys; // children of the window
};
