// The preview (F5) and the level check (F7) windows beside the editor: they
// open on their keys, follow every edit and lead back to the map.
#include "editorfixture.h"

#include "app/tessel.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/levelcheckwindow.h"
#include "view/mapview.h"
#include "view/previewwindow.h"
#include "view/sidewindows.h"

#include <QComboBox>
#include <QTest>
#include <QTreeWidget>

namespace {

// A corridor of walls around row 1 with the player at its west end.
void buildCorridor(EditorFixture &editor)
{
    editor.setLayer("Wall");
    for (int x = 0; x < 8; ++x) {
        editor.place(x, 0);
        editor.place(x, 2);
    }
    editor.place(0, 1);
    editor.setLayer("Actor");
    editor.place(1, 1)->setSubtype("Player");
    editor.setLayer("Wall");
}

QRgb centre(const QImage &frame)
{
    return frame.pixel(frame.width() / 2, frame.height() / 2);
}

} // namespace

class TestSideWindows : public QObject
{
    Q_OBJECT

private slots:
    void previewStartsAtThePlayerAndFollowsEdits();
    void previewOpensAtThePointer();
    void levelCheckFollowsEditsAndShowsTheCell();
};

void TestSideWindows::previewStartsAtThePlayerAndFollowsEdits()
{
    EditorFixture editor;
    buildCorridor(editor);
    QTest::keyClick(editor.window.get(), Qt::Key_F5);
    PreviewWindow *preview = editor.view->sideWindows()->previewWindow();
    QVERIFY(preview && preview->isVisible());
    QCOMPARE(preview->cameraCell(), QPoint(1, 1));
    QCOMPARE(preview->camera().angle, 0.0); // east: the only open side
    const QRgb open = centre(preview->frame());
    editor.place(4, 1); // a wall straight ahead, painted in the main window
    QTRY_VERIFY(centre(preview->frame()) != open);
    // The preview reads the map and never changes it.
    QCOMPARE(editor.view->mapModel()->layers().sectorCount(), 19);
}

void TestSideWindows::previewOpensAtThePointer()
{
    EditorFixture editor;
    buildCorridor(editor);
    editor.moveTo(5, 1);
    QTest::keyClick(editor.window.get(), Qt::Key_F5, Qt::ControlModifier);
    QVERIFY(editor.view->sideWindows()->previewWindow());
    QCOMPARE(editor.view->sideWindows()->previewWindow()->cameraCell(), QPoint(5, 1));
}

void TestSideWindows::levelCheckFollowsEditsAndShowsTheCell()
{
    EditorFixture editor;
    buildCorridor(editor);
    QTest::keyClick(editor.window.get(), Qt::Key_F7);
    LevelCheckWindow *check = editor.view->sideWindows()->levelCheckWindow();
    QVERIFY(check && check->isVisible());
    const auto kinds = [check]() {
        QList<QByteArray> list;
        for (const LevelProblem &p : check->problems())
            list << p.kind;
        return list;
    };
    QVERIFY(!kinds().isEmpty());
    QVERIFY(!kinds().contains("no-player"));
    // Painting the exit inside a wall shows up without asking.
    editor.setLayer("Item");
    editor.place(3, 2);
    editor.view->mapModel()->setProperties(editor.sectorOn("Item", 3, 2), "LevelEnd", SectorLighting());
    QTRY_VERIFY(kinds().contains("inside-wall"));
    // Double-clicking it brings the cell's layer and marks the cell in view.
    auto *tree = check->findChild<QTreeWidget *>("treeProblems");
    QTreeWidgetItem *row = nullptr;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->topLevelItem(i)->text(2) == "Map X 3, Map Y 2")
            row = tree->topLevelItem(i);
    }
    QVERIFY(row);
    editor.setLayer("Ceil");
    emit tree->itemActivated(row, 0);
    QCOMPARE(editor.window->findChild<QComboBox *>("comboBoxMapLayer")->currentText(), QString(row->text(1)));
    QCOMPARE(editor.view->mapToCanvas(QPoint(3, 2)), editor.view->mapToCanvas(editor.view->centreCell()));
}

QTEST_MAIN(TestSideWindows)
#include "tst_sidewindows.moc"
