#include "gallery/texturegallery.h"

#include "format/layernames.h"
#include "view/iconcache.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
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
    showTextures(LayerNames::Ceil);
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
    QList<TextureEntry> textures;
    const QByteArray prefix = folder.toUtf8() + '/';
    for (const QString &name : usableFileNames(folder)) {
        textures.append(TextureEntry{name.toUtf8(), prefix, counter++});
        stamps.insert(textures.last().imagePath(), stampOf(textures.last().imagePath()));
    }
    return textures;
}

// The folder's images in name order, without those a map could not name.
QStringList TextureGallery::usableFileNames(const QString &folder)
{
    QDir dir(folder);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    // Name filters would compile a pattern per filter and folder on every
    // scan (and page in the pattern library); a suffix test, in any case as
    // the filters matched, is all it takes.
    QStringList names = dir.entryList(QDir::Files, QDir::NoSort);
    const auto notAnImage = [](const QString &name) {
        return !name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive)
            && !name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
    };
    names.erase(std::remove_if(names.begin(), names.end(), notAnImage), names.end());
    // A map names its textures in a comma-separated line: such a name would never read back.
    const auto unwritable = [](const QString &name) {
        return name.contains(QLatin1Char(',')) || name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n'));
    };
    const int before = names.size();
    names.erase(std::remove_if(names.begin(), names.end(), unwritable), names.end());
    leftOutByFolder.insert(folder, before - names.size());
    return names;
}

QString TextureGallery::folderOf(const QByteArray &layer)
{
    return QStringLiteral("textures/") + QString::fromUtf8(layer);
}

QPair<qint64, qint64> TextureGallery::stampOf(const QString &path)
{
    const QFileInfo info(path);
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

TextureGallery::FolderChanges TextureGallery::rescanFolders()
{
    FolderChanges changes;
    for (const QByteArray &layer : std::as_const(layerNames)) {
        if (layer != LayerNames::Lightmap)
            rescanFolder(layer, changes);
    }
    if (changes.isEmpty())
        return changes;
    for (const QString &path : std::as_const(changes.changed))
        IconCache::forget(path);
    // The shown list again (new icons, new rows), the picked texture kept when it is still there.
    const TextureEntry picked = current;
    showTextures(shownLayer);
    if (!selectTexture(picked)) {
        if (list)
            list->setCurrentItem(list->item(0));
        current = shown.isEmpty() ? TextureEntry() : shown.first();
    }
    return changes;
}

void TextureGallery::rescanFolder(const QByteArray &layer, FolderChanges &changes)
{
    const QString folder = folderOf(layer);
    const QStringList names = usableFileNames(folder);
    QList<TextureEntry> &textures = textureLists[layer];
    for (auto it = textures.begin(); it != textures.end();) {
        const QString path = it->imagePath();
        if (!names.contains(QString::fromUtf8(it->fileName))) {
            changes.removed.append(path);
            if (pickedByLayer.value(layer) == *it)
                pickedByLayer.remove(layer);
            stamps.remove(path);
            it = textures.erase(it);
            continue;
        }
        const QPair<qint64, qint64> stamp = stampOf(path);
        if (stamp != stamps.value(path)) {
            changes.changed.append(path);
            stamps.insert(path, stamp);
        }
        ++it;
    }
    const QByteArray prefix = folder.toUtf8() + '/';
    for (const QString &name : names) {
        const QByteArray fileName = name.toUtf8();
        const auto listed = std::find_if(textures.cbegin(), textures.cend(),
                                         [&](const TextureEntry &t) { return t.fileName == fileName; });
        if (listed != textures.cend())
            continue;
        // In name order among the others, with a number after every number given so far.
        const auto place = std::find_if(textures.begin(), textures.end(), [&](const TextureEntry &t) {
            return QString::fromUtf8(t.fileName).compare(name, Qt::CaseInsensitive) > 0;
        });
        const TextureEntry added{fileName, prefix, nextId()};
        textures.insert(place, added);
        stamps.insert(added.imagePath(), stampOf(added.imagePath()));
        changes.added.append(added.imagePath());
    }
}

QStringList TextureGallery::watchedFolders() const
{
    QStringList folders;
    for (const QByteArray &layer : layerNames) {
        if (layer != LayerNames::Lightmap)
            folders.append(folderOf(layer));
    }
    return folders;
}

QStringList TextureGallery::listedImages() const
{
    return stamps.keys();
}

void TextureGallery::showTextures(const QByteArray &layer)
{
    shownLayer = layer;
    shown = textureLists.value(layer);
    if (!list)
        return;
    const QSignalBlocker quiet(list);
    list->clear();
    for (const TextureEntry &texture : std::as_const(shown)) {
        auto *item = new QListWidgetItem(IconCache::icon(texture.imagePath()), QString::fromUtf8(texture.fileName));
        // The caption is elided in the grid; the tooltip tells the whole name and where it lives.
        item->setToolTip(QString::fromUtf8(texture.fileName) + QStringLiteral("\n")
                         + QString::fromUtf8(texture.folder));
        list->insertItem(list->count(), item);
    }
}

void TextureGallery::selectLayer(QByteArray layer)
{
    showTextures(layer);
    // Back on a layer, the texture picked there last is current again.
    const TextureEntry picked = currentTextureOf(layer);
    int row = 0;
    while (row < shown.size() && !(shown.at(row).fileName == picked.fileName && shown.at(row).folder == picked.folder))
        ++row;
    if (row == shown.size())
        row = 0;
    if (list) {
        list->setCurrentItem(list->item(row));
        TextureSelectedEvent();
    } else if (!shown.isEmpty()) {
        current = shown.at(row);
    }
}

TextureEntry TextureGallery::currentTextureOf(const QByteArray &layer) const
{
    const auto picked = pickedByLayer.constFind(layer);
    if (picked != pickedByLayer.constEnd())
        return *picked;
    const QList<TextureEntry> textures = textureLists.value(layer);
    return textures.isEmpty() ? TextureEntry() : textures.first();
}

void TextureGallery::remember(const TextureEntry &texture)
{
    if (!texture.isEmpty())
        pickedByLayer.insert(shownLayer, texture);
}

void TextureGallery::reloadTextures()
{
    if (list) {
        const QSignalBlocker quiet(list);
        list->clear();
    }
    scanTextures();
    showTextures(LayerNames::Ceil);
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
    remember(current);
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
        remember(current);
        return true;
    }
    return false;
}

int TextureGallery::leftOutCount(const QByteArray &layer) const
{
    return leftOutByFolder.value(folderOf(layer));
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
    for (TextureEntry &texture : pickedByLayer)
        texture.id = moved.value(texture.id, texture.id);
    return moved;
}
