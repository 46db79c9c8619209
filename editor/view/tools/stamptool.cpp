#include "view/tools/stamptool.h"

#include "model/mapmodel.h"
#include "view/iconcache.h"
#include "view/clipboardcontroller.h"
#include "view/mapview.h"
#include "view/sectorcanvas.h"
#include "view/tools/pantool.h"

#include <QLabel>
#include <QPainter>
#include <QApplication>
#include <QKeyEvent>

namespace {
const qreal previewOpacity = 0.55;
}

StampTool::StampTool(MapView &view, PanTool &pan, QWidget *window)
    : view(view), panTool(pan), window(window)
{
}

StampTool::~StampTool()
{
    delete preview.data();
}

void (StampTool::*StampTool::actionOf(const QKeyEvent *event) const)()
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier && !(mods == Qt::ShiftModifier && event->key() == Qt::Key_R))
        return nullptr;
    switch (event->key()) {
    case Qt::Key_R:
        return mods == Qt::ShiftModifier ? &StampTool::turnCounterClockwise : &StampTool::turnClockwise;
    case Qt::Key_H:
        return &StampTool::mirrorLeftRight;
    case Qt::Key_V:
        return &StampTool::mirrorTopBottom;
    case Qt::Key_Escape:
        return &StampTool::stop;
    default:
        return nullptr;
    }
}

bool StampTool::eventFilter(QObject *watched, QEvent *event)
{
    const bool key = event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!following || !key || !widget || widget->window() != window)
        return false;
    const auto action = actionOf(static_cast<QKeyEvent *>(event));
    if (!action)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Accepted, the key comes as a key press instead of as a shortcut.
        event->accept();
        return true;
    }
    (this->*action)();
    return true;
}

void StampTool::start(const MapPiece &piece, const QPoint &canvasCell)
{
    pointerCell = canvasCell;
    SectorCanvas *canvas = SectorCanvas::forMap(view.mapSurface());
    if (!preview) {
        // One label over the buttons: moving it is all a pointer move costs.
        preview = new QLabel(canvas);
        preview->setObjectName(QStringLiteral("stampPreview"));
        preview->setAttribute(Qt::WA_TransparentForMouseEvents);
        preview->setAttribute(Qt::WA_NoSystemBackground);
    }
    canvas->setMouseTracking(true);
    view.mapSurface()->setMouseTracking(true);
    if (!following)
        qApp->installEventFilter(this);
    following = true;
    restyle(piece);
}

void StampTool::stop()
{
    if (!following)
        return;
    following = false;
    qApp->removeEventFilter(this);
    if (preview) {
        // The picture may be as large as the map area; the next stamp draws its own.
        preview->hide();
        preview->clear();
    }
    previewCellSize = 0;
    view.clearStatusText();
}

void StampTool::handle(QEvent *event, const ToolPoint &at)
{
    pointerCell = at.canvasCell;
    if (isPress(event, Qt::LeftButton))
        drop(at.mapCell);
    else if (isPress(event, Qt::RightButton))
        stop();
    else if (!panTool.takes(event) && event->type() != QEvent::MouseMove)
        return;
    if (following)
        follow();
}

void StampTool::turnClockwise() { restyle(stamp.turnedClockwise()); }
void StampTool::turnCounterClockwise() { restyle(stamp.turnedCounterClockwise()); }
void StampTool::mirrorLeftRight() { restyle(stamp.mirroredLeftRight()); }
void StampTool::mirrorTopBottom() { restyle(stamp.mirroredTopBottom()); }

void StampTool::restyle(const MapPiece &piece)
{
    stamp = piece;
    previewCellSize = 0;
    view.setStatusText(helpText());
    follow();
}

QString StampTool::helpText() const
{
    return QStringLiteral("Stamp of %1 cell(s): click to drop, R / Shift+R turn, H / V mirror, Escape ends")
        .arg(stamp.cellCount());
}

void StampTool::follow()
{
    if (!preview)
        return;
    const int size = view.cellSize();
    if (size != previewCellSize) {
        const QPixmap picture = render(size);
        preview->setPixmap(picture);
        preview->resize((QSizeF(picture.size()) / picture.devicePixelRatio()).toSize());
        previewCellSize = size;
    }
    preview->move(pointerCell * size);
    preview->raise();
    preview->show();
}

// The stamp's images in layer order, translucent; never larger than the map
// area, since its top-left cell is always inside it.
QPixmap StampTool::render(int cellSize) const
{
    const QSize area = view.mapSurface()->size();
    const QSize full = stamp.size() * cellSize;
    const QSize shown = full.boundedTo(area).expandedTo(QSize(1, 1));
    // Drawn at the screen's density, so that the piece is as sharp as the cells.
    const qreal ratio = view.mapSurface()->devicePixelRatioF();
    QPixmap pixmap((QSizeF(shown) * ratio).toSize());
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setOpacity(previewOpacity);
    for (const MapPiece::Layer &layer : stamp.layers()) {
        for (const MapPiece::Cell &cell : layer.cells) {
            const QRect place(cell.offset * cellSize, QSize(cellSize, cellSize));
            if (!place.intersects(QRect(QPoint(0, 0), shown)))
                continue;
            const QIcon icon = IconCache::icon(cell.state.image);
            if (icon.isNull())
                painter.fillRect(place, Qt::gray);
            else
                painter.drawPixmap(place, icon.pixmap(cellSize, cellSize));
        }
    }
    painter.setOpacity(1.0);
    painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
    painter.drawRect(QRect(QPoint(0, 0), full).adjusted(0, 0, -1, -1));
    return pixmap;
}

void StampTool::drop(const QPoint &mapCell)
{
    view.clipboardController()->pasteStamp(stamp, mapCell);
}
