#pragma once

#include "check/levelproblem.h"
#include "check/levelsnapshot.h"
#include "check/problemlist.h"

#include <QList>
#include <QSet>
#include <QVector>
#include <memory>

class LevelGrid;
class Reachability;

// Can the player finish this level? Finds what keeps a level from working in
// the game: start and exit, the way between them through key doors, gaps in
// the outer wall, objects inside walls, and the usual slips (keys without
// doors, cells without floor or ceiling, doors without a frame, objects out of
// reach, images missing beside the map). A pure function of the snapshot;
// errors come before warnings.
class LevelCheck
{
public:
    static QList<LevelProblem> run(const LevelSnapshot &level);

    ~LevelCheck();

private:
    struct Object
    {
        QByteArray layer;
        QByteArray subtype;
        qint32 x;
        qint32 y;
    };

    explicit LevelCheck(const LevelSnapshot &level);
    void collect(const LevelSnapshot &level);
    void checkStartAndExit();
    void checkTextures(const LevelSnapshot &level);
    void buildGrid(const LevelSnapshot &level);
    void checkInsideWalls();
    void checkKeysAndDoors();
    void checkDoorFrames();
    void checkWalking();
    void checkExitReached(const Reachability &reach);
    QString blockReason(const Reachability &reach) const;
    bool reachesExit(const Reachability &reach) const;
    void checkEdges(const Reachability &reach);
    void checkUnreached(const Reachability &reach);
    void checkFloorAndCeil(const Reachability &reach);
    int cellOf(const Object &object) const;
    QString at(int cell) const;
    // manyMessage: the message for several cells (LevelProblem::manyMessage).
    void add(LevelProblem::Severity severity, const char *kind, const QByteArray &layer,
             qint32 x, qint32 y, const QString &message, const QString &manyMessage = QString());
    void add(LevelProblem::Severity severity, const char *kind, const Object &object,
             const QString &message, const QString &manyMessage = QString());

    ProblemList found;
    QVector<qint32> usedXs;
    QVector<qint32> usedYs;
    QVector<Object> players, exits, objects, doors;
    QVector<Object> keys[4], keyDoors[4];
    std::unique_ptr<LevelGrid> grid;
    // Cells already reported as errors, so that no warning repeats them.
    QSet<int> reported;
};
