#include "view/clipboardcontroller.h"

#include "document/editingstate.h"
#include "document/mapdocument.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "document/piecetext.h"
#include "model/cellrecord.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/mapview.h"
#include "view/sectorcanvas.h"
#include "view/tools/selecttool.h"
#include "view/tools/stamptool.h"
#include "view/tools/toolbox.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QShortcut>

#include <algorithm>
#include <utility>

ClipboardController::ClipboardController(MapView &mapView, QWidget *window) : QObject(nullptr), view(mapView)
{
    auto *copy = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_C), window);
    connect(copy, &QShortcut::activated, this, &ClipboardController::copySelection);
    auto *cut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_X), window);
    connect(cut, &QShortcut::activated, this, &ClipboardController::cutSelection);
    auto *paste = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_V), window);
    connect(paste, &QShortcut::activated, this, &ClipboardController::pasteClipboard);
}
namespace {

// A selection made without a rectangle (cells alike, a whole layer) is its
// own piece: only its cells, framed by the rectangle around them.
MapPiece pieceOf(const QList<Sector *> &sectors)
{
    QRect frame;
    for (const Sector *sector : sectors)
        frame |= QRect(sector->data->mapX, sector->data->mapY, 1, 1);
    QList<MapPiece::Cell> cells;
    for (const Sector *sector : sectors) {
        const CellRecord cell = CellRecord::of(sector);
        cells.append(MapPiece::Cell{QPoint(cell.mapX, cell.mapY) - frame.topLeft(), cell.state});
    }
    std::sort(cells.begin(), cells.end(), [](const MapPiece::Cell &a, const MapPiece::Cell &b) {
        return std::make_pair(a.offset.y(), a.offset.x()) < std::make_pair(b.offset.y(), b.offset.x());
    });
    return MapPiece(frame.size(), {MapPiece::Layer{sectors.first()->layer(), cells}});
}

} // namespace

// Select mode's last rectangle on every layer, else the selection's own cells.
bool ClipboardController::pieceToCopy(MapPiece *piece, QRect *area)
{
    *area = view.tools()->select().area();
    const QList<Sector *> &selected = view.layerController()->selection();
    if (view.editingState()->mode() == EditingState::Mode::Select) {
        if (!area->isEmpty()) {
            *piece = MapPiece::copy(*view.mapModel(), *area);
            return true;
        }
        if (!selected.isEmpty()) {
            *piece = pieceOf(selected);
            return true;
        }
    }
    view.setStatusText(QStringLiteral("Drag a rectangle in Select mode first, then copy or cut."));
    return false;
}

void ClipboardController::copySelection()
{
    MapPiece piece;
    QRect area;
    if (!pieceToCopy(&piece, &area))
        return;
    putOnClipboard(piece);
    view.setStatusText(QStringLiteral("%1 cell(s) copied").arg(copiedPiece.cellCount()));
}

void ClipboardController::putOnClipboard(const MapPiece &piece)
{
    copiedPiece = piece;
    QMimeData *data = PieceText::toMimeData(copiedPiece, view.mapDocument()->file().realName());
    copiedPayload = data->data(QString::fromLatin1(PieceText::mimeType));
    QApplication::clipboard()->setMimeData(data);
}

void ClipboardController::cutSelection()
{
    MapPiece piece;
    QRect area;
    if (!pieceToCopy(&piece, &area))
        return;
    putOnClipboard(piece);
    const QList<Sector *> selected = view.layerController()->selection();
    // Every layer's removal, one undo step.
    view.mapDocument()->beginEdit(QStringLiteral("Cut"));
    if (!area.isEmpty())
        MapPiece::removeArea(*view.mapModel(), area);
    else
        view.mapModel()->removeSectors(selected);
    view.mapDocument()->endEdit();
    view.layerController()->clearSelection();
    view.setStatusText(QStringLiteral("%1 cell(s) cut").arg(copiedPiece.cellCount()));
}

void ClipboardController::pasteClipboard()
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    MapPiece piece;
    QString notices;
    if (data && !copiedPayload.isEmpty() && data->data(QString::fromLatin1(PieceText::mimeType)) == copiedPayload) {
        // Still what this window copied: the piece itself, with its exact images.
        piece = copiedPiece;
    } else {
        const PieceText::Read read = PieceText::fromMimeData(data, view.textureGallery()->textureIds());
        if (!read.problem.isEmpty()) {
            view.setStatusText(QStringLiteral("Nothing pasted: ") + read.problem);
            return;
        }
        piece = read.piece;
        notices = read.notices.join(QLatin1Char(' '));
    }
    if (view.editingState()->mode() != EditingState::Mode::Select)
        view.SwitchToSelectMode();
    view.stamp()->start(piece, view.cursorCell());
    if (!notices.isEmpty())
        view.setStatusText(view.statusText() + QStringLiteral(" (") + notices + QLatin1Char(')'));
}

void ClipboardController::pasteStamp(const MapPiece &piece, const QPoint &topLeft)
{
    int leftOut = 0;
    MapChange change;
    view.mapDocument()->beginEdit(QStringLiteral("Paste"));
    {
        // The new buttons are polished and shown together.
        SectorCanvas::Batch batch(SectorCanvas::forMap(view.mapSurface()));
        change = piece.pasteInto(*view.mapModel(), topLeft, &leftOut);
    }
    view.mapDocument()->endEdit();
    QString text = QStringLiteral("%1 cell(s) pasted").arg(change.size());
    if (leftOut > 0)
        text += QStringLiteral("; %1 cell(s) left out: they would lie left of column 0 or above row 0").arg(leftOut);
    view.setStatusText(text);
}

void ClipboardController::makeWayFor(const QSet<qint32> &keptIds, QHash<qint32, qint32> moved,
                                     TextureGallery &gallery)
{
    QList<MapPiece::Layer> pieceLayers = copiedPiece.layers();
    for (MapPiece::Layer &layer : pieceLayers) {
        for (MapPiece::Cell &cell : layer.cells) {
            qint32 &id = cell.state.texture.id;
            if (!keptIds.contains(id))
                continue;
            if (!moved.contains(id))
                moved.insert(id, gallery.nextId());
            id = moved.value(id);
        }
    }
    copiedPiece = MapPiece(copiedPiece.size(), pieceLayers);
}
