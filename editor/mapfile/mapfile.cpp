#include "mapfile/mapfile.h"

#include "gallery/texturegallery.h"
#include "app/dialogs.h"
#include "model/sector.h"
#include "model/subtypetable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <algorithm>

namespace {

const QString dialogCaption = QStringLiteral("Save Corvid Map");
const QString dialogFilter = QStringLiteral("Corvid Map (*.map)");

MapFormat::Layer formatLayer(const LayerTable::Entry &entry)
{
    MapFormat::Layer layer;
    layer.name = entry.name;
    layer.cells.reserve(entry.sectors.size());
    for (const Sector *sector : entry.sectors) {
        const SectorData *d = sector->data;
        layer.cells.append(MapFormat::Cell{d->mapX, d->mapY, d->texture.id, d->subtype,
                                           d->texture.fileName, d->texture.folder, d->lighting});
    }
    return layer;
}

QString describe(QFileDevice &file)
{
    return file.errorString().isEmpty() ? QStringLiteral("the data could not be written completely")
                                        : file.errorString();
}

} // namespace

QString MapFile::saveMap(LayerTable table, QString name)
{
    writtenDefinitions.clear();
    if (name.isEmpty())
        name = Dialogs::saveFileName(dialogCaption, dialogFilter);
    if (name.isEmpty())
        return QString();
    name = withMapExtension(name);
    if (writeMap(name, table))
        copyTextures(name);
    return name;
}

QString MapFile::withMapExtension(const QString &name)
{
    // The texture folder is named after the map without ".map"; without the
    // extension it would collide with the map file itself.
    return name.endsWith(QLatin1String(".map")) ? name : name + QStringLiteral(".map");
}

QString MapFile::mapName(const QString &name)
{
    QString base = QFileInfo(name).fileName();
    if (base.endsWith(QLatin1String(".map")))
        base.chop(4);
    return base;
}

QPair<int, int> MapFile::mapExtent(const LayerTable &table)
{
    int width = 0;
    int height = 0;
    for (const auto &entry : table) {
        for (const Sector *sector : entry.sectors) {
            // A cell off the map's edge is not written, so it does not widen the grid.
            if (sector->data->mapX < 0 || sector->data->mapY < 0)
                continue;
            width = std::max(width, sector->data->mapX);
            height = std::max(height, sector->data->mapY);
        }
    }
    return {width, height};
}

bool MapFile::writeMap(const QString &name, const LayerTable &table)
{
    QList<MapFormat::Layer> layers;
    for (const auto &entry : table)
        layers.append(formatLayer(entry));
    const MapFormat::Written written = MapFormat::write(layers, mapName(name).toUtf8());
    writtenDefinitions = written.definitions;

    // Written beside the old file and renamed over it only when complete, so a
    // failed save never destroys what was there.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) {
        fail(file.errorString());
        return false;
    }
    const qint64 wrote = file.write(written.text);
    if (wrote != written.text.size() || !file.flush()) {
        const QString reason = describe(file);
        file.cancelWriting();
        fail(reason);
        return false;
    }
    if (!file.commit()) {
        fail(describe(file));
        return false;
    }
    return true;
}

void MapFile::copyTextures(const QString &name)
{
    const QFileInfo info(name);
    const QString folder = info.absolutePath() + QLatin1Char('/') + mapName(name);
    QDir().mkdir(folder);
    QSet<QString> done;
    QSet<QByteArray> seenSources;
    for (const MapDefinition &definition : qAsConst(writtenDefinitions)) {
        // A loaded map gives every cell a line of its own; most name the same few images.
        if (definition.layer == "Lightmap" || seenSources.contains(definition.texturePath))
            continue;
        seenSources.insert(definition.texturePath);
        const QString source = QString::fromUtf8(definition.texturePath);
        if (QFileInfo(source).fileName().isEmpty())
            continue; // a cell painted while its layer offered no texture
        const QString target = folder + QLatin1Char('/') + QFileInfo(source).fileName();
        if (done.contains(target))
            continue;
        done.insert(target);
        if (!copyTexture(source, target))
            copyFailures.append(source);
    }
}

// Copies only when the copy is missing or differs; a loaded map saved again in
// place has source and target as the same file and is left alone.
bool MapFile::copyTexture(const QString &source, const QString &target)
{
    const QFileInfo from(source);
    const QFileInfo to(target);
    if (to.exists() && from.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return true;
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = input.readAll();
    QFile existing(target);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return true;
    existing.close();
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly))
        return false;
    if (output.write(bytes) != bytes.size() || !output.flush()) {
        output.cancelWriting();
        return false;
    }
    return output.commit();
}

LayerTable MapFile::loadMap(QWidget *widget, const SectorPlacement &placement)
{
    mapWidget = widget;
    const QString name = Dialogs::openFileName(dialogCaption, dialogFilter);
    if (name.isEmpty())
        return LayerTable();
    return loadMapFile(name, widget, placement);
}

LayerTable MapFile::loadMapFile(const QString &name, QWidget *widget, const SectorPlacement &placement)
{
    mapWidget = widget;
    fileName = name;
    bool readable = false;
    const QByteArray text = readMapText(name, &readable);
    if (!readable) {
        fail(QStringLiteral("The file cannot be read."));
        return LayerTable();
    }
    return parseMap(text, placement);
}

QByteArray MapFile::readMapText(const QString &name, bool *readable)
{
    QFile file(name);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (readable)
        *readable = opened;
    return opened ? file.readAll() : QByteArray();
}

LayerTable MapFile::parseMap(const QByteArray &text, const SectorPlacement &placement)
{
    const MapFormat::Parsed parsed = MapFormat::parse(text, QFileInfo(fileName).absolutePath().toUtf8());
    if (!parsed.sawDefinitions) {
        fail(QStringLiteral("The file has no \"#Definitions\" section, so it is not a map file."));
        return LayerTable();
    }
    return inEditorOrder(buildSectors(parsed, placement), false);
}

QList<QList<QByteArray>> MapFile::parseGrid(const QByteArray &body)
{
    return MapFormat::parseGrid(body);
}

QHash<QByteArray, MapDefinition> MapFile::parseDefinitions(const QByteArray &body) const
{
    return MapFormat::parseDefinitions(body, QFileInfo(fileName).absolutePath().toUtf8());
}

LayerTable MapFile::buildSectors(const MapFormat::Parsed &parsed, const SectorPlacement &placement)
{
    LayerTable table;
    for (const auto &grid : parsed.grids) {
        for (int row = 0; row < grid.rows.size(); ++row) {
            const QList<QByteArray> &values = grid.rows.at(row);
            for (int column = 0; column < values.size(); ++column) {
                const QByteArray &value = values.at(column);
                if (value == "0")
                    continue;
                auto found = parsed.definitions.constFind(value);
                if (found == parsed.definitions.constEnd()) {
                    ++skipped;
                    continue;
                }
                MapDefinition definition = *found;
                QList<Sector *> &sectors = table[grid.name];
                definition.id = placement.gallery ? placement.gallery->nextId() : definition.id;
                auto *data = new SectorData;
                data->mapX = column;
                data->mapY = row;
                auto *sector = new Sector(data);
                applyDefinition(definition, sector);
                sectors.append(sector);
            }
        }
    }
    return table;
}

void MapFile::applyDefinition(const MapDefinition &definition, Sector *sector)
{
    const QString path = QString::fromUtf8(definition.texturePath);
    sector->setImagePath(path);
    const QFileInfo info(path);
    TextureEntry texture;
    texture.fileName = info.fileName().toUtf8();
    texture.folder = info.path().toUtf8() + '/';
    texture.id = definition.id;
    sector->setTexture(texture);
    sector->data->layer = definition.layer;
    sector->setSubtype(definition.subtype);
    sector->setLighting(definition.lighting);
}

LayerTable MapFile::inEditorOrder(const LayerTable &loaded, bool withAllKnownLayers)
{
    LayerTable ordered;
    for (const QByteArray &name : layerOrder()) {
        if (withAllKnownLayers || loaded.contains(name))
            ordered[name] = loaded.value(name);
    }
    for (const auto &entry : loaded) {
        if (!ordered.contains(entry.name))
            ordered[entry.name] = entry.sectors;
    }
    return ordered;
}
