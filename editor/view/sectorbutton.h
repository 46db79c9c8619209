#pragma once

#include <QPushButton>

class QPainter;

// The flat button that shows one cell. A left press on it still becomes a
// click (told to its block: the cell's properties), but the map gets what
// belongs to the map: once a drag leaves the button every move goes on to the
// map, and an Alt press (the texture pick) is not taken at all.
// Its holder draws it: Qt painting each of thousands of cell widgets on its own
// cost a third of a zoom, so its updates stay off and every change of its look,
// place or state asks the holder to draw its square again.
class SectorButton : public QPushButton
{
    Q_OBJECT

public:
    explicit SectorButton(QWidget *parent);

    // Flat, released, unchecked, without focus, text or menu, in the default
    // style: then the style would draw nothing but the icon.
    bool atRest() const;
    // Draws the button through a painter of the holder, with the button's top
    // left corner at that point: at rest its icon alone, otherwise (pressed,
    // disabled) the whole button as the style would.
    void draw(QPainter &painter, const QPoint &at) const;
    // Asks the holder to draw the button again where it was and where it is:
    // for a change Qt tells the button nothing about (a new icon).
    void redrawOnHolder();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    // The press has left the button: no click any more, whatever follows.
    bool draggedAway = false;
    // Where the holder last drew this button: a move or a hide clears it there.
    QRect drawnAt;
    void followHolder();
    // The icon where the style puts it.
    void drawFace(QPainter &painter, const QPoint &at) const;
    void drawWhole(QPainter &painter, const QPoint &at) const;
};
