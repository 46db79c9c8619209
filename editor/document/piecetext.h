#pragma once

#include "model/mappiece.h"
#include "document/textureids.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

class QMimeData;

// A map piece on the system clipboard: as the piece's own small map in the
// map text format (text/plain, readable in any text editor), and under a type
// of our own that also names the folder of the map it came from, so that its
// texture paths resolve like a load of that map, and the image each texture
// line stands for, so that textures not yet saved beside that map still show.
// Clipboard text is read under the load's rules and limits: it may come from anyone.
class PieceText
{
public:
    static const char *const mimeType;

    // `mapFileName` is the map the piece was copied from; empty when unsaved.
    static QByteArray toText(const MapPiece &piece, const QString &mapFileName);
    // Owned by the caller (the clipboard, once handed over).
    static QMimeData *toMimeData(const MapPiece &piece, const QString &mapFileName);

    struct Read
    {
        MapPiece piece;
        // Why nothing could be read; empty when the piece was read.
        QString problem;
        // What was left out or left without an image.
        QStringList notices;
    };
    static Read fromMimeData(const QMimeData *data, const TextureIds &ids);
    // `images`: field 4 of a texture line to the image it stood for.
    static Read fromText(const QByteArray &text, const QString &folder, const TextureIds &ids,
                         const QHash<QByteArray, QString> &images = {});
};
