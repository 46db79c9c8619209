#include "format/texturepath.h"

#include "format/maplimits.h"

#include <QDir>
#include <QFileInfo>

namespace {

using Resolved = TexturePath::Resolved;
using Verdict = TexturePath::Verdict;

Resolved refused(const QString &reason)
{
    return Resolved{Verdict::Refused, QString(), reason};
}

bool isInside(const QString &folder, const QString &path)
{
    return path.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

} // namespace

TexturePath::Resolved TexturePath::resolve(const QString &mapFolder, const QByteArray &relative)
{
    const QString name = QString::fromUtf8(relative);
    if (name.isEmpty() || name.contains(QChar(0)))
        return refused(QStringLiteral("no usable file name"));
    if (QDir::isAbsolutePath(name))
        return refused(QStringLiteral("an absolute path"));
    const QString folder = QFileInfo(mapFolder).canonicalFilePath();
    if (folder.isEmpty())
        return refused(QStringLiteral("the map's folder cannot be found"));
    // Judged on the text first, so that "../" never touches anything outside.
    const QString cleaned = QDir::cleanPath(folder + QLatin1Char('/') + name);
    if (!isInside(folder, cleaned))
        return refused(QStringLiteral("outside the map's folder"));
    // Then on the file itself, with every link followed.
    const QFileInfo info(cleaned);
    const QString target = info.canonicalFilePath();
    if (target.isEmpty()) {
        if (info.isSymLink())
            return refused(QStringLiteral("a link that leads nowhere"));
        return Resolved{Verdict::Missing, cleaned, QString()};
    }
    if (!isInside(folder, target))
        return refused(QStringLiteral("a link leading outside the map's folder"));
    if (!QFileInfo(target).isFile())
        return refused(QStringLiteral("not a regular file"));
    if (!isRegularFile(target, MapLimits::imageBytes))
        return refused(QStringLiteral("larger than 16 MB"));
    return Resolved{Verdict::Accepted, target, QString()};
}

bool TexturePath::isRegularFile(const QString &path, qint64 maxBytes)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile() && info.size() <= maxBytes;
}
