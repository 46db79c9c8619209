#include "check/levelproblem.h"

QString LevelProblem::cellName(qint32 x, qint32 y)
{
    return QStringLiteral("Map X %1, Map Y %2").arg(x).arg(y);
}

QString LevelProblem::severityName(Severity severity)
{
    return severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning");
}
