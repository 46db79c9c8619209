// Long random sequences of user operations on a real editor window, with the
// editor's invariants checked after every one; docs/testing.md tells how to
// run it longer, replay a failure and leave out a known one.
#include "randomdriver.h"
#include "shrinker.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

// What CI runs: fixed, so that every run does the same; about 50 s in the
// sanitizer build on a busy two-core machine.
const int defaultSeed = 1;
const int defaultSteps = 250;
const int defaultRuns = 5;
// A failure is replayed at most this often while it is shrunk.
const int defaultShrinkBudget = 100;

int setting(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

} // namespace

class TestRandomOperations : public QObject
{
    Q_OBJECT

private slots:
    void operations();

private:
    static QString failureText(quint32 seed, const QList<Operation> &run, const Shrinker::Outcome &failure);
};

void TestRandomOperations::operations()
{
    QList<Operation> replay;
    QVERIFY2(Operation::parse(qEnvironmentVariable("TESSEL_RANDOM_REPLAY"), &replay),
             "TESSEL_RANDOM_REPLAY is not a list like \"paint(0,3,4) save() load()\"");
    const quint32 firstSeed = quint32(setting("TESSEL_RANDOM_SEED", defaultSeed));
    const int steps = setting("TESSEL_RANDOM_STEPS", defaultSteps);
    if (qEnvironmentVariableIsSet("TESSEL_RANDOM_INPROCESS")) {
        // A child of the run below, or a replay under a debugger: no shrinking.
        RandomDriver driver(qEnvironmentVariable("TESSEL_RANDOM_SKIP").split(QLatin1Char(','), Qt::SkipEmptyParts));
        driver.run(replay.isEmpty() ? RandomDriver::generate(firstSeed, steps) : replay);
        return;
    }
    const int runs = replay.isEmpty() ? setting("TESSEL_RANDOM_RUNS", defaultRuns) : 1;
    // Only how many runs are made depends on the clock, never a verdict.
    const qint64 seconds = replay.isEmpty() ? setting("TESSEL_RANDOM_SECONDS", 0) : 0;
    QElapsedTimer clock;
    clock.start();
    int run = 0;
    for (; seconds > 0 ? clock.elapsed() < seconds * 1000 : run < runs; ++run) {
        const quint32 seed = firstSeed + quint32(run);
        const QList<Operation> operations = replay.isEmpty() ? RandomDriver::generate(seed, steps) : replay;
        const Shrinker::Outcome outcome = Shrinker::replay(operations);
        if (outcome.failed)
            QFAIL(qPrintable(failureText(seed, operations, outcome)));
    }
    qInfo("%d run(s) of %d operations from seed %u: every invariant held", run,
          replay.isEmpty() ? steps : int(replay.size()), firstSeed);
}

QString TestRandomOperations::failureText(quint32 seed, const QList<Operation> &run, const Shrinker::Outcome &failure)
{
    int replays = 0;
    Shrinker::Outcome last;
    const QList<Operation> shortest = Shrinker::shrink(run, failure, setting("TESSEL_RANDOM_SHRINK", defaultShrinkBudget),
                                                       &replays, &last);
    const QString list = Operation::text(shortest);
    return QStringLiteral("\nrandom operations: the invariant \"%1\" broke (seed %2, %3 operations)\n%4\n"
                          "shortest sequence found (%5 operations, %6 replays):\n  %7\n%8\n"
                          "replay: TESSEL_RANDOM_REPLAY='%9' %10\n")
        .arg(failure.invariant)
        .arg(seed)
        .arg(run.size())
        .arg(failure.report)
        .arg(shortest.size())
        .arg(replays)
        .arg(list, last.report, list, QCoreApplication::applicationFilePath());
}

QTEST_MAIN(TestRandomOperations)
#include "tst_randomoperations.moc"
