#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The command-line tool's output, word for word, and its exit statuses: build
// pipelines and scripts parse both. Every case is a line of golden/commands.txt.
class TestMapToolGolden : public QObject
{
    Q_OBJECT

private slots:
    void printsAndExitsAsRecorded_data();
    void printsAndExitsAsRecorded();
};

void TestMapToolGolden::printsAndExitsAsRecorded_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("expectedOutput");
    QTest::addColumn<QString>("expectedError");
    QFile commands(QFINDTESTDATA("golden/commands.txt"));
    QVERIFY(commands.open(QIODevice::ReadOnly | QIODevice::Text));
    while (!commands.atEnd()) {
        const QString line = QString::fromUtf8(commands.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList fields = line.split('|');
        QCOMPARE(fields.size(), 4);
        QTest::newRow(qPrintable(fields.at(1).trimmed())) << fields.at(0).trimmed().toInt()
                                                           << fields.at(1).trimmed() << fields.at(2).trimmed()
                                                           << fields.at(3).trimmed();
    }
}

void TestMapToolGolden::printsAndExitsAsRecorded()
{
    QFETCH(int, status);
    QFETCH(QString, arguments);
    QFETCH(QString, expectedOutput);
    QFETCH(QString, expectedError);
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    QStringList words = arguments.split(' ', Qt::SkipEmptyParts);
    words.replaceInStrings(QStringLiteral("$OUT"), scratch.path());

    QProcess tool;
    tool.setWorkingDirectory(QFINDTESTDATA("data"));
    tool.start(QStringLiteral(TESSEL_MAP), words);
    QVERIFY(tool.waitForFinished(60000));
    const QByteArray output = tool.readAllStandardOutput();
    const QByteArray error = tool.readAllStandardError();

    QByteArray expected;
    if (!expectedOutput.isEmpty()) {
        QFile file(QFINDTESTDATA("golden/" + expectedOutput));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(expectedOutput));
        expected = file.readAll();
    }
    QCOMPARE(QString::fromUtf8(output), QString::fromUtf8(expected));
    QVERIFY2(error.contains(expectedError.toUtf8()), error.constData());
    QVERIFY2(expectedError.isEmpty() || status != 0, "a failure reported as success");
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), status);
    // Only a requested picture is ever written.
    QCOMPARE(QDir(scratch.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

QTEST_GUILESS_MAIN(TestMapToolGolden)
#include "tst_maptoolgolden.moc"
