#include "format/maptextfile.h"

#include "format/maplimits.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// Small enough that a cancel is seen soon, large enough to cost nothing.
constexpr qint64 chunkBytes = 1 << 20;

} // namespace

MapTextFile::Outcome MapTextFile::read(const QString &fileName, QByteArray *text, QString *error,
                                       const Progress &progress)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return Outcome::Missing;
    if (!info.isFile())
        return Outcome::NotRegular;
    if (info.size() > MapLimits::fileBytes)
        return Outcome::TooLarge;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return Outcome::Unreadable;
    }
    const qint64 expected = info.size();
    QByteArray bytes;
    bytes.reserve(int(std::min(expected, MapLimits::fileBytes)));
    // One byte past the limit tells a file that grew since it was looked at.
    while (bytes.size() <= MapLimits::fileBytes) {
        if (progress && !progress(bytes.size(), expected))
            return Outcome::Cancelled;
        const QByteArray chunk = file.read(std::min(chunkBytes, MapLimits::fileBytes + 1 - bytes.size()));
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    if (bytes.size() > MapLimits::fileBytes)
        return Outcome::TooLarge;
    // A read that broke off would otherwise pass for the whole file.
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return Outcome::Unreadable;
    }
    *text = bytes;
    return Outcome::Read;
}
