#include "../check/levelpicture.h"

#include "check/parsedsnapshot.h"
#include "view/levelcheckwindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>

// The level check window as a new user meets it: most findings are one
// problem on many cells, in a window that must show them whole.
class TestLevelCheckWindow : public QObject
{
    Q_OBJECT

private slots:
    void showsOneProblemALineWholeAndGivesItsCells();
};

namespace {

// 31 cells with a floor and no ceiling in a closed corridor, a soldier in
// its wall, and at its end a key door whose key is nowhere.
LevelSnapshot corridor()
{
    const QList<QByteArray> picture{QByteArray(36, '#'), "#PE" + QByteArray(31, 'f') + "B#",
                                    "##X" + QByteArray(33, '#')};
    return ParsedSnapshot::from(MapFormat::parse(LevelPicture::mapText(picture), "/levels"),
                                LevelPicture::editorLayers);
}

} // namespace

void TestLevelCheckWindow::showsOneProblemALineWholeAndGivesItsCells()
{
    LevelCheckWindow window(corridor);
    auto *tree = window.findChild<QTreeWidget *>("treeProblems");
    QCOMPARE(window.findChild<QLabel *>("labelCheckSummary")->text(), "1 error, 2 warnings");
    QCOMPARE(tree->topLevelItemCount(), 3);
    QTreeWidgetItem *ceiling = tree->findItems("31 reachable cells have no Ceil: Map X 3, Map Y 1 and 30 more",
                                               Qt::MatchExactly, 3).value(0);
    QVERIFY(ceiling);

    // A double-click shows the first cell, as for a single problem, and
    // gives every cell of the line, so that the editor can select them all.
    QList<QVariantList> activated;
    connect(&window, &LevelCheckWindow::problemActivated, this,
            [&](const QByteArray &layer, const QPoint &cell, const QVector<QPoint> &cells) {
                activated.append({layer, cell, QVariant::fromValue(cells.size()), cells.value(30)});
            });
    emit tree->itemActivated(ceiling, 3);
    QCOMPARE(activated.value(0), (QVariantList{QByteArray("Ceil"), QPoint(3, 1), 31, QPoint(33, 1)}));

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

QTEST_MAIN(TestLevelCheckWindow)
#include "tst_levelcheckwindow.moc"
