#include "view/findwindow.h"

#include "format/layernames.h"
#include "model/sector.h"
#include "model/subtypetable.h"

#include "ui_findwindow.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace {

enum Column { LayerColumn, XColumn, YColumn, TextureColumn, SubtypeColumn };

const QString anyLayer = QStringLiteral("All layers");
const QString anySubtype = QStringLiteral("Any");

} // namespace

FindWindow::FindWindow(const MapModel *mapModel, QWidget *parent)
    : QWidget(parent, Qt::Window), ui(new Ui::FindWindow), model(mapModel)
{
    ui->setupUi(this);
    ui->comboFindLayer->addItem(anyLayer);
    for (const QByteArray &layer : layerOrder())
        ui->comboFindLayer->addItem(QString::fromUtf8(layer));
    fillSubtypes();
    ui->treeMatches->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    delay.setSingleShot(true);
    delay.setInterval(delayMs);
    connect(&delay, &QTimer::timeout, this, &FindWindow::searchNow);
    // A change of the criteria searches at once: one pass over the map.
    const auto search = [this]() { searchNow(); };
    connect(ui->comboFindLayer, &QComboBox::currentTextChanged, this, [this]() {
        fillSubtypes();
        searchNow();
    });
    connect(ui->comboFindSubtype, &QComboBox::currentTextChanged, this, search);
    connect(ui->comboFindRandom, &QComboBox::currentTextChanged, this, search);
    for (QLineEdit *edit : {ui->editFindTexture, ui->editFindEmission, ui->editFindEmissionMin,
                            ui->editFindEmissionMax, ui->editFindBlinkDelay})
        connect(edit, &QLineEdit::textChanged, this, search);
    connect(ui->treeMatches, &QTreeWidget::itemActivated, this, &FindWindow::activate);
    connect(ui->btnFindSelectAll, &QPushButton::clicked, this, &FindWindow::selectAllClicked);
    connect(ui->btnFindReplace, &QPushButton::clicked, this, &FindWindow::replaceClicked);
    // Most searches are by the texture's name; Return there goes on to the matches.
    ui->editFindTexture->setFocus();
    connect(ui->editFindTexture, &QLineEdit::returnPressed, this, &FindWindow::goToMatches);
    searchNow();
}

FindWindow::~FindWindow() = default;

void FindWindow::mapChanged()
{
    // Restarting the timer folds a burst of changes (a fill, a load) into one search.
    delay.start();
}

// The subtypes of the layer searched, or of every layer, each named once.
void FindWindow::fillSubtypes()
{
    const QString was = ui->comboFindSubtype->currentText();
    const QString layer = ui->comboFindLayer->currentText();
    QStringList names{anySubtype};
    for (const QByteArray &name : layerOrder()) {
        if (layer != anyLayer && layer != QString::fromUtf8(name))
            continue;
        for (const QByteArray &subtype : subtypesOf(name)) {
            if (!subtype.isEmpty() && !names.contains(QString::fromUtf8(subtype)))
                names.append(QString::fromUtf8(subtype));
        }
    }
    const QSignalBlocker quiet(ui->comboFindSubtype);
    ui->comboFindSubtype->clear();
    ui->comboFindSubtype->addItems(names);
    ui->comboFindSubtype->setCurrentIndex(std::max(0, int(names.indexOf(was))));
}

bool FindWindow::readNumber(const QLineEdit *edit, const QString &name, std::optional<double> *value,
                            QString *problem)
{
    const QString text = edit->text().trimmed();
    if (text.isEmpty())
        return true;
    bool number = false;
    const double read = text.toDouble(&number);
    if (!number || !std::isfinite(read)) {
        *problem = QStringLiteral("%1 must be a number.").arg(name);
        return false;
    }
    *value = read;
    return true;
}

bool FindWindow::readWhole(const QLineEdit *edit, const QString &name, std::optional<qint32> *value,
                           QString *problem)
{
    std::optional<double> read;
    if (!readNumber(edit, name, &read, problem))
        return false;
    if (read && (*read != std::floor(*read) || std::abs(*read) > 2147483647.0)) {
        *problem = QStringLiteral("%1 must be a whole number.").arg(name);
        return false;
    }
    if (read)
        *value = qint32(*read);
    return true;
}

std::optional<FindQuery> FindWindow::query(QString *problem) const
{
    FindQuery query;
    const QString layer = ui->comboFindLayer->currentText();
    if (layer != anyLayer)
        query.layer = layer.toUtf8();
    query.fileNamePart = ui->editFindTexture->text().trimmed();
    if (ui->comboFindSubtype->currentText() != anySubtype)
        query.subtype = ui->comboFindSubtype->currentText().toUtf8();
    if (ui->comboFindRandom->currentIndex() > 0)
        query.randomIntensity = ui->comboFindRandom->currentIndex() == 1;
    QString word;
    const bool numbers = readWhole(ui->editFindEmission, QStringLiteral("Emission"), &query.emission, &word)
        && readWhole(ui->editFindEmissionMin, QStringLiteral("Emission min"), &query.emissionMin, &word)
        && readWhole(ui->editFindEmissionMax, QStringLiteral("Emission max"), &query.emissionMax, &word)
        && readNumber(ui->editFindBlinkDelay, QStringLiteral("Blink delay"), &query.blinkDelay, &word);
    if (problem)
        *problem = word;
    if (!numbers)
        return std::nullopt;
    return query;
}

QString FindWindow::summary() const
{
    return ui->labelFindCount->text();
}

void FindWindow::searchNow()
{
    delay.stop();
    QString problem;
    const std::optional<FindQuery> asked = query(&problem);
    list(asked && model ? findSectors(*model, *asked) : QList<Sector *>());
    if (!asked)
        ui->labelFindCount->setText(problem);
    ui->btnFindSelectAll->setEnabled(count > 0);
    ui->btnFindReplace->setEnabled(count > 0);
}

// Only the first matches become rows: a list of thousands would cost more
// than the search, and nobody reads that far.
void FindWindow::list(const QList<Sector *> &found)
{
    count = int(found.size());
    rows.clear();
    QList<QTreeWidgetItem *> items;
    for (const Sector *sector : found.mid(0, listedAtMost)) {
        const SectorData *data = sector->data;
        rows.append(Match{sector->layer(), QPoint(data->mapX, data->mapY)});
        auto *item = new QTreeWidgetItem({QString::fromUtf8(sector->layer()), QString::number(data->mapX),
                                          QString::number(data->mapY), QString::fromUtf8(data->texture.fileName),
                                          QString::fromUtf8(data->subtype)});
        item->setData(LayerColumn, Qt::UserRole, int(rows.size() - 1));
        items.append(item);
    }
    // An edit lists the matches again: the place in the list stays.
    QTreeWidget *tree = ui->treeMatches;
    const int currentRow = tree->indexOfTopLevelItem(tree->currentItem());
    const int scrolled = tree->verticalScrollBar()->value();
    tree->clear();
    tree->addTopLevelItems(items);
    if (currentRow >= 0 && !items.isEmpty())
        tree->setCurrentItem(items.at(std::min(currentRow, int(items.size()) - 1)));
    tree->verticalScrollBar()->setValue(scrolled);
    QString text = count == 1 ? QStringLiteral("1 match") : QStringLiteral("%1 matches").arg(count);
    if (count > listedAtMost)
        text += QStringLiteral(", the first %1 listed").arg(listedAtMost);
    ui->labelFindCount->setText(text);
}

QByteArray FindWindow::layerToSelect() const
{
    const std::optional<FindQuery> asked = query();
    if (asked && !asked->layer.isEmpty())
        return asked->layer;
    const QTreeWidgetItem *current = ui->treeMatches->currentItem();
    const int row = current ? current->data(LayerColumn, Qt::UserRole).toInt() : 0;
    return rows.value(row).layer;
}

void FindWindow::goToMatches()
{
    searchNow();
    if (ui->treeMatches->topLevelItemCount() == 0)
        return;
    ui->treeMatches->setFocus();
    ui->treeMatches->setCurrentItem(ui->treeMatches->topLevelItem(0));
}

void FindWindow::activate(QTreeWidgetItem *item)
{
    const int row = item ? item->data(LayerColumn, Qt::UserRole).toInt() : -1;
    if (row >= 0 && row < rows.size())
        emit matchActivated(rows.at(row).layer, rows.at(row).cell);
}
