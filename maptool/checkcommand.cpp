#include "checkcommand.h"

#include "check/levelcheck.h"
#include "commandline.h"
#include "mapinput.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cstdio>
#include <utility>

int CheckCommand::run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks whether the player can finish each level. Prints one problem a line,\n"
        "FILE:X:Y: error|warning: [LAYER] MESSAGE, where X and Y are the cell's Map X and\n"
        "Map Y; problems of the whole map have no X:Y. Cells with the same problem share\n"
        "a line, which counts them and names the first (X:Y); --json lists each cell.\n"
        "Exit status: 0 no errors, 1 errors (or warnings with --werror), 2 a file could\n"
        "not be read or the command line is wrong."));
    const QCommandLineOption jsonOption(QStringLiteral("json"), QStringLiteral("Prints the result as JSON."));
    const QCommandLineOption werrorOption(QStringLiteral("werror"), QStringLiteral("Warnings fail too."));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"),
                                           QStringLiteral("Ends with a summary line, also when all is well."));
    parser.addOption(jsonOption);
    parser.addOption(werrorOption);
    parser.addOption(verboseOption);
    parser.addPositionalArgument(QStringLiteral("LEVEL.map"), QStringLiteral("The map files to check."),
                                 QStringLiteral("LEVEL.map..."));
    CommandLine::Status status = CommandLine::Passed;
    if (!CommandLine::parse(parser, arguments, &status))
        return status;
    if (parser.positionalArguments().isEmpty()) {
        CommandLine::complain(QStringLiteral("no map file given (see --help)"));
        return CommandLine::Unusable;
    }
    asJson = parser.isSet(jsonOption);
    warningsFail = parser.isSet(werrorOption);

    const QStringList fileNames = parser.positionalArguments();
    for (const QString &fileName : fileNames)
        checkFile(fileName);
    if (parser.isSet(verboseOption) && !asJson)
        printSummary(fileNames.size());

    if (asJson) {
        QJsonArray list;
        for (const QJsonObject &file : std::as_const(files))
            list.append(file);
        const QJsonObject all{{"files", list}, {"errors", errors}, {"warnings", warnings},
                              {"unreadable", unreadable}};
        CommandLine::print(QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Indented)));
    }
    if (unreadable > 0)
        return CommandLine::Unusable;
    return errors > 0 || (warningsFail && warnings > 0) ? CommandLine::Failed : CommandLine::Passed;
}

void CheckCommand::checkFile(const QString &fileName)
{
    MapInput input;
    QString failure;
    if (!input.read(fileName, &failure)) {
        ++unreadable;
        if (asJson)
            files.append(QJsonObject{{"file", fileName}, {"readable", false}, {"failure", failure}});
        else
            std::fprintf(stderr, "%s: fatal: cannot read the map: %s\n", fileName.toUtf8().constData(),
                         failure.toUtf8().constData());
        return;
    }
    QList<LevelProblem> problems = LevelCheck::run(input.snapshot()) + input.leftOut();
    std::stable_sort(problems.begin(), problems.end(),
                     [](const LevelProblem &a, const LevelProblem &b) { return a.isError() && !b.isError(); });
    if (!asJson) {
        for (const LevelProblem &problem : std::as_const(problems))
            ++(problem.isError() ? errors : warnings);
        printLines(fileName, problems);
        return;
    }
    // Scripts read one problem per cell, as before cells shared a line.
    QJsonArray list;
    int fileErrors = 0;
    for (const LevelProblem &problem : std::as_const(problems)) {
        const int cells = std::max(1, int(problem.cells.size()));
        for (int i = 0; i < cells; ++i)
            list.append(json(problem, problem.cells.value(i, QPoint(problem.mapX, problem.mapY))));
        fileErrors += problem.isError() ? cells : 0;
    }
    errors += fileErrors;
    warnings += list.size() - fileErrors;
    files.append(QJsonObject{{"file", fileName}, {"readable", true}, {"errors", fileErrors},
                             {"warnings", list.size() - fileErrors}, {"problems", list}});
}

void CheckCommand::printLines(const QString &fileName, const QList<LevelProblem> &problems) const
{
    QString text;
    for (const LevelProblem &problem : problems) {
        text += fileName;
        if (problem.hasCell())
            text += QStringLiteral(":%1:%2").arg(problem.mapX).arg(problem.mapY);
        text += QStringLiteral(": %1: ").arg(LevelProblem::severityName(problem.severity));
        if (!problem.layer.isEmpty())
            text += QStringLiteral("[%1] ").arg(CommandLine::printable(QString::fromUtf8(problem.layer)));
        text += CommandLine::printable(problem.text()) + QLatin1Char('\n');
    }
    CommandLine::print(text);
}

void CheckCommand::printSummary(int fileCount) const
{
    QString text = QStringLiteral("checked %1: %2")
                       .arg(LevelProblem::counted(fileCount, QStringLiteral("map"), QStringLiteral("maps")),
                            LevelProblem::tally(errors, warnings));
    if (unreadable > 0)
        text += QStringLiteral("; %1 could not be read").arg(unreadable);
    CommandLine::print(text + QLatin1Char('\n'));
}

QJsonObject CheckCommand::json(const LevelProblem &problem, const QPoint &cell)
{
    QJsonObject object{{"severity", LevelProblem::severityName(problem.severity)},
                       {"check", QString::fromUtf8(problem.kind)},
                       {"layer", QString::fromUtf8(problem.layer)},
                       {"message", problem.message}};
    object.insert("mapX", problem.hasCell() ? QJsonValue(cell.x()) : QJsonValue());
    object.insert("mapY", problem.hasCell() ? QJsonValue(cell.y()) : QJsonValue());
    return object;
}
