#include "check/levelproblem.h"

QString LevelProblem::text() const
{
    if (cells.size() < 2)
        return message;
    return QString::number(cells.size()) + QLatin1Char(' ') + manyMessage + QStringLiteral(": ") + cellName()
        + QStringLiteral(" and %1 more").arg(cells.size() - 1);
}

QString LevelProblem::cellName(qint32 x, qint32 y)
{
    return QStringLiteral("Map X %1, Map Y %2").arg(x).arg(y);
}

QString LevelProblem::severityName(Severity severity)
{
    return severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning");
}

QString LevelProblem::counted(qint64 count, const QString &one, const QString &many)
{
    if (count == 0)
        return QStringLiteral("no ") + many;
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

QString LevelProblem::tally(qint64 errors, qint64 warnings)
{
    return counted(errors, QStringLiteral("error"), QStringLiteral("errors")) + QStringLiteral(", ")
        + counted(warnings, QStringLiteral("warning"), QStringLiteral("warnings"));
}
