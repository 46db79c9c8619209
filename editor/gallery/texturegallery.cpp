#include "gallery/texturegallery.h"

#include "format/layernames.h"
#include "view/iconcache.h"

#include <QDir>
#include <QListWidget>

#include <algorithm>
#include <utility>

TextureGallery::TextureGallery(QListWidget *listWidget, QList<QByteArray> names)
    : QObject(nullptr), layerNames(std::move(names)), list(listWidget)
{
    if (list) {
        list->setViewMode(QListView::IconMode);
        list->setIconSize(QSize(60, 60));
    }
    scanTextures();
    showTextures(textureLists.value(LayerNames::Ceil));
    if (!shown.isEmpty())
        current = findTexture(QString::fromUtf8(shown.first().fileName));
    if (list)
        connect(list, &QListWidget::itemSelectionChanged, this, &TextureGallery::TextureSelectedEvent);
}

void TextureGallery::scanTextures()
{
    for (const QByteArray &layer : std::as_const(layerNames)) {
        QList<TextureEntry> textures;
        if (layer == LayerNames::Lightmap) {
            textures.append(TextureEntry{"lamp.png", "assets/", counter++});
        } else {
            textures = listTextureFiles(QStringLiteral("textures/") + QString::fromUtf8(layer));
        }
        // A layer keeps the list it was first given; the numbers a rescan used stay used.
        if (!textureLists.contains(layer))
            textureLists.insert(layer, textures);
    }
}

QList<TextureEntry> TextureGallery::listTextureFiles(const QString &folder)
{
    QDir dir(folder);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    const QStringList names = dir.entryList(
        {QStringLiteral("*.jpg"), QStringLiteral("*.JPG"), QStringLiteral("*.png"), QStringLiteral("*.PNG")},
        QDir::Files, QDir::NoSort);
    QList<TextureEntry> textures;
    const QByteArray prefix = folder.toUtf8() + '/';
    int unwritable = 0;
    for (const QString &name : names) {
        // A map names its textures in a comma-separated line: such a name
        // would never read back.
        if (name.contains(QLatin1Char(',')) || name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n'))) {
            ++unwritable;
            continue;
        }
        textures.append(TextureEntry{name.toUtf8(), prefix, counter++});
    }
    leftOutByFolder.insert(folder, unwritable);
    return textures;
}

void TextureGallery::showTextures(const QList<TextureEntry> &textures)
{
    shown = textures;
    if (!list)
        return;
    const QSignalBlocker quiet(list);
    list->clear();
    for (const TextureEntry &texture : textures) {
        auto *item = new QListWidgetItem(IconCache::icon(texture.imagePath()), QString::fromUtf8(texture.fileName));
        // The caption is elided in the grid; the tooltip tells the whole name and where it lives.
        item->setToolTip(QString::fromUtf8(texture.fileName) + QStringLiteral("\n")
                         + QString::fromUtf8(texture.folder));
        list->insertItem(list->count(), item);
    }
}

void TextureGallery::selectLayer(QByteArray layer)
{
    const QList<TextureEntry> textures = textureLists[layer];
    showTextures(textures);
    if (list)
        list->setCurrentItem(list->item(0));
    TextureSelectedEvent();
}

void TextureGallery::reloadTextures()
{
    if (list) {
        const QSignalBlocker quiet(list);
        list->clear();
    }
    scanTextures();
    showTextures(textureLists.value(LayerNames::Ceil));
    if (!shown.isEmpty())
        current = shown.first();
}

void TextureGallery::TextureSelectedEvent()
{
    if (!list)
        return;
    const QList<QListWidgetItem *> selected = list->selectedItems();
    if (selected.isEmpty())
        return;
    current = findTexture(selected.first()->text());
}

TextureEntry TextureGallery::findTexture(const QString &fileName) const
{
    const QByteArray wanted = fileName.toUtf8();
    for (const TextureEntry &texture : shown) {
        if (texture.fileName == wanted)
            return texture;
    }
    return TextureEntry();
}

bool TextureGallery::selectTexture(const TextureEntry &texture)
{
    for (int row = 0; row < shown.size(); ++row) {
        const TextureEntry &entry = shown.at(row);
        if (entry.fileName != texture.fileName || entry.folder != texture.folder)
            continue;
        if (list) {
            list->setCurrentRow(row);
            list->scrollToItem(list->item(row));
        }
        current = entry;
        return true;
    }
    return false;
}

int TextureGallery::leftOutCount(const QByteArray &layer) const
{
    return leftOutByFolder.value(QStringLiteral("textures/") + QString::fromUtf8(layer));
}

qint32 TextureGallery::nextId()
{
    return ++counter;
}

void TextureGallery::reserveIdsThrough(qint32 id)
{
    counter = std::max(counter, id);
}

TextureIds TextureGallery::textureIds()
{
    return TextureIds{[this](qint32 highest) { reserveIdsThrough(highest); }, [this]() { return nextId(); }};
}

QHash<qint32, qint32> TextureGallery::makeWayFor(const QSet<qint32> &taken)
{
    QHash<qint32, qint32> moved;
    for (QList<TextureEntry> &textures : textureLists) {
        for (TextureEntry &texture : textures) {
            if (taken.contains(texture.id)) {
                const qint32 fresh = nextId();
                moved.insert(texture.id, fresh);
                texture.id = fresh;
            }
        }
    }
    for (TextureEntry &texture : shown)
        texture.id = moved.value(texture.id, texture.id);
    current.id = moved.value(current.id, current.id);
    return moved;
}
