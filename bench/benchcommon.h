#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include "sampleworkspace.h"

#include <functional>

// What one benchmark phase needs: a working folder with generated textures and
// grid tiles, and the map file of the benchmark's recipe.
class Workspace
{
public:
    Workspace();

    QString path(const QString &relative) const { return folder.path(relative); }

    // Map of side x side cells: Ceil, Floor and Wall full, a light on every 8th
    // cell in both directions. Written once per side; returns the file's path.
    QString mapFile(int side);

    static const char *ceilTexture() { return "ceil_a.png"; }
    static const char *floorTexture() { return "floor_a.png"; }
    static const char *wallTexture() { return "brick.png"; }

private:
    SampleWorkspace folder;
};

// The recipe, shared by the editor and the reference.
namespace Recipe {
inline int sectorCount(int side) { return 3 * side * side + ((side + 7) / 8) * ((side + 7) / 8); }
inline bool hasLight(int x, int y) { return x % 8 == 0 && y % 8 == 0; }
// The enclosed room the flood fill fills on the Wall layer: 27 x 37 = 999 cells.
const int roomLeft = 1, roomTop = 1, roomWidth = 27, roomHeight = 37;
// The emission source: a light cell near the top-left corner (so that the
// lit cells are on screen), radius 10: 21 x 19 cells, two rows fall above row 0.
const int lightX = 16, lightY = 8, lightRadius = 10, lightLevel = 200;
// The selection: map cells (0, 0) to (31, 31) on the Floor layer at zoom 1.
const int selectSide = 32;
}

// Results of one phase, printed for the parent process: "RESULT key ms ms ...".
class Report
{
public:
    void add(const QByteArray &key, double value) { values[key].append(value); }
    void note(const QByteArray &key, const QString &text);
    void print() const;

private:
    QHash<QByteArray, QList<double>> values;
};

// Counts the paint events of the widgets it watches, to check that a timed
// operation's repaint really happened inside the timing.
class PaintCounter : public QObject
{
public:
    void watch(QObject *widget) { widget->installEventFilter(this); }
    int take() { const int seen = paints; paints = 0; return seen; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int paints = 0;
};

double elapsedMs(const QElapsedTimer &timer);

// Times one operation; record() also notes when no repaint fell inside it.
class Stopwatch
{
public:
    explicit Stopwatch(PaintCounter &paints) : paints(paints) { restart(); }
    void restart() { paints.take(); cpuStart = cpuMs(); timer.start(); }
    double ms() const { return elapsedMs(timer); }
    // Wall-clock time, and this thread's CPU time as "cpu:key" (steadier on a busy machine).
    void record(Report &report, const QByteArray &key, bool repaints = true)
    {
        const double taken = ms();
        report.add(key, taken);
        report.add("cpu:" + key, cpuMs() - cpuStart);
        if (paints.take() == 0 && repaints)
            report.note(key, QStringLiteral("no repaint seen inside the timing"));
    }
    static double cpuMs();

private:
    PaintCounter &paints;
    QElapsedTimer timer;
    double cpuStart = 0;
};
// Runs the posted events a user's next frame waits for: deferred layout and
// polish, and the queued repaint. Several passes: an event posted while events
// are delivered waits for the next pass, and a scene's repaint is a chain of
// them (dirty items, index update, viewport update).
void settle();
// Peak resident memory of this process, in MB (VmHWM).
double peakMemoryMb();
