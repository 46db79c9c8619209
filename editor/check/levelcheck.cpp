#include "check/levelcheck.h"

#include "check/levelgrid.h"
#include "check/levelvocabulary.h"
#include "check/reachability.h"
#include "format/layernames.h"

#include <algorithm>
#include <utility>

namespace LV = LevelVocabulary;
using Severity = LevelProblem::Severity;

namespace {

QString quoted(const QByteArray &name)
{
    return QLatin1Char('"') + QString::fromUtf8(name) + QLatin1Char('"');
}

// Names from a file can be anything; a message quotes only their start.
QString shortName(const QByteArray &name)
{
    const QString text = QString::fromUtf8(name);
    return text.size() <= 40 ? text : text.left(40) + QStringLiteral("...");
}

// "a Soldier (Actor)", "a solid Sprite".
QString objectName(const QByteArray &layer, const QByteArray &subtype)
{
    if (LV::isSolidSprite(layer, subtype))
        return QStringLiteral("a solid Sprite");
    return QStringLiteral("a %1 (%2)").arg(shortName(subtype), shortName(layer));
}

// A texture path keeps its end, where the file name is.
QString shortPath(const QByteArray &path)
{
    const QString text = QString::fromUtf8(path);
    return text.size() <= 60 ? text : QStringLiteral("...") + text.right(57);
}

template<typename Positioned>
bool byPosition(const Positioned &a, const Positioned &b)
{
    return a.y != b.y ? a.y < b.y : a.x < b.x;
}

} // namespace

QList<LevelProblem> LevelCheck::run(const LevelSnapshot &level)
{
    LevelCheck check(level);
    return check.found.take();
}

LevelCheck::~LevelCheck() = default;

LevelCheck::LevelCheck(const LevelSnapshot &level)
{
    collect(level);
    checkStartAndExit();
    const LevelGrid::Axis columns(usedXs);
    const LevelGrid::Axis rows(usedYs);
    if (!LevelGrid::fits(columns, rows)) {
        add(Severity::Error, "too-scattered", QByteArray(), -1, -1,
            QStringLiteral("the cells are spread over %1 columns and %2 rows, too many to check")
                .arg(columns.size()).arg(rows.size()));
        checkKeysAndDoors();
        checkTextures(level);
        return;
    }
    grid = std::make_unique<LevelGrid>(columns, rows);
    buildGrid(level);
    checkInsideWalls();
    checkKeysAndDoors();
    checkDoorFrames();
    checkWalking();
    checkTextures(level);
}

void LevelCheck::collect(const LevelSnapshot &level)
{
    for (const LevelLayer &layer : level.layers) {
        for (const LevelCell &cell : layer.cells) {
            // The file has no place for a cell left of or above the map.
            if (cell.mapX < 0 || cell.mapY < 0)
                continue;
            usedXs.append(cell.mapX);
            usedYs.append(cell.mapY);
            const Object object{layer.name, cell.subtype, cell.mapX, cell.mapY};
            if (layer.name == LayerNames::Actor || layer.name == LayerNames::Item || LV::isSolidSprite(layer.name, cell.subtype))
                objects.append(object);
            if (LV::isPlayer(layer.name, cell.subtype))
                players.append(object);
            if (LV::isExit(layer.name, cell.subtype))
                exits.append(object);
            if (layer.name == LayerNames::Item && LV::keyColour(cell.subtype) >= 0)
                keys[LV::keyColour(cell.subtype)].append(object);
            if (layer.name == LayerNames::Door) {
                doors.append(object);
                if (LV::keyDoorColour(cell.subtype) >= 0)
                    keyDoors[LV::keyDoorColour(cell.subtype)].append(object);
            }
        }
    }
    // The editor's lists are in painting order; problems should not depend on it.
    for (QVector<Object> *list : {&players, &exits, &objects, &doors})
        std::stable_sort(list->begin(), list->end(), byPosition<Object>);
    for (int colour = 0; colour < LV::keyColours; ++colour) {
        std::stable_sort(keys[colour].begin(), keys[colour].end(), byPosition<Object>);
        std::stable_sort(keyDoors[colour].begin(), keyDoors[colour].end(), byPosition<Object>);
    }
}

void LevelCheck::checkStartAndExit()
{
    if (players.isEmpty())
        add(Severity::Error, "no-player", LayerNames::Actor, -1, -1,
            QStringLiteral("there is no player start (an Actor \"Player\")"));
    const QString first = LevelProblem::cellName(players.value(0).x, players.value(0).y);
    for (int i = 1; i < players.size(); ++i)
        add(Severity::Error, "many-players", players.at(i),
            QStringLiteral("a second player start; the first one is at %1").arg(first),
            QStringLiteral("player starts besides the first one at %1").arg(first));
    if (exits.isEmpty())
        add(Severity::Error, "no-exit", LayerNames::Item, -1, -1,
            QStringLiteral("there is no exit (an Item \"LevelEnd\")"));
}

// The game shows nothing where an image is missing; a refused one the editor
// never reads, so the next save leaves it out.
void LevelCheck::checkTextures(const LevelSnapshot &level)
{
    for (const LevelLayer &layer : level.layers) {
        for (const LevelCell &cell : layer.cells) {
            if (cell.texture < 0 || cell.texture >= level.textures.size() || cell.mapX < 0 || cell.mapY < 0)
                continue;
            const LevelTexture &texture = level.textures.at(cell.texture);
            if (texture.verdict == TexturePath::Verdict::Accepted)
                continue;
            const QString name = shortPath(texture.path);
            if (texture.verdict == TexturePath::Verdict::Missing)
                add(Severity::Warning, "texture-missing", layer.name, cell.mapX, cell.mapY,
                    QStringLiteral("the texture \"%1\" is missing beside the map").arg(name),
                    QStringLiteral("cells use the texture \"%1\", which is missing beside the map").arg(name));
            else if (texture.verdict == TexturePath::Verdict::Refused)
                add(Severity::Warning, "texture-refused", layer.name, cell.mapX, cell.mapY,
                    QStringLiteral("the texture \"%1\" is refused (%2)").arg(name, texture.reason),
                    QStringLiteral("cells use the texture \"%1\", which is refused (%2)").arg(name, texture.reason));
        }
    }
}

void LevelCheck::buildGrid(const LevelSnapshot &level)
{
    for (const LevelLayer &layer : level.layers) {
        quint16 flag = 0;
        if (layer.name == LayerNames::Wall)
            flag = LevelGrid::Wall;
        else if (layer.name == LayerNames::Floor)
            flag = LevelGrid::Floor;
        else if (layer.name == LayerNames::Ceil)
            flag = LevelGrid::Ceil;
        for (const LevelCell &cell : layer.cells) {
            if (cell.mapX < 0 || cell.mapY < 0)
                continue;
            const int at = grid->cellAt(cell.mapX, cell.mapY);
            grid->add(at, flag);
            if (LV::isSolidSprite(layer.name, cell.subtype))
                grid->add(at, LevelGrid::SolidSprite);
            if (LV::isExit(layer.name, cell.subtype))
                grid->add(at, LevelGrid::Exit);
            if (layer.name == LayerNames::Door) {
                const int colour = LV::keyDoorColour(cell.subtype);
                grid->add(at, colour >= 0 ? LevelGrid::KeyDoor : LevelGrid::Door);
                grid->setDoorColour(at, std::max(colour, 0));
            }
            if (layer.name == LayerNames::Item && LV::keyColour(cell.subtype) >= 0) {
                grid->add(at, LevelGrid::Key);
                grid->setKeyColour(at, LV::keyColour(cell.subtype));
            }
        }
    }
}

void LevelCheck::checkInsideWalls()
{
    for (const Object &object : std::as_const(objects)) {
        if (!grid->has(cellOf(object), LevelGrid::Wall))
            continue;
        reported.insert(cellOf(object));
        const QString name = objectName(object.layer, object.subtype);
        add(Severity::Error, "inside-wall", object, QStringLiteral("%1 is inside a Wall cell").arg(name),
            QStringLiteral("Wall cells hold %1").arg(name));
    }
}

void LevelCheck::checkKeysAndDoors()
{
    for (int colour = 0; colour < LV::keyColours; ++colour) {
        if (keys[colour].isEmpty()) {
            for (const Object &door : std::as_const(keyDoors[colour]))
                add(Severity::Warning, "key-missing", door,
                    QStringLiteral("a %1 whose key (an Item %2) is nowhere on the map")
                        .arg(QString::fromUtf8(door.subtype), quoted(LV::keyName(colour))),
                    QStringLiteral("%1s whose key (an Item %2) is nowhere on the map")
                        .arg(QString::fromUtf8(door.subtype), quoted(LV::keyName(colour))));
        }
        if (keyDoors[colour].isEmpty()) {
            for (const Object &key : std::as_const(keys[colour]))
                add(Severity::Warning, "key-without-door", key,
                    QStringLiteral("a %1 with no %2 on the map")
                        .arg(QString::fromUtf8(key.subtype), QString::fromUtf8(LV::keyDoorName(colour))),
                    QStringLiteral("%1s with no %2 on the map")
                        .arg(QString::fromUtf8(key.subtype), QString::fromUtf8(LV::keyDoorName(colour))));
        }
    }
}

void LevelCheck::checkDoorFrames()
{
    // A folded line next to a door is empty, so neighbours on the grid are
    // neighbours on the map as far as walls go.
    auto wallAt = [this](int x, int y) {
        return x >= 0 && y >= 0 && x < grid->width() && y < grid->height()
            && grid->has(grid->index(x, y), LevelGrid::Wall);
    };
    for (const Object &door : std::as_const(doors)) {
        const int x = grid->xOf(cellOf(door));
        const int y = grid->yOf(cellOf(door));
        const bool across = wallAt(x - 1, y) && wallAt(x + 1, y);
        const bool along = wallAt(x, y - 1) && wallAt(x, y + 1);
        if (!across && !along)
            add(Severity::Warning, "door-unframed", door,
                QStringLiteral("a door without walls on two opposite sides"),
                QStringLiteral("doors without walls on two opposite sides"));
    }
}

void LevelCheck::checkWalking()
{
    if (players.isEmpty())
        return;
    const Reachability reach(*grid, cellOf(players.first()));
    checkExitReached(reach);
    checkEdges(reach);
    checkUnreached(reach);
    checkFloorAndCeil(reach);
}

bool LevelCheck::reachesExit(const Reachability &reach) const
{
    for (const Object &exit : exits) {
        if (reach.reached(cellOf(exit)))
            return true;
    }
    return false;
}

void LevelCheck::checkExitReached(const Reachability &reach)
{
    if (exits.isEmpty() || reachesExit(reach))
        return;
    reported.insert(cellOf(exits.first()));
    add(Severity::Error, "exit-unreachable", exits.first(),
        QStringLiteral("the exit cannot be reached from the player start (%1)").arg(blockReason(reach)));
}

// Names the key door that stands in the way, and why it stays shut.
QString LevelCheck::blockReason(const Reachability &reach) const
{
    const QVector<int> locked = reach.lockedDoors();
    if (locked.isEmpty())
        return QStringLiteral("no open way leads there");
    const int start = cellOf(players.first());
    // Prefer a door whose colour alone opens the way to the exit.
    int blocking = locked.first();
    quint8 tried = 0;
    for (int door : locked) {
        const quint8 colourBit = quint8(1u << grid->doorColour(door));
        if (tried & colourBit)
            continue;
        tried |= colourBit;
        if (reachesExit(Reachability(*grid, start, reach.heldKeys() | colourBit))) {
            blocking = door;
            break;
        }
    }
    const int colour = grid->doorColour(blocking);
    QString why;
    auto keyReached = [this, colour](const Reachability &trial) {
        for (const Object &key : keys[colour]) {
            if (trial.reached(cellOf(key)))
                return true;
        }
        return false;
    };
    if (keys[colour].isEmpty())
        why = QStringLiteral("whose key is nowhere on the map");
    else if (keyReached(Reachability(*grid, start, reach.heldKeys(), blocking)))
        why = QStringLiteral("whose key lies behind it");
    else if (keyReached(Reachability(*grid, start, reach.heldKeys() | quint8(1u << colour))))
        why = QStringLiteral("whose key lies behind another %1").arg(QString::fromUtf8(LV::keyDoorName(colour)));
    else
        why = QStringLiteral("whose key cannot be reached");
    return QStringLiteral("blocked by the %1 at %2, %3")
        .arg(QString::fromUtf8(LV::keyDoorName(colour)), at(blocking), why);
}

// Everything outside the map's extent is open ground in the game, so every
// reachable edge cell is a way out. Neighbouring ones are reported together.
void LevelCheck::checkEdges(const Reachability &reach)
{
    struct EdgeCell
    {
        int cell;
        qint64 length;   // map cells along the edge that it stands for
        qint32 startX;   // the first and the last of them, walking clockwise
        qint32 startY;
        qint32 endX;
        qint32 endY;
    };
    const LevelGrid::Axis &columns = grid->columnAxis();
    const LevelGrid::Axis &rows = grid->rowAxis();
    const int w = grid->width();
    const int h = grid->height();
    QVector<EdgeCell> ring; // the edge cells once each, clockwise from the top left
    for (int x = 0; x < w; ++x)
        ring.append({grid->index(x, 0), columns.span(x), columns.first(x), rows.first(0), columns.last(x), rows.first(0)});
    for (int y = 1; y < h; ++y)
        ring.append({grid->index(w - 1, y), rows.span(y), columns.last(w - 1), rows.first(y), columns.last(w - 1),
                     rows.last(y)});
    if (h > 1) {
        for (int x = w - 2; x >= 0; --x)
            ring.append({grid->index(x, h - 1), columns.span(x), columns.last(x), rows.last(h - 1), columns.first(x),
                         rows.last(h - 1)});
    }
    if (w > 1) {
        for (int y = h - 2; y >= 1; --y)
            ring.append({grid->index(0, y), rows.span(y), columns.first(0), rows.last(y), columns.first(0),
                         rows.first(y)});
    }
    // Start right after a closed cell, so that no run is cut in two.
    int first = 0;
    for (int i = 0; i < ring.size(); ++i) {
        if (!reach.reached(ring.at(i).cell)) {
            first = i + 1;
            break;
        }
    }
    QVector<EdgeCell> run;
    auto report = [&]() {
        if (run.isEmpty())
            return;
        qint64 length = 0;
        for (const EdgeCell &edge : std::as_const(run))
            length += edge.length;
        const QString message = length == 1
            ? QStringLiteral("the player can walk off the map: this cell on its edge is open")
            : QStringLiteral("the player can walk off the map: %1 open cells on its edge, from here to %2")
                  .arg(length).arg(LevelProblem::cellName(run.last().endX, run.last().endY));
        add(Severity::Error, "walk-off-map", LayerNames::Wall, run.first().startX, run.first().startY, message,
            QStringLiteral("separate open cells on its edge let the player walk off the map"));
        run.clear();
    };
    for (int step = 0; step < ring.size(); ++step) {
        const EdgeCell &edge = ring.at((first + step) % ring.size());
        if (reach.reached(edge.cell))
            run.append(edge);
        else
            report();
    }
    report();
}

void LevelCheck::checkUnreached(const Reachability &reach)
{
    const int start = cellOf(players.first());
    for (const Object &object : std::as_const(objects)) {
        const int cell = cellOf(object);
        if (cell == start || reach.reached(cell) || reported.contains(cell))
            continue;
        if (LV::isSolidSprite(object.layer, object.subtype))
            continue;
        const QString name = objectName(object.layer, object.subtype);
        add(Severity::Warning, "unreachable", object, QStringLiteral("the player can never reach %1").arg(name),
            QStringLiteral("unreachable cells hold %1").arg(name));
    }
}

void LevelCheck::checkFloorAndCeil(const Reachability &reach)
{
    const char *const kind = "no-floor-or-ceil";
    const LevelGrid::Axis &columns = grid->columnAxis();
    const LevelGrid::Axis &rows = grid->rowAxis();
    qint64 total = 0;
    int listed = 0;
    for (int cell = 0; cell < grid->cellCount(); ++cell) {
        if (!reach.reached(cell) || grid->has(cell, LevelGrid::Door | LevelGrid::KeyDoor))
            continue;
        const bool floor = grid->has(cell, LevelGrid::Floor);
        const bool ceil = grid->has(cell, LevelGrid::Ceil);
        if (floor && ceil)
            continue;
        total += grid->weight(cell);
        if (listed >= ProblemList::listed)
            continue;
        const QString lacks = !floor && !ceil ? QStringLiteral("no Floor and no Ceil")
                                              : floor ? QStringLiteral("no Ceil") : QStringLiteral("no Floor");
        const QString message = QStringLiteral("the player can reach this cell, but it has %1").arg(lacks);
        const QString many = QStringLiteral("reachable cells have %1").arg(lacks);
        // A folded cell stands for a block of empty map cells; a map without any
        // floor has millions of them, so only the listed ones are visited.
        const int x = grid->xOf(cell);
        const int y = grid->yOf(cell);
        for (qint32 mapY = rows.first(y); mapY <= rows.last(y) && listed < ProblemList::listed; ++mapY) {
            for (qint32 mapX = columns.first(x); mapX <= columns.last(x) && listed < ProblemList::listed; ++mapX) {
                add(Severity::Warning, kind, floor ? LayerNames::Ceil : LayerNames::Floor, mapX, mapY, message, many);
                ++listed;
            }
        }
    }
    if (total > listed)
        found.addUnlisted(kind, total - listed);
}

int LevelCheck::cellOf(const Object &object) const
{
    return grid->cellAt(object.x, object.y);
}

QString LevelCheck::at(int cell) const
{
    return LevelProblem::cellName(grid->mapX(cell), grid->mapY(cell));
}

void LevelCheck::add(Severity severity, const char *kind, const QByteArray &layer, qint32 x, qint32 y,
                     const QString &message, const QString &manyMessage)
{
    LevelProblem problem;
    problem.severity = severity;
    problem.kind = kind;
    problem.layer = layer;
    problem.mapX = x;
    problem.mapY = y;
    problem.message = message;
    problem.manyMessage = manyMessage;
    found.add(problem);
}

void LevelCheck::add(Severity severity, const char *kind, const Object &object, const QString &message,
                     const QString &manyMessage)
{
    add(severity, kind, object.layer, object.x, object.y, message, manyMessage);
}
