#pragma once

#include "check/levelproblem.h"

#include <QHash>
#include <QList>

// Gathers findings as the level check makes them, one cell at a time: a
// problem found again on another cell (same kind, layer and message) joins the
// line of the first, so 30 cells without a ceiling read as one line. A line
// keeps all its cells (filled cells, as many as a map may hold), so that they
// can all be selected. Past `listed` lines of one kind a list helps nobody:
// the rest is counted, and one note a kind says how many were left out.
class ProblemList
{
public:
    static const int listed = 100;

    // A problem of one cell (or of the whole map, which joins nothing).
    void add(const LevelProblem &problem);
    // Problems of this kind that were found but never added.
    void addUnlisted(const QByteArray &kind, qint64 count);
    // The lines, errors first, and a note for each kind cut short.
    QList<LevelProblem> take();

private:
    QList<LevelProblem> lines;
    // Where a problem's line is, by kind, layer and message.
    QHash<QString, int> lineOf;
    QHash<QByteArray, int> linesOfKind;
    QHash<QByteArray, qint64> unlisted;
};
