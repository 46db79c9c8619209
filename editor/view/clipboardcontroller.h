#pragma once

#include "model/mappiece.h"

#include <QByteArray>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSet>

class MapView;
class TextureGallery;
class QWidget;

// Copy, cut and paste of map pieces: the window's keys, the system clipboard
// and the edits they make. Copy and cut take the last rectangle of Select mode
// on every layer, or the cells of a selection made without one; paste makes the clipboard's piece a stamp that follows the
// pointer.
class ClipboardController : public QObject
{
    Q_OBJECT

public:
    ClipboardController(MapView &view, QWidget *window);

    void copySelection();
    void cutSelection();
    void pasteClipboard();
    // Drops the stamp with its top-left on this map cell: one edit.
    void pasteStamp(const MapPiece &piece, const QPoint &topLeft);
    // A loaded map keeps its file's identifiers: cells of the copied piece that
    // use one of them for another image take the gallery's new number for it.
    void makeWayFor(const QSet<qint32> &keptIds, QHash<qint32, qint32> moved, TextureGallery &gallery);

private:
    bool pieceToCopy(MapPiece *piece, QRect *area);
    void putOnClipboard(const MapPiece &piece);

    MapView &view;
    // What this window last put on the clipboard, to paste it exactly while it is still there.
    MapPiece copiedPiece;
    QByteArray copiedPayload;
};
