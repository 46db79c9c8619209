// The undo history and the unsaved state.
#include "view/mapview.h"

#include "view/prompts.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "properties/objectpropertiesform.h"

#include <QGuiApplication>
#include <QUndoStack>

void MapView::followHistory()
{
    connect(document->undoStack(), &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (window)
            window->setWindowModified(!clean);
    });
    connect(document.get(), &MapDocument::editClosed, this, &MapView::runWaitingSave);
    document->setBusyCheck([this]() { return midGesture(); });
    connect(document.get(), &MapDocument::recoveryProblem, this, &MapView::setStatusText);
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
        document->undoStack()->undo();
}

void MapView::redo()
{
    if (!midGesture())
        document->undoStack()->redo();
}

void MapView::deleteSelection()
{
    const QList<Sector *> doomed = layers->selection();
    layers->clearSelection();
    model->removeSectors(doomed);
}

bool MapView::settleUnsaved()
{
    if (!isModified())
        return true;
    const QMessageBox::StandardButton answer = Prompts::current().askSaveDiscardCancel(
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
