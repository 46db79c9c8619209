#include "mapfile/maptextfile.h"

#include "mapfile/maplimits.h"

#include <QFile>
#include <QFileInfo>

MapTextFile::Outcome MapTextFile::read(const QString &fileName, QByteArray *text, QString *error)
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
    // One byte past the limit tells a file that grew since it was looked at.
    *text = file.read(MapLimits::fileBytes + 1);
    return text->size() > MapLimits::fileBytes ? Outcome::TooLarge : Outcome::Read;
}
