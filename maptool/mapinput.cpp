#include "mapinput.h"

#include "check/levelvocabulary.h"
#include "check/parsedsnapshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// The same bounds the editor's reader keeps: a map is small text, and every
// cell costs memory in the editor and the game.
const qint64 maxFileBytes = 64ll * 1024 * 1024;
const int maxExtent = 4096;
const int maxCells = 250000;

} // namespace

bool MapInput::read(const QString &fileName, QString *failure)
{
    name = fileName;
    const QFileInfo info(fileName);
    if (!info.exists()) {
        *failure = QStringLiteral("no such file");
        return false;
    }
    if (!info.isFile()) {
        *failure = QStringLiteral("not a regular file");
        return false;
    }
    if (info.size() > maxFileBytes) {
        *failure = QStringLiteral("the file is larger than %1 MB").arg(maxFileBytes / (1024 * 1024));
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *failure = file.errorString();
        return false;
    }
    const QByteArray text = file.read(maxFileBytes + 1);
    if (text.size() > maxFileBytes) {
        *failure = QStringLiteral("the file is larger than %1 MB").arg(maxFileBytes / (1024 * 1024));
        return false;
    }
    mapFolder = info.absolutePath();
    map = MapFormat::parse(text, mapFolder.toUtf8());
    if (!map.sawDefinitions) {
        *failure = QStringLiteral("no \"#Definitions\" section, so this is not a map file");
        return false;
    }
    int cells = 0;
    for (const MapFormat::Grid &grid : qAsConst(map.grids)) {
        height = std::max(height, int(std::min(grid.rows.size(), maxExtent + 1)));
        for (const QList<QByteArray> &row : grid.rows) {
            width = std::max(width, int(std::min(row.size(), maxExtent + 1)));
            cells += int(std::count_if(row.begin(), row.end(), [](const QByteArray &v) { return v != "0"; }));
        }
    }
    if (width > maxExtent || height > maxExtent) {
        *failure = QStringLiteral("the map is wider or taller than %1 cells").arg(maxExtent);
        return false;
    }
    if (cells > maxCells) {
        *failure = QStringLiteral("the map has more than %1 filled cells").arg(maxCells);
        return false;
    }
    level = ParsedSnapshot::from(map, LevelVocabulary::layerOrder(), &undefined);
    return true;
}

bool MapInput::isInsideFolder(const QString &path) const
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString root = QDir(mapFolder).canonicalPath();
    return !canonical.isEmpty() && !root.isEmpty() && canonical.startsWith(root + QLatin1Char('/'));
}
