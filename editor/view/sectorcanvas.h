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

    // Between begin and end, buttons shown or hidden through reveal() wait and
    // new buttons are polished in one go. At the end the canvas shows the few
    // waiting buttons one by one, or, when that would cost more than showing
    // again every button it shows, hides itself, applies them and shows itself.
    void beginBatch();
    void endBatch();
    // Shows or hides a button now, or at the end of the batch.
    void reveal(QWidget *button, bool shown);

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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit SectorCanvas(QWidget *mapWidget);
    void followMapWidget();
    bool showsOneByOne(int shows) const;
    int shownButtons() const;

    QPointer<QWidget> map;
    int batchDepth = 0;
    QList<QPair<QPointer<QWidget>, bool>> waiting;
};
