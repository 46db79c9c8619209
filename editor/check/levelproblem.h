#pragma once

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QVector>
#include <QtGlobal>

// One finding of the level check, with the cells a designer has to look at:
// the same problem on several cells is one finding (see ProblemList).
struct LevelProblem
{
    enum class Severity { Error, Warning };

    Severity severity = Severity::Error;
    // Stable name of the check, e.g. "exit-unreachable", for tools and tests.
    QByteArray kind;
    // What is wrong with one cell, or with the whole map.
    QString message;
    // The same for several cells, after their count ("reachable cells have no
    // Ceil"); empty when the problem never repeats on other cells.
    QString manyMessage;
    QByteArray layer;
    // The first cell; -1 when the problem belongs to the whole map (e.g. "no
    // player start").
    qint32 mapX = -1;
    qint32 mapY = -1;
    // Every cell with this problem, the first one first; ProblemList fills it.
    QVector<QPoint> cells;

    bool hasCell() const { return mapX >= 0 && mapY >= 0; }
    bool isError() const { return severity == Severity::Error; }
    // The line a person reads: the message, or for several cells their count,
    // what they share and the first of them ("31 reachable cells have no
    // Ceil: Map X 3, Map Y 2 and 30 more").
    QString text() const;
    // "Map X 12, Map Y 7", as the properties form names a cell.
    static QString cellName(qint32 x, qint32 y);
    QString cellName() const { return cellName(mapX, mapY); }
    static QString severityName(Severity severity);
    // "1 error", "32 errors": a count with the word it counts.
    static QString counted(qint64 count, const QString &one, const QString &many);
    // "1 error, 32 warnings"; "no errors, 1 warning".
    static QString tally(qint64 errors, qint64 warnings);
};
