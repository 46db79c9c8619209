#include "view/levelcheckwindow.h"

#include "check/levelcheck.h"

#include "ui_levelcheckwindow.h"

#include <QHeaderView>

LevelCheckWindow::LevelCheckWindow(SnapshotSource snapshotSource, QWidget *parent)
    : QWidget(parent, Qt::Window), ui(new Ui::LevelCheckWindow), source(std::move(snapshotSource))
{
    ui->setupUi(this);
    ui->treeProblems->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui->treeProblems->header()->setStretchLastSection(true);
    delay.setSingleShot(true);
    delay.setInterval(delayMs);
    connect(&delay, &QTimer::timeout, this, &LevelCheckWindow::checkNow);
    connect(ui->treeProblems, &QTreeWidget::itemActivated, this, &LevelCheckWindow::activate);
    checkNow();
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
                                          p.hasCell() ? p.cellName() : QString(), p.message});
        item->setData(0, Qt::UserRole, i);
        item->setToolTip(3, p.message);
        if (p.isError())
            item->setForeground(0, QColor(190, 30, 30));
        items.append(item);
    }
    ui->treeProblems->clear();
    ui->treeProblems->addTopLevelItems(items);
    const int warnings = problems.size() - errors;
    ui->labelCheckSummary->setText(problems.isEmpty()
                                       ? QStringLiteral("No problems: the level can be finished.")
                                       : QStringLiteral("%1 error(s), %2 warning(s)").arg(errors).arg(warnings));
}

void LevelCheckWindow::activate(QTreeWidgetItem *item)
{
    const int index = item ? item->data(0, Qt::UserRole).toInt() : -1;
    if (index < 0 || index >= found.size() || !found.at(index).hasCell())
        return;
    const LevelProblem &p = found.at(index);
    emit problemActivated(p.layer, QPoint(p.mapX, p.mapY));
}
