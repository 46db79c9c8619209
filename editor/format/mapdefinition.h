#pragma once

#include "format/sectorlighting.h"

#include <QByteArray>
#include <QtGlobal>

// One definition line of a map file: what a grid value stands for.
struct MapDefinition
{
    qint32 id = 0;
    QByteArray layer;
    QByteArray subtype;
    // Writing: the image the texture copy is made from. Reading: the image to show.
    QByteArray texturePath;
    // Writing only: everything from the fourth field on, joined by ",".
    QByteArray attributes;
    SectorLighting lighting;
};
