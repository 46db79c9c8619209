#include "invariants.h"

#include "editorfixture.h"

#include "app/tessel.h"
#include "document/editingstate.h"
#include "format/layernames.h"
#include "layers/layercontroller.h"
#include "document/mapfile.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/iconcache.h"
#include "view/mapview.h"
#include "view/sectorbutton.h"
#include "view/sectorcanvas.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>

namespace {

QString cellOf(const Sector *sector, const QByteArray &layer)
{
    return QStringLiteral("%1 cell (%2, %3)")
        .arg(QString::fromUtf8(layer))
        .arg(sector->data->mapX)
        .arg(sector->data->mapY);
}

// Walls always; Ceil, Floor and Lightmap each alone with the walls; the object
// layers together.
bool shownWhileEditing(const QByteArray &layer, const QByteArray &current)
{
    using namespace LayerNames;
    const QList<QByteArray> alone{Ceil, Floor, Lightmap};
    if (layer == Wall)
        return true;
    if (alone.contains(layer) || alone.contains(current))
        return layer == current;
    return true;
}

QString lookName(const QColor &look)
{
    if (!look.isValid())
        return QStringLiteral("plain");
    if (look == LayerController::otherLayerTint)
        return QStringLiteral("the other-layer tint");
    if (look == LayerController::selectedTint)
        return QStringLiteral("the selection tint");
    return QStringLiteral("grey %1").arg(look.red());
}

} // namespace

Invariants::Invariants(EditorFixture &editor) : editor(editor)
{
}

QString Invariants::model() const
{
    return editor.view->mapModel()->checkConsistency().value(0);
}

QString Invariants::buttons() const
{
    const LayerTable &table = editor.view->mapModel()->layers();
    QSet<const QPushButton *> withCells;
    for (const auto &entry : table) {
        for (const Sector *sector : entry.sectors) {
            if (sector->data->button)
                withCells.insert(sector->data->button);
            const QString problem = buttonProblem(sector, entry.name);
            if (!problem.isEmpty())
                return problem;
        }
    }
    // A cell out of sight may have no button; one without its cell is a hidden
    // spare, and the canvas counts them all.
    const SectorCanvas *canvas = SectorCanvas::forMap(editor.map);
    int spares = 0;
    for (const SectorButton *button : canvas->findChildren<SectorButton *>()) {
        if (!withCells.contains(button) && !button->isHidden())
            return QStringLiteral("a cell button without its cell shows at %1, %2").arg(button->x()).arg(button->y());
        spares += withCells.contains(button) ? 0 : 1;
    }
    if (spares != canvas->spareCount())
        return QStringLiteral("%1 spare cell buttons, the canvas counts %2").arg(spares).arg(canvas->spareCount());
    return QString();
}

QString Invariants::buttonProblem(const Sector *sector, const QByteArray &layer) const
{
    const QPushButton *button = sector->data->button;
    const SectorCanvas *canvas = SectorCanvas::forMap(editor.map);
    const int size = editor.view->cellSize();
    const QPoint origin = editor.view->origin();
    const QRect place(QPoint(sector->data->mapX + origin.x(), sector->data->mapY + origin.y()) * size, QSize(size, size));
    // The layer being edited is the one the combo box shows: no key is held now.
    const QByteArray current = editor.window->findChild<QComboBox *>("comboBoxMapLayer")->currentText().toUtf8();
    const bool shown = shownWhileEditing(layer, current) && place.intersects(canvas->rect());
    if (!button) {
        if (shown)
            return cellOf(sector, layer) + QStringLiteral(" has no button, but its layer is shown and it is in view");
    } else {
        const QRect shownAt(button->mapTo(canvas, QPoint()), button->size());
        if (shownAt != place)
            return cellOf(sector, layer) + QStringLiteral(": button at %1,%2 %3x%4, the cell is at %5,%6 %7x%8")
                                               .arg(shownAt.x()).arg(shownAt.y()).arg(shownAt.width()).arg(shownAt.height())
                                               .arg(place.x()).arg(place.y()).arg(place.width()).arg(place.height());
        if (button->isVisibleTo(canvas) != shown)
            return cellOf(sector, layer) + (shown ? QStringLiteral(": button hidden, but its layer is shown and it is in view")
                                                  : QStringLiteral(": button shown, but its layer is hidden or it is out of view"));
    }
    // A hidden layer takes its looks anew when it is shown again.
    if (!shownWhileEditing(layer, current))
        return QString();
    QColor look;
    if (editor.layers->selection().contains(const_cast<Sector *>(sector)))
        look = LayerController::selectedTint;
    else if (layer != current)
        look = LayerController::otherLayerTint;
    else if (layer == LayerNames::Lightmap)
        look = LayerController::lightShade(sector);
    if (sector->look() != look)
        return cellOf(sector, layer) + QStringLiteral(": looks %1 while %2 is edited; expected %3")
                                           .arg(lookName(sector->look()), QString::fromUtf8(current), lookName(look));
    if (shown && button->icon().cacheKey() != IconCache::icon(sector->imagePath(), look).cacheKey())
        return cellOf(sector, layer) + QStringLiteral(": the button does not show its image with its look");
    return QString();
}

QString Invariants::selection() const
{
    QSet<const Sector *> listed;
    for (const auto &entry : editor.view->mapModel()->layers())
        listed.unite(QSet<const Sector *>(entry.sectors.cbegin(), entry.sectors.cend()));
    for (const Sector *sector : editor.layers->selection()) {
        if (!listed.contains(sector))
            return QStringLiteral("the selection holds a sector that is not on the map");
    }
    return QString();
}

QString Invariants::tools() const
{
    const auto radio = [this](const char *name) {
        return editor.window->findChild<QRadioButton *>(QString::fromLatin1(name))->isChecked();
    };
    const EditingState *state = editor.view->editingState();
    if (radio("radioPaint") != (state->mode() == EditingState::Mode::Paint)
        || radio("radioSelect") != (state->mode() == EditingState::Mode::Select))
        return QStringLiteral("the mode radios do not show the mode");
    const QPair<const char *, EditingState::PaintTool> tools[] = {
        {"radioPencil", EditingState::PaintTool::Pencil},  {"radioFloodFill", EditingState::PaintTool::FloodFill},
        {"radioLine", EditingState::PaintTool::Line},      {"radioRectangle", EditingState::PaintTool::Rectangle},
        {"radioRoom", EditingState::PaintTool::Room}};
    for (const auto &tool : tools) {
        if (radio(tool.first) != (state->paintTool() == tool.second))
            return QStringLiteral("%1 does not show the paint tool").arg(QString::fromLatin1(tool.first));
    }
    return QString();
}

QString Invariants::edit() const
{
    return editor.view->editOpen() ? QStringLiteral("an edit is still open with every button up") : QString();
}

QString Invariants::removal(const Sector *removed) const
{
    for (const auto &entry : editor.view->mapModel()->layers()) {
        if (entry.sectors.contains(const_cast<Sector *>(removed)))
            return QStringLiteral("a removed sector is still in the %1 list").arg(QString::fromUtf8(entry.name));
    }
    return QString();
}

QByteArray Invariants::mapBytes() const
{
    QDir().mkpath(editor.path("probe"));
    const QString name = editor.path("probe/level.map");
    MapFile file;
    if (!file.writeMap(name, editor.layers->layerTable()))
        return "not written: " + file.failure().toUtf8();
    QFile written(name);
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray("not read back");
}
