#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// One finding of the level check, with the cell a designer has to look at.
struct LevelProblem
{
    enum class Severity { Error, Warning };

    Severity severity = Severity::Error;
    // Stable name of the check, e.g. "exit-unreachable", for tools and tests.
    QByteArray kind;
    QString message;
    QByteArray layer;
    // -1 when the problem belongs to the whole map (e.g. "no player start").
    qint32 mapX = -1;
    qint32 mapY = -1;

    bool hasCell() const { return mapX >= 0 && mapY >= 0; }
    bool isError() const { return severity == Severity::Error; }
    // "Map X 12, Map Y 7", as the properties form names a cell.
    static QString cellName(qint32 x, qint32 y);
    QString cellName() const { return cellName(mapX, mapY); }
    static QString severityName(Severity severity);
};
