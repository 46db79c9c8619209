#pragma once

#include <QDialog>
#include <QPoint>

#include <memory>
#include <optional>

namespace Ui {
class GoToCellDialog;
}
class QLineEdit;

// Asks for a map cell by its Map X and Map Y. A value that is not a cell of a
// map (not a whole number, negative, beyond the largest map) is refused with a
// word and the dialog stays open.
class GoToCellDialog : public QDialog
{
    Q_OBJECT

public:
    explicit GoToCellDialog(QWidget *parent = nullptr);
    ~GoToCellDialog() override;

    // Fills in the fields (the cell in the middle of the view).
    void setCell(const QPoint &cell);
    QString problem() const;

public slots:
    void accept() override;

signals:
    void cellChosen(const QPoint &cell);

private:
    std::optional<int> coordinate(const QLineEdit *edit, const QString &name, QString *problem) const;

    std::unique_ptr<Ui::GoToCellDialog> ui;
};
