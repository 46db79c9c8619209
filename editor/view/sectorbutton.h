#pragma once

#include <QPushButton>

// The flat button that shows one cell. A left press on it still becomes a
// click (the cell's properties), but the map gets what belongs to the map:
// once a drag leaves the button every move goes on to the map, and an Alt
// press (the texture pick) is not taken at all.
class SectorButton : public QPushButton
{
    Q_OBJECT

public:
    explicit SectorButton(QWidget *parent);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool atRest() const;

    // The press has left the button: no click any more, whatever follows.
    bool draggedAway = false;
};
