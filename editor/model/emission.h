#pragma once

#include "model/lightpoint.h"

#include <QList>

// The cells a point light reaches, row by row from the top, each with its level.
QList<LightPoint> computeEmissionCells(const LightPoint &source);
