#pragma once

#include "document/editingstate.h"
#include "document/mapdocument.h"
#include "view/clipboardcontroller.h"
#include "view/sectorcanvas.h"
#include "view/tools/toolcontext.h"

#include <QCursor>
#include <QLabel>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class TesselClass;
}
class CellButtons;
class FileController;
class GridBackground;
class GestureWatch;
class LayerChoice;
class LayerController;
class MapModel;
class ObjectPropertiesForm;
class PropertiesController;
class SectorViewport;
class SelectionActions;
class SelectionOverlay;
class SideWindows;
class StampTool;
class TextureGallery;
class ToolBox;
class ToolSwitch;
class QSlider;
class QUndoStack;
class QWheelEvent;

// Controller of the map canvas: receives the window's widget signals, filters
// the map widget's events for the editing tools, and holds the view state.
class MapView : public QWidget
{
    Q_OBJECT

public:
    // The window's form is handed over typed: a renamed widget fails to compile.
    MapView(QWidget *window, const Ui::TesselClass &form);
    ~MapView() override;

    int cellSize() const;
    static QPoint cellAtPixel(const QPoint &pixel, int size);
    static QPoint cursorPosIn(const QWidget *widget);
    QPoint cursorCell() const;
    QPoint canvasToMap(const QPoint &cell) const;
    QPoint mapToCanvas(const QPoint &cell) const;
    // What a tool or the properties form works on.
    ToolContext toolContext() const;
    void setAllMouseTransparent(bool transparent);
    // Lets clicks reach the cells' buttons or go through them, as the mode says.
    void applyClickRule();
    void setStatusText(const QString &text);
    void clearStatusText();
    void drawSelectionOverlay(const QPoint &anchor);

    void beginTemporaryLayer(const QByteArray &name, const QString &text);
    void endTemporaryLayer();
    bool temporaryLayerActive() const { return editing->temporaryLayerActive(); }

    // View state other parts and tests read.
    MapDocument *mapDocument() const { return document.get(); }
    EditingState *editingState() const { return editing.get(); }
    // Null once the document is gone, while the rest of the view is taken down.
    MapModel *mapModel() const { return document ? document->model() : nullptr; }
    LayerController *layerController() const { return layers.get(); }
    TextureGallery *textureGallery() const { return gallery.get(); }
    QWidget *mapSurface() const { return mapWidget; }
    QLabel *selectionLabel() const;
    SectorCanvas *canvasWidget() const { return canvas; }
    // The controllers around the canvas, which the window and tests reach here.
    FileController *fileController() const { return files.get(); }
    SideWindows *sideWindows() const { return windows.get(); }
    PropertiesController *propertiesController() const { return properties.get(); }
    ClipboardController *clipboardController() const { return clipboard.get(); }
    ToolBox *tools() const { return toolBox.get(); }
    SelectionActions *selectionActions() const { return selections.get(); }
    // Kept for the many tests that use them.
    ObjectPropertiesForm *openForm() const;
    bool loadMapFile(const QString &fileName);
    void saveMapAs();
    // The map file as the user named it (the title shows it); saves go to
    // the real file behind it.
    QString currentMapFileName() const { return document->file().chosenName(); }
    QCursor currentToolCursor() const;
    QPoint origin() const { return originCell; }
    // Pans by whole cells.
    void shiftOrigin(const QPoint &cells);
    // Zoom through the slider, keeping the cell under the pointer where it is
    // (as far as whole cells allow) when the pointer is over the map.
    void zoomTo(int value);
    void zoomBy(int steps) { zoomTo(zoomSliderValue() + steps); }
    int zoomSliderValue() const;
    // "Map X 12, Map Y 7: brick.png, Solid" for the cell under the pointer, or
    // empty when the pointer is not over the map.
    QString pointerText() const;
    // Makes the texture of the current layer's cell under the pointer the
    // gallery's current one (Alt+click, key I).
    void pickTextureUnderPointer();
    QString gridTilePath() const;

    // The history, kept by the document (undo and redo in mapviewinput.cpp).
    QUndoStack *undoStack() const { return document->undoStack(); }
    bool editOpen() const { return document->editOpen(); }
    // The selected sectors, each from its own layer, as one step.
    void deleteSelection();
    bool isModified() const { return document->isModified(); }
    RecoveryFile *recoveryFile() const { return document->recoveryFile(); }
    void copySelection() { clipboard->copySelection(); }
    void pasteClipboard() { clipboard->pasteClipboard(); }
    QString statusText() const;
    StampTool *stamp() const;

    // The map cell in the middle of the view.
    QPoint centreCell() const;
    // Pans so that the map cell is in the middle of the view.
    void centreOn(const QPoint &cell);
    // The map cells the view shows, the partly shown ones included.
    QRect visibleCells() const;

    // Back to the top-left corner at the usual zoom, as a load starts.
    void resetViewForLoad();
    CellButtons *cellButtons() const { return buttons.get(); }
    SectorViewport *sectorViewport() const { return viewport.get(); }

    const int baseCellSize = 16;

signals:
    // The view shows other cells: a pan, a zoom or a new size.
    void viewMoved();

public slots:
    void SectorClickEvent();
    void ZoomSliderChangedEvent();
    void SwitchToSelectMode();
    void SwitchToEditMode();
    void BtnSaveMapEvent();
    void BtnLoadMapEvent();
    void MapLayerChanged();
    void BtnEditSelectionEvent();
    void SelObjectsChangeTexEvent();
    void SwitchToPencilPaintEvent();
    void SwitchToFloodFillPaintEvent();
    // Line, Rectangle and Room; Rectangle chosen again switches between
    // outline and filled.
    void SwitchToLineEvent();
    void SwitchToRectangleEvent();
    void SwitchToRoomEvent();
    void SectorPropertiesClosedEvent();
    void undo();
    void redo();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Wiring (mapview.cpp)
    void wireWidgets(const Ui::TesselClass &form);
    void followModel();
    void applyGridTile();
    void repositionAllSectors();

    // Input (mapviewinput.cpp)
    void wireKeys();
    bool takeMapInput(QEvent *event);
    static bool isLeftAltPress(const QEvent *event);
    void followGestures();
    // Ends whatever the mouse had begun (a stroke and its edit, a rectangle, a pick).
    void endGestures();
    void wheelOnMap(const QWheelEvent *event);
    void followPointerCell();
    void showPointerCell();
    bool pointerOverMap(QPoint *pixel = nullptr) const;
    void deleteSelectionByKey();
    static bool isRightPress(const QEvent *event);
    void holdMouseOnCanvas();

    ToolPoint pointOf(const QEvent *event) const;

    // History (mapviewinput.cpp)
    void followHistory();
    bool midGesture();

    QPointer<QWidget> window;
    QPointer<QWidget> mapWidget;
    QPointer<SectorCanvas> canvas;
    QPointer<GridBackground> background; // a child of the map widget
    QPointer<QSlider> zoomSlider;
    QPointer<QLabel> labelStatus;
    QPointer<QLabel> labelPointer;
    // Owns the model, which outlives everything here that follows it.
    std::unique_ptr<MapDocument> document;
    // Before the layer controller, which reads the edited layer from it.
    std::unique_ptr<EditingState> editing;
    std::unique_ptr<LayerController> layers;
    std::unique_ptr<TextureGallery> gallery;
    std::unique_ptr<SectorViewport> viewport;
    std::unique_ptr<CellButtons> buttons;
    std::unique_ptr<SelectionOverlay> overlay;
    std::unique_ptr<ToolBox> toolBox;
    std::unique_ptr<ToolSwitch> toolSwitch;
    std::unique_ptr<LayerChoice> layerChoice;
    std::unique_ptr<SelectionActions> selections;
    std::unique_ptr<GestureWatch> gestures;
    std::unique_ptr<ClipboardController> clipboard;
    std::unique_ptr<FileController> files;
    std::unique_ptr<SideWindows> windows;
    std::unique_ptr<PropertiesController> properties;
    // The canvas cell where map cell (0, 0) lies.
    QPoint originCell;
    // Wheel turns smaller than a notch add up until they make one.
    QPoint wheelRest;
    bool pickNoticeShown = false;
    bool pickPressHeld = false;
};
