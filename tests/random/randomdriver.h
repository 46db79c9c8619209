#pragma once

#include "editorfixture.h"
#include "invariants.h"
#include "operation.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QStringList>

#include <vector>

class QRadioButton;
class QWidget;

// Runs user operations on a real editor window, offscreen, with input sent to
// the window as the window system sends it (a release goes to the widget that
// took the press, and to nobody once that widget is gone), and checks the
// invariants after every operation. The first violation is printed with
// "RANDOM-FAIL" and ends the process at once: the map may be broken, and
// tearing it down could crash and hide the report.
class RandomDriver
{
public:
    // Invariants named in `skipped` are not checked (see docs/testing.md).
    explicit RandomDriver(const QStringList &skipped);

    static QList<Operation> generate(quint32 seed, int steps);
    void run(const QList<Operation> &operations);

private:
    using Args = std::array<int, 4>;
    struct Entry
    {
        const char *name;
        int weight;
        Args ranges; // each argument is below its range
        void (RandomDriver::*perform)(const Args &);
    };
    static const std::vector<Entry> &table();

    // The operations.
    void pickLayer(const Args &a);
    void pickTexture(const Args &a);
    void paint(const Args &a);
    void erase(const Args &a);
    void ring(const Args &a);
    void fill(const Args &a);
    void select(const Args &a);
    void deleteSelection(const Args &a);
    void copy(const Args &a);
    void cut(const Args &a);
    void paste(const Args &a);
    void properties(const Args &a);
    void clear(const Args &a);
    void undo(const Args &a);
    void redo(const Args &a);
    void view(const Args &a);
    void save(const Args &a);
    void load(const Args &a);
    void rewind(const Args &a);
    void shortcutKeys(const Args &a);

    // Input as a person gives it.
    QPoint windowPoint(const QPoint &canvasCell) const;
    void pointTo(const QPoint &windowPos) const;
    void press(const QPoint &cell, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {}) const;
    void moveTo(const QPoint &cell) const;
    void release(const QPoint &cell, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {}) const;
    void clickWidget(QWidget *widget) const;
    void keyClick(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const;
    // `held`: 0 no key, 1 Shift, 2 Ctrl, held down around the gesture.
    void wheel(const QPoint &cell, const QPoint &notches, int held) const;
    // Presses at the first cell, moves through the others and releases at the last.
    void drag(Qt::MouseButton button, int held, const QList<QPoint> &cells);
    void holdKey(int held, bool down) const;
    void useTool(const char *radioName);
    void useSelectMode();
    QRadioButton *radio(const char *name) const;
    void settle();

    // Checks.
    void check(const char *invariant, const QString &problem);
    void checkAfterStep();
    void checkRemoved(const QList<QPoint> &mapCells, const QByteArray &layer);
    QByteArray layerInEffect(int held) const;
    QString mapFile() const;

    EditorFixture editor;
    Invariants invariants;
    QStringList skipped;
    QByteArray baseline; // the map as the last load left it (or the empty map)
    int step = -1;
    QString stepText;
};
