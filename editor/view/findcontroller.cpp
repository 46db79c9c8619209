#include "view/findcontroller.h"

#include "document/editingstate.h"
#include "document/mapdocument.h"
#include "format/layernames.h"
#include "gallery/texturegallery.h"
#include "model/findquery.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/findwindow.h"
#include "view/gotocelldialog.h"
#include "view/mapview.h"
#include "view/selectionactions.h"
#include "view/sidewindows.h"

#include <QMap>
#include <QShortcut>

FindController::FindController(MapView &mapView, QWidget *mainWindow)
    : QObject(nullptr), view(mapView), window(mainWindow)
{
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), window), &QShortcut::activated, this,
            &FindController::openFind);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), window), &QShortcut::activated, this,
            &FindController::openGoToCell);
}

FindController::~FindController()
{
    // Both read the map, which goes with the view right after.
    delete finder.data();
    delete goTo.data();
}

FindWindow *FindController::findWindow() const
{
    return finder;
}

GoToCellDialog *FindController::goToCellDialog() const
{
    return goTo;
}

void FindController::openFind()
{
    if (!finder) {
        MapModel *model = view.mapModel();
        finder = new FindWindow(model, window);
        finder->setAttribute(Qt::WA_DeleteOnClose);
        // Every change of the map reaches the window, which folds a burst into one search.
        for (auto changed : {&MapModel::sectorAdded, &MapModel::sectorRemoved, &MapModel::textureChanged,
                             &MapModel::propertiesChanged})
            connect(model, changed, finder, &FindWindow::mapChanged);
        connect(model, &MapModel::mapReplaced, finder, &FindWindow::mapChanged);
        connect(finder, &FindWindow::matchActivated, view.sideWindows(), &SideWindows::showCell);
        connect(finder, &FindWindow::selectAllClicked, this, &FindController::selectMatches);
        connect(finder, &FindWindow::replaceClicked, this, &FindController::replaceTextures);
    }
    finder->show();
    finder->raise();
    finder->activateWindow();
}

void FindController::openGoToCell()
{
    if (!goTo) {
        goTo = new GoToCellDialog(window);
        connect(goTo, &GoToCellDialog::cellChosen, this, [this](const QPoint &cell) {
            view.sideWindows()->showCell(view.editingState()->chosenLayer(), cell);
        });
    }
    goTo->setCell(view.centreCell());
    goTo->open();
}

// The matches of one layer, found again now: the list may be a moment old.
void FindController::selectMatches()
{
    std::optional<FindQuery> query = finder ? finder->query() : std::nullopt;
    if (!query)
        return;
    query->layer = finder->layerToSelect();
    if (query->layer.isEmpty())
        return;
    view.selectionActions()->selectCells(query->layer, findSectors(*view.mapModel(), *query));
}

// Every match takes the gallery's texture for its layer, all as one step.
// Light cells all show the lamp and keep it.
void FindController::replaceTextures()
{
    const std::optional<FindQuery> query = finder ? finder->query() : std::nullopt;
    if (!query)
        return;
    QMap<QByteArray, QList<Sector *>> byLayer;
    for (Sector *sector : findSectors(*view.mapModel(), *query))
        byLayer[sector->layer()].append(sector);
    int changed = 0;
    view.mapDocument()->beginEdit(QStringLiteral("Replace texture"));
    for (auto it = byLayer.cbegin(); it != byLayer.cend(); ++it) {
        const TextureEntry texture = view.textureGallery()->currentTextureOf(it.key());
        if (it.key() == LayerNames::Lightmap || texture.isEmpty())
            continue;
        view.mapModel()->retexture(it.value(), texture);
        changed += int(it.value().size());
    }
    view.mapDocument()->endEdit();
    view.setStatusText(QStringLiteral("%1 cell(s) given the gallery's texture").arg(changed));
}
