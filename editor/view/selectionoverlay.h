#pragma once

#include <QPointer>

class QLabel;
class QPoint;
class QWidget;

// The white outline Select mode draws from the press to the pointer, kept
// within the map: a frameless window of its own above the cells' buttons.
class SelectionOverlay
{
public:
    explicit SelectionOverlay(QWidget *mapWidget);

    // From `anchor` to the pointer, both in global coordinates.
    void draw(const QPoint &anchor);
    QLabel *label() const;

private:
    QPointer<QWidget> mapWidget;
    QPointer<QLabel> overlay;
};
