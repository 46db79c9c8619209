#include "view/leveltextures.h"

#include "format/layernames.h"
#include "format/maplimits.h"
#include "model/mapchange.h"

#include <QFileInfo>

namespace {

// What a save copies beside the map is the texture's folder and file name.
LevelTexture judge(const SectorState &cell)
{
    const TextureEntry &texture = cell.texture;
    LevelTexture judged{texture.folder + texture.fileName, TexturePath::Verdict::Accepted, QString()};
    if (texture.folder.isEmpty()) {
        // A load (or a paste) that refused the path keeps the name for the
        // cell's line, with no image behind it.
        judged.verdict = TexturePath::Verdict::Refused;
        judged.reason = QStringLiteral("no image was read for it");
        return judged;
    }
    const QFileInfo file(texture.imagePath());
    if (!file.exists()) {
        judged.verdict = TexturePath::Verdict::Missing;
    } else if (!file.isFile()) {
        judged.verdict = TexturePath::Verdict::Refused;
        judged.reason = QStringLiteral("not a regular file");
    } else if (file.size() > MapLimits::imageBytes) {
        judged.verdict = TexturePath::Verdict::Refused;
        judged.reason = QStringLiteral("larger than 16 MB");
    }
    return judged;
}

} // namespace

int LevelTextures::indexOf(const QByteArray &layer, const SectorState &cell)
{
    if (layer == LayerNames::Lightmap || cell.texture.fileName.isEmpty())
        return -1;
    // A cell without a folder kept only its name: one entry per name.
    const QString key = cell.texture.imagePath();
    const auto found = known.constFind(key);
    if (found != known.constEnd())
        return *found;
    textures->append(judge(cell));
    known.insert(key, textures->size() - 1);
    return textures->size() - 1;
}
