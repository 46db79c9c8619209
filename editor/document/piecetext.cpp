#include "document/piecetext.h"

#include "format/layernames.h"
#include "document/mapfile.h"
#include "format/mapformat.h"
#include "format/maplimits.h"
#include "model/cellrecord.h"
#include "model/mapmodel.h"
#include "model/sector.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QSet>

#include <algorithm>

const char *const PieceText::mimeType = "application/x-tessel-map-piece";

namespace {

QList<MapFormat::Layer> formatLayers(const MapPiece &piece)
{
    QList<MapFormat::Layer> layers;
    for (const MapPiece::Layer &layer : piece.layers()) {
        MapFormat::Layer out{layer.name, {}};
        for (const MapPiece::Cell &cell : layer.cells)
            out.cells.append(CellRecord{cell.offset.x(), cell.offset.y(), cell.state}.formatCell());
        layers.append(out);
    }
    return layers;
}

// The sectors of a read table as a piece; the sectors are deleted.
MapPiece pieceOf(const LayerTable &table)
{
    QList<MapPiece::Layer> layers;
    QSize size;
    for (const auto &entry : table) {
        MapPiece::Layer layer{entry.name, {}};
        for (Sector *sector : entry.sectors) {
            const QPoint at(sector->data->mapX, sector->data->mapY);
            layer.cells.append({at, MapModel::stateOf(sector)});
            size = size.expandedTo(QSize(at.x() + 1, at.y() + 1));
            delete sector;
        }
        if (!layer.cells.isEmpty())
            layers.append(layer);
    }
    return MapPiece(size, layers);
}

// The map text of a piece (into `text`) and its definition lines.
QList<MapDefinition> written(const MapPiece &piece, const QString &mapFileName, QByteArray *text)
{
    const QByteArray name = mapFileName.isEmpty() ? QByteArray("piece") : MapFile::mapName(mapFileName).toUtf8();
    // Images already beside the map keep the names its definition lines use.
    const QString existing = mapFileName.isEmpty() ? QString()
                                                   : QFileInfo(MapFile::copyFolderOf(mapFileName)).canonicalFilePath();
    const QByteArray copyFolder = existing.isEmpty() ? QByteArray() : existing.toUtf8() + '/';
    return MapFormat::write(formatLayers(piece), name, copyFolder, [text](const QByteArray &chunk) {
               *text += chunk;
               return true;
           })
        .definitions;
}

// Field 4 to image, from the pairs after the map text; a pair cut short is
// left out, and so is all of it when it is larger than any map.
QHash<QByteArray, QString> imagesOf(const QByteArray &pairs)
{
    QHash<QByteArray, QString> images;
    if (pairs.size() > MapLimits::fileBytes)
        return images;
    const QList<QByteArray> fields = pairs.split('\0');
    for (int i = 0; i + 1 < fields.size(); i += 2)
        images.insert(fields.at(i), QString::fromUtf8(fields.at(i + 1)));
    return images;
}

// A "#Definitions" line, as the reader finds it: at the start of a line.
bool hasDefinitionsLine(const QByteArray &text)
{
    static const QByteArray header("#Definitions");
    return text.startsWith(header) || text.startsWith("\xEF\xBB\xBF" + header) || text.contains('\n' + header)
        || text.contains('\r' + header);
}

} // namespace

QByteArray PieceText::toText(const MapPiece &piece, const QString &mapFileName)
{
    QByteArray text;
    written(piece, mapFileName, &text);
    return text;
}

// Our own type: the source map's folder, a line end, the map text, then for
// each texture line a NUL, its field 4, a NUL and the image it stands for (no
// map text holds a NUL).
QMimeData *PieceText::toMimeData(const MapPiece &piece, const QString &mapFileName)
{
    QByteArray text;
    const QList<MapDefinition> lines = written(piece, mapFileName, &text);
    QByteArray images;
    QSet<QByteArray> named;
    for (const MapDefinition &line : lines) {
        if (line.layer == LayerNames::Lightmap || line.texturePath.isEmpty() || named.contains(line.attributes))
            continue;
        named.insert(line.attributes);
        images += '\0' + line.attributes + '\0'
            + QFileInfo(QString::fromUtf8(line.texturePath)).absoluteFilePath().toUtf8();
    }
    const QByteArray folder = mapFileName.isEmpty() ? QByteArray() : QFileInfo(mapFileName).absolutePath().toUtf8();
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(mimeType), folder + '\n' + text + images);
    data->setText(QString::fromUtf8(text));
    return data;
}

PieceText::Read PieceText::fromMimeData(const QMimeData *data, const TextureIds &ids)
{
    if (!data)
        return Read{{}, QStringLiteral("The clipboard is empty."), {}};
    const QString own = QString::fromLatin1(mimeType);
    if (!data->hasFormat(own))
        return fromText(data->text().toUtf8(), QString(), ids);
    const QByteArray payload = data->data(own);
    const int newline = std::max(0, int(payload.indexOf('\n')));
    const QString folder = QString::fromUtf8(payload.left(newline));
    // Only a folder that is there can anchor texture paths.
    const bool known = !folder.isEmpty() && QDir::isAbsolutePath(folder) && QFileInfo(folder).isDir();
    QByteArray text = payload.mid(newline + 1);
    const int imagesStart = text.indexOf('\0');
    const QHash<QByteArray, QString> images = imagesStart < 0 ? QHash<QByteArray, QString>()
                                                              : imagesOf(text.mid(imagesStart + 1));
    if (imagesStart >= 0)
        text.truncate(imagesStart);
    return fromText(text, known ? folder : QString(), ids, images);
}

PieceText::Read PieceText::fromText(const QByteArray &text, const QString &folder, const TextureIds &ids,
                                   const QHash<QByteArray, QString> &images)
{
    Read read;
    if (!hasDefinitionsLine(text)) {
        read.problem = QStringLiteral("The clipboard holds no map piece.");
        return read;
    }
    MapFile file;
    const LayerTable table = file.parseText(text, folder, ids, images);
    if (file.failed()) {
        read.problem = file.failure();
        return read;
    }
    const MapFile::Result result = file.result();
    for (const auto &notice : result.notices)
        read.notices.append(notice.second);
    if (result.skippedCells > 0)
        read.notices.append(QStringLiteral("%1 cell(s) name no definition line and were left out.")
                                .arg(result.skippedCells));
    read.piece = pieceOf(table);
    if (read.piece.isEmpty() && read.problem.isEmpty())
        read.problem = QStringLiteral("The map piece on the clipboard has no cells.");
    return read;
}
