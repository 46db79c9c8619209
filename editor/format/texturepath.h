#pragma once

#include <QByteArray>
#include <QString>

// Where a texture named by a map file may be read from: only regular files
// inside the folder that holds the map, so that a file from elsewhere can never
// reach the texture copies of the next save.
class TexturePath
{
public:
    enum class Verdict { Accepted, Missing, Refused };
    struct Resolved
    {
        Verdict verdict = Verdict::Refused;
        // Accepted: the canonical file. Missing: where it would be, inside the
        // folder. Refused: empty.
        QString path;
        // Why a path was refused, for the warning.
        QString reason;
    };

    // Judges `relative` (field 4 of a definition line) against `mapFolder`:
    // refused when it is absolute, leads outside (also through a link), or
    // names no regular file of a sane size.
    static Resolved resolve(const QString &mapFolder, const QByteArray &relative);

    // A regular file (after following links) of at most `maxBytes`.
    static bool isRegularFile(const QString &path, qint64 maxBytes);
};
