#pragma once

#include "check/levelproblem.h"
#include "check/levelsnapshot.h"

#include <QList>
#include <QPoint>
#include <QTimer>
#include <QVector>
#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class LevelCheckWindow;
}
class QTreeWidgetItem;

// The level check's findings in a window of their own, errors first, cells
// with the same problem on one line. The check runs a moment after the last
// change, so editing never waits for it.
class LevelCheckWindow : public QWidget
{
    Q_OBJECT

public:
    using SnapshotSource = std::function<LevelSnapshot()>;

    explicit LevelCheckWindow(SnapshotSource source, QWidget *parent = nullptr);
    ~LevelCheckWindow() override;

    const QList<LevelProblem> &problems() const { return found; }
    // Runs the check now (also what the delayed refresh calls).
    void checkNow();

    // How long after a change the check runs.
    static constexpr int delayMs = 250;

public slots:
    void mapChanged();

signals:
    // The user asked to see a problem: cell is the one to show (the first of
    // the line), cells every cell of the line, all on layer.
    void problemActivated(const QByteArray &layer, const QPoint &cell, const QVector<QPoint> &cells);

private:
    void list(const QList<LevelProblem> &problems);
    void fitToMessages();
    void activate(QTreeWidgetItem *item);

    std::unique_ptr<Ui::LevelCheckWindow> ui;
    SnapshotSource source;
    QList<LevelProblem> found;
    QTimer delay;
};
