#pragma once

#include "check/levelproblem.h"

#include <QJsonObject>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

class MapInput;

// "tessel-map check LEVEL.map...": runs the level check on each file and
// prints what it finds, one problem a line as compilers do (cells with the same
// problem share one), or as JSON, one problem per cell.
class CheckCommand
{
public:
    int run(const QStringList &arguments);

private:
    void checkFile(const QString &fileName);
    void printLines(const QString &fileName, const QList<LevelProblem> &problems) const;
    void printSummary(int fileCount) const;
    // The problem as it is on one of its cells.
    static QJsonObject json(const LevelProblem &problem, const QPoint &cell);

    bool asJson = false;
    bool warningsFail = false;
    int errors = 0;
    int warnings = 0;
    int unreadable = 0;
    QList<QJsonObject> files;
};
