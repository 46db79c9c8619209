// The undo history and the unsaved state.
#include "view/mapview.h"

#include "app/dialogs.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "properties/objectpropertiesform.h"
#include "view/mapeditcommand.h"

#include <QGuiApplication>
#include <QUndoStack>

namespace {

// Far more than the 200 steps asked for; a step is a list of cell records.
const int historyLimit = 1000;

} // namespace

void MapView::followHistory()
{
    history = std::make_unique<QUndoStack>();
    history->setUndoLimit(historyLimit);
    connect(model.get(), &MapModel::edited, this, &MapView::recordEdit);
    connect(history.get(), &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (window)
            window->setWindowModified(!clean);
    });
}

void MapView::beginEdit(const QString &text)
{
    if (editDepth++ == 0)
        openEdit = std::make_unique<MapEditCommand>(model.get(), text);
}

void MapView::endEdit()
{
    if (editDepth == 0 || --editDepth > 0)
        return;
    std::unique_ptr<MapEditCommand> step = std::move(openEdit);
    if (!step->isEmpty())
        history->push(step.release());
    runWaitingSave();
}

void MapView::recordEdit(const MapChange &change)
{
    if (editDepth > 0) {
        openEdit->add(change);
        return;
    }
    auto *step = new MapEditCommand(model.get(), QStringLiteral("Edit"));
    step->add(change);
    history->push(step);
}

// While a button is held (a stroke, a selection rectangle, a pan) or an edit
// is being gathered, the keys do nothing. With every button up, a gesture
// whose release never reached the map ends first.
bool MapView::midGesture()
{
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        return true;
    endGestures();
    return editOpen();
}

void MapView::undo()
{
    if (!midGesture())
        history->undo();
}

void MapView::redo()
{
    if (!midGesture())
        history->redo();
}

void MapView::deleteSelection()
{
    const QList<Sector *> doomed = layers->selection();
    layers->clearSelection();
    model->removeSectors(doomed);
}

bool MapView::isModified() const
{
    return !history->isClean();
}

bool MapView::settleUnsaved()
{
    if (!isModified())
        return true;
    const QMessageBox::StandardButton answer = Dialogs::askSaveDiscardCancel(
        QStringLiteral("Unsaved changes"), QStringLiteral("The map has unsaved changes.\nSave them first?"));
    if (answer == QMessageBox::Save)
        return saveMap(false);
    return answer == QMessageBox::Discard;
}

void MapView::closeForm()
{
    if (propertiesForm)
        propertiesForm->close();
}
