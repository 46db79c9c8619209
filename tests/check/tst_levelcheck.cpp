#include "check/levelcheck.h"
#include "check/parsedsnapshot.h"
#include "format/mapformat.h"

#include "levelpicture.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <algorithm>

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
};

namespace {

using LevelPicture::editorLayers;
using LevelPicture::mapText;

QString described(const LevelProblem &problem)
{
    return QStringLiteral("%1 %2 %3:%4")
        .arg(LevelProblem::severityName(problem.severity), QString::fromUtf8(problem.kind))
        .arg(problem.mapX)
        .arg(problem.mapY);
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
        found.append(described(problem));
        const QString part = messageParts.value(found.last());
        QVERIFY2(problem.message.contains(part), qPrintable(problem.message + " lacks: " + part));
    }
    for (int i = 1; i < problems.size(); ++i)
        QVERIFY2(problems.at(i - 1).isError() || !problems.at(i).isError(), "a warning before an error");
    found.sort();
    expected.sort();
    QCOMPARE(found.join('\n'), expected.join('\n'));
}

void TestLevelCheck::listsAHundredOfAKind_data()
{
    QTest::addColumn<int>("soldiers");
    QTest::addColumn<int>("listed");
    QTest::addColumn<QString>("note");
    QTest::newRow("100") << 100 << 100 << QString();
    QTest::newRow("101") << 101 << 100 << "1 more problems like the one at Map X 0, Map Y 0 are not listed";
}

// Past a hundred problems of one kind, one note counts the rest.
void TestLevelCheck::listsAHundredOfAKind()
{
    QFETCH(int, soldiers);
    QFETCH(int, listed);
    QFETCH(QString, note);
    const QList<QByteArray> picture{QByteArray(soldiers, 'X')};
    const MapFormat::Parsed parsed = MapFormat::parse(mapText(picture), "/levels");
    QStringList notes;
    int cells = 0;
    for (const LevelProblem &problem : LevelCheck::run(ParsedSnapshot::from(parsed, editorLayers))) {
        if (problem.kind != "inside-wall")
            continue;
        if (problem.hasCell())
            ++cells;
        else
            notes << problem.message;
    }
    QCOMPARE(cells, listed);
    QCOMPARE(notes, note.isEmpty() ? QStringList() : QStringList{note});
}

QTEST_GUILESS_MAIN(TestLevelCheck)
#include "tst_levelcheck.moc"
