// The level check's share of the benchmark: a generated level of rooms, as
// many sectors as the editor's map of the same side, checked again and again.
// The check must stay quick enough to rerun after every edit.
#include "benchcommon.h"

#include "check/levelcheck.h"

#include <QElapsedTimer>

namespace {

// Rooms of 8 x 8 cells with a door in the middle of every wall between them, a
// closed outer wall, floor and ceiling everywhere, a soldier and an item in
// each room, a light in each room's corner; the last column of rooms, with the
// exit, lies behind blue key doors. side % 8 == 5 keeps that column three wide
// with a door into each of its rooms but the bottom one.
LevelSnapshot roomsLevel(int side)
{
    const int lastWall = side - 5;
    LevelLayer ceil{"Ceil", {}}, wall{"Wall", {}}, floor{"Floor", {}}, door{"Door", {}};
    LevelLayer actor{"Actor", {}}, item{"Item", {}}, lightmap{"Lightmap", {}};
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const bool outer = x == 0 || y == 0 || x == side - 1 || y == side - 1;
            const bool between = x % 8 == 0 || y % 8 == 0;
            const bool doorway = !outer && ((x % 8 == 0 && y % 8 == 4) || (y % 8 == 0 && x % 8 == 4));
            if ((outer || between) && !doorway) {
                wall.cells.append(LevelCell{x, y, "Solid", {}});
                continue;
            }
            floor.cells.append(LevelCell{x, y, "", {}});
            ceil.cells.append(LevelCell{x, y, "", {}});
            if (doorway)
                door.cells.append(LevelCell{x, y, x == lastWall ? "BlueKeyDoor" : "Solid", {}});
            if (x % 8 == 4 && y % 8 == 4)
                actor.cells.append(LevelCell{x, y, "Soldier", {}});
            if (x % 8 == 2 && y % 8 == 6)
                item.cells.append(LevelCell{x, y, "Healthpack", {}});
            if (x % 8 == 1 && y % 8 == 1)
                lightmap.cells.append(LevelCell{x, y, "Static", {}});
        }
    }
    actor.cells.append(LevelCell{2, 2, "Player", {}});
    item.cells.append(LevelCell{3, 2, "BlueKey", {}});
    item.cells.append(LevelCell{side - 3, side - 9, "LevelEnd", {}});
    return LevelSnapshot{{ceil, wall, floor, door, actor, {"Sprite", {}}, item, lightmap}};
}

int sectorCount(const LevelSnapshot &level)
{
    int count = 0;
    for (const LevelLayer &layer : level.layers)
        count += layer.cells.size();
    return count;
}

} // namespace

void runCheckPhase(int side, int runs)
{
    // A side whose level holds at least as many sectors as the editor's map.
    int levelSide = side - side % 8 + 5;
    while (sectorCount(roomsLevel(levelSide)) < Recipe::sectorCount(side))
        levelSide += 8;
    const LevelSnapshot level = roomsLevel(levelSide);
    Report report;
    report.note("check", QStringLiteral("the level check's level: %1 sectors on %2 x %2 cells")
                             .arg(sectorCount(level)).arg(levelSide));
    QList<LevelProblem> problems;
    for (int run = 0; run < runs; ++run) {
        const double cpuStart = Stopwatch::cpuMs();
        QElapsedTimer timer;
        timer.start();
        problems = LevelCheck::run(level);
        report.add("check", elapsedMs(timer));
        report.add("cpu:check", Stopwatch::cpuMs() - cpuStart);
    }
    if (!problems.isEmpty())
        report.note("check", QStringLiteral("the level check found %1 problems in its generated level, first: %2 at %3")
                                 .arg(problems.size()).arg(problems.first().message, problems.first().cellName()));
    report.print();
}
