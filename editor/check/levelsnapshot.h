#pragma once

#include "format/sectorlighting.h"

#include <QByteArray>
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
};

struct LevelLayer
{
    QByteArray name;
    QVector<LevelCell> cells;
};

struct LevelSnapshot
{
    QVector<LevelLayer> layers;
};
