#include "document/editedfile.h"

#include "format/maplimits.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// More links in a row than this are a loop.
const int linkDepth = 40;

} // namespace

EditedFile::EditedFile(const QString &chosenName)
    : chosen(chosenName), real(realPathOf(chosenName))
{
}

QString EditedFile::realPathOf(const QString &name)
{
    if (name.isEmpty())
        return QString();
    QFileInfo info(name);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    // A link to a file not written yet: the file it will be.
    for (int depth = 0; depth < linkDepth && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.absoluteFilePath();
}

QByteArray EditedFile::hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

void EditedFile::stamp(const QByteArray &bytesHash)
{
    const QFileInfo info(real);
    size = info.size();
    modified = info.lastModified();
    hash = bytesHash;
}

bool EditedFile::changedOnDisk() const
{
    if (real.isEmpty() || hash.isEmpty())
        return false;
    const QFileInfo info(real);
    if (!info.exists())
        return false;
    if (info.size() != size)
        return true;
    if (info.lastModified() == modified)
        return false;
    // Touched: only other bytes count as a change.
    QFile file(real);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    // The size it has, not the limit: a read allocates what it is asked for.
    return hashOf(file.read(std::min(file.size(), MapLimits::fileBytes + 1))) != hash;
}
