#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// The map widget's grid: its style sheet's tile, repeated across it. While
// the tile is an opaque picture the widget is marked as painting every pixel
// itself, so Qt no longer fills the window's background under the whole map
// before the grid covers it again (a twentieth of a zoom at ~12k cells); the
// style then draws the grid from here, as Qt would have drawn it.
class GridBackground : public QObject
{
    Q_OBJECT

public:
    explicit GridBackground(QWidget *mapWidget);

    // Sets the map widget's style sheet to this tile.
    void setTile(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void drawGrid() const;

    QPointer<QWidget> map;
};
