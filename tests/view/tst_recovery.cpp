#include "editorfixture.h"

#include "app/dialogs.h"
#include "app/tessel.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/mapview.h"
#include "view/recoveryfile.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

// Each editor's unsaved work is kept apart, with its images, and comes back
// after a crash; nothing recovered is replaced without the unsaved question.
class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void recoveredWorkComesBackWithItsImages();
    void copyFollowsTheLastEditNeverAStroke();
    void eachEditorKeepsItsOwnCopy();
    void orphanIsDiscardedOrKeptForLater_data();
    void orphanIsDiscardedOrKeptForLater();
    void namedMapAsksBeforeReplacingRecoveredWork_data();
    void namedMapAsksBeforeReplacingRecoveredWork();
};

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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

void answerRecovery(int answer)
{
    Dialogs::recoveryChoice = [answer](const QString &, const QString &) { return QMessageBox::StandardButton(answer); };
}

} // namespace

void TestRecovery::cleanup()
{
    QDir(RecoveryFile::rootFolder()).removeRecursively();
    Dialogs::restoreDefaults();
}

// Even with the gallery's image gone, the recovered map shows the copy's own,
// and its next save copies it.
void TestRecovery::recoveredWorkComesBackWithItsImages()
{
    EditorFixture editor;
    const QByteArray brick = readFile(editor.path("textures/Wall/brick.png"));
    QVERIFY(!paintAndCrash(editor).isEmpty());
    QVERIFY(QFile::remove(editor.path("textures/Wall/brick.png")));
    answerRecovery(QMessageBox::Yes);
    Tessel next;
    next.offerRecovery();
    const Sector *cell = next.mapView()->mapModel()->sectorAt("Wall", 2, 0);
    QVERIFY(cell && !cell->data->button->icon().isNull());
    Dialogs::saveChooser = [&](const QString &, const QString &) { return editor.path("back.map"); };
    next.mapView()->saveMapAs();
    QCOMPARE(readFile(editor.path("back/brick.png")), brick);
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

// Two editors at once: closing one leaves the other's copy, which is not offered while it runs.
void TestRecovery::eachEditorKeepsItsOwnCopy()
{
    EditorFixture first;
    first.paint(0, 0);
    QVERIFY(first.view->recoveryFile()->writeNow());
    {
        Tessel second;
        second.mapView()->mapModel()->placeCell("Floor", QPoint(5, 5), TextureEntry{"x.png", "textures/", 1});
        QVERIFY(second.mapView()->recoveryFile()->writeNow());
        QVERIFY(second.close());
    }
    QVERIFY(QFile::exists(first.view->recoveryFile()->mapPath()));
    QVERIFY(RecoveryFile::orphans().empty());
}

void TestRecovery::orphanIsDiscardedOrKeptForLater_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("kept");
    QTest::newRow("discard") << int(QMessageBox::Discard) << false;
    QTest::newRow("later") << int(QMessageBox::Cancel) << true;
}

void TestRecovery::orphanIsDiscardedOrKeptForLater()
{
    QFETCH(int, answer);
    QFETCH(bool, kept);
    EditorFixture editor;
    const QString crashed = paintAndCrash(editor);
    answerRecovery(answer);
    Tessel next;
    next.offerRecovery();
    QVERIFY(!next.isWindowModified());
    QCOMPARE(QFile::exists(crashed + "/unsaved.map"), kept);
    QCOMPARE(RecoveryFile::orphans().size(), size_t(kept ? 1 : 0));
}

void TestRecovery::namedMapAsksBeforeReplacingRecoveredWork_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("opened");
    QTest::newRow("cancel keeps the recovered work") << int(QMessageBox::Cancel) << false;
    QTest::newRow("discard opens the named map") << int(QMessageBox::Discard) << true;
}

// "Tessel named.map" with work to recover: the unsaved question comes first.
void TestRecovery::namedMapAsksBeforeReplacingRecoveredWork()
{
    QFETCH(int, answer);
    QFETCH(bool, opened);
    EditorFixture editor;
    QVERIFY(!paintAndCrash(editor).isEmpty());
    QFile named(editor.path("named.map"));
    QVERIFY(named.open(QIODevice::WriteOnly) && named.write("#Floor\r\n7,\r\n\r\n#Definitions\r\n7,Floor,,n/a.png\r\n"));
    named.close();
    answerRecovery(QMessageBox::Yes);
    int asked = 0;
    Dialogs::unsavedChoice = [&](const QString &, const QString &) { return ++asked, QMessageBox::StandardButton(answer); };
    Tessel next;
    next.offerRecovery();
    QCOMPARE(next.openAtStart(editor.path("named.map")), opened);
    QCOMPARE(asked, 1);
    QCOMPARE(next.mapView()->mapModel()->sectorsOf("Wall").size(), opened ? 0 : 3);
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
