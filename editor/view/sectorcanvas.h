#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <vector>

class QPushButton;
class SectorBlock;

// The surface that holds the sector buttons of one map widget. It lies exactly
// over the map widget, with the same geometry, so positions in it are map
// widget positions. Keeping the buttons off the map widget itself keeps the map
// widget's style sheet from cascading onto thousands of buttons, and lets bulk
// work hide the surface once instead of showing buttons one by one.
class SectorCanvas : public QWidget
{
    Q_OBJECT

public:
    // The canvas of this map widget, made on first use.
    static SectorCanvas *forMap(QWidget *mapWidget);

    // Between begin and end, buttons shown or hidden through reveal() wait and
    // new buttons are polished in one go; at the end the hides, then the shows.
    void beginBatch();
    void endBatch();
    // Shows or hides a button now, or at the end of the batch.
    void reveal(QWidget *button, bool shown);

    // The block that holds the buttons of this map cell, made on first use.
    // A button's place on the canvas is its block's place plus its own.
    SectorBlock *blockFor(int mapX, int mapY);
    // Lays the blocks out for this pan offset and cell size.
    void setPlacement(const QPoint &origin, int cellSize);
    // The map cells the canvas shows, wholly or in part, as laid out now.
    QRect visibleCells() const;
    // Destroys the blocks that hold no button any more.
    void dropEmptyBlocks();

    // A button whose sector left the map waits, hidden, on its block for the
    // next new sector there: making and destroying a widget costs several
    // times hiding and showing it, and deleting a selection and its undo make
    // a thousand of each.
    void keepSpare(QPushButton *button);
    // A spare button of the block of this map cell, or null.
    QPushButton *takeSpare(int mapX, int mapY);
    int spareCount() const { return spares; }
    void dropSpares();
    static constexpr int blockCells = 8;

    class Batch
    {
    public:
        explicit Batch(SectorCanvas *canvas) : canvas(canvas)
        {
            if (canvas)
                canvas->beginBatch();
        }
        ~Batch() { if (canvas) canvas->endBatch(); }
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        QPointer<SectorCanvas> canvas;
    };

signals:
    // The visible part of the map changed size.
    void resized();
    // A left click on a cell's button.
    void cellClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit SectorCanvas(QWidget *mapWidget);
    void followMapWidget();
    QRect blockRect(const QPoint &block) const;

    QPointer<QWidget> map;
    QHash<quint64, SectorBlock *> blocks; // children of the canvas
    int spares = 0; // spare buttons on all blocks
    QPoint origin;
    int cellSize = 64;
    int batchDepth = 0;
    struct Reveal
    {
        QWidget *button;
        QPointer<QWidget> alive;
        bool shown;
    };
    std::vector<Reveal> waiting;
};
