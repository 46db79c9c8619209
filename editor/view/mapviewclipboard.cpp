// Copy, cut and paste of map pieces: the window's keys, the system clipboard
// and the edits they make.
#include "view/mapview.h"

#include "layers/layercontroller.h"
#include "mapfile/piecetext.h"
#include "model/mapmodel.h"
#include "view/sectorcanvas.h"
#include "view/tools/selecttool.h"
#include "view/tools/stamptool.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QRadioButton>
#include <QShortcut>

void MapView::wireClipboardKeys()
{
    auto *copy = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_C), window);
    connect(copy, &QShortcut::activated, this, &MapView::copySelection);
    auto *cut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_X), window);
    connect(cut, &QShortcut::activated, this, &MapView::cutSelection);
    auto *paste = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_V), window);
    connect(paste, &QShortcut::activated, this, &MapView::pasteClipboard);
}

bool MapView::copyArea(QRect *area)
{
    *area = selectTool->area();
    if (editing->mode() == EditingState::Mode::Select && !area->isEmpty())
        return true;
    setStatusText(QStringLiteral("Drag a rectangle in Select mode first, then copy or cut."));
    return false;
}

void MapView::copySelection()
{
    QRect area;
    if (!copyArea(&area))
        return;
    copiedPiece = MapPiece::copy(*model, area);
    QMimeData *data = PieceText::toMimeData(copiedPiece, document->file().realName());
    copiedPayload = data->data(QString::fromLatin1(PieceText::mimeType));
    QApplication::clipboard()->setMimeData(data);
    setStatusText(QStringLiteral("%1 cell(s) copied").arg(copiedPiece.cellCount()));
}

void MapView::cutSelection()
{
    QRect area;
    if (!copyArea(&area))
        return;
    copySelection();
    // Every layer's removal, one undo step.
    beginEdit(QStringLiteral("Cut"));
    MapPiece::removeArea(*model, area);
    endEdit();
    layers->clearSelection();
    setStatusText(QStringLiteral("%1 cell(s) cut").arg(copiedPiece.cellCount()));
}

void MapView::pasteClipboard()
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    MapPiece piece;
    QString notices;
    if (data && !copiedPayload.isEmpty() && data->data(QString::fromLatin1(PieceText::mimeType)) == copiedPayload) {
        // Still what this window copied: the piece itself, with its exact images.
        piece = copiedPiece;
    } else {
        const PieceText::Read read = PieceText::fromMimeData(data, placement());
        if (!read.problem.isEmpty()) {
            setStatusText(QStringLiteral("Nothing pasted: ") + read.problem);
            return;
        }
        piece = read.piece;
        notices = read.notices.join(QLatin1Char(' '));
    }
    if (editing->mode() != EditingState::Mode::Select)
        SwitchToSelectMode();
    stampTool->start(piece, cursorCell());
    if (!notices.isEmpty())
        setStatusText(labelStatus->text() + QStringLiteral(" (") + notices + QLatin1Char(')'));
}

void MapView::pasteStamp(const MapPiece &piece, const QPoint &topLeft)
{
    int leftOut = 0;
    MapChange change;
    beginEdit(QStringLiteral("Paste"));
    {
        // The new buttons are polished and shown together.
        SectorCanvas::Batch batch(canvas);
        change = piece.pasteInto(*model, topLeft, &leftOut);
    }
    endEdit();
    QString text = QStringLiteral("%1 cell(s) pasted").arg(change.size());
    if (leftOut > 0)
        text += QStringLiteral("; %1 cell(s) left out: they would lie left of column 0 or above row 0").arg(leftOut);
    setStatusText(text);
}

