#include "check/problemlist.h"

#include <algorithm>
#include <utility>

namespace {

QString keyOf(const LevelProblem &problem)
{
    return QString::fromUtf8(problem.kind + '\n' + problem.layer + '\n') + problem.message;
}

} // namespace

void ProblemList::add(const LevelProblem &problem)
{
    const bool joins = problem.hasCell() && !problem.manyMessage.isEmpty();
    const QString key = joins ? keyOf(problem) : QString();
    const auto found = joins ? lineOf.constFind(key) : lineOf.constEnd();
    if (found != lineOf.constEnd()) {
        lines[*found].cells.append(QPoint(problem.mapX, problem.mapY));
        return;
    }
    int &kindLines = linesOfKind[problem.kind];
    if (kindLines >= listed) {
        ++unlisted[problem.kind];
        return;
    }
    ++kindLines;
    if (joins)
        lineOf.insert(key, lines.size());
    lines.append(problem);
    lines.last().cells.clear();
    if (problem.hasCell())
        lines.last().cells.append(QPoint(problem.mapX, problem.mapY));
}

void ProblemList::addUnlisted(const QByteArray &kind, qint64 count)
{
    unlisted[kind] += count;
}

QList<LevelProblem> ProblemList::take()
{
    QList<LevelProblem> notes;
    for (const LevelProblem &line : std::as_const(lines)) {
        const qint64 more = unlisted.take(line.kind);
        if (more == 0)
            continue;
        LevelProblem note = line;
        note.mapX = note.mapY = -1;
        note.cells.clear();
        note.manyMessage.clear();
        note.message = more == 1
            ? QStringLiteral("1 more problem like the one at %1 is not listed").arg(line.cellName())
            : QStringLiteral("%1 more problems like the one at %2 are not listed").arg(more).arg(line.cellName());
        notes.append(note);
    }
    QList<LevelProblem> all = std::exchange(lines, {}) + notes;
    lineOf.clear();
    linesOfKind.clear();
    unlisted.clear();
    std::stable_sort(all.begin(), all.end(),
                     [](const LevelProblem &a, const LevelProblem &b) { return a.isError() && !b.isError(); });
    return all;
}
