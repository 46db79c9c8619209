#pragma once

#include "document/editingstate.h"
#include "document/mapdocument.h"
#include "model/layertable.h"
#include "model/mappiece.h"
#include "view/clipboardcontroller.h"
#include "view/sectorcanvas.h"
#include "view/sectorplacement.h"
#include "view/tools/toolcontext.h"

#include <QCursor>
#include <QLabel>
#include <QListWidget>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class TesselClass;
}
class FloodFillTool;
class GestureWatch;
class MapModel;
class MapTool;
class PanTool;
class PencilTool;
class SelectTool;
class ShapeTool;
class SectorViewport;
class SelectionOverlay;
class StampTool;
class QComboBox;
class QMouseEvent;
class QPushButton;
class QRadioButton;
class QSlider;
class QUndoStack;
struct MapChange;
class QWheelEvent;
class LayerController;
class CellButtons;
class FileController;
class PropertiesController;
class SideWindows;
class ObjectPropertiesForm;
class Sector;
class TextureGallery;

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
    SectorPlacement placement() const;
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
    MapModel *mapModel() const { return model; }
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
    // Kept for the many tests that use them.
    ObjectPropertiesForm *openForm() const;
    bool loadMapFile(const QString &fileName);
    void saveMapAs();
    // The map file as the user named it (the title shows it); saves go to
    // the real file behind it.
    QString currentMapFileName() const { return document->file().chosenName(); }
    QCursor currentToolCursor() const { return toolCursor; }
    QPoint origin() const { return QPoint(originX, originY); }
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

    // History (mapviewinput.cpp), kept by the document: every model edit is
    // recorded; between beginEdit and the matching endEdit all are one step.
    QUndoStack *undoStack() const { return document->undoStack(); }
    void beginEdit(const QString &text) { document->beginEdit(text); }
    void endEdit() { document->endEdit(); }
    bool editOpen() const { return document->editOpen(); }
    // The selected sectors, each from its own layer, as one step.
    void deleteSelection();
    bool isModified() const { return document->isModified(); }
    RecoveryFile *recoveryFile() const { return document->recoveryFile(); }
    // Copy, cut and paste (view/clipboardcontroller.*).
    void copySelection() { clipboard->copySelection(); }
    void cutSelection() { clipboard->cutSelection(); }
    void pasteClipboard() { clipboard->pasteClipboard(); }
    void pasteStamp(const MapPiece &piece, const QPoint &topLeft) { clipboard->pasteStamp(piece, topLeft); }
    // The map cells of Select mode's last rectangle; empty before one.
    QRect selectionArea() const;
    QString statusText() const;
    StampTool *stamp() const { return stampTool.get(); }
    // The Line, Rectangle or Room tool when it is the one in use, else null.
    ShapeTool *shapeTool() const;

    // The map cell in the middle of the view.
    QPoint centreCell() const;
    // Pans so that the map cell is in the middle of the view.
    void centreOn(const QPoint &cell);
    // The map cells the view shows, the partly shown ones included.
    QRect visibleCells() const;

    // Finding cells (mapviewfind.cpp).
    // Select mode with these sectors of the layer as the selection.
    void selectCells(const QByteArray &layer, const QList<Sector *> &sectors);
    // Every cell of the current layer alike to the one on mapCell (double-click).
    void selectAlikeAt(const QPoint &mapCell);
    // Every cell of the chosen layer (Ctrl+A).
    void selectWholeLayer();

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
    // Line, Rectangle and Room (mapviewshapes.cpp); Rectangle chosen again
    // switches between outline and filled.
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
    QCursor cursorFromImage(const QString &path) const;

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

    MapTool *activeTool() const;
    ToolPoint pointOf(const QEvent *event) const;
    void resetSelectionDrag();
    void followChosenLayer(const QByteArray &layer);

    // Shape tools (mapviewshapes.cpp)
    void makeShapeTools();
    void wireShapeRadios(const Ui::TesselClass &form);
    void enableShapeRadios(bool enabled);
    void useShapeTool(EditingState::PaintTool tool, QRadioButton *radio);
    // Drops a shape drag and the tool's word in the status bar.
    void leaveShapeTools();

    // History (mapviewinput.cpp)
    void followHistory();
    bool midGesture();

    QPointer<QWidget> window;
    QPointer<QWidget> mapWidget;
    QPointer<SectorCanvas> canvas;
    QPointer<QSlider> zoomSlider;
    QPointer<QComboBox> layerCombo;
    std::unique_ptr<MapDocument> document;
    // The document's model, which outlives everything here that follows it.
    MapModel *model = nullptr;
    // Before the layer controller, which reads the edited layer from it.
    std::unique_ptr<EditingState> editing;
    std::unique_ptr<LayerController> layers;
    std::unique_ptr<TextureGallery> gallery;
    std::unique_ptr<SectorViewport> viewport;
    std::unique_ptr<CellButtons> buttons;
    QPointer<QRadioButton> radioPaint;
    QPointer<QRadioButton> radioSelect;
    QPointer<QRadioButton> radioPencil;
    QPointer<QRadioButton> radioFloodFill;
    QPointer<QPushButton> btnSaveMap;
    QPointer<QPushButton> btnLoadMap;
    QPointer<QPushButton> btnEditSelection;
    QPointer<QListWidget> listViewTextures;
    std::unique_ptr<SelectionOverlay> overlay;
    QPointer<QLabel> labelStatus;
    QPointer<QLabel> labelPointer;
    // Wheel turns smaller than a notch add up until they make one.
    QPoint wheelRest;
    bool pickNoticeShown = false;
    bool pickPressHeld = false;
    QCursor toolCursor;
    int originX = 0;
    int originY = 0;
    std::unique_ptr<PanTool> panTool;
    std::unique_ptr<PencilTool> pencilTool;
    std::unique_ptr<FloodFillTool> floodFillTool;
    std::unique_ptr<SelectTool> selectTool;
    std::unique_ptr<StampTool> stampTool;
    std::unique_ptr<ShapeTool> lineTool;
    std::unique_ptr<ShapeTool> rectangleTool;
    std::unique_ptr<ShapeTool> roomTool;
    QPointer<QRadioButton> radioLine;
    QPointer<QRadioButton> radioRectangle;
    QPointer<QRadioButton> radioRoom;
    std::unique_ptr<GestureWatch> gestures;
    std::unique_ptr<ClipboardController> clipboard;
    std::unique_ptr<FileController> files;
    std::unique_ptr<SideWindows> windows;
    std::unique_ptr<PropertiesController> properties;
    QString temporaryText;
};
