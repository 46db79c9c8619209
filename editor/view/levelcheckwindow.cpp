#include "view/levelcheckwindow.h"

#include "check/levelcheck.h"
#include "view/wrappingitemdelegate.h"

#include "ui_levelcheckwindow.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <utility>

namespace {

enum Column { SeverityColumn, LayerColumn, CellColumn, ProblemColumn };

} // namespace

LevelCheckWindow::LevelCheckWindow(SnapshotSource snapshotSource, QWidget *parent)
    : QWidget(parent, Qt::Window), ui(new Ui::LevelCheckWindow), source(std::move(snapshotSource))
{
    ui->setupUi(this);
    QHeaderView *header = ui->treeProblems->header();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The problem takes the rest of the width and wraps within it.
    header->setSectionResizeMode(ProblemColumn, QHeaderView::Stretch);
    ui->treeProblems->setItemDelegateForColumn(ProblemColumn, new WrappingItemDelegate(ui->treeProblems));
    // Rows are measured once; a new width must measure the wrapped lines again.
    connect(header, &QHeaderView::sectionResized, ui->treeProblems, &QTreeWidget::doItemsLayout,
            Qt::QueuedConnection);
    delay.setSingleShot(true);
    delay.setInterval(delayMs);
    connect(&delay, &QTimer::timeout, this, &LevelCheckWindow::checkNow);
    connect(ui->treeProblems, &QTreeWidget::itemActivated, this, &LevelCheckWindow::activate);
    checkNow();
    fitToMessages();
}

LevelCheckWindow::~LevelCheckWindow() = default;

void LevelCheckWindow::mapChanged()
{
    // Restarting the timer folds a burst of changes (a fill, a load) into one check.
    delay.start();
}

void LevelCheckWindow::checkNow()
{
    delay.stop();
    list(LevelCheck::run(source ? source() : LevelSnapshot()));
}

void LevelCheckWindow::list(const QList<LevelProblem> &problems)
{
    found = problems;
    int errors = 0;
    QList<QTreeWidgetItem *> items;
    for (int i = 0; i < problems.size(); ++i) {
        const LevelProblem &p = problems.at(i);
        errors += p.isError() ? 1 : 0;
        auto *item = new QTreeWidgetItem({LevelProblem::severityName(p.severity), QString::fromUtf8(p.layer),
                                          p.hasCell() ? p.cellName() : QString(), p.text()});
        item->setData(SeverityColumn, Qt::UserRole, i);
        item->setToolTip(ProblemColumn, p.text());
        if (p.isError())
            item->setForeground(SeverityColumn, QColor(190, 30, 30));
        items.append(item);
    }
    ui->treeProblems->clear();
    ui->treeProblems->addTopLevelItems(items);
    ui->labelCheckSummary->setText(problems.isEmpty() ? QStringLiteral("No problems: the level can be finished.")
                                                      : LevelProblem::tally(errors, problems.size() - errors));
}

// Opens wide enough for the longest line, as far as the screen allows; a
// longer one wraps.
void LevelCheckWindow::fitToMessages()
{
    const QTreeWidget *tree = ui->treeProblems;
    // The tree hides its columns' size hints; the view they come from does not.
    const QAbstractItemView *view = tree;
    int wanted = 0;
    for (int column = SeverityColumn; column < ProblemColumn; ++column)
        wanted += std::max(view->sizeHintForColumn(column), tree->header()->sectionSizeHint(column));
    const QFontMetrics metrics(tree->font());
    int longest = 0;
    for (const LevelProblem &p : std::as_const(found))
        longest = std::max(longest, metrics.horizontalAdvance(p.text()));
    // The item's own margins, the tree's frame and a scroll bar for long lists.
    wanted += longest + 4 * metrics.averageCharWidth() + 2 * tree->frameWidth()
        + tree->verticalScrollBar()->sizeHint().width();
    const QMargins margins = layout()->contentsMargins();
    wanted += margins.left() + margins.right();
    const QScreen *display = screen();
    const int room = display ? display->availableGeometry().width() * 9 / 10 : wanted;
    resize(std::max(width(), std::min(wanted, room)), height());
}

void LevelCheckWindow::activate(QTreeWidgetItem *item)
{
    const int index = item ? item->data(SeverityColumn, Qt::UserRole).toInt() : -1;
    if (index < 0 || index >= found.size() || !found.at(index).hasCell())
        return;
    const LevelProblem &p = found.at(index);
    emit problemActivated(p.layer, QPoint(p.mapX, p.mapY), p.cells);
}
