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
#include <QStringList>

// The palette: the textures each layer offers, the one picked last on each
// layer, and the running identifiers that name textures and light cells.
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

    // What a new look at the texture folders found, as image paths.
    struct FolderChanges
    {
        QStringList added;
        QStringList changed;
        QStringList removed;
        bool isEmpty() const { return added.isEmpty() && changed.isEmpty() && removed.isEmpty(); }
    };
    // Reads the texture folders again. Images already listed keep their
    // identifiers; a new one takes the next; a removed one leaves the gallery;
    // a changed one is read again from its file.
    FolderChanges rescanFolders();
    // The texture folders and the images listed from them.
    QStringList watchedFolders() const;
    QStringList listedImages() const;

    TextureEntry currentTexture() const { return current; }
    // The texture picked last while the layer was shown, else its first one;
    // empty when the layer has none. A room takes the Wall, Floor and Ceil ones.
    TextureEntry currentTextureOf(const QByteArray &layer) const;
    const QList<TextureEntry> &shownTextures() const { return shown; }
    QList<TextureEntry> texturesOf(const QByteArray &layer) const { return textureLists.value(layer); }
    qint32 idCounter() const { return counter; }
    QListWidget *listWidget() const { return list; }

public slots:
    void TextureSelectedEvent();

private:
    void scanTextures();
    QList<TextureEntry> listTextureFiles(const QString &folder);
    QStringList usableFileNames(const QString &folder);
    void rescanFolder(const QByteArray &layer, FolderChanges &changes);
    static QString folderOf(const QByteArray &layer);
    static QPair<qint64, qint64> stampOf(const QString &path);
    void showTextures(const QByteArray &layer);
    void remember(const TextureEntry &texture);

    QList<QByteArray> layerNames;
    QMap<QByteArray, QList<TextureEntry>> textureLists;
    QHash<QString, int> leftOutByFolder;
    QList<TextureEntry> shown;
    // Size and time of change of each listed image, to tell a changed one.
    QHash<QString, QPair<qint64, qint64>> stamps;
    TextureEntry current;
    QByteArray shownLayer;
    QHash<QByteArray, TextureEntry> pickedByLayer;
    QPointer<QListWidget> list;
    qint32 counter = 100;
};
