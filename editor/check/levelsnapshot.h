#pragma once

#include "format/texturepath.h"
#include "format/sectorlighting.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QtGlobal>

// A level as plain values, detached from sectors and widgets: what the level
// check reads. Built from a parsed map file or from the editor's layers.
struct LevelCell
{
    qint32 mapX = 0;
    qint32 mapY = 0;
    QByteArray subtype;
    // Only read for Lightmap cells.
    SectorLighting lighting;
    // The cell's image in LevelSnapshot::textures; -1 for none or not known.
    int texture = -1;
};

struct LevelLayer
{
    QByteArray name;
    QVector<LevelCell> cells;
};

// An image that cells refer to, judged by the path rules against the map's
// folder (TexturePath::resolve).
struct LevelTexture
{
    // As the map file names it.
    QByteArray path;
    TexturePath::Verdict verdict = TexturePath::Verdict::Accepted;
    // Why a Refused path was refused.
    QString reason;
};

struct LevelSnapshot
{
    QVector<LevelLayer> layers;
    // Optional: left empty, no texture is checked.
    QVector<LevelTexture> textures = {};
};
