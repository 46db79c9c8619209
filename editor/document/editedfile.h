#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The map file a window edits: the name the user chose (the title shows it),
// the real file behind any symbolic link (read and written, and the base of
// texture paths and of the copy folder), and how the file looked on disk
// after the last load or save, to notice when another program changed it.
class EditedFile
{
public:
    EditedFile() = default;
    // Follows the links of `chosen` once, now.
    explicit EditedFile(const QString &chosen);

    // The file a name leads to, also when that file does not exist yet (a
    // link to a new file); the absolute name when no link is involved.
    static QString realPathOf(const QString &name);

    bool isEmpty() const { return chosen.isEmpty(); }
    QString chosenName() const { return chosen; }
    QString realName() const { return real; }

    // Remembers the file as it is now on disk; `hash` is the SHA-1 of the
    // bytes just read or written.
    void stamp(const QByteArray &hash);
    // True when the file on disk holds other bytes than at the stamp. A file
    // that is gone is not a change: saving overwrites nothing then.
    bool changedOnDisk() const;

    static QByteArray hashOf(const QByteArray &bytes);

private:
    QString chosen;
    QString real;
    qint64 size = -1;
    QDateTime modified;
    QByteArray hash;
};
