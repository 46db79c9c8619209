#include "shrinker.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace {

// What tells why a child ended without a report: a sanitizer's first lines, or
// the last lines of its output without the platform plugin's warnings.
QString lastWords(const QString &output)
{
    const int error = output.indexOf(QStringLiteral("ERROR: "));
    if (error >= 0)
        return output.mid(error).split(QLatin1Char('\n')).mid(0, 12).join(QLatin1Char('\n'));
    QStringList lines = output.split(QLatin1Char('\n'));
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const QString &line) { return line.startsWith(QLatin1String("QWARN")); }),
                lines.end());
    return lines.mid(std::max(0, int(lines.size()) - 12)).join(QLatin1Char('\n'));
}

} // namespace

Shrinker::Outcome Shrinker::replay(const QList<Operation> &operations)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TESSEL_RANDOM_REPLAY"), Operation::text(operations));
    environment.insert(QStringLiteral("TESSEL_RANDOM_INPROCESS"), QStringLiteral("1"));
    // A crash is reported by what crashed (or the sanitizer); a debugger's stack dump only costs time.
    environment.insert(QStringLiteral("QTEST_DISABLE_STACK_DUMP"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("-silent")});
    child.waitForFinished(-1);
    const QString output = QString::fromLocal8Bit(child.readAll());

    Outcome outcome;
    outcome.failed = child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0;
    static const QRegularExpression reported(QStringLiteral("^RANDOM-FAIL (\\S+) (\\d+) (.*)$"),
                                             QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = reported.match(output);
    if (match.hasMatch()) {
        outcome.invariant = match.captured(1);
        outcome.step = match.captured(2).toInt();
        outcome.report = match.captured(0);
    } else if (outcome.failed) {
        outcome.invariant = QStringLiteral("crash");
        outcome.report = lastWords(output);
    }
    return outcome;
}

QList<Operation> Shrinker::shrink(QList<Operation> operations, const Outcome &failure, int budget, int *replays,
                                  Outcome *last)
{
    *last = failure;
    // What comes after the failing step plays no part.
    if (failure.step >= 0)
        operations = operations.mid(0, failure.step + 1);
    int parts = 2;
    while (operations.size() >= 2 && *replays < budget) {
        const int chunk = int((operations.size() + parts - 1) / parts);
        bool reduced = false;
        for (int start = 0; start < operations.size() && *replays < budget; start += chunk) {
            const QList<Operation> candidate = operations.mid(0, start) + operations.mid(start + chunk);
            ++*replays;
            const Outcome outcome = replay(candidate);
            if (outcome.failed && outcome.invariant == failure.invariant) {
                operations = outcome.step >= 0 ? candidate.mid(0, outcome.step + 1) : candidate;
                *last = outcome;
                parts = std::max(parts - 1, 2);
                reduced = true;
                break;
            }
        }
        if (!reduced) {
            if (chunk == 1)
                break;
            parts = std::min(parts * 2, int(operations.size()));
        }
    }
    return operations;
}
