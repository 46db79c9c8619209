#include "view/mapview.h"

#include "ui_tessel.h"

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
#include "view/gridbackground.h"
#include "view/layerchoice.h"
#include "view/propertiescontroller.h"
#include "view/sidewindows.h"
#include "view/sectorlook.h"
#include "view/sectorviewport.h"
#include "view/selectionoverlay.h"
#include "view/selectionactions.h"
#include "view/toolswitch.h"
#include "view/tools/maptool.h"
#include "view/tools/selecttool.h"
#include "view/tools/toolbox.h"

#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QUndoStack>

#include <algorithm>

MapView::MapView(QWidget *mainWindow, const Ui::TesselClass &form)
    : QWidget(nullptr), window(mainWindow)
{
    document = std::make_unique<MapDocument>(&MapFile::writeRecoveryCopy);
    MapModel *model = document->model();
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
    background = new GridBackground(mapWidget);
    applyGridTile();
    followModel();
    followHistory();

    toolBox = std::make_unique<ToolBox>(*this, toolContext(), window);
    toolSwitch = std::make_unique<ToolSwitch>(*this, *toolBox, form);
    selections = std::make_unique<SelectionActions>(*this);

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
    connect(form.listViewTextures, &QListWidget::itemClicked, this, &MapView::SelObjectsChangeTexEvent);
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
    connect(form.btnSaveMap, &QPushButton::clicked, this, &MapView::BtnSaveMapEvent);
    connect(form.btnLoadMap, &QPushButton::clicked, this, &MapView::BtnLoadMapEvent);
    connect(form.comboBoxMapLayer, &QComboBox::currentTextChanged, this, &MapView::MapLayerChanged);
    layerChoice = std::make_unique<LayerChoice>(*this, form.comboBoxMapLayer);
    connect(form.btnEditSelection, &QPushButton::clicked, this, &MapView::BtnEditSelectionEvent);
    connect(form.radioPencil, &QRadioButton::clicked, this, &MapView::SwitchToPencilPaintEvent);
    connect(form.radioFloodFill, &QRadioButton::clicked, this, &MapView::SwitchToFloodFillPaintEvent);
    connect(form.radioPaint, &QRadioButton::clicked, this, &MapView::SwitchToEditMode);
    connect(form.radioSelect, &QRadioButton::clicked, this, &MapView::SwitchToSelectMode);
    // The buttons' own shortcuts (L, R, O) click them, as E and S click theirs.
    connect(form.radioLine, &QRadioButton::clicked, this, &MapView::SwitchToLineEvent);
    connect(form.radioRectangle, &QRadioButton::clicked, this, &MapView::SwitchToRectangleEvent);
    connect(form.radioRoom, &QRadioButton::clicked, this, &MapView::SwitchToRoomEvent);
}

// Every sector that comes into the map gets its button (CellButtons); a new
// texture redraws the icon.
void MapView::followModel()
{
    buttons = std::make_unique<CellButtons>(*this, canvas, *viewport, *layers, *editing);
    connect(mapModel(), &MapModel::textureChanged, this, [](Sector *sector) { SectorLook::refresh(sector); });
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
    return cell - originCell;
}

QPoint MapView::mapToCanvas(const QPoint &cell) const
{
    return cell + originCell;
}

ToolContext MapView::toolContext() const
{
    return ToolContext{document.get(), editing.get(), layers.get(), gallery.get(), mapWidget};
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

StampTool *MapView::stamp() const
{
    return &toolBox->stamp();
}

QCursor MapView::currentToolCursor() const
{
    return toolSwitch->cursor();
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
    background->setTile(gridTilePath());
}

void MapView::ZoomSliderChangedEvent()
{
    applyGridTile();
    repositionAllSectors();
    showPointerCell();
}

void MapView::repositionAllSectors()
{
    canvas->setPlacement(origin(), cellSize());
    buttons->placeAllOnMap();
    viewport->update();
    windows->placeMarkers();
    emit viewMoved();
}

// The radio buttons write the state through these slots and mirror it.
void MapView::SwitchToPencilPaintEvent()
{
    toolSwitch->pencil();
}

void MapView::SwitchToFloodFillPaintEvent()
{
    toolSwitch->floodFill();
}

void MapView::SwitchToEditMode()
{
    toolSwitch->paintMode();
}

void MapView::SwitchToSelectMode()
{
    toolSwitch->selectMode();
}

void MapView::SwitchToLineEvent()
{
    toolSwitch->line();
}

void MapView::SwitchToRectangleEvent()
{
    toolSwitch->rectangle();
}

void MapView::SwitchToRoomEvent()
{
    toolSwitch->room();
}

bool MapView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mapWidget || watched == canvas) {
        if (event->type() == QEvent::Enter)
            QGuiApplication::setOverrideCursor(toolSwitch->cursor());
        else if (event->type() == QEvent::Leave)
            QGuiApplication::restoreOverrideCursor();
        const bool taken = takeMapInput(event);
        if (isRightPress(event))
            holdMouseOnCanvas();
        if (!taken)
            toolBox->active()->handle(event, pointOf(event));
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

void MapView::shiftOrigin(const QPoint &cells)
{
    originCell += cells;
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
    layerChoice->takeComboText();
}

void MapView::beginTemporaryLayer(const QByteArray &name, const QString &text)
{
    layerChoice->hold(name, text);
}

void MapView::endTemporaryLayer()
{
    layerChoice->release();
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
    originCell = QPoint(0, 0);
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
    mapModel()->retexture(sectors, gallery->currentTexture());
}
