#pragma once

#include <QByteArray>
#include <QObject>

// What the user is doing, held once: the mode, the paint tool and the layer
// being edited, chosen or held for a moment (Shift/Ctrl). The radio buttons
// and the layer combo box mirror it and write to it; nothing reads a widget
// back to learn it.
class EditingState : public QObject
{
    Q_OBJECT

public:
    enum class Mode { Paint, Select };
    enum class PaintTool { Pencil, FloodFill, Line, Rectangle, Room };

    explicit EditingState(const QByteArray &layer);

    Mode mode() const { return currentMode; }
    PaintTool paintTool() const { return tool; }
    void setMode(Mode mode);
    void setPaintTool(PaintTool paintTool);
    // Only the Pencil takes clicks on the cells themselves; in every other
    // mode a click goes through a cell's button to the map.
    bool cellsTakeClicks() const { return currentMode == Mode::Paint && tool == PaintTool::Pencil; }
    // The Rectangle tool draws the outline or, filled, every cell.
    bool rectangleFilled() const { return filled; }
    void setRectangleFilled(bool rectangleFilled);

    // The layer the user chose (the combo box shows it).
    const QByteArray &chosenLayer() const { return chosen; }
    void setChosenLayer(const QByteArray &layer);
    // The layer edited now: the one held for a moment, or the chosen one.
    const QByteArray &currentLayer() const { return held.isEmpty() ? chosen : held; }
    bool temporaryLayerActive() const { return !held.isEmpty(); }
    void holdLayer(const QByteArray &layer);
    void releaseLayer();

signals:
    void modeChanged(EditingState::Mode mode);
    void paintToolChanged(EditingState::PaintTool tool);
    void rectangleFormChanged(bool filled);
    // The chosen layer first, then the current one when it changed with it.
    void chosenLayerChanged(const QByteArray &layer);
    void currentLayerChanged(const QByteArray &layer);

private:
    void announceLayer(const QByteArray &before);

    Mode currentMode = Mode::Paint;
    PaintTool tool = PaintTool::Pencil;
    bool filled = false;
    QByteArray chosen;
    QByteArray held;
};
