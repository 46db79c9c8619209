// What the hand does beyond the tools: the wheel, the keys of the map, the
// pointer's cell in the status bar, and picking a texture from the map.
#include "view/mapview.h"

#include "ui_tessel.h"

#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/gesturewatch.h"
#include "view/selectionactions.h"
#include "view/tools/selecttool.h"
#include "view/tools/toolbox.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QSlider>
#include <QUndoStack>
#include <QWheelEvent>

namespace {

const int wheelNotch = 120;

} // namespace

void MapView::wireKeys()
{
    auto onKey = [this](const QKeySequence &keys, auto slot) {
        auto *shortcut = new QShortcut(keys, window);
        connect(shortcut, &QShortcut::activated, this, slot);
    };
    onKey(QKeySequence(Qt::CTRL | Qt::Key_Plus), [this] { zoomBy(1); });
    // Plus shares its key with "=" on most layouts.
    onKey(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { zoomBy(1); });
    onKey(QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { zoomBy(-1); });
    onKey(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { zoomTo(zoomSlider->maximum()); });
    onKey(QKeySequence(Qt::Key_Delete), [this] { deleteSelectionByKey(); });
    onKey(QKeySequence(Qt::Key_Backspace), [this] { deleteSelectionByKey(); });
    onKey(QKeySequence(Qt::Key_Escape), [this] { toolBox->cancel(); });
    onKey(QKeySequence(Qt::Key_I), [this] { pickTextureUnderPointer(); });
    onKey(QKeySequence(Qt::CTRL | Qt::Key_A), [this] { selections->selectWholeLayer(); });
}

// A gesture ends with its release, wherever that went, or when the window
// loses the keyboard; its edit must never stay open after the buttons are up.
void MapView::followGestures()
{
    gestures = std::make_unique<GestureWatch>(window);
    connect(gestures.get(), &GestureWatch::buttonsUp, this, [this] {
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            endGestures();
    });
    connect(gestures.get(), &GestureWatch::windowLeft, this, &MapView::endGestures);
}

bool MapView::isRightPress(const QEvent *event)
{
    return event->type() == QEvent::MouseButtonPress
        && static_cast<const QMouseEvent *>(event)->button() == Qt::RightButton;
}

// A right press may erase the very cell whose button Qt delivers the rest of
// the drag to; once that button is gone, moves and the release reach nobody.
// The canvas outlives every cell, so it takes them until the buttons are up.
void MapView::holdMouseOnCanvas()
{
    if (canvas && !QWidget::mouseGrabber())
        canvas->grabMouse();
}

void MapView::endGestures()
{
    if (canvas && QWidget::mouseGrabber() == canvas)
        canvas->releaseMouse();
    toolBox->endGestures();
    pickPressHeld = false;
}

void MapView::deleteSelectionByKey()
{
    if (layers->selection().isEmpty())
        return;
    toolBox->select().deleteSelection();
    showPointerCell();
}

int MapView::zoomSliderValue() const
{
    return zoomSlider->value();
}

void MapView::zoomTo(int value)
{
    value = qBound(zoomSlider->minimum(), value, zoomSlider->maximum());
    if (value == zoomSlider->value())
        return;
    QPoint pixel;
    if (pointerOverMap(&pixel)) {
        const QPoint mapCell = canvasToMap(cellAtPixel(pixel, cellSize()));
        const QPoint canvasCell = cellAtPixel(pixel, value * baseCellSize);
        originCell = canvasCell - mapCell;
    }
    // The slider's own handling places every button with the new origin.
    zoomSlider->setValue(value);
}

bool MapView::pointerOverMap(QPoint *pixel) const
{
    const QPoint at = cursorPosIn(mapWidget);
    if (pixel)
        *pixel = at;
    return mapWidget->rect().contains(at);
}

// Wheel turns and Alt presses belong to the map, not to the tool of the mode.
bool MapView::takeMapInput(QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        wheelOnMap(static_cast<QWheelEvent *>(event));
        return true;
    }
    if (isLeftAltPress(event)) {
        pickTextureUnderPointer();
        pickPressHeld = true;
        return true;
    }
    // The rest of a pick's gesture paints and selects nothing.
    if (pickPressHeld && (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonRelease)) {
        if (event->type() == QEvent::MouseButtonRelease)
            pickPressHeld = false;
        return true;
    }
    return false;
}

bool MapView::isLeftAltPress(const QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    const auto *mouse = static_cast<const QMouseEvent *>(event);
    return mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::AltModifier);
}

void MapView::wheelOnMap(const QWheelEvent *event)
{
    wheelRest += event->angleDelta();
    const QPoint notches(wheelRest.x() / wheelNotch, wheelRest.y() / wheelNotch);
    wheelRest -= notches * wheelNotch;
    if (notches.isNull())
        return;
    // A plain wheel turns along y; a tilt wheel (or a swapped axis) along x.
    const int along = notches.y() != 0 ? notches.y() : notches.x();
    if (event->modifiers() & Qt::ControlModifier)
        zoomBy(along);
    else if (event->modifiers() & Qt::ShiftModifier)
        shiftOrigin(QPoint(along, 0));
    else
        shiftOrigin(notches);
}

QString MapView::pointerText() const
{
    QPoint pixel;
    if (!pointerOverMap(&pixel))
        return QString();
    const QPoint cell = canvasToMap(cellAtPixel(pixel, cellSize()));
    QString text = QStringLiteral("Map X %1, Map Y %2: ").arg(cell.x()).arg(cell.y());
    const Sector *sector = layers->sectorAt(cell.x(), cell.y());
    if (!sector)
        return text + QStringLiteral("empty");
    text += QString::fromUtf8(sector->data->texture.fileName);
    if (!sector->data->subtype.isEmpty())
        text += QStringLiteral(", ") + QString::fromUtf8(sector->data->subtype);
    return text;
}

// The pointer's cell names what the current layer holds there, so the label
// follows every change of layer, of the map and of the view, not only moves.
void MapView::followPointerCell()
{
    connect(layers.get(), &LayerController::displayChanged, this, &MapView::showPointerCell);
    connect(mapModel(), &MapModel::edited, this, &MapView::showPointerCell);
    connect(mapModel(), &MapModel::mapReplaced, this, &MapView::showPointerCell);
    // Undo and redo change cells without an edit of the model's own.
    connect(document->undoStack(), &QUndoStack::indexChanged, this, &MapView::showPointerCell);
}

void MapView::showPointerCell()
{
    if (labelPointer)
        labelPointer->setText(pointerText());
}

void MapView::pickTextureUnderPointer()
{
    QPoint pixel;
    if (!pointerOverMap(&pixel))
        return;
    const QPoint cell = canvasToMap(cellAtPixel(pixel, cellSize()));
    const Sector *sector = layers->sectorAt(cell.x(), cell.y());
    if (!sector)
        return;
    const TextureEntry &texture = sector->data->texture;
    if (gallery->selectTexture(texture)) {
        if (pickNoticeShown)
            clearStatusText();
        pickNoticeShown = false;
        return;
    }
    setStatusText(QStringLiteral("%1 is not in the gallery: the cell shows the map's own copy")
                      .arg(QString::fromUtf8(texture.fileName)));
    pickNoticeShown = true;
}

// The undo history: the window's keys, and the document told when a gesture is open.
void MapView::followHistory()
{
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
    layers->dropSelection();
    mapModel()->removeSectors(doomed);
}
