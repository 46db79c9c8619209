#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Tells when a gesture on the window has to end although the map may never
// see why: the last mouse button came up, whichever window or widget got the
// release (no widget at all when the pressed cell's button was destroyed in
// between, as a right-click erase does), or the window lost the keyboard.
class GestureWatch : public QObject
{
    Q_OBJECT

public:
    explicit GestureWatch(QWidget *window);
    ~GestureWatch() override;

signals:
    // After the release has gone wherever it went.
    void buttonsUp();
    void windowLeft();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> window;
};
