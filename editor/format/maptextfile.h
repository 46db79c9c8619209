#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Reads the bytes of a map file under the limits every reader of maps keeps:
// only a regular file (a pipe or a device would never end), at most
// MapLimits::fileBytes. Callers word the outcome for their own users.
class MapTextFile
{
public:
    enum class Outcome { Read, Missing, NotRegular, TooLarge, Unreadable, Cancelled };
    // Told how many bytes of `total` are read; returns false to stop.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    // `text` gets the bytes when the outcome is Read; `error` the system's
    // words when it is Unreadable.
    static Outcome read(const QString &fileName, QByteArray *text, QString *error = nullptr,
                        const Progress &progress = {});
};
