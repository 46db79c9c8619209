#include "view/gotocelldialog.h"

#include "format/maplimits.h"

#include "ui_gotocelldialog.h"

GoToCellDialog::GoToCellDialog(QWidget *parent) : QDialog(parent), ui(new Ui::GoToCellDialog)
{
    ui->setupUi(this);
}

GoToCellDialog::~GoToCellDialog() = default;

void GoToCellDialog::setCell(const QPoint &cell)
{
    ui->editGoToX->setText(QString::number(cell.x()));
    ui->editGoToY->setText(QString::number(cell.y()));
    ui->labelGoToProblem->clear();
    ui->editGoToX->selectAll();
    ui->editGoToX->setFocus();
}

QString GoToCellDialog::problem() const
{
    return ui->labelGoToProblem->text();
}

void GoToCellDialog::accept()
{
    QString problem;
    const std::optional<int> x = coordinate(ui->editGoToX, QStringLiteral("Map X"), &problem);
    const std::optional<int> y = x ? coordinate(ui->editGoToY, QStringLiteral("Map Y"), &problem) : std::nullopt;
    ui->labelGoToProblem->setText(problem);
    if (!x || !y)
        return;
    QDialog::accept();
    emit cellChosen(QPoint(*x, *y));
}

std::optional<int> GoToCellDialog::coordinate(const QLineEdit *edit, const QString &name, QString *problem) const
{
    bool whole = false;
    const int value = edit->text().trimmed().toInt(&whole);
    if (!whole)
        *problem = QStringLiteral("%1 must be a whole number.").arg(name);
    else if (value < 0)
        *problem = QStringLiteral("%1 cannot be negative: the map starts at 0.").arg(name);
    else if (value >= MapLimits::extent)
        *problem = QStringLiteral("%1 goes up to %2.").arg(name).arg(MapLimits::extent - 1);
    else
        return value;
    return std::nullopt;
}
