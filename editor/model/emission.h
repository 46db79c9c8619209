#pragma once

#include "model/lightpoint.h"
#include "model/sectorplacement.h"

#include <QList>

class Sector;

// The cells a point light reaches, row by row from the top, each with its level.
QList<LightPoint> computeEmissionCells(const LightPoint &source);

// Writes a point light into the current layer, creating light cells where needed.
void emitPointLight(const SectorPlacement &placement, const LightPoint &source);

// Sectors made by the last emission whose buttons still wait for their click connection.
QList<Sector *> &pendingEmissionSectors();
