#include "document/editingstate.h"

EditingState::EditingState(const QByteArray &layer) : chosen(layer)
{
}

void EditingState::setMode(Mode mode)
{
    if (mode == currentMode)
        return;
    currentMode = mode;
    emit modeChanged(mode);
}

void EditingState::setPaintTool(PaintTool paintTool)
{
    if (paintTool == tool)
        return;
    tool = paintTool;
    emit paintToolChanged(paintTool);
}

void EditingState::setRectangleFilled(bool rectangleFilled)
{
    if (rectangleFilled == filled)
        return;
    filled = rectangleFilled;
    emit rectangleFormChanged(filled);
}

void EditingState::setChosenLayer(const QByteArray &layer)
{
    if (layer == chosen)
        return;
    const QByteArray before = currentLayer();
    chosen = layer;
    emit chosenLayerChanged(chosen);
    announceLayer(before);
}

void EditingState::holdLayer(const QByteArray &layer)
{
    const QByteArray before = currentLayer();
    held = layer;
    announceLayer(before);
}

void EditingState::releaseLayer()
{
    const QByteArray before = currentLayer();
    held.clear();
    announceLayer(before);
}

void EditingState::announceLayer(const QByteArray &before)
{
    if (currentLayer() != before)
        emit currentLayerChanged(currentLayer());
}
