#include "editorfixture.h"

#include "app/dialogs.h"
#include "app/tessel.h"
#include "layers/layercontroller.h"
#include "mapfile/mapformat.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/mapview.h"
#include "view/recoveryfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    void eachEditorKeepsItsOwnCopy();
    void copyFollowsTheLastEditNeverAStroke();
    void unwritableCopyIsSaidOnce();
    void orphanIsOpenedDiscardedOrKeptForLater_data();
    void orphanIsOpenedDiscardedOrKeptForLater();
    void namedMapAsksBeforeReplacingRecoveredWork_data();
    void namedMapAsksBeforeReplacingRecoveredWork();
};

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The editor's copy as a crash leaves it: a folder no running editor locks.
QString crash(EditorFixture &editor)
{
    RecoveryFile *recovery = editor.view->recoveryFile();
    if (!recovery->writeNow())
        return QString();
    const QString crashed = RecoveryFile::rootFolder() + "/crashed";
    return QDir().rename(recovery->folder(), crashed) ? crashed : QString();
}

int wallCells(const QString &mapPath)
{
    int cells = 0;
    for (const MapFormat::Grid &grid : MapFormat::parse(readFile(mapPath), "copy").grids) {
        for (const QList<QByteArray> &row : grid.rows)
            cells += grid.name == "Wall" ? row.size() - row.count("0") : 0;
    }
    return cells;
}

void paintWalls(EditorFixture &editor, int count)
{
    editor.setLayer("Wall");
    for (int x = 0; x < count; ++x)
        editor.paint(x, 0);
}

} // namespace

void TestRecovery::cleanup()
{
    QDir(RecoveryFile::rootFolder()).removeRecursively();
    Dialogs::restoreDefaults();
}

// Even when the gallery's image is gone, the recovered map shows the copy's
// and its next save copies it.
void TestRecovery::recoveredWorkComesBackWithItsImages()
{
    EditorFixture editor;
    paintWalls(editor, 2);
    const QByteArray brick = readFile(editor.path("textures/Wall/brick.png"));
    QVERIFY(!crash(editor).isEmpty());
    QVERIFY(QFile::remove(editor.path("textures/Wall/brick.png")));

    Dialogs::recoveryChoice = [](const QString &, const QString &) { return QMessageBox::Yes; };
    Tessel next;
    next.offerRecovery();
    const Sector *cell = next.mapView()->mapModel()->sectorAt("Wall", 1, 0);
    QVERIFY(cell);
    QCOMPARE(readFile(QString::fromUtf8(cell->data->texture.folder + cell->data->texture.fileName)), brick);
    QVERIFY(!cell->data->button->icon().isNull());
    Dialogs::saveChooser = [&](const QString &, const QString &) { return editor.path("back.map"); };
    next.mapView()->saveMapAs();
    QCOMPARE(readFile(editor.path("back/brick.png")), brick);
}

// Two editors at once: each has its own copy, and closing one leaves the other's.
void TestRecovery::eachEditorKeepsItsOwnCopy()
{
    EditorFixture first;
    paintWalls(first, 3);
    QVERIFY(first.view->recoveryFile()->writeNow());
    {
        Tessel second;
        second.mapView()->mapModel()->placeCell("Floor", QPoint(5, 5), TextureEntry{"x.png", "textures/", 1});
        QVERIFY(second.mapView()->recoveryFile()->writeNow());
        QVERIFY(second.mapView()->recoveryFile()->folder() != first.view->recoveryFile()->folder());
        QVERIFY(second.close());
    }
    QVERIFY(QFileInfo(first.view->recoveryFile()->mapPath()).isFile());
    QVERIFY(RecoveryFile::orphans().empty()); // the first editor is running
}

// Written after the last change, never half-way through a stroke.
void TestRecovery::copyFollowsTheLastEditNeverAStroke()
{
    EditorFixture editor;
    RecoveryFile *recovery = editor.view->recoveryFile();
    editor.setLayer("Wall");
    QVERIFY(!recovery->pending());
    editor.press(0, 0);
    editor.drag(1, 0, Qt::LeftButton);
    QVERIFY(recovery->pending());
    QVERIFY(!recovery->writeWhenIdle());
    QVERIFY(!QFile::exists(recovery->mapPath()));
    editor.drag(2, 0, Qt::LeftButton);
    editor.release(2, 0);
    QVERIFY(recovery->writeWhenIdle());
    QCOMPARE(wallCells(recovery->mapPath()), 3);
    // Back to the saved state: the copy goes.
    while (editor.view->isModified())
        editor.view->undo();
    QVERIFY(!recovery->writeNow());
    QVERIFY(!QFile::exists(recovery->mapPath()));
}

void TestRecovery::unwritableCopyIsSaidOnce()
{
    EditorFixture editor;
    RecoveryFile *recovery = editor.view->recoveryFile();
    auto *status = editor.window->findChild<QLabel *>("labelStatus");
    // A file where the folder of the copies should be.
    QVERIFY(QDir().mkpath(QFileInfo(RecoveryFile::rootFolder()).absolutePath()));
    QFile blocker(RecoveryFile::rootFolder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    paintWalls(editor, 1);
    QVERIFY(!recovery->writeNow());
    QVERIFY2(status->text().contains("No recovery copy"), qPrintable(status->text()));
    editor.view->setStatusText("something else");
    QVERIFY(!recovery->writeNow());
    QCOMPARE(status->text(), QString("something else"));
    QVERIFY(QFile::remove(RecoveryFile::rootFolder()));
    QVERIFY(recovery->writeNow());
}

void TestRecovery::orphanIsOpenedDiscardedOrKeptForLater_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("cellsAfter");
    QTest::addColumn<bool>("offeredAgain");
    QTest::newRow("yes") << int(QMessageBox::Yes) << 3 << false;
    QTest::newRow("discard") << int(QMessageBox::Discard) << 0 << false;
    QTest::newRow("later") << int(QMessageBox::Cancel) << 0 << true;
}

void TestRecovery::orphanIsOpenedDiscardedOrKeptForLater()
{
    QFETCH(int, answer);
    QFETCH(int, cellsAfter);
    QFETCH(bool, offeredAgain);
    EditorFixture editor;
    paintWalls(editor, 3);
    const QString crashed = crash(editor);
    QVERIFY(!crashed.isEmpty());
    QString text;
    Dialogs::recoveryChoice = [&](const QString &, const QString &question) {
        text = question;
        return QMessageBox::StandardButton(answer);
    };
    {
        Tessel next;
        next.offerRecovery();
        QVERIFY(text.contains("a map not yet saved"));
        QCOMPARE(next.mapView()->mapModel()->layers().sectorCount(), cellsAfter);
        QCOMPARE(next.isWindowModified(), cellsAfter > 0);
    }
    // Opened and then closed normally, or discarded: gone. Later: still there.
    QCOMPARE(QFileInfo::exists(crashed), offeredAgain);
    QCOMPARE(RecoveryFile::orphans().size(), size_t(offeredAgain ? 1 : 0));
}

void TestRecovery::namedMapAsksBeforeReplacingRecoveredWork_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("opened");
    QTest::newRow("cancel keeps the recovered work") << int(QMessageBox::Cancel) << false;
    QTest::newRow("discard opens the named map") << int(QMessageBox::Discard) << true;
}

// "Tessel some.map" with work to recover: the question comes first.
void TestRecovery::namedMapAsksBeforeReplacingRecoveredWork()
{
    QFETCH(int, answer);
    QFETCH(bool, opened);
    EditorFixture editor;
    paintWalls(editor, 3);
    QVERIFY(!crash(editor).isEmpty());
    QFile named(editor.path("named.map"));
    QVERIFY(named.open(QIODevice::WriteOnly));
    named.write("#Floor\r\n7,\r\n\r\n#Definitions\r\n7,Floor,,named/stone.png\r\n");
    named.close();
    Dialogs::recoveryChoice = [](const QString &, const QString &) { return QMessageBox::Yes; };
    int asked = 0;
    Dialogs::unsavedChoice = [&](const QString &, const QString &) {
        ++asked;
        return QMessageBox::StandardButton(answer);
    };
    Tessel next;
    next.offerRecovery();
    QCOMPARE(next.openAtStart(editor.path("named.map")), opened);
    QCOMPARE(asked, 1);
    QCOMPARE(next.mapView()->mapModel()->sectorsOf("Wall").size(), opened ? 0 : 3);
    QCOMPARE(next.isWindowModified(), !opened);
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
