#include "view/mapview.h"

#include "ui_tessel.h"

#include "view/highdpi.h"
#include "format/layernames.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "properties/objectpropertiesform.h"
#include "view/eventposition.h"
#include "view/gesturewatch.h"
#include "view/sectorcanvas.h"
#include "document/mapfile.h"
#include "view/cellbuttons.h"
#include "view/filecontroller.h"
#include "view/propertiescontroller.h"
#include "view/sidewindows.h"
#include "view/sectorlook.h"
#include "view/sectorviewport.h"
#include "view/selectionoverlay.h"
#include "view/tools/floodfilltool.h"
#include "view/tools/pantool.h"
#include "view/tools/penciltool.h"
#include "view/tools/selecttool.h"
#include "view/tools/shapetool.h"
#include "view/tools/stamptool.h"

#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QUndoStack>

#include <algorithm>

MapView::MapView(QWidget *mainWindow, const Ui::TesselClass &form)
    : QWidget(nullptr), window(mainWindow)
{
    document = std::make_unique<MapDocument>(&MapFile::writeRecoveryCopy);
    model = document->model();
    editing = std::make_unique<EditingState>(LayerNames::Wall);
    layers = std::make_unique<LayerController>(model, editing.get(), form.comboBoxMapLayer, form.btnMapLayerClear);
    gallery = std::make_unique<TextureGallery>(form.listViewTextures, galleryScanOrder());
    // Light cells and loaded cells draw their identifiers from the gallery's counter.
    model->setIdSource([this] { return gallery->nextId(); });
    gallery->selectLayer(editing->currentLayer());

    zoomSlider = form.mapViewZoomSlider;
    mapWidget = form.mapWidget;
    canvas = SectorCanvas::forMap(mapWidget);
    canvas->setPlacement(origin(), cellSize());
    viewport = std::make_unique<SectorViewport>(model, layers.get(), canvas);
    connect(canvas, &SectorCanvas::resized, this, &MapView::viewMoved);
    applyGridTile();
    followModel();
    followHistory();

    const ToolContext tools{document.get(), editing.get(), layers.get(), gallery.get(), mapWidget};
    panTool = std::make_unique<PanTool>(*this);
    pencilTool = std::make_unique<PencilTool>(tools, *panTool);
    floodFillTool = std::make_unique<FloodFillTool>(tools);
    selectTool = std::make_unique<SelectTool>(*this, *panTool);
    stampTool = std::make_unique<StampTool>(*this, *panTool, window);
    makeShapeTools();

    wireWidgets(form);
    clipboard = std::make_unique<ClipboardController>(*this, window);
    files = std::make_unique<FileController>(*this, window);
    windows = std::make_unique<SideWindows>(*this, window);
    properties = std::make_unique<PropertiesController>(*this);
    SwitchToEditMode();
    overlay = std::make_unique<SelectionOverlay>(mapWidget);

    labelStatus = form.labelStatus;
    labelPointer = form.labelPointer;
    followPointerCell();
    // The pointer's cell is shown while it merely hovers over the map.
    mapWidget->setMouseTracking(true);
    canvas->setMouseTracking(true);
    wireKeys();
    followGestures();
    listViewTextures = form.listViewTextures;
    connect(listViewTextures, &QListWidget::itemClicked, this, &MapView::SelObjectsChangeTexEvent);
    // Only now that the tools and the buttons they read exist may events reach them.
    mapWidget->installEventFilter(this);
    // Real pointer input lands on the canvas that lies over the map widget.
    canvas->installEventFilter(this);
}

MapView::~MapView()
{
    properties.reset();
    // The sectors go before the tools and the view: their buttons' removal must
    // not reach this filter any more.
    if (canvas)
        canvas->removeEventFilter(this);
    if (mapWidget)
        mapWidget->removeEventFilter(this);
    // The history outlives the model in the document; its last signals must not reach us.
    document->undoStack()->disconnect(this);
    document->disconnect(this);
    files.reset();
    document.reset();
}

void MapView::wireWidgets(const Ui::TesselClass &form)
{
    connect(zoomSlider, &QSlider::valueChanged, this, &MapView::ZoomSliderChangedEvent);
    btnSaveMap = form.btnSaveMap;
    connect(btnSaveMap, &QPushButton::clicked, this, &MapView::BtnSaveMapEvent);
    btnLoadMap = form.btnLoadMap;
    connect(btnLoadMap, &QPushButton::clicked, this, &MapView::BtnLoadMapEvent);
    layerCombo = form.comboBoxMapLayer;
    connect(layerCombo, &QComboBox::currentTextChanged, this, &MapView::MapLayerChanged);
    // The combo box, the selection and the gallery follow the chosen layer,
    // before the layer controller gives the cells their looks for it.
    connect(editing.get(), &EditingState::chosenLayerChanged, this, &MapView::followChosenLayer);
    // Once a layer is picked, keys are meant for the map again: left on the
    // combo box, an arrow key or a letter would switch the layer unseen.
    connect(layerCombo, QOverload<int>::of(&QComboBox::activated), this, [this]() {
        if (mapWidget)
            mapWidget->setFocus(Qt::OtherFocusReason);
    });
    btnEditSelection = form.btnEditSelection;
    btnEditSelection->setEnabled(false);
    connect(btnEditSelection, &QPushButton::clicked, this, &MapView::BtnEditSelectionEvent);
    radioPencil = form.radioPencil;
    connect(radioPencil, &QRadioButton::clicked, this, &MapView::SwitchToPencilPaintEvent);
    radioFloodFill = form.radioFloodFill;
    connect(radioFloodFill, &QRadioButton::clicked, this, &MapView::SwitchToFloodFillPaintEvent);
    radioPaint = form.radioPaint;
    connect(radioPaint, &QRadioButton::clicked, this, &MapView::SwitchToEditMode);
    radioSelect = form.radioSelect;
    connect(radioSelect, &QRadioButton::clicked, this, &MapView::SwitchToSelectMode);
    wireShapeRadios(form);
}

// Every sector that comes into the map gets its button (CellButtons); a new
// texture redraws the icon.
void MapView::followModel()
{
    buttons = std::make_unique<CellButtons>(*this, canvas, *viewport, *layers, *editing);
    connect(model, &MapModel::textureChanged, this, [](Sector *sector) { SectorLook::refresh(sector); });
}

int MapView::cellSize() const
{
    return zoomSlider->value() * baseCellSize;
}

QPoint MapView::cellAtPixel(const QPoint &pixel, int size)
{
    // Integer division truncates toward zero: pixels just left of 0 fall into cell 0.
    return QPoint(pixel.x() / size, pixel.y() / size);
}

QPoint MapView::cursorPosIn(const QWidget *widget)
{
    return widget->mapFromGlobal(QCursor::pos());
}

QPoint MapView::cursorCell() const
{
    return cellAtPixel(cursorPosIn(mapWidget), cellSize());
}

// A mouse event's own position; the pointer's for the other events a tool sees.
ToolPoint MapView::pointOf(const QEvent *event) const
{
    ToolPoint at;
    const bool mouse = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
        || event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonDblClick;
    at.global = mouse ? EventPosition::global(static_cast<const QMouseEvent *>(event)) : QCursor::pos();
    at.canvasCell = cellAtPixel(mapWidget->mapFromGlobal(at.global), cellSize());
    at.mapCell = canvasToMap(at.canvasCell);
    return at;
}

QPoint MapView::canvasToMap(const QPoint &cell) const
{
    return QPoint(cell.x() - originX, cell.y() - originY);
}

QPoint MapView::mapToCanvas(const QPoint &cell) const
{
    return QPoint(cell.x() + originX, cell.y() + originY);
}

SectorPlacement MapView::placement() const
{
    SectorPlacement result;
    result.mapWidget = mapWidget;
    result.layers = layers.get();
    result.gallery = gallery.get();
    result.cellSize = cellSize();
    result.originX = originX;
    result.originY = originY;
    return result;
}

// Buttons made later take the rule as they are made.
void MapView::setAllMouseTransparent(bool transparent)
{
    for (Sector *sector : viewport->sectorsWithButtons())
        sector->setMouseTransparent(transparent);
}

void MapView::applyClickRule()
{
    setAllMouseTransparent(!editing->cellsTakeClicks());
}

QRect MapView::selectionArea() const
{
    return selectTool->area();
}

QString MapView::statusText() const
{
    return labelStatus ? labelStatus->text() : QString();
}

void MapView::setStatusText(const QString &text)
{
    labelStatus->setText(text);
}

void MapView::clearStatusText()
{
    labelStatus->setText(QString());
}

QString MapView::gridTilePath() const
{
    const QString n = QString::number(cellSize());
    return QStringLiteral("assets/bg") + n + QLatin1Char('x') + n + QStringLiteral(".jpg");
}

void MapView::applyGridTile()
{
    mapWidget->setStyleSheet(QStringLiteral("background: url('") + gridTilePath() + QStringLiteral("');"));
}

void MapView::ZoomSliderChangedEvent()
{
    applyGridTile();
    repositionAllSectors();
    showPointerCell();
}

void MapView::repositionAllSectors()
{
    properties->followPlacement();
    const int size = cellSize();
    canvas->setPlacement(origin(), size);
    for (const auto &entry : model->layers()) {
        for (Sector *sector : entry.sectors)
            buttons->placeOnMap(sector);
    }
    // Only the cells in sight or lately in sight have buttons to resize.
    for (Sector *sector : viewport->sectorsWithButtons()) {
        QPushButton *button = sector->data->button;
        button->setIconSize(QSize(size, size));
        button->resize(size, size);
    }
    viewport->update();
    windows->placeMarkers();
    emit viewMoved();
}

QCursor MapView::cursorFromImage(const QString &path) const
{
    // Drawn for the screen's pixel density. X takes the hot spot in the
    // image's own pixels, under Qt 5 and Qt 6 alike, whatever its pixel ratio.
    const QPixmap image = HighDpi::pixmap(path, mapWidget->devicePixelRatioF());
    return QCursor(image, image.width() / 2, image.height() / 2);
}

// The radio buttons write the state through these slots and mirror it.
void MapView::SwitchToPencilPaintEvent()
{
    leaveShapeTools();
    editing->setPaintTool(EditingState::PaintTool::Pencil);
    toolCursor = cursorFromImage(QStringLiteral("assets/pencil.png"));
    radioPencil->setChecked(true);
    applyClickRule();
}

void MapView::SwitchToFloodFillPaintEvent()
{
    leaveShapeTools();
    editing->setPaintTool(EditingState::PaintTool::FloodFill);
    toolCursor = cursorFromImage(QStringLiteral("assets/bucket.png"));
    radioFloodFill->setChecked(true);
    applyClickRule();
}

void MapView::SwitchToEditMode()
{
    editing->setMode(EditingState::Mode::Paint);
    radioPaint->setChecked(true);
    resetSelectionDrag();
    stampTool->stop();
    layers->clearSelection();
    btnEditSelection->setEnabled(false);
    radioPencil->setEnabled(true);
    radioFloodFill->setEnabled(true);
    enableShapeRadios(true);
    SwitchToPencilPaintEvent();
}

void MapView::SwitchToSelectMode()
{
    leaveShapeTools();
    editing->setMode(EditingState::Mode::Select);
    radioSelect->setChecked(true);
    applyClickRule();
    toolCursor = QCursor(Qt::CrossCursor);
    btnEditSelection->setEnabled(true);
    radioPencil->setEnabled(false);
    radioFloodFill->setEnabled(false);
    enableShapeRadios(false);
}

bool MapView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mapWidget || watched == canvas) {
        if (event->type() == QEvent::Enter)
            QGuiApplication::setOverrideCursor(toolCursor);
        else if (event->type() == QEvent::Leave)
            QGuiApplication::restoreOverrideCursor();
        const bool taken = takeMapInput(event);
        if (isRightPress(event))
            holdMouseOnCanvas();
        if (!taken)
            activeTool()->handle(event, pointOf(event));
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
        case QEvent::Wheel:
        case QEvent::Enter:
            showPointerCell();
            break;
        case QEvent::Leave:
            if (labelPointer)
                labelPointer->clear();
            break;
        default:
            break;
        }
        if (taken)
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

MapTool *MapView::activeTool() const
{
    if (stampTool->active())
        return stampTool.get();
    if (editing->mode() == EditingState::Mode::Select)
        return selectTool.get();
    if (editing->paintTool() == EditingState::PaintTool::Pencil)
        return pencilTool.get();
    if (ShapeTool *shape = shapeTool())
        return shape;
    return floodFillTool.get();
}

void MapView::resetSelectionDrag()
{
    if (selectTool)
        selectTool->reset();
}

void MapView::shiftOrigin(const QPoint &cells)
{
    originX += cells.x();
    originY += cells.y();
    repositionAllSectors();
    showPointerCell();
}

void MapView::drawSelectionOverlay(const QPoint &anchor)
{
    overlay->draw(anchor);
}

QLabel *MapView::selectionLabel() const
{
    // Null while the constructor switches to Paint mode, before the overlay is made.
    return overlay ? overlay->label() : nullptr;
}

void MapView::MapLayerChanged()
{
    editing->setChosenLayer(layerCombo->currentText().toUtf8());
}

void MapView::followChosenLayer(const QByteArray &layer)
{
    if (layerCombo) {
        const QSignalBlocker mirroring(layerCombo);
        layerCombo->setCurrentText(QString::fromUtf8(layer));
    }
    resetSelectionDrag();
    layers->clearSelection();
    gallery->selectLayer(layer);
    const int leftOut = gallery->leftOutCount(layer);
    if (leftOut > 0)
        setStatusText(QStringLiteral("%1 texture file(s) left out: their names contain \",\" or a line break")
                          .arg(leftOut));
}

void MapView::beginTemporaryLayer(const QByteArray &name, const QString &text)
{
    if (editing->chosenLayer() == name)
        return;
    editing->holdLayer(name);
    setStatusText(text);
    temporaryText = text;
}

void MapView::endTemporaryLayer()
{
    editing->releaseLayer();
    // What a Ctrl key did meanwhile (copy, paste) keeps its word.
    if (labelStatus->text() == temporaryText)
        clearStatusText();
}

QPoint MapView::centreCell() const
{
    const int size = cellSize();
    return canvasToMap(QPoint(mapWidget->width() / size / 2, mapWidget->height() / size / 2));
}

void MapView::centreOn(const QPoint &cell)
{
    const QPoint centre = mapToCanvas(centreCell());
    const QPoint wanted = centre - cell; // the origin that puts the cell there
    shiftOrigin(wanted - origin());
}

QRect MapView::visibleCells() const
{
    const int size = cellSize();
    const QSize cells((mapWidget->width() + size - 1) / size, (mapWidget->height() + size - 1) / size);
    return QRect(canvasToMap(QPoint(0, 0)), cells);
}

void MapView::resetViewForLoad()
{
    originX = 0;
    originY = 0;
    zoomSlider->setValue(4);
    // Without a zoom change nothing else would redraw the sectors at the new origin.
    repositionAllSectors();
}

// The slots the window's buttons and the gallery are wired to.
void MapView::BtnSaveMapEvent()
{
    files->save();
}

void MapView::saveMapAs()
{
    files->saveAs();
}

void MapView::BtnLoadMapEvent()
{
    files->load();
}

bool MapView::loadMapFile(const QString &name)
{
    return files->loadMapFile(name);
}

ObjectPropertiesForm *MapView::openForm() const
{
    return properties->openForm();
}

void MapView::SectorClickEvent()
{
    properties->openForCellUnderPointer();
}

void MapView::BtnEditSelectionEvent()
{
    properties->openForSelection();
}

void MapView::SectorPropertiesClosedEvent()
{
    // Nothing is left to do at OK: every light cell's shade followed the
    // model's report of its new level, and new cells answer clicks already.
}

void MapView::SelObjectsChangeTexEvent()
{
    const QList<Sector *> sectors = layers->selection();
    if (sectors.size() < 2)
        return;
    model->retexture(sectors, gallery->currentTexture());
}
