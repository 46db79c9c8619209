#pragma once

#include "view/tools/maptool.h"
#include "view/tools/shapepreview.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>

class MapModel;
class MapView;
class PanTool;

// A shape drawn in one drag: the press cell is one end, the pointer's cell the
// other. While the drag lasts the cells that will change are shown and the
// status bar names the tool and the size ("Room: 12 x 8"); the release makes
// the shape as one undo step, Escape or a lost release drops it. Middle pans.
class ShapeTool : public MapTool
{
public:
    ShapeTool(MapView &view, PanTool &pan);
    ~ShapeTool() override;

    void handle(QEvent *event, const ToolPoint &at) override;
    // Drops a drag in progress (a lost release, another tool or mode).
    void reset() override;
    // Escape: the same, said in the status bar.
    void cancel();
    bool dragging() const { return anchor.has_value(); }
    // What the status bar says of the tool: "Rectangle (filled)".
    virtual QString name() const = 0;

protected:
    // What a drag between two cells would do, worked out from the map as it is.
    struct Draft
    {
        QList<ShapePreview::Mark> marks;
        QRect outline;
        QString refusal;
        qint64 leftOut = 0;
        // Makes the shape; unset when refused or when nothing would change.
        std::function<void(MapModel &)> make;
    };
    virtual Draft draft(const QPoint &from, const QPoint &to, bool erasing) const = 0;
    // Whether the right button draws an erasing shape.
    virtual bool erases() const { return true; }

    MapView &view;

private:
    void begin(const QPoint &cell, bool erase);
    void follow(const QPoint &cell);
    void finish(const QPoint &cell);
    void drop();
    void say(const QString &text);
    QString leftOutWord(qint64 cells) const;

    PanTool &panTool;
    ShapePreview preview;
    std::optional<QPoint> anchor;
    QPoint end;
    bool erasing = false;
    Qt::MouseButton button = Qt::NoButton;
};
