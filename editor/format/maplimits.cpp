#include "format/maplimits.h"

#include <QLocale>

namespace {

const qint64 megabyte = 1024 * 1024;

} // namespace

QString MapLimits::count(qint64 number)
{
    return QLocale(QLocale::English).toString(number);
}

QString MapLimits::megabytes(qint64 bytes)
{
    return QLocale(QLocale::English).toString(double(bytes) / megabyte, 'f', 1) + QStringLiteral(" MB");
}

QString MapLimits::fileBytesText()
{
    return QString::number(fileBytes / megabyte) + QStringLiteral(" MB");
}

QString MapLimits::cellsText()
{
    return count(cells);
}

QString MapLimits::extentText()
{
    return count(extent) + QStringLiteral(" columns and rows");
}
