#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

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

    // Between begin and end new buttons are polished in one go. A batch of
    // unknown size (newButtons < 0), one that makes many buttons compared with
    // those the canvas holds, or one made with the pointer over the canvas hides
    // the canvas and shows it again at the end (cost in proportion to the map);
    // otherwise the canvas stays and only the new buttons are shown at the end
    // (cost in proportion to the edit).
    void beginBatch(int newButtons = -1);
    void endBatch();
    // Shows or hides a new button now, or at the end of a small batch.
    void reveal(QWidget *button, bool shown);

    class Batch
    {
    public:
        explicit Batch(SectorCanvas *canvas, int newButtons = -1) : canvas(canvas)
        {
            if (canvas)
                canvas->beginBatch(newButtons);
        }
        ~Batch() { if (canvas) canvas->endBatch(); }
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        QPointer<SectorCanvas> canvas;
    };

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit SectorCanvas(QWidget *mapWidget);
    void followMapWidget();

    QPointer<QWidget> map;
    int batchDepth = 0;
    bool keptVisible = false;
    QList<QPointer<QWidget>> revealLater;
};
