#include "editorfixture.h"

#include "app/dialogs.h"
#include "app/tessel.h"
#include "model/mapmodel.h"
#include "view/mapview.h"
#include "document/recoveryfile.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

// Unsaved work is copied a while after the last change, and comes back at the
// next start; nothing recovered is replaced without the unsaved question.
// (The end-to-end script editor-recovery.sh kills a real editor and brings
// its work back with its images, and runs two editors at once.)
class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void copyFollowsTheLastEditNeverAStroke();
    void startUpOffersTheCopyBeforeTheNamedMap_data();
    void startUpOffersTheCopyBeforeTheNamedMap();
};

namespace {

// Three walls, and the copy as a crash leaves it: in a folder no running editor locks.
QString paintAndCrash(EditorFixture &editor)
{
    editor.setLayer("Wall");
    for (int x = 0; x < 3; ++x)
        editor.paint(x, 0);
    const QString crashed = RecoveryFile::rootFolder() + "/crashed";
    const bool written = editor.view->recoveryFile()->writeNow();
    return written && QDir().rename(editor.view->recoveryFile()->folder(), crashed) ? crashed : QString();
}

} // namespace

void TestRecovery::cleanup()
{
    QDir(RecoveryFile::rootFolder()).removeRecursively();
    Dialogs::restoreDefaults();
}

// Written a while after the last change, never half-way through a stroke;
// a copy that cannot be written is said once.
void TestRecovery::copyFollowsTheLastEditNeverAStroke()
{
    EditorFixture editor;
    RecoveryFile *recovery = editor.view->recoveryFile();
    editor.press(0, 0);
    editor.drag(1, 0, Qt::LeftButton);
    QVERIFY(recovery->pending() && !recovery->writeWhenIdle());
    QVERIFY(!QFile::exists(recovery->mapPath()));
    editor.release(1, 0);
    QVERIFY(recovery->writeWhenIdle());

    QVERIFY(QDir(recovery->folder()).removeRecursively());
    QVERIFY(QFile(recovery->folder()).open(QIODevice::WriteOnly)); // a file where its folder was
    editor.paint(3, 3);
    auto *status = editor.window->findChild<QLabel *>("labelStatus");
    QVERIFY(!recovery->writeNow());
    QVERIFY2(status->text().startsWith("No recovery copy of unsaved work"), qPrintable(status->text()));
    editor.view->setStatusText("--");
    QVERIFY(!recovery->writeNow());
    QCOMPARE(status->text(), QString("--"));
}

void TestRecovery::startUpOffersTheCopyBeforeTheNamedMap_data()
{
    QTest::addColumn<int>("recovery");
    QTest::addColumn<int>("unsaved");
    QTest::addColumn<int>("walls");
    QTest::addColumn<bool>("keptForLater");
    QTest::newRow("yes, then cancel: the recovered work stays") << int(QMessageBox::Yes) << int(QMessageBox::Cancel) << 3 << false;
    QTest::newRow("yes, then discard: the named map opens") << int(QMessageBox::Yes) << int(QMessageBox::Discard) << 0 << false;
    QTest::newRow("discard deletes the copy") << int(QMessageBox::Discard) << -1 << 0 << false;
    QTest::newRow("later keeps it for the next start") << int(QMessageBox::Cancel) << -1 << 0 << true;
}

// "Tessel named.map" with work to recover: recovered work is replaced only
// after the unsaved question; a copy left for later is offered again.
void TestRecovery::startUpOffersTheCopyBeforeTheNamedMap()
{
    QFETCH(int, recovery);
    QFETCH(int, unsaved);
    QFETCH(int, walls);
    QFETCH(bool, keptForLater);
    EditorFixture editor;
    QVERIFY(!paintAndCrash(editor).isEmpty());
    QFile named(editor.path("named.map"));
    QVERIFY(named.open(QIODevice::WriteOnly) && named.write("#Floor\r\n7,\r\n\r\n#Definitions\r\n7,Floor,,n/a.png\r\n"));
    named.close();
    Dialogs::recoveryChoice = [recovery](const QString &, const QString &) { return QMessageBox::StandardButton(recovery); };
    int asked = 0;
    Dialogs::unsavedChoice = [&](const QString &, const QString &) { return ++asked, QMessageBox::StandardButton(unsaved); };
    Tessel next;
    next.offerRecovery();
    QCOMPARE(next.openAtStart(editor.path("named.map")), walls == 0);
    QCOMPARE(asked, unsaved < 0 ? 0 : 1);
    QCOMPARE(next.mapView()->mapModel()->sectorsOf("Wall").size(), walls);
    QCOMPARE(RecoveryFile::orphans().size(), size_t(keptForLater ? 1 : 0));
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
