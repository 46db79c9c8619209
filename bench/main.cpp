// tessel-bench: times the editor's operations on big maps and compares them
// with a minimal scene-graph rendering of the same cells.
//
//   QT_QPA_PLATFORM=offscreen tessel-bench [--quick] [--runs N]
//
// Each measurement runs in a child process of its own, so that peak memory
// belongs to one map and one renderer only.
#include "app/processsetup.h"
#include "benchcommon.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSize>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

void runEditorPhase(int side, int runs, bool effects, const QStringList &only);
void runScenePhase(int side, int runs, const QSize &viewSize);
void runCheckPhase(int side, int runs);
void runPreviewPhase(int side, int runs);

namespace {

struct Phase
{
    QMap<QByteArray, QList<double>> results;
    QStringList notes;
    QString mapSize;
    bool ok = false;
};

QString option(const QStringList &args, const QString &name, const QString &fallback = QString())
{
    const int at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : fallback;
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    const int mid = values.size() / 2;
    return values.size() % 2 ? values.at(mid) : (values.at(mid - 1) + values.at(mid)) / 2;
}

Phase runChild(const QString &phase, int side, int runs, const QString &viewSize = QString())
{
    std::fprintf(stderr, "running %s at %d x %d (%d runs)...\n", qPrintable(phase), side, side, runs);
    QStringList args{"--phase", phase, "--side", QString::number(side), "--runs", QString::number(runs)};
    if (!viewSize.isEmpty())
        args << "--view" << viewSize;
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), args);
    Phase result;
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        std::fprintf(stderr, "phase %s failed\n", qPrintable(phase));
        return result;
    }
    result.ok = true;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() >= 2 && parts.first() == "RESULT") {
            QList<double> &values = result.results[parts.at(1)];
            for (int i = 2; i < parts.size(); ++i)
                values.append(parts.at(i).toDouble());
        } else if (parts.size() >= 3 && parts.first() == "NOTE") {
            if (parts.at(1) == "mapsize")
                result.mapSize = QString::fromUtf8(parts.at(2));
            else
                result.notes << QString::fromUtf8(line.mid(5));
        }
    }
    return result;
}

QString figure(double value)
{
    if (value < 0)
        return QStringLiteral("n/a");
    if (value < 10)
        return QString::number(value, 'f', 1);
    return QString::number(qRound(value));
}

QString ratio(double editor, double reference)
{
    if (editor < 0 || reference <= 0)
        return QStringLiteral("n/a");
    const double value = editor / reference;
    // Just above the target, one decimal would round a miss down to "1.0x".
    if (value > 1.0 && value < 1.05)
        return QString::number(std::ceil(value * 100) / 100, 'f', 2) + QLatin1Char('x');
    return QString::number(value, 'f', 1) + QLatin1Char('x');
}

QByteArray readLoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return "unknown";
    const QList<QByteArray> parts = file.readAll().split(' ');
    return parts.mid(0, 3).join(' ');
}

struct Row
{
    const char *key;
    const char *label;
    const char *target;
};

// The reference's row that a row of the editor compares with: the reference
// builds no map by hand, and its peak is over its own rows, the editor's first.
QByteArray referenceKey(const char *key)
{
    const QByteArray mine(key);
    if (mine == "build")
        return "load";
    if (mine == "memoryshared")
        return "memory";
    if (mine == "memoryworkshared")
        return "memorywork";
    return mine;
}

} // namespace

int main(int argc, char *argv[])
{
    ProcessSetup::beforeApplication();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    bool child = false;
    for (int i = 1; i < argc; ++i)
        child = child || std::strcmp(argv[i], "--phase") == 0;
    if (child) {
        QApplication app(argc, argv);
        const QStringList args = app.arguments();
        const QString phase = option(args, "--phase");
        const int side = option(args, "--side", "64").toInt();
        const int runs = option(args, "--runs", "7").toInt();
        const QStringList view = option(args, "--view", "900x640").split('x');
        if (phase == "check")
            runCheckPhase(side, runs);
        else if (phase == "preview")
            runPreviewPhase(side, runs);
        else if (phase == "scene")
            runScenePhase(side, runs, QSize(view.value(0).toInt(), view.value(1).toInt()));
        else
            runEditorPhase(side, runs, phase == "effects",
                           option(args, "--ops").split(QLatin1Char(','), Qt::SkipEmptyParts));
        return 0;
    }

    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.contains("--help") || args.contains("-h")) {
        std::printf("usage: tessel-bench [--quick] [--runs N]\n"
                    "  --quick   fewer runs, only the 64 x 64 map (a smoke run)\n"
                    "  --runs N  runs per operation (default 7; the table shows the median)\n"
                    "  --cpu-time  show the GUI thread's CPU time instead of wall-clock time\n"
                    "For profiling, one phase alone: tessel-bench --phase editor|effects|scene|check|preview --side 64|128|256\n"
                    "  [--runs N] [--ops save,zoom,pan,pointer,switchLayers,floodFill,emission,selectAndDelete,copyAndPaste,\n"
                    "  shapes,clearAndUndo,overview]\n");
        return 0;
    }
    const bool quick = args.contains("--quick");
    const int runs = std::max(1, option(args, "--runs", quick ? "3" : "7").toInt());
    // The largest size is the load limit's: a side of 256 with three full
    // layers is about 197,000 sectors.
    const QList<int> allSides{64, 128, 256};
    QList<int> sides{64};
    if (!quick)
        sides << 128 << 256;

    const QByteArray loadBefore = readLoadAverage();
    QMap<int, Phase> editor, reference;
    Phase effects;
    for (int side : sides) {
        editor[side] = runChild("editor", side, runs);
        // The level check and the preview time generated levels of their own;
        // their figures join the editor's.
        for (const char *own : {"check", "preview"}) {
            const Phase phase = runChild(own, side, runs);
            editor[side].ok = editor[side].ok && phase.ok;
            for (auto it = phase.results.constBegin(); it != phase.results.constEnd(); ++it)
                editor[side].results.insert(it.key(), it.value());
            editor[side].notes << phase.notes;
        }
        reference[side] = runChild("scene", side, runs, editor[side].mapSize);
        if (side == 64)
            effects = runChild("effects", side, runs);
    }

    // Wall-clock time is what a user waits for; thread CPU time is steadier when
    // other work shares the machine.
    const QByteArray prefix = args.contains("--cpu-time") ? "cpu:" : "";
    auto value = [&prefix](const Phase &phase, const QByteArray &key) {
        const QByteArray timed = prefix + key;
        return median(phase.results.value(phase.results.contains(timed) ? timed : key));
    };
    const bool built = editor.value(64).results.contains("build");
    const char *frame = "≤ 16 ms / ≤ 16 ms / ≤ 50 ms";
    const Row rows[] = {
        {built ? "build" : "load", built ? "build map (no map file yet)" : "load from file", "≤ 150 ms / ≤ 150 ms / ≤ 1 s"},
        {"save", "save", "≤ 50 ms / ≤ 100 ms / ≤ 500 ms"},
        {"pan", "pan step", frame},
        {"pointer", "pointer move (status bar)", frame},
        {"zoom", "zoom change", frame},
        {"zoomout", "zoom out to the smallest cells", frame},
        {"zoomin", "zoom back in to the largest cells", frame},
        {"layer", "layer switch", frame},
        {"fill", "flood fill 999 cells", frame},
        {"emission", "emission radius 10", frame},
        {"select", "select 32 x 32", frame},
        {"delete", "delete 32 x 32", frame},
        {"copy", "copy 32 x 32, every layer", frame},
        {"paste", "paste 32 x 32, every layer", frame},
        {"stampmove", "stamp follows the pointer", frame},
        {"overview", "overview redraw after a one-cell edit", "≤ 2 ms / ≤ 16 ms / ≤ 16 ms"},
        {"shapemove", "room 64 x 64 follows the pointer", frame},
        {"shapeline", "line 64 x 64 drawn", frame},
        {"shaperect", "filled rectangle 64 x 64 drawn", frame},
        {"shaperoom", "room 64 x 64 drawn", frame},
        {"clear", "clear a full layer", frame},
        {"undo", "undo the clear", frame},
        {"redo", "redo the clear", frame},
        {"check", "level check, all checks", "≤ 20 ms / none / none"},
        {"preview", "preview frame 640 x 400", "≤ 8 ms / none / none"},
        {"memory", "peak memory (MB)", "≤ 1.0x / ≤ 1.0x / ≤ 300 MB"},
        {"memoryshared", "peak memory over the reference's rows only (MB)", "none"},
        {"memoryundo", "peak memory after clear, undo, redo (MB)", "none"},
        {"memorywindow", "the window alone, before the first load (MB)", "none"},
        {"memorywork", "peak memory above the window alone (MB)", "none"},
        {"memoryworkshared", "the same, over the reference's rows only (MB)", "none"},
    };

    QStringList sizes;
    for (int side : allSides)
        sizes << QStringLiteral("%1 x %1 = %2").arg(side).arg(sides.contains(side)
                                                                 ? QString::number(value(editor.value(side), "sectors"), 'f', 0) + QStringLiteral(" sectors")
                                                                 : QStringLiteral("not run"));
    std::printf("\nMedian of %d runs, milliseconds (%s); ratio = editor / scene-graph reference (target: at most 1.0x).\n"
                "Maps: %s.\n\n",
                runs, prefix.isEmpty() ? "wall-clock" : "CPU time of the GUI thread", qPrintable(sizes.join(", ")));
    std::printf("| operation | ms at ~12k | ratio | ms at ~50k | ratio | ms at ~200k | ratio | target (12k / 50k / 200k) |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---|\n");
    for (const Row &row : rows) {
        QString line = QStringLiteral("| %1 ").arg(QString::fromUtf8(row.label));
        for (int side : allSides) {
            if (!sides.contains(side)) {
                line += QStringLiteral("| not run | n/a ");
                continue;
            }
            const double mine = value(editor.value(side), row.key);
            const double theirs = value(reference.value(side), referenceKey(row.key));
            line += QStringLiteral("| %1 | %2 ").arg(figure(mine), ratio(mine, theirs));
        }
        line += QStringLiteral("| %1 |").arg(QString::fromUtf8(row.target));
        std::printf("%s\n", qPrintable(line));
    }

    std::printf("\nReference (scene graph) alone, ms:\n\n| operation | ~12k | ~50k | ~200k |\n|---|---:|---:|---:|\n");
    for (const Row &row : rows) {
        const QByteArray key = referenceKey(row.key);
        QString line = QStringLiteral("| %1 ").arg(QString::fromUtf8(row.label));
        for (int side : allSides)
            line += QStringLiteral("| %1 ").arg(sides.contains(side) ? figure(value(reference.value(side), key))
                                                                     : QStringLiteral("not run"));
        std::printf("%s|\n", qPrintable(line));
    }

    std::printf("\nLooks at ~12k: one colorize effect object per button vs the baked tinted icons, ms:\n\n"
                "| operation | baked icons | effect objects | effects / baked |\n|---|---:|---:|---:|\n");
    for (const Row &row : rows) {
        const QByteArray key(row.key);
        if (key != "layer" && key != "zoom" && key != "memory")
            continue;
        const double baked = value(editor.value(64), key);
        const double effect = value(effects, key);
        std::printf("| %s | %s | %s | %s |\n", row.label, qPrintable(figure(baked)), qPrintable(figure(effect)),
                    qPrintable(ratio(effect, baked)));
    }

    std::printf("\nLoad average (1, 5, 15 min) before the run: %s; after: %s.\n", loadBefore.constData(),
                readLoadAverage().constData());

    QStringList notes;
    for (int side : sides) {
        for (const QString &note : editor.value(side).notes)
            notes << QStringLiteral("editor %1: %2").arg(side).arg(note);
        for (const QString &note : reference.value(side).notes)
            notes << QStringLiteral("reference %1: %2").arg(side).arg(note);
    }
    for (const QString &note : effects.notes)
        notes << QStringLiteral("effects: %1").arg(note);
    notes.removeDuplicates();
    if (!notes.isEmpty()) {
        std::printf("\nNotes:\n");
        for (const QString &note : notes)
            std::printf("- %s\n", qPrintable(note));
    }
    bool failed = false;
    for (int side : sides)
        failed = failed || !editor.value(side).ok || !reference.value(side).ok;
    return failed || !effects.ok ? 1 : 0;
}
