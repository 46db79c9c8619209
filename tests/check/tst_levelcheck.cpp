#include "check/levelcheck.h"
#include "check/parsedsnapshot.h"
#include "check/problemlist.h"
#include "format/mapformat.h"

#include "levelpicture.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <algorithm>

Q_DECLARE_METATYPE(LevelProblem)

// Every level under levels/ is a picture of a small map with the problems the
// check must find in it, no more and no fewer. The picture goes through the
// map writer and reader first, so the check sees exactly what a file holds.
class TestLevelCheck : public QObject
{
    Q_OBJECT

private slots:
    void findsExactlyTheExpectedProblems_data();
    void findsExactlyTheExpectedProblems();
    void listsAHundredOfAKind_data();
    void listsAHundredOfAKind();
    void gathersCellsWithTheSameProblem_data();
    void gathersCellsWithTheSameProblem();
};

namespace {

using LevelPicture::editorLayers;
using LevelPicture::mapText;

QString described(const LevelProblem &problem, const QPoint &cell)
{
    return QStringLiteral("%1 %2 %3:%4")
        .arg(LevelProblem::severityName(problem.severity), QString::fromUtf8(problem.kind))
        .arg(cell.x())
        .arg(cell.y());
}

QList<LevelProblem> checked(const QList<QByteArray> &picture)
{
    const MapFormat::Parsed parsed = MapFormat::parse(mapText(picture), "/levels");
    return LevelCheck::run(ParsedSnapshot::from(parsed, editorLayers));
}

LevelProblem problemAt(const QByteArray &kind, int x, const QString &message)
{
    LevelProblem problem;
    problem.severity = LevelProblem::Severity::Warning;
    problem.kind = kind;
    problem.layer = "Wall";
    problem.mapX = x;
    problem.mapY = x >= 0 ? 0 : -1;
    problem.message = message;
    problem.manyMessage = "cells: " + message;
    return problem;
}

} // namespace

void TestLevelCheck::findsExactlyTheExpectedProblems_data()
{
    QTest::addColumn<QString>("path");
    const QDir levels(QFINDTESTDATA("levels"));
    const QStringList names = levels.entryList({"*.txt"}, QDir::Files, QDir::Name);
    QVERIFY(names.size() > 10);
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << levels.filePath(name);
}

// A level file: description and expectations ("error KIND X:Y" or "warning
// KIND X:Y", optionally followed by text the message must contain), a line
// "---", then the picture.
void TestLevelCheck::findsExactlyTheExpectedProblems()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList expected;
    QHash<QString, QString> messageParts;
    QList<QByteArray> picture;
    bool inPicture = false;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (inPicture && !line.isEmpty())
            picture.append(line);
        inPicture = inPicture || line == "---";
        const QList<QByteArray> words = line.split(' ');
        if (!inPicture && words.size() >= 3 && (words.first() == "error" || words.first() == "warning")) {
            const QString problem = QString::fromUtf8(words.mid(0, 3).join(' '));
            expected.append(problem);
            if (words.size() > 3)
                messageParts.insert(problem, QString::fromUtf8(words.mid(3).join(' ')).remove('"'));
        }
    }
    QVERIFY2(!picture.isEmpty(), "no picture after ---");

    const MapFormat::Parsed parsed = MapFormat::parse(mapText(picture), "/levels");
    QList<LevelProblem> undefined;
    const QList<LevelProblem> problems = LevelCheck::run(ParsedSnapshot::from(parsed, editorLayers, &undefined));
    QVERIFY(undefined.isEmpty());

    QStringList found;
    for (const LevelProblem &problem : problems) {
        // Each cell of a line is a finding of its own.
        const QVector<QPoint> cells = problem.hasCell() ? problem.cells : QVector<QPoint>{QPoint(-1, -1)};
        for (const QPoint &cell : cells) {
            found.append(described(problem, cell));
            const QString part = messageParts.value(found.last());
            QVERIFY2(problem.message.contains(part), qPrintable(problem.message + " lacks: " + part));
        }
    }
    for (int i = 1; i < problems.size(); ++i)
        QVERIFY2(problems.at(i - 1).isError() || !problems.at(i).isError(), "a warning before an error");
    found.sort();
    expected.sort();
    QCOMPARE(found.join('\n'), expected.join('\n'));
}

void TestLevelCheck::listsAHundredOfAKind_data()
{
    QTest::addColumn<int>("open");
    QTest::addColumn<int>("listed");
    QTest::addColumn<QString>("note");
    QTest::newRow("100") << 100 << 100 << QString();
    QTest::newRow("101") << 101 << 100 << "1 more problem like the one at Map X 3, Map Y 1 is not listed";
    QTest::newRow("102") << 102 << 100 << "2 more problems like the one at Map X 3, Map Y 1 are not listed";
}

// A cell without a ceiling may stand for millions of empty map cells: past a
// hundred, one note counts the rest.
void TestLevelCheck::listsAHundredOfAKind()
{
    QFETCH(int, open);
    QFETCH(int, listed);
    QFETCH(QString, note);
    const QByteArray wall(open + 4, '#');
    QStringList notes;
    int cells = 0;
    for (const LevelProblem &problem : checked({wall, "#PE" + QByteArray(open, 'f') + "#", wall})) {
        if (problem.kind != "no-floor-or-ceil")
            continue;
        if (problem.hasCell())
            cells += problem.cells.size();
        else
            notes << problem.message;
    }
    QCOMPARE(cells, listed);
    QCOMPARE(notes, note.isEmpty() ? QStringList() : QStringList{note});
}

void TestLevelCheck::gathersCellsWithTheSameProblem_data()
{
    QTest::addColumn<QList<LevelProblem>>("found");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("cells");
    const QString a = QStringLiteral("a");
    QTest::newRow("three cells: one line, first found first")
        << QList<LevelProblem>{problemAt("k", 3, a), problemAt("k", 1, a), problemAt("k", 2, a)}
        << QStringList{"3 cells: a: Map X 3, Map Y 0 and 2 more"} << 3;
    LevelProblem otherLayer = problemAt("k", 2, a);
    otherLayer.layer = "Floor";
    LevelProblem single = problemAt("k", 4, a);
    single.manyMessage.clear();
    QTest::newRow("another message, kind or layer, the whole map, a problem that never repeats: apart")
        << QList<LevelProblem>{problemAt("k", 1, a), problemAt("k", 2, "b"), problemAt("j", 3, a), otherLayer,
                               problemAt("k", -1, a), problemAt("k", -1, a), single}
        << QStringList{a, "b", a, a, a, a, a} << 5;
    QList<LevelProblem> manyKinds;
    QStringList hundredLines;
    for (int i = 0; i < 102; ++i) {
        manyKinds << problemAt("k", i, QString::number(i));
        hundredLines << QString::number(i);
    }
    hundredLines = hundredLines.mid(0, 100) << "2 more problems like the one at Map X 0, Map Y 0 are not listed";
    QTest::newRow("a hundred lines to a kind") << manyKinds << hundredLines << 100;
    LevelProblem error = problemAt("e", 5, "e");
    error.severity = LevelProblem::Severity::Error;
    QTest::newRow("errors first")
        << QList<LevelProblem>{problemAt("k", 1, a), error, problemAt("k", 2, a)}
        << QStringList{"e", "2 cells: a: Map X 1, Map Y 0 and 1 more"} << 3;
}

// Thirty cells without a ceiling are one line to read, and that line still
// knows every one of its cells.
void TestLevelCheck::gathersCellsWithTheSameProblem()
{
    QFETCH(QList<LevelProblem>, found);
    QFETCH(QStringList, lines);
    QFETCH(int, cells);
    ProblemList list;
    for (const LevelProblem &problem : std::as_const(found))
        list.add(problem);
    QStringList texts;
    int listed = 0;
    for (const LevelProblem &line : list.take()) {
        texts << line.text();
        listed += line.cells.size();
        if (line.hasCell())
            QCOMPARE(line.cells.first(), QPoint(line.mapX, line.mapY));
    }
    QCOMPARE(texts, lines);
    QCOMPARE(listed, cells);
}

QTEST_GUILESS_MAIN(TestLevelCheck)
#include "tst_levelcheck.moc"
