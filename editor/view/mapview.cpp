#include "view/mapview.h"

#include "app/tessel.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/sector.h"
#include "model/sectorcanvas.h"
#include "model/subtypetable.h"
#include "properties/objectpropertiesform.h"

#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPicture>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>

MapView::MapView(Tessel *mainWindow)
    : QWidget(nullptr), window(mainWindow)
{
    layers = new LayerController(mainWindow);
    gallery = new TextureGallery(mainWindow, galleryScanOrder());
    gallery->selectLayer(layers->currentLayer());

    zoomSlider = mainWindow->findChild<QSlider *>(QStringLiteral("mapViewZoomSlider"));
    mapWidget = mainWindow->findChild<QWidget *>(QStringLiteral("mapWidget"));
    canvas = SectorCanvas::forMap(mapWidget);
    mapWidget->installEventFilter(this);
    // Real pointer input lands on the canvas that lies over the map widget.
    canvas->installEventFilter(this);
    applyGridTile();

    wireWidgets();
    radioPaint->setChecked(true);
    SwitchToEditMode();
    createSelectionOverlay();

    labelStatus = mainWindow->findChild<QLabel *>(QStringLiteral("labelStatus"));
    listViewTextures = mainWindow->findChild<QListWidget *>(QStringLiteral("listViewTextures"));
    connect(listViewTextures, &QListWidget::itemClicked, this, &MapView::SelObjectsChangeTexEvent);
}

MapView::~MapView()
{
    delete propertiesForm.data();
    for (Sector *sector : layers->layerTable().allSectors())
        delete sector;
    delete layers;
    delete gallery;
}

void MapView::wireWidgets()
{
    connect(zoomSlider, &QSlider::valueChanged, this, &MapView::ZoomSliderChangedEvent);
    btnSaveMap = window->findChild<QPushButton *>(QStringLiteral("btnSaveMap"));
    connect(btnSaveMap, &QPushButton::clicked, this, &MapView::BtnSaveMapEvent);
    btnLoadMap = window->findChild<QPushButton *>(QStringLiteral("btnLoadMap"));
    connect(btnLoadMap, &QPushButton::clicked, this, &MapView::BtnLoadMapEvent);
    layerCombo = window->findChild<QComboBox *>(QStringLiteral("comboBoxMapLayer"));
    connect(layerCombo, &QComboBox::currentTextChanged, this, &MapView::MapLayerChanged);
    // Once a layer is picked, keys are meant for the map again: left on the
    // combo box, an arrow key or a letter would switch the layer unseen.
    connect(layerCombo, QOverload<int>::of(&QComboBox::activated), this, [this]() {
        if (mapWidget)
            mapWidget->setFocus(Qt::OtherFocusReason);
    });
    btnEditSelection = window->findChild<QPushButton *>(QStringLiteral("btnEditSelection"));
    btnEditSelection->setEnabled(false);
    connect(btnEditSelection, &QPushButton::clicked, this, &MapView::BtnEditSelectionEvent);
    radioPencil = window->findChild<QRadioButton *>(QStringLiteral("radioPencil"));
    connect(radioPencil, &QRadioButton::clicked, this, &MapView::SwitchToPencilPaintEvent);
    radioFloodFill = window->findChild<QRadioButton *>(QStringLiteral("radioFloodFill"));
    connect(radioFloodFill, &QRadioButton::clicked, this, &MapView::SwitchToFloodFillPaintEvent);
    radioPaint = window->findChild<QRadioButton *>(QStringLiteral("radioPaint"));
    connect(radioPaint, &QRadioButton::clicked, this, &MapView::SwitchToEditMode);
    radioSelect = window->findChild<QRadioButton *>(QStringLiteral("radioSelect"));
    connect(radioSelect, &QRadioButton::clicked, this, &MapView::SwitchToSelectMode);
}

void MapView::createSelectionOverlay()
{
    selectionOverlay = new QLabel(mapWidget);
    selectionOverlay->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    selectionOverlay->setAttribute(Qt::WA_NoSystemBackground);
    selectionOverlay->setAttribute(Qt::WA_TranslucentBackground);
    // Its own rule keeps the map widget's grid background from cascading onto it.
    selectionOverlay->setStyleSheet(QStringLiteral("background: transparent;"));
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
    result.layers = layers;
    result.gallery = gallery;
    result.cellSize = cellSize();
    result.originX = originX;
    result.originY = originY;
    return result;
}

void MapView::setAllMouseTransparent(bool transparent)
{
    for (const auto &entry : layers->layerTable()) {
        for (Sector *sector : entry.sectors)
            sector->setMouseTransparent(transparent);
    }
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
}

void MapView::repositionAllSectors()
{
    if (propertiesForm)
        propertiesForm->updatePlacement(placement());
    const int size = cellSize();
    for (const auto &entry : layers->layerTable()) {
        for (Sector *sector : entry.sectors) {
            QPushButton *button = sector->data->button;
            button->setIconSize(QSize(size, size));
            button->resize(size, size);
            sector->setWorldPosition(double(sector->data->mapX + originX) * size,
                                     double(sector->data->mapY + originY) * size);
        }
    }
}

QCursor MapView::cursorFromImage(const QString &path) const
{
    const QPixmap image(path);
    return QCursor(image, image.width() / 2, image.height() / 2);
}

void MapView::SwitchToPencilPaintEvent()
{
    toolCursor = cursorFromImage(QStringLiteral("assets/pencil.png"));
    radioPencil->setChecked(true);
    setAllMouseTransparent(false);
}

void MapView::SwitchToFloodFillPaintEvent()
{
    toolCursor = cursorFromImage(QStringLiteral("assets/bucket.png"));
    radioFloodFill->setChecked(true);
    setAllMouseTransparent(true);
}

void MapView::SwitchToEditMode()
{
    resetSelectionDrag();
    layers->clearSelection();
    setAllMouseTransparent(false);
    btnEditSelection->setEnabled(false);
    radioPencil->setEnabled(true);
    radioFloodFill->setEnabled(true);
    SwitchToPencilPaintEvent();
}

void MapView::SwitchToSelectMode()
{
    setAllMouseTransparent(true);
    toolCursor = QCursor(Qt::CrossCursor);
    btnEditSelection->setEnabled(true);
    radioPencil->setEnabled(false);
    radioFloodFill->setEnabled(false);
}

bool MapView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mapWidget || watched == canvas) {
        if (event->type() == QEvent::Enter)
            QGuiApplication::setOverrideCursor(toolCursor);
        else if (event->type() == QEvent::Leave)
            QGuiApplication::restoreOverrideCursor();
        if (radioPaint->isChecked())
            handleEditEvent(event);
        else
            handleSelectEvent(event);
    }
    return QWidget::eventFilter(watched, event);
}

void MapView::drawSelectionOverlay(const QPoint &anchor)
{
    const QPoint cur = QCursor::pos();
    int left = std::min(anchor.x(), cur.x());
    int right = std::max(anchor.x(), cur.x());
    int top = std::min(anchor.y(), cur.y());
    int bottom = std::max(anchor.y(), cur.y());

    const QRect area = mapWidget->geometry();
    const QWidget *parent = mapWidget->parentWidget();
    const QPoint topLeft = parent ? parent->mapToGlobal(area.topLeft()) : mapWidget->mapToGlobal(QPoint());
    const QPoint bottomRight = parent ? parent->mapToGlobal(area.bottomRight())
                                      : mapWidget->mapToGlobal(QPoint(area.width() - 1, area.height() - 1));
    right = std::min(right, bottomRight.x());
    left = std::max(left, topLeft.x());
    bottom = std::min(bottom, bottomRight.y());
    top = std::max(top, topLeft.y());
    const int width = right - left;
    const int height = bottom - top;

    QPicture picture;
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QBrush(Qt::white, Qt::SolidPattern), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
    painter.drawLine(left, top, right, top);
    painter.drawLine(right, top, right, bottom);
    painter.drawLine(right, bottom, left, bottom);
    painter.drawLine(left, bottom, left, top);
    painter.end();

    selectionOverlay->move(left, top);
    selectionOverlay->resize(width + 2, height + 2);
    selectionOverlay->setPicture(picture);
    // Without a compositing window manager a translucent window shows black;
    // the mask keeps everything but the outline see-through everywhere.
    const QRect outer(0, 0, width + 2, height + 2);
    selectionOverlay->setMask(QRegion(outer).subtracted(QRegion(outer.adjusted(3, 3, -3, -3))));
    selectionOverlay->show();
}
