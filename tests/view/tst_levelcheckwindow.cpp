// The level check window as a new user meets it: a level whose findings are
// mostly one problem on many cells, in a window that must show them whole.
#include "../check/levelpicture.h"

#include "check/parsedsnapshot.h"
#include "view/levelcheckwindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>

class TestLevelCheckWindow : public QObject
{
    Q_OBJECT

private slots:
    void showsOneLinePerProblemWholeAndWrapped();
    void doubleClickGivesEveryCellOfALine();
};

namespace {

// 31 cells with a floor and no ceiling in a closed corridor, a soldier in
// its wall, and at its end a key door whose key is nowhere.
LevelSnapshot corridor()
{
    const QList<QByteArray> picture{QByteArray(36, '#'), "#PE" + QByteArray(31, 'f') + "B#",
                                    "##X" + QByteArray(33, '#')};
    const MapFormat::Parsed parsed = MapFormat::parse(LevelPicture::mapText(picture), "/levels");
    return ParsedSnapshot::from(parsed, LevelPicture::editorLayers);
}

QTreeWidgetItem *rowSaying(QTreeWidget *tree, const QString &start)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->topLevelItem(i)->text(3).startsWith(start))
            return tree->topLevelItem(i);
    }
    return nullptr;
}

} // namespace

void TestLevelCheckWindow::showsOneLinePerProblemWholeAndWrapped()
{
    LevelCheckWindow window(corridor);
    auto *tree = window.findChild<QTreeWidget *>("treeProblems");
    QCOMPARE(tree->topLevelItemCount(), 3);
    QCOMPARE(window.findChild<QLabel *>("labelCheckSummary")->text(), "1 error, 2 warnings");
    QTreeWidgetItem *ceiling = rowSaying(tree, "31 reachable cells have no Ceil: Map X 3, Map Y 1 and 30 more");
    QVERIFY(ceiling);
    QCOMPARE(ceiling->text(2), "Map X 3, Map Y 1");

    // It opens wide enough for its longest line, as far as the screen allows.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    int longest = 0;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        longest = std::max(longest, tree->fontMetrics().horizontalAdvance(tree->topLevelItem(i)->text(3)));
    const int room = window.screen()->availableGeometry().width() * 9 / 10;
    QTRY_VERIFY(tree->header()->sectionSize(3) > longest || window.width() >= room);
    QVERIFY(window.width() > 640);

    // Narrowed, a long line takes more rows instead of being cut off.
    window.resize(420, window.height());
    QTRY_VERIFY(tree->visualItemRect(ceiling).height() >= 3 * tree->fontMetrics().height());
}

// The line shows its first cell, as a single problem does; its cells go
// along, so that the editor can select them all on their layer.
void TestLevelCheckWindow::doubleClickGivesEveryCellOfALine()
{
    LevelCheckWindow window(corridor);
    QByteArray layer;
    QPoint shown;
    QVector<QPoint> cells;
    connect(&window, &LevelCheckWindow::problemActivated, this,
            [&](const QByteArray &l, const QPoint &cell, const QVector<QPoint> &all) {
                layer = l;
                shown = cell;
                cells = all;
            });
    auto *tree = window.findChild<QTreeWidget *>("treeProblems");
    emit tree->itemActivated(rowSaying(tree, "31 reachable"), 3);
    QCOMPARE(layer, QByteArray("Ceil"));
    QCOMPARE(shown, QPoint(3, 1));
    QCOMPARE(cells.size(), 31);
    QCOMPARE(cells.first(), QPoint(3, 1));
    QCOMPARE(cells.last(), QPoint(33, 1));
    emit tree->itemActivated(rowSaying(tree, "a Soldier"), 3);
    QCOMPARE(cells, QVector<QPoint>{QPoint(2, 2)});
}

QTEST_MAIN(TestLevelCheckWindow)
#include "tst_levelcheckwindow.moc"
