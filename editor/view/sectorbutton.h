#pragma once

#include <QPushButton>

class QPainter;

// The flat button that shows one cell. A left press on it still becomes a
// click (the cell's properties), but the map gets what belongs to the map:
// once a drag leaves the button every move goes on to the map, and an Alt
// press (the texture pick) is not taken at all.
class SectorButton : public QPushButton
{
    Q_OBJECT

public:
    explicit SectorButton(QWidget *parent);

    // Flat, released, unchecked, without focus, text or menu, in the default
    // style: then the style would draw nothing but the icon.
    bool atRest() const;
    // Draws the icon where the style puts it, through a painter of the holder
    // with the button's top left corner at that point.
    void drawFace(QPainter &painter, const QPoint &at) const;
    // Told by the holding block just before this button's paint event, in the
    // same pass: the block has drawn the icon already.
    void setDrawnByHolder(bool drawn) { drawnByHolder = drawn; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The press has left the button: no click any more, whatever follows.
    bool draggedAway = false;
    bool drawnByHolder = false;
};
