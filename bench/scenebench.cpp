// The reference: the same cells drawn by a scene graph, one pixmap item per
// cell, the looks as tinted pixmaps. It does the same work per operation as the
// editor (same file, same region rules, same emission cells), nothing more.
#include "benchcommon.h"
#include "format/layernames.h"

#include "model/emission.h"
#include "view/iconcache.h"
#include "model/subtypetable.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QScrollBar>
#include <QSet>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

namespace {

quint64 cellKey(int x, int y)
{
    return (quint64(quint32(x)) << 32) | quint32(y);
}

// A grouping item that draws nothing itself.
class Group : public QGraphicsItem
{
public:
    Group() { setFlag(ItemHasNoContents); }
    QRectF boundingRect() const override { return QRectF(); }
    void paint(QPainter *, const QStyleOptionGraphicsItem *, QWidget *) override {}
};

struct Cell
{
    QGraphicsPixmapItem *item = nullptr;
    int x = 0;
    int y = 0;
    qint32 id = 0;
    QString path;
    QByteArray subtype;
    int emission = 10;
    QRgb look = 0;
};

struct Layer
{
    QByteArray name;
    Group *group = nullptr;
    QList<Cell *> cells;
    QHash<quint64, Cell *> index;
};

class SceneBench
{
public:
    SceneBench(Workspace &workspace, int side, int runs, Report &report, const QSize &viewSize)
        : workspace(workspace), side(side), runs(runs), report(report)
    {
        view.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setFrameShape(QFrame::NoFrame);
        view.resize(viewSize);
        view.show();
        paints.watch(view.viewport());
        settle();
    }

    ~SceneBench() { clearScene(); }

    void load();
    void save();
    void zoom();
    void pan();
    void switchLayers();
    void floodFill();
    void emission();
    void selectAndDelete();

private:
    void clearScene();
    void applyView();
    void readFile(const QString &file);
    Cell *addCell(Layer &layer, int x, int y, qint32 id, const QString &path, const QByteArray &subtype);
    void removeCell(Layer &layer, Cell *cell);
    void setLook(Cell *cell, const QColor &tint);
    void refresh(const QByteArray &current);
    Layer &layer(const QByteArray &name);
    QPixmap pixmap(const QString &path, const QColor &tint);
    int count() const;

    Workspace &workspace;
    const int side;
    const int runs;
    Report &report;
    QGraphicsView view;
    std::unique_ptr<QGraphicsScene> scene;
    QList<Layer> layers;
    QByteArray current = "Wall";
    QHash<QString, QPixmap> plain;
    QHash<QPair<QString, QRgb>, QPixmap> tinted;
    qint32 nextId = 100000;
    double scale = 1.0;
    int originX = 0;
    PaintCounter paints;
};

QPixmap SceneBench::pixmap(const QString &path, const QColor &tint)
{
    auto found = plain.constFind(path);
    if (found == plain.constEnd())
        found = plain.insert(path, QPixmap(path));
    if (!tint.isValid())
        return *found;
    const QPair<QString, QRgb> key(path, tint.rgba());
    auto done = tinted.constFind(key);
    if (done == tinted.constEnd())
        done = tinted.insert(key, IconCache::tinted(*found, tint));
    return *done;
}

Layer &SceneBench::layer(const QByteArray &name)
{
    for (Layer &entry : layers) {
        if (entry.name == name)
            return entry;
    }
    layers.append(Layer{name, new Group, {}, {}});
    scene->addItem(layers.last().group);
    return layers.last();
}

int SceneBench::count() const
{
    int total = 0;
    for (const Layer &entry : layers)
        total += entry.cells.size();
    return total;
}

// Map cell (0, 0) at the top-left corner, moved by the pan offset, as in the editor.
void SceneBench::applyView()
{
    view.setTransform(QTransform::fromScale(scale, scale));
    view.horizontalScrollBar()->setValue(qRound(-originX * 64 * scale));
    view.verticalScrollBar()->setValue(0);
}

void SceneBench::clearScene()
{
    for (Layer &entry : layers)
        qDeleteAll(entry.cells);
    layers.clear();
    view.setScene(nullptr);
    scene.reset();
}

Cell *SceneBench::addCell(Layer &target, int x, int y, qint32 id, const QString &path, const QByteArray &subtype)
{
    auto *cell = new Cell;
    cell->x = x;
    cell->y = y;
    cell->id = id;
    cell->path = path;
    cell->subtype = subtype;
    cell->item = new QGraphicsPixmapItem(pixmap(path, QColor()), target.group);
    cell->item->setPos(x * 64, y * 64);
    target.cells.append(cell);
    target.index.insert(cellKey(x, y), cell);
    return cell;
}

void SceneBench::removeCell(Layer &target, Cell *cell)
{
    target.index.remove(cellKey(cell->x, cell->y));
    target.cells.removeOne(cell);
    delete cell->item;
    delete cell;
}

void SceneBench::setLook(Cell *cell, const QColor &tint)
{
    const QRgb look = tint.isValid() ? tint.rgba() : 0;
    if (look == cell->look)
        return;
    cell->look = look;
    cell->item->setPixmap(pixmap(cell->path, tint));
}

void SceneBench::refresh(const QByteArray &name)
{
    current = name;
    static const QList<QByteArray> alone{"Ceil", "Floor", "Lightmap"};
    for (Layer &entry : layers) {
        if (alone.contains(name)) {
            if (entry.name != "Wall")
                entry.group->setVisible(entry.name == name);
        } else {
            entry.group->setVisible(!alone.contains(entry.name));
        }
        for (Cell *cell : std::as_const(entry.cells)) {
            if (entry.name != name) {
                setLook(cell, QColor(0, 0, 155));
            } else if (name == "Lightmap") {
                const int e = std::clamp(cell->emission, 0, 255);
                setLook(cell, QColor(e, e, e));
            } else {
                setLook(cell, QColor());
            }
        }
    }
}

void SceneBench::readFile(const QString &file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return;
    const QString folder = QFileInfo(file).absolutePath();
    QList<QPair<QByteArray, QList<QList<QByteArray>>>> grids;
    QHash<QByteArray, QList<QByteArray>> definitions;
    QByteArray section;
    for (QByteArray line : in.readAll().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('#')) {
            section = line.mid(1);
            if (section != "Definitions")
                grids.append({section, {}});
        } else if (!line.isEmpty()) {
            if (section == "Definitions") {
                const QList<QByteArray> fields = line.split(',');
                definitions.insert(fields.first(), fields);
            } else if (!grids.isEmpty()) {
                QList<QByteArray> values = line.split(',');
                values.removeAll(QByteArray());
                grids.last().second.append(values);
            }
        }
    }
    for (const auto &grid : std::as_const(grids)) {
        Layer &target = layer(grid.first);
        for (int y = 0; y < grid.second.size(); ++y) {
            const QList<QByteArray> &row = grid.second.at(y);
            for (int x = 0; x < row.size(); ++x) {
                if (row.at(x) == "0")
                    continue;
                const QList<QByteArray> fields = definitions.value(row.at(x));
                if (fields.size() < 4)
                    continue;
                const bool light = fields.at(1) == "Lightmap";
                const QString path = light ? QStringLiteral("assets/lamp.png")
                                           : folder + QLatin1Char('/') + QString::fromUtf8(fields.at(3));
                Cell *cell = addCell(target, x, y, nextId++, path, fields.at(2));
                if (light)
                    cell->emission = fields.value(3).toInt();
            }
        }
    }
}

void SceneBench::load()
{
    const QString file = workspace.mapFile(side);
    for (int run = 0; run < runs; ++run) {
        clearScene();
        settle();
        Stopwatch timer(paints);
        scene.reset(new QGraphicsScene);
        scene->setSceneRect(-64 * 32, -64 * 32, side * 64 + 64 * 64, side * 64 + 64 * 64);
        for (const QByteArray &name : layerOrder())
            layer(name);
        readFile(file);
        refresh("Wall");
        view.setScene(scene.get());
        originX = 0;
        applyView();
        settle();
        timer.record(report, "load");
    }
    report.add("sectors", count());
}

void SceneBench::save()
{
    const QString file = workspace.path(QStringLiteral("out/reference.map"));
    const QString copies = workspace.path(QStringLiteral("out/reference"));
    for (int run = 0; run < runs; ++run) {
        QDir(copies).removeRecursively();
        QFile::remove(file);
        Stopwatch timer(paints);
        int width = 0, height = 0;
        for (const Layer &entry : std::as_const(layers)) {
            for (const Cell *cell : entry.cells) {
                width = std::max(width, cell->x);
                height = std::max(height, cell->y);
            }
        }
        QByteArray text;
        QByteArray definitions = "#Definitions\r\n";
        QSet<QPair<qint32, QByteArray>> defined;
        QSet<QString> used;
        for (const Layer &entry : std::as_const(layers)) {
            text += '#' + entry.name + "\r\n";
            for (int y = 0; y <= height; ++y) {
                for (int x = 0; x <= width; ++x) {
                    const Cell *cell = entry.index.value(cellKey(x, y));
                    text += (cell ? QByteArray::number(cell->id) : QByteArray("0")) + ',';
                    if (cell && !defined.contains({cell->id, cell->subtype})) {
                        defined.insert({cell->id, cell->subtype});
                        definitions += QByteArray::number(cell->id) + ',' + entry.name + ',' + cell->subtype + ','
                            + "reference/" + QFileInfo(cell->path).fileName().toUtf8() + "\r\n";
                        if (entry.name != "Lightmap")
                            used.insert(cell->path);
                    }
                }
                text += "\r\n";
            }
            text += "\r\n";
        }
        text += definitions;
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(text);
        out.close();
        QDir().mkpath(copies);
        for (const QString &path : std::as_const(used))
            QFile::copy(path, copies + QLatin1Char('/') + QFileInfo(path).fileName());
        settle();
        timer.record(report, "save", false);
    }
}

void SceneBench::zoom()
{
    for (int run = 0; run < runs; ++run) {
        scale = scale == 1.0 ? 0.75 : 1.0;
        Stopwatch timer(paints);
        applyView();
        settle();
        timer.record(report, "zoom");
    }
    scale = 1.0;
    applyView();
    settle();
}

void SceneBench::pan()
{
    for (int run = 0; run < runs; ++run) {
        Stopwatch timer(paints);
        originX += run % 2 == 0 ? 1 : -1;
        applyView();
        settle();
        timer.record(report, "pan");
    }
    originX = 0;
    applyView();
    settle();
}

void SceneBench::switchLayers()
{
    for (int run = 0; run < runs; ++run) {
        const QByteArray next = current == "Floor" ? "Ceil" : "Floor";
        Stopwatch timer(paints);
        refresh(next);
        settle();
        timer.record(report, "layer");
    }
}

void SceneBench::floodFill()
{
    refresh("Wall");
    settle();
    Layer &walls = layer("Wall");
    const Layer &doors = layer("Door");
    for (int run = 0; run < runs; ++run) {
        for (int y = Recipe::roomTop; y < Recipe::roomTop + Recipe::roomHeight; ++y) {
            for (int x = Recipe::roomLeft; x < Recipe::roomLeft + Recipe::roomWidth; ++x) {
                if (Cell *cell = walls.index.value(cellKey(x, y)))
                    removeCell(walls, cell);
            }
        }
        settle();
        Stopwatch timer(paints);
        // The same region rules: 4-connected, through empty cells, bounded by
        // walls and doors, abandoned at 1000 cells.
        QList<QPoint> region;
        QSet<quint64> seen;
        bool aborted = false;
        std::function<void(int, int)> visit = [&](int x, int y) {
            if (aborted || x < 0 || y < 0)
                return;
            if (region.size() == 1000) {
                aborted = true;
                return;
            }
            const quint64 key = cellKey(x, y);
            if (walls.index.contains(key) || doors.index.contains(key) || seen.contains(key))
                return;
            seen.insert(key);
            region.append(QPoint(x, y));
            visit(x + 1, y);
            visit(x - 1, y);
            visit(x, y + 1);
            visit(x, y - 1);
        };
        visit(Recipe::roomLeft + 1, Recipe::roomTop + 1);
        if (!aborted) {
            const QString path = QStringLiteral("textures/Wall/") + Workspace::wallTexture();
            for (const QPoint &cell : std::as_const(region))
                addCell(walls, cell.x(), cell.y(), nextId, path, "Solid");
        }
        settle();
        timer.record(report, "fill");
        if (region.size() != 999)
            report.note("fill", QStringLiteral("reference region of %1 cells").arg(region.size()));
    }
}

void SceneBench::emission()
{
    refresh("Lightmap");
    settle();
    Layer &lights = layer("Lightmap");
    LightPoint point;
    point.mapX = Recipe::lightX;
    point.mapY = Recipe::lightY;
    point.intensity = Recipe::lightLevel;
    point.radius = Recipe::lightRadius;
    for (int run = 0; run < runs; ++run) {
        QList<Cell *> made;
        Stopwatch timer(paints);
        for (const LightPoint &cell : computeEmissionCells(point)) {
            Cell *target = lights.index.value(cellKey(cell.mapX, cell.mapY));
            int level = cell.intensity;
            if (!target) {
                target = addCell(lights, cell.mapX, cell.mapY, nextId++, QStringLiteral("assets/lamp.png"), "Static");
                made.append(target);
            } else {
                level = std::max(level, target->emission);
            }
            target->emission = level;
            setLook(target, QColor(level, level, level));
        }
        settle();
        timer.record(report, "emission");
        for (Cell *cell : std::as_const(made))
            removeCell(lights, cell);
        settle();
    }
}

void SceneBench::selectAndDelete()
{
    refresh("Floor");
    scale = 0.25;
    applyView();
    settle();
    Layer &floors = layer("Floor");
    const int last = Recipe::selectSide - 1;
    const QString path = QStringLiteral("textures/Floor/") + Workspace::floorTexture();
    for (int run = 0; run < runs; ++run) {
        QList<Cell *> selection;
        Stopwatch timer(paints);
        for (Cell *cell : std::as_const(floors.cells)) {
            if (cell->x >= 0 && cell->x <= last && cell->y >= 0 && cell->y <= last) {
                selection.append(cell);
                setLook(cell, QColor(0, 155, 0));
            }
        }
        settle();
        timer.record(report, "select");

        timer.restart();
        const QSet<Cell *> doomed(selection.begin(), selection.end());
        floors.cells.erase(std::remove_if(floors.cells.begin(), floors.cells.end(),
                                          [&](Cell *cell) { return doomed.contains(cell); }),
                           floors.cells.end());
        for (Cell *cell : std::as_const(selection)) {
            floors.index.remove(cellKey(cell->x, cell->y));
            delete cell->item;
            delete cell;
        }
        settle();
        timer.record(report, "delete");

        for (int y = 0; y <= last; ++y) {
            for (int x = 0; x <= last; ++x)
                addCell(floors, x, y, nextId, path, QByteArray());
        }
        settle();
    }
}

} // namespace

void runScenePhase(int side, int runs, const QSize &viewSize)
{
    Workspace workspace;
    Report report;
    {
        SceneBench bench(workspace, side, runs, report, viewSize);
        const double window = peakMemoryMb();
        report.add("memorywindow", window);
        bench.load();
        bench.save();
        bench.zoom();
        bench.pan();
        bench.switchLayers();
        bench.floodFill();
        bench.emission();
        bench.selectAndDelete();
        const double peak = peakMemoryMb();
        report.add("memory", peak);
        report.add("memorywork", peak - window);
    }
    report.print();
}
