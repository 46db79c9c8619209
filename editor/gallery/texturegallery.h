#pragma once

#include "document/textureids.h"
#include "model/textureentry.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QListWidget>
#include <QPointer>
#include <QSet>

// The palette: the textures each layer offers, the one picked last, and the
// running identifiers that name textures and light cells.
class TextureGallery : public QObject
{
    Q_OBJECT

public:
    // The list may be null (a gallery without a window).
    TextureGallery(QListWidget *list, QList<QByteArray> layerNames);

    void selectLayer(QByteArray layer);
    void reloadTextures();
    TextureEntry findTexture(const QString &fileName) const;
    // Makes the shown texture with this file and folder the current one and
    // scrolls to it; false when the gallery does not show it.
    bool selectTexture(const TextureEntry &texture);
    qint32 nextId();
    // The counter goes on above `id`: a loaded map keeps its file's numbers.
    void reserveIdsThrough(qint32 id);
    // The counter as a read of map text takes it.
    TextureIds textureIds();
    // Gives each texture whose number a loaded map now uses a fresh one, so
    // that no two different images share a number (the flood fill tells
    // textures apart by it). Returns the old numbers and their new ones.
    QHash<qint32, qint32> makeWayFor(const QSet<qint32> &taken);
    // Files of the layer's folder left out because a map could not name them.
    int leftOutCount(const QByteArray &layer) const;

    TextureEntry currentTexture() const { return current; }
    const QList<TextureEntry> &shownTextures() const { return shown; }
    QList<TextureEntry> texturesOf(const QByteArray &layer) const { return textureLists.value(layer); }
    qint32 idCounter() const { return counter; }
    QListWidget *listWidget() const { return list; }

public slots:
    void TextureSelectedEvent();

private:
    void scanTextures();
    QList<TextureEntry> listTextureFiles(const QString &folder);
    void showTextures(const QList<TextureEntry> &textures);

    QList<QByteArray> layerNames;
    QMap<QByteArray, QList<TextureEntry>> textureLists;
    QHash<QString, int> leftOutByFolder;
    QList<TextureEntry> shown;
    TextureEntry current;
    QPointer<QListWidget> list;
    qint32 counter = 100;
};
