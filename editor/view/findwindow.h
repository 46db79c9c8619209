#pragma once

#include "model/findquery.h"

#include <QByteArray>
#include <QPoint>
#include <QTimer>
#include <QVector>
#include <QWidget>

#include <memory>
#include <optional>

namespace Ui {
class FindWindow;
}
class MapModel;
class QLineEdit;
class Sector;
class QTreeWidgetItem;

// The search over the whole map in a window of its own: the criteria, the
// matches with their count, and the buttons that act on them. The list runs
// a moment after the last change of the map, as the level check does.
class FindWindow : public QWidget
{
    Q_OBJECT

public:
    explicit FindWindow(const MapModel *model, QWidget *parent = nullptr);
    ~FindWindow() override;

    struct Match
    {
        QByteArray layer;
        QPoint cell;
    };

    // The criteria the fields give; none, with a word in `problem`, while a
    // light value is not a number.
    std::optional<FindQuery> query(QString *problem = nullptr) const;
    // The matches listed (at most listedAtMost of them) and how many there are.
    const QVector<Match> &listed() const { return rows; }
    int matchCount() const { return count; }
    QString summary() const;
    // The layer "Select all" takes: the one searched, else the current
    // match's, else the first match's.
    QByteArray layerToSelect() const;
    void searchNow();

    static constexpr int delayMs = 250;
    static constexpr int listedAtMost = 1000;

public slots:
    void mapChanged();

signals:
    void matchActivated(const QByteArray &layer, const QPoint &cell);
    void selectAllClicked();
    void replaceClicked();

private:
    void fillSubtypes();
    void list(const QList<Sector *> &found);
    void activate(QTreeWidgetItem *item);
    void goToMatches();
    static bool readNumber(const QLineEdit *edit, const QString &name, std::optional<double> *value,
                           QString *problem);
    static bool readWhole(const QLineEdit *edit, const QString &name, std::optional<qint32> *value,
                          QString *problem);

    std::unique_ptr<Ui::FindWindow> ui;
    const MapModel *model;
    QVector<Match> rows;
    int count = 0;
    QTimer delay;
};
