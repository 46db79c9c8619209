#include "randomdriver.h"

#include "app/dialogs.h"
#include "app/tessel.h"
#include "format/layernames.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "model/subtypetable.h"
#include "properties/objectpropertiesform.h"
#include "view/mapview.h"
#include "view/sectorviewport.h"
#include "view/tools/stamptool.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QUndoStack>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

// Operations work on this many canvas cells from the top-left of the view.
const QRect area(0, 0, 12, 9);
// Pans stay within this many cells of the start, so that the map stays dense.
const int panReach = 3;

// 0: no key, 1: Shift (the Wall layer for the time), 2: Ctrl (the Door layer).
Qt::KeyboardModifiers modifierOf(int held)
{
    return held == 1 ? Qt::ShiftModifier : held == 2 ? Qt::ControlModifier : Qt::NoModifier;
}

Qt::Key keyOf(int held)
{
    return held == 1 ? Qt::Key_Shift : Qt::Key_Control;
}

QPoint inArea(const QPoint &cell)
{
    return QPoint(qBound(area.left(), cell.x(), area.right()), qBound(area.top(), cell.y(), area.bottom()));
}

// A stroke's cells: `path` holds its length (0 to 3 more cells) and direction.
QList<QPoint> strokeCells(const QPoint &start, int path)
{
    static const QPoint steps[] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    QList<QPoint> cells{inArea(start)};
    for (int i = 0; i < path % 4; ++i)
        cells << inArea(cells.last() + steps[(path / 4) % 4]);
    return cells;
}

// The border of a rectangle, clockwise from its top-left cell.
QList<QPoint> ringCells(const QRect &rect)
{
    QList<QPoint> cells;
    for (int x = rect.left(); x <= rect.right(); ++x)
        cells << QPoint(x, rect.top());
    for (int y = rect.top() + 1; y <= rect.bottom(); ++y)
        cells << QPoint(rect.right(), y);
    for (int x = rect.right() - 1; x >= rect.left(); --x)
        cells << QPoint(x, rect.bottom());
    for (int y = rect.bottom() - 1; y > rect.top(); --y)
        cells << QPoint(rect.left(), y);
    return cells;
}

// One step toward the start when another would go farther than panReach.
int boundedStep(int position, int step)
{
    if (std::abs(position + step) <= panReach)
        return step;
    return position > 0 ? -1 : 1;
}

QByteArray fileBytes(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Empty when equal, else the first line that differs.
QString difference(const QByteArray &expected, const QByteArray &actual, const QString &what)
{
    if (expected == actual)
        return QString();
    const QList<QByteArray> a = expected.split('\n');
    const QList<QByteArray> b = actual.split('\n');
    int line = 0;
    while (line < a.size() && line < b.size() && a.at(line) == b.at(line))
        ++line;
    return QStringLiteral("%1: line %2 should be \"%3\" but is \"%4\"")
        .arg(what)
        .arg(line + 1)
        .arg(QString::fromUtf8(a.value(line).trimmed()), QString::fromUtf8(b.value(line).trimmed()));
}

} // namespace

const std::vector<RandomDriver::Entry> &RandomDriver::table()
{
    static const std::vector<Entry> entries{
        {"layer", 5, {8, 1, 1, 1}, &RandomDriver::pickLayer},
        {"texture", 5, {6, 1, 1, 1}, &RandomDriver::pickTexture},
        {"paint", 20, {3, 12, 9, 16}, &RandomDriver::paint},
        {"erase", 8, {3, 12, 9, 16}, &RandomDriver::erase},
        {"ring", 3, {9, 6, 4, 3}, &RandomDriver::ring},
        {"fill", 4, {12, 9, 1, 1}, &RandomDriver::fill},
        {"select", 8, {12, 9, 12, 9}, &RandomDriver::select},
        {"delete", 4, {2, 12, 9, 1}, &RandomDriver::deleteSelection},
        {"copy", 3, {1, 1, 1, 1}, &RandomDriver::copy},
        {"cut", 2, {1, 1, 1, 1}, &RandomDriver::cut},
        {"paste", 5, {5, 3, 12, 9}, &RandomDriver::paste},
        {"properties", 5, {16, 5, 256, 10}, &RandomDriver::properties},
        {"clear", 1, {1, 1, 1, 1}, &RandomDriver::clear},
        {"undo", 8, {1, 1, 1, 1}, &RandomDriver::undo},
        {"redo", 4, {1, 1, 1, 1}, &RandomDriver::redo},
        {"view", 4, {4, 4, 12, 9}, &RandomDriver::view},
        {"save", 3, {1, 1, 1, 1}, &RandomDriver::save},
        {"load", 2, {1, 1, 1, 1}, &RandomDriver::load},
        {"rewind", 2, {1, 1, 1, 1}, &RandomDriver::rewind},
        {"keys", 3, {5, 5, 1, 1}, &RandomDriver::shortcutKeys},
    };
    return entries;
}

QList<Operation> RandomDriver::generate(quint32 seed, int steps)
{
    std::mt19937 random(seed);
    int total = 0;
    for (const Entry &entry : table())
        total += entry.weight;
    QList<Operation> operations;
    for (int i = 0; i < steps; ++i) {
        int pick = int(random() % quint32(total));
        auto entry = table().cbegin();
        while (pick >= entry->weight)
            pick -= (entry++)->weight;
        Operation operation{entry->name, {}};
        for (size_t k = 0; k < operation.args.size(); ++k)
            operation.args[k] = int(random() % quint32(entry->ranges[k]));
        operations << operation;
    }
    return operations;
}

RandomDriver::RandomDriver(const QStringList &skippedChecks)
    : invariants(editor), skipped(skippedChecks)
{
    QDir().mkpath(editor.path("maps"));
    // Buttons out of sight are released after a few pans instead of thousands.
    editor.view->sectorViewport()->setKeptOutOfSight(2);
    const QString name = mapFile();
    Dialogs::saveChooser = [name](const QString &, const QString &) { return name; };
    Dialogs::openChooser = [name](const QString &, const QString &) { return name; };
    Dialogs::question = [](const QString &, const QString &) { return QMessageBox::Yes; };
    // The flood fill's word on an open region is an answer, not a fault.
    Dialogs::information = [](const QString &, const QString &) {};
    Dialogs::warning = [this](const QString &title, const QString &text) {
        check("warning", title + QStringLiteral(": ") + text);
    };
    QObject::connect(editor.view->mapModel(), &MapModel::sectorRemoved, editor.window.get(),
                     [this](Sector *sector) { check("removed", invariants.removal(sector)); });
}

void RandomDriver::run(const QList<Operation> &operations)
{
    baseline = invariants.mapBytes();
    for (step = 0; step < operations.size(); ++step) {
        const Operation &operation = operations.at(step);
        stepText = operation.text();
        auto entry = std::find_if(table().cbegin(), table().cend(),
                                  [&operation](const Entry &e) { return operation.name == e.name; });
        if (entry == table().cend()) {
            check("replay", QStringLiteral("no operation is called so"));
            continue;
        }
        Args args = operation.args;
        for (size_t k = 0; k < args.size(); ++k)
            args[k] = std::abs(args[k]) % entry->ranges[k];
        (this->*entry->perform)(args);
        settle();
        checkAfterStep();
    }
}

// ---- operations -------------------------------------------------------------

void RandomDriver::pickLayer(const Args &a)
{
    editor.setLayer(QString::fromLatin1(layerOrder().at(a[0])));
}

// In Select mode with two or more cells selected, this gives them the texture.
void RandomDriver::pickTexture(const Args &a)
{
    const int count = editor.gallery->shownTextures().size();
    if (count > 0)
        editor.pickTexture(a[0] % count);
}

void RandomDriver::paint(const Args &a)
{
    useTool("radioPencil");
    drag(Qt::LeftButton, a[0], strokeCells(QPoint(a[1], a[2]), a[3]));
}

void RandomDriver::erase(const Args &a)
{
    useTool("radioPencil");
    const QList<QPoint> cells = strokeCells(QPoint(a[1], a[2]), a[3]);
    drag(Qt::RightButton, a[0], cells);
    checkRemoved(cells, layerInEffect(a[0]));
}

// Walls around a rectangle, drawn with Shift held: something for the fill to fill.
void RandomDriver::ring(const Args &a)
{
    useTool("radioPencil");
    drag(Qt::LeftButton, 1, ringCells(QRect(QPoint(a[0], a[1]), inArea(QPoint(a[0] + 2 + a[2], a[1] + 2 + a[3])))));
}

void RandomDriver::fill(const Args &a)
{
    useTool("radioFloodFill");
    drag(Qt::LeftButton, 0, {QPoint(a[0], a[1])});
}

void RandomDriver::select(const Args &a)
{
    useSelectMode();
    drag(Qt::LeftButton, 0, {QPoint(a[0], a[1]), QPoint(a[2], a[3])});
    const QPoint from = editor.view->canvasToMap(QPoint(a[0], a[1]));
    const QPoint to = editor.view->canvasToMap(QPoint(a[2], a[3]));
    const QRect cells(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                      QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())));
    const int inside = editor.view->mapModel()->sectorsIn(layerInEffect(0), cells).size();
    if (editor.layers->selection().size() != inside)
        check("select", QStringLiteral("%1 cell(s) selected, but the rectangle holds %2 of the layer")
                            .arg(editor.layers->selection().size())
                            .arg(inside));
}

void RandomDriver::deleteSelection(const Args &a)
{
    useSelectMode();
    const QList<Sector *> doomed = editor.layers->selection();
    if (a[0] == 0)
        drag(Qt::RightButton, 0, {QPoint(a[1], a[2])});
    else
        keyClick(Qt::Key_Delete);
    settle();
    // Pointers only: a deleted sector is gone.
    for (const auto &entry : editor.view->mapModel()->layers()) {
        for (Sector *sector : doomed) {
            if (entry.sectors.contains(sector))
                check("delete", QStringLiteral("a deleted selected cell is still in the %1 list")
                                    .arg(QString::fromUtf8(entry.name)));
        }
    }
}

void RandomDriver::copy(const Args &)
{
    keyClick(Qt::Key_C, Qt::ControlModifier);
}

void RandomDriver::cut(const Args &)
{
    keyClick(Qt::Key_X, Qt::ControlModifier);
}

void RandomDriver::paste(const Args &a)
{
    keyClick(Qt::Key_V, Qt::ControlModifier);
    if (!editor.view->stamp()->active())
        return; // nothing copied yet
    static const QList<QPair<Qt::Key, Qt::KeyboardModifiers>> turns[] = {
        {}, {{Qt::Key_R, {}}}, {{Qt::Key_R, {}}, {Qt::Key_R, {}}}, {{Qt::Key_R, Qt::ShiftModifier}},
        {{Qt::Key_R, Qt::ShiftModifier}, {Qt::Key_R, Qt::ShiftModifier}}};
    for (const auto &key : turns[a[0]])
        keyClick(key.first, key.second);
    if (a[1] > 0)
        keyClick(a[1] == 1 ? Qt::Key_H : Qt::Key_V);
    moveTo(QPoint(a[2], a[3]));
    drag(Qt::LeftButton, 0, {QPoint(a[2], a[3])});
    keyClick(Qt::Key_Escape);
}

// Opens the form for one of the layer's cells in view, sets what the arguments
// say (an emission radius of 0 starts none) and presses OK.
void RandomDriver::properties(const Args &a)
{
    useTool("radioPencil");
    QList<QPoint> cells;
    for (const Sector *sector : editor.layers->currentSectors()) {
        const QPoint cell = editor.view->mapToCanvas(QPoint(sector->data->mapX, sector->data->mapY));
        if (area.contains(cell))
            cells << cell;
    }
    if (cells.isEmpty())
        return;
    drag(Qt::LeftButton, 0, {cells.at(a[0] % cells.size())});
    ObjectPropertiesForm *form = editor.view->openForm();
    if (!form || !form->isVisible())
        return;
    auto *subtype = form->findChild<QComboBox *>("comboSubtype");
    if (subtype->count() > 0)
        subtype->setCurrentIndex(a[1] % subtype->count());
    if (!form->findChild<QGroupBox *>("groupLighting")->isHidden()) {
        form->findChild<QLineEdit *>("editLightingEmission")->setText(QString::number(a[2]));
        if (a[3] > 0) {
            QTest::mouseClick(form->findChild<QCheckBox *>("chkIsLightEmitter"), Qt::LeftButton);
            form->findChild<QSlider *>("sliderEmissionRadius")->setValue(1 + a[3]);
        }
    }
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
}

void RandomDriver::clear(const Args &)
{
    clickWidget(editor.window->findChild<QPushButton *>("btnMapLayerClear"));
    const QByteArray layer = layerInEffect(0);
    if (!editor.view->mapModel()->sectorsOf(layer).isEmpty())
        check("clear", QStringLiteral("the %1 layer still holds cells after Clear").arg(QString::fromUtf8(layer)));
}

void RandomDriver::undo(const Args &)
{
    keyClick(Qt::Key_Z, Qt::ControlModifier);
}

void RandomDriver::redo(const Args &)
{
    keyClick(Qt::Key_Y, Qt::ControlModifier);
}

// Pans with the wheel, Shift+wheel or a middle drag, or zooms with Ctrl+wheel,
// by one step at the cell of the last two arguments.
void RandomDriver::view(const Args &a)
{
    const QPoint cell(a[2], a[3]);
    const int sign = a[1] % 2 ? 1 : -1;
    const QPoint origin = editor.view->origin();
    switch (a[0]) {
    case 0:
        wheel(cell, QPoint(0, boundedStep(origin.y(), sign)), 0);
        break;
    case 1:
        wheel(cell, QPoint(0, boundedStep(origin.x(), sign)), 1);
        break;
    case 2: {
        // The content follows the pointer by a cell.
        const QPoint step = a[1] / 2 ? QPoint(boundedStep(origin.x(), sign), 0) : QPoint(0, boundedStep(origin.y(), sign));
        drag(Qt::MiddleButton, 0, {cell, cell + step});
        break;
    }
    default: {
        const int zoom = editor.view->zoomSliderValue();
        wheel(cell, QPoint(0, zoom + sign < 1 || zoom + sign > 4 ? -sign : sign), 2);
        break;
    }
    }
}

void RandomDriver::save(const Args &)
{
    clickWidget(editor.window->findChild<QPushButton *>("btnSaveMap"));
}

// Loads what was saved last, then saves it again at once: the same bytes.
void RandomDriver::load(const Args &)
{
    if (!QFile::exists(mapFile()))
        return;
    const QByteArray saved = fileBytes(mapFile());
    clickWidget(editor.window->findChild<QPushButton *>("btnLoadMap"));
    settle();
    if (!skipped.contains(QStringLiteral("roundtrip"))) {
        clickWidget(editor.window->findChild<QPushButton *>("btnSaveMap"));
        check("roundtrip", difference(saved, fileBytes(mapFile()), QStringLiteral("saved again after the load")));
    }
    baseline = invariants.mapBytes();
}

// Ctrl+Z back to the last load (or the start), which must give that map, then
// Ctrl+Y forward again, which must give the map of before.
void RandomDriver::rewind(const Args &)
{
    QUndoStack *history = editor.view->undoStack();
    if (history->count() >= history->undoLimit())
        return; // the first steps are no longer kept
    const QByteArray before = invariants.mapBytes();
    const int top = history->index();
    for (int done = 0; done < top; ++done) {
        keyClick(Qt::Key_Z, Qt::ControlModifier);
        if (history->index() != top - done - 1)
            check("history", QStringLiteral("Ctrl+Z left step %1 of %2 in place").arg(top - done).arg(top));
    }
    settle();
    check("rewind", difference(baseline, invariants.mapBytes(), QStringLiteral("every step undone")));
    for (int done = 0; done < top; ++done) {
        keyClick(Qt::Key_Y, Qt::ControlModifier);
        if (history->index() != done + 1)
            check("history", QStringLiteral("Ctrl+Y did not redo step %1 of %2").arg(done + 1).arg(top));
    }
    settle();
    check("rewind", difference(before, invariants.mapBytes(), QStringLiteral("every step redone")));
}

// ---- input ------------------------------------------------------------------

QPoint RandomDriver::windowPoint(const QPoint &canvasCell) const
{
    return editor.map->mapTo(editor.window.get(), editor.cellCenter(canvasCell.x(), canvasCell.y()));
}

// The tools ask where the pointer is, as they do for a person's mouse.
void RandomDriver::pointTo(const QPoint &windowPos) const
{
    QCursor::setPos(editor.window->mapToGlobal(windowPos));
}

// Each event goes through the window, as the window system delivers it, and the
// event loop runs after it: the pause of a person's hand.
void RandomDriver::press(const QPoint &cell, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) const
{
    const QPoint at = windowPoint(cell);
    pointTo(at);
    QTest::mousePress(editor.window->windowHandle(), button, modifiers, at);
}

void RandomDriver::moveTo(const QPoint &cell) const
{
    const QPoint at = windowPoint(cell);
    pointTo(at);
    QTest::mouseMove(editor.window->windowHandle(), at);
}

void RandomDriver::release(const QPoint &cell, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) const
{
    const QPoint at = windowPoint(cell);
    pointTo(at);
    QTest::mouseRelease(editor.window->windowHandle(), button, modifiers, at);
}

void RandomDriver::clickWidget(QWidget *widget) const
{
    const QPoint at = widget->mapTo(editor.window.get(), widget->rect().center());
    pointTo(at);
    QTest::mouseClick(editor.window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
}

// With modifiers, their keys go down first and up last, as a person presses them.
void RandomDriver::keyClick(Qt::Key key, Qt::KeyboardModifiers modifiers) const
{
    QTest::keyClick(editor.window->windowHandle(), key, modifiers);
}

void RandomDriver::wheel(const QPoint &cell, const QPoint &notches, int held) const
{
    const QPoint at = windowPoint(cell);
    pointTo(at);
    // The key first: Shift or Ctrl shows another layer, and with it other cell buttons.
    holdKey(held, true);
    QWidget *target = editor.window->childAt(at);
    // The widget under the pointer gets it and hands it on to the map, as Qt does.
    QWheelEvent event(target->mapFrom(editor.window.get(), at), editor.window->mapToGlobal(at), QPoint(),
                      notches * 120, Qt::NoButton, modifierOf(held), Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
    holdKey(held, false);
}

void RandomDriver::drag(Qt::MouseButton button, int held, const QList<QPoint> &cells)
{
    holdKey(held, true);
    press(cells.first(), button, modifierOf(held));
    for (const QPoint &cell : cells.mid(1))
        moveTo(cell);
    release(cells.last(), button, modifierOf(held));
    holdKey(held, false);
}

void RandomDriver::holdKey(int held, bool down) const
{
    if (held == 0)
        return;
    if (down)
        QTest::keyPress(editor.window->windowHandle(), keyOf(held));
    else
        QTest::keyRelease(editor.window->windowHandle(), keyOf(held));
}

// Two of the mode and tool keys typed back to back: each key's click lands a
// moment later, after both keys, as when a person types fast.
void RandomDriver::shortcutKeys(const Args &a)
{
    static const Qt::Key keys[] = {Qt::Key_E, Qt::Key_S, Qt::Key_L, Qt::Key_R, Qt::Key_O};
    keyClick(keys[a[0]]);
    keyClick(keys[a[1]]);
    const QList<QRadioButton *> radios = editor.window->findChildren<QRadioButton *>();
    (void)QTest::qWaitFor([&radios] {
        return std::none_of(radios.cbegin(), radios.cend(), [](const QRadioButton *r) { return r->isDown(); });
    });
}

QRadioButton *RandomDriver::radio(const char *name) const
{
    return editor.window->findChild<QRadioButton *>(QString::fromLatin1(name));
}

void RandomDriver::useTool(const char *radioName)
{
    if (!radio("radioPaint")->isChecked())
        clickWidget(radio("radioPaint"));
    if (!radio(radioName)->isChecked())
        clickWidget(radio(radioName));
}

void RandomDriver::useSelectMode()
{
    if (!radio("radioSelect")->isChecked())
        clickWidget(radio("radioSelect"));
}

// What a person does before the next action: a form left open is closed, the
// main window has the keyboard again, and removed cells are gone.
void RandomDriver::settle()
{
    if (ObjectPropertiesForm *form = editor.view->openForm(); form && form->isVisible())
        form->close();
    QCoreApplication::processEvents();
    editor.flushDeletes();
    if (!editor.window->isActiveWindow()) {
        editor.window->activateWindow();
        if (!QTest::qWaitForWindowActive(editor.window.get()))
            check("focus", QStringLiteral("the editor window did not become active again"));
    }
}

// ---- checks -----------------------------------------------------------------

void RandomDriver::check(const char *invariant, const QString &problem)
{
    if (problem.isEmpty() || skipped.contains(QString::fromLatin1(invariant)))
        return;
    std::printf("RANDOM-FAIL %s %d %s: %s\n", invariant, step, qPrintable(stepText), qPrintable(problem));
    std::fflush(stdout);
    std::fflush(stderr);
    // The map may be broken: leave before anything tears it down, but not
    // without the scratch folder.
    editor.dir.remove();
    std::_Exit(3);
}

void RandomDriver::checkAfterStep()
{
    check("edit", invariants.edit());
    check("model", invariants.model());
    check("selection", invariants.selection());
    check("buttons", invariants.buttons());
    check("tools", invariants.tools());
}

void RandomDriver::checkRemoved(const QList<QPoint> &canvasCells, const QByteArray &layer)
{
    settle();
    for (const QPoint &canvasCell : canvasCells) {
        const QPoint cell = editor.view->canvasToMap(canvasCell);
        if (cell.x() >= 0 && cell.y() >= 0 && editor.view->mapModel()->hasSectorAt(layer, cell.x(), cell.y()))
            check("erase", QStringLiteral("the erase left %1 cell (%2, %3) filled")
                                .arg(QString::fromUtf8(layer))
                                .arg(cell.x())
                                .arg(cell.y()));
    }
}

QByteArray RandomDriver::layerInEffect(int held) const
{
    if (held == 1)
        return LayerNames::Wall;
    if (held == 2)
        return LayerNames::Door;
    return editor.window->findChild<QComboBox *>("comboBoxMapLayer")->currentText().toUtf8();
}

QString RandomDriver::mapFile() const
{
    return editor.path("maps/level.map");
}
