#pragma once

#include <QByteArray>
#include <QString>

// One texture image: folder (ending in "/") plus file name, and its identifier.
struct TextureEntry
{
    QByteArray fileName;
    QByteArray folder;
    qint32 id = -1;

    QString imagePath() const { return QString::fromUtf8(folder + fileName); }
    bool isEmpty() const { return fileName.isEmpty() && folder.isEmpty() && id == -1; }
};

inline bool operator==(const TextureEntry &a, const TextureEntry &b)
{
    return a.fileName == b.fileName && a.folder == b.folder && a.id == b.id;
}

inline bool operator!=(const TextureEntry &a, const TextureEntry &b) { return !(a == b); }
