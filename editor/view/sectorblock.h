#pragma once

#include <QVector>
#include <QWidget>

class QPushButton;

// A square of cells of the canvas that holds the buttons of those cells, laid
// over exactly that square. Qt removes a child from its parent's list by a
// linear search, so thousands of buttons on one parent made every deletion
// cost in proportion to the map; on a block it costs in proportion to the block.
// Clicks on a cell without a button fall through to the canvas, as before.
class SectorBlock : public QWidget
{
    Q_OBJECT

public:
    explicit SectorBlock(QWidget *canvas);

    // Hidden buttons whose sectors left the map, for the next new sector here.
    void keepSpare(QPushButton *button) { spares.append(button); }
    QPushButton *takeSpare() { return spares.isEmpty() ? nullptr : spares.takeLast(); }
    // Destroys them; returns how many there were.
    int dropSpares();

signals:
    // A left click on one of its buttons.
    void cellClicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVector<QPushButton *> spares; // children of the block
};
