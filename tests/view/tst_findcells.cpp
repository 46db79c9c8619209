// Finding one's way in a large level through the real window: select alike,
// Ctrl+A, the Find window, Go to Cell, and the level check's textures.
#include "editorfixture.h"

#include "app/tessel.h"
#include "document/editingstate.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/findcontroller.h"
#include "view/findwindow.h"
#include "view/gotocelldialog.h"
#include "view/levelcheckwindow.h"
#include "view/mapview.h"
#include "view/sidewindows.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>

namespace {

// Wall: brick at (0,0) (2,0) (5,0), a pierced brick at (4,3), stone at (1,0);
// two lights at (7,7) (8,7), the second with emission 40.
void buildLevel(EditorFixture &editor)
{
    editor.setLayer("Wall");
    editor.pickTexture(0);
    for (int x : {0, 2, 5})
        editor.place(x, 0);
    editor.place(4, 3)->setSubtype("PiercedWall");
    editor.pickTexture(1);
    editor.place(1, 0);
    editor.setLayer("Lightmap");
    editor.place(7, 7);
    SectorLighting bright;
    bright.emission = 40;
    editor.view->mapModel()->setProperties(editor.place(8, 7), "Static", bright);
    editor.setLayer("Wall");
}

QList<QPoint> selectedCells(const EditorFixture &editor)
{
    QList<QPoint> cells = EditorFixture::cellsOf(editor.layers->selection());
    std::sort(cells.begin(), cells.end(),
              [](QPoint a, QPoint b) { return qMakePair(a.y(), a.x()) < qMakePair(b.y(), b.x()); });
    return cells;
}

FindWindow *openFind(EditorFixture &editor)
{
    QTest::keyClick(editor.window.get(), Qt::Key_F, Qt::ControlModifier);
    FindWindow *find = editor.window->findController()->findWindow();
    if (find)
        find->searchNow();
    return find;
}

bool centred(const EditorFixture &editor, const QPoint &cell)
{
    return editor.view->centreCell() == cell;
}

} // namespace

class TestFindCells : public QObject
{
    Q_OBJECT

private slots:
    void selectAlikeActsAsAnySelection();
    void findCriteria_data();
    void findCriteria();
    void findActsOnItsMatches();
    void goToCell_data();
    void goToCell();
    void levelCheckJudgesTexturesAndSelectsALine();
};

void TestFindCells::selectAlikeActsAsAnySelection()
{
    EditorFixture editor;
    buildLevel(editor);
    QUndoStack *history = editor.view->undoStack();
    editor.clickButton("radioSelect");
    editor.moveTo(2, 0);
    QTest::mouseDClick(editor.map, Qt::LeftButton, Qt::NoModifier, editor.cellCenter(2, 0));
    // Not only the connected ones, and not the pierced brick.
    QCOMPARE(selectedCells(editor), (QList<QPoint>{{0, 0}, {2, 0}, {5, 0}}));
    QTest::keyClick(editor.window.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(editor.view->statusText(), QString("3 cell(s) copied"));

    // A gallery click retextures all of them as one step.
    const int steps = history->count();
    editor.pickTexture(2);
    QCOMPARE(history->count(), steps + 1);
    QCOMPARE(editor.sectorOn("Wall", 5, 0)->data->texture.fileName, QByteArray("wood.png"));
    QCOMPARE(editor.sectorOn("Wall", 4, 3)->data->texture.fileName, QByteArray("brick.png"));

    QTest::keyClick(editor.window.get(), Qt::Key_Delete);
    QCOMPARE(editor.view->mapModel()->sectorsOf("Wall").size(), 2);
    history->undo();
    QCOMPARE(editor.view->mapModel()->sectorsOf("Wall").size(), 5);

    // Ctrl+A takes the chosen layer whole, from Paint mode too.
    editor.clickButton("radioPaint");
    QTest::keyClick(editor.window.get(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(editor.layers->selection().size(), 5);
    QCOMPARE(editor.view->editingState()->mode(), EditingState::Mode::Select);
}

void TestFindCells::findCriteria_data()
{
    QTest::addColumn<QString>("layer");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("summary");

    QTest::newRow("name part, any case") << "All layers" << "editFindTexture" << "BRI" << "4 matches";
    QTest::newRow("one layer") << "Lightmap" << "editFindTexture" << "" << "2 matches";
    QTest::newRow("light value") << "All layers" << "editFindEmission" << "40" << "1 match";
    QTest::newRow("light blink delay") << "All layers" << "editFindBlinkDelay" << "0.5" << "2 matches";
    QTest::newRow("not a number") << "All layers" << "editFindEmissionMin" << "ten"
                                  << "Emission min must be a number.";
    QTest::newRow("not whole") << "All layers" << "editFindEmission" << "2.5" << "Emission must be a whole number.";
}

void TestFindCells::findCriteria()
{
    QFETCH(QString, layer);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, summary);
    EditorFixture editor;
    buildLevel(editor);
    FindWindow *find = openFind(editor);
    QVERIFY(find && find->isVisible());
    QCOMPARE(find->windowTitle(), QString("Find"));
    find->findChild<QComboBox *>("comboFindLayer")->setCurrentText(layer);
    QTest::keyClicks(find->findChild<QLineEdit *>(field), text);
    QCOMPARE(find->summary(), summary);
    QCOMPARE(find->findChild<QTreeWidget *>("treeMatches")->topLevelItemCount(), find->matchCount());
}

void TestFindCells::findActsOnItsMatches()
{
    EditorFixture editor;
    buildLevel(editor);
    FindWindow *find = openFind(editor);
    QTest::keyClicks(find->findChild<QLineEdit *>("editFindTexture"), "brick");
    auto *tree = find->findChild<QTreeWidget *>("treeMatches");
    QCOMPARE(tree->topLevelItem(3)->text(0) + tree->topLevelItem(3)->text(4), QString("WallPiercedWall"));

    // A double-click shows the cell on its layer, in the middle of the view.
    editor.setLayer("Floor");
    emit tree->itemActivated(tree->topLevelItem(2), 0);
    QCOMPARE(editor.view->editingState()->chosenLayer(), QByteArray("Wall"));
    QVERIFY(centred(editor, QPoint(5, 0)));

    // The list follows edits.
    editor.pickTexture(0);
    editor.place(9, 9);
    QTRY_COMPARE(find->matchCount(), 5);

    find->findChild<QPushButton *>("btnFindSelectAll")->click();
    QCOMPARE(editor.layers->selection().size(), 5);

    // Replace: the gallery's current texture of the layer, one undo step.
    editor.gallery->selectTexture(editor.gallery->texturesOf("Wall").value(2));
    const int steps = editor.view->undoStack()->count();
    find->findChild<QPushButton *>("btnFindReplace")->click();
    QCOMPARE(editor.view->undoStack()->count(), steps + 1);
    QCOMPARE(editor.sectorOn("Wall", 4, 3)->data->texture.fileName, QByteArray("wood.png"));
    QTRY_COMPARE(find->matchCount(), 0);
}

void TestFindCells::goToCell_data()
{
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("problem");

    QTest::newRow("a cell") << "30" << "12" << "";
    QTest::newRow("negative") << "30" << "-1" << "Map Y cannot be negative: the map starts at 0.";
    QTest::newRow("not a number") << "x" << "1" << "Map X must be a whole number.";
    QTest::newRow("beyond the largest map") << "4096" << "1" << "Map X goes up to 4095.";
}

void TestFindCells::goToCell()
{
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QString, problem);
    EditorFixture editor;
    QTest::keyClick(editor.window.get(), Qt::Key_G, Qt::ControlModifier);
    GoToCellDialog *dialog = editor.window->findController()->goToCellDialog();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QString("Go to Cell"));
    dialog->findChild<QLineEdit *>("editGoToX")->setText(x);
    dialog->findChild<QLineEdit *>("editGoToY")->setText(y);
    QTest::keyClick(dialog->findChild<QLineEdit *>("editGoToY"), Qt::Key_Return);
    QCOMPARE(dialog->problem(), problem);
    QCOMPARE(dialog->isVisible(), !problem.isEmpty());
    if (problem.isEmpty())
        QVERIFY(centred(editor, QPoint(x.toInt(), y.toInt())));
}

void TestFindCells::levelCheckJudgesTexturesAndSelectsALine()
{
    EditorFixture editor;
    editor.setLayer("Wall");
    editor.pickTexture(1);
    for (int x = 0; x < 3; ++x)
        editor.place(x, 5);
    editor.setLayer("Floor");
    editor.place(4, 4);
    QVERIFY(QFile::remove(editor.path("textures/Wall/stone.png")));
    // A path a load refused keeps its name only.
    editor.view->mapModel()->retexture({editor.sectorOn("Floor", 4, 4)}, TextureEntry{"far.png", "", 900});

    editor.view->sideWindows()->openLevelCheck();
    LevelCheckWindow *check = editor.view->sideWindows()->levelCheckWindow();
    QStringList lines;
    int missing = -1;
    for (int i = 0; i < check->problems().size(); ++i) {
        const LevelProblem &p = check->problems().at(i);
        lines << p.kind + ' ' + p.layer;
        if (p.kind == "texture-missing")
            missing = i;
    }
    QVERIFY2(lines.contains("texture-missing Wall") && lines.contains("texture-refused Floor"),
             qPrintable(lines.join(", ")));

    // A double-click on the line selects all its cells on their layer.
    auto *tree = check->findChild<QTreeWidget *>("treeProblems");
    emit tree->itemActivated(tree->topLevelItem(missing), 0);
    QCOMPARE(editor.view->editingState()->chosenLayer(), QByteArray("Wall"));
    QCOMPARE(selectedCells(editor), (QList<QPoint>{{0, 5}, {1, 5}, {2, 5}}));
}

QTEST_MAIN(TestFindCells)
#include "tst_findcells.moc"
