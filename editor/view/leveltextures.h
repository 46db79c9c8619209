#pragma once

#include "check/levelsnapshot.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>

struct SectorState;

// The images the editor's cells would be saved from, each judged once for the
// level check: a file that is gone is missing, one the path rules would not
// read is refused.
class LevelTextures
{
public:
    explicit LevelTextures(QVector<LevelTexture> *textures) : textures(textures) {}

    // The cell's image in the list; -1 for a light cell (all show the lamp)
    // and for a cell without a texture name.
    int indexOf(const QByteArray &layer, const SectorState &cell);

private:
    QVector<LevelTexture> *textures;
    QHash<QString, int> known;
};
