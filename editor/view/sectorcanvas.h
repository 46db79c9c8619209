#pragma once

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

    // Between begin and end the canvas is hidden; new buttons are polished in one go.
    void beginBatch();
    void endBatch();

    class Batch
    {
    public:
        explicit Batch(SectorCanvas *canvas) : canvas(canvas) { if (canvas) canvas->beginBatch(); }
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
};
