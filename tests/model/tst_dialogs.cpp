#include "editorfixture.h"

#include "app/dialogs.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// Where the file dialogs open. The settings live in a temporary folder, so the
// test neither reads nor changes the user's.
class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startsInTheFolderLastChosen();
    void theWindowInstallsItsPromptsForItsLife();

private:
    QTemporaryDir settings;
    QTemporaryDir work;
};

void TestDialogs::initTestCase()
{
    QVERIFY(settings.isValid() && work.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QVERIFY(QDir::setCurrent(work.path()));
}

void TestDialogs::startsInTheFolderLastChosen()
{
    const QString here = QDir::currentPath();
    QCOMPARE(Dialogs::startFolder(), here);

    QVERIFY(QDir(work.path()).mkpath("maps/level1"));
    Dialogs::rememberFolder(work.filePath("maps/level1.map"));
    QCOMPARE(Dialogs::startFolder(), work.filePath("maps"));

    Dialogs::rememberFolder(QString()); // a cancelled dialog
    QCOMPARE(Dialogs::startFolder(), work.filePath("maps"));

    Dialogs::rememberFolder(work.filePath("maps/level1/x.map"));
    QVERIFY(QDir(work.filePath("maps/level1")).removeRecursively());
    QCOMPARE(Dialogs::startFolder(), here);
}

void TestDialogs::theWindowInstallsItsPromptsForItsLife()
{
    // Without a window nothing may block: no file, No, Cancel.
    Prompts &silent = Prompts::current();
    QCOMPARE(silent.saveFileName("Save", "*.map"), QString());
    QCOMPARE(silent.askYesNo("Warning!", "Sure?"), QMessageBox::No);
    QCOMPARE(silent.askSaveDiscardCancel("Unsaved", "Save?"), QMessageBox::Cancel);
    {
        EditorFixture editor;
        Dialogs::question = [](const QString &, const QString &) { return QMessageBox::Yes; };
        QCOMPARE(Prompts::current().askYesNo("Warning!", "Sure?"), QMessageBox::Yes);
    }
    QCOMPARE(&Prompts::current(), &silent);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
