#pragma once

#include "model/sectorplacement.h"

class Sector;

// A new sector at canvas cell (cx, cy) on the current layer, with the current
// texture and the layer's first subtype. Not yet in any layer list, and its
// button's click is not connected: the caller does both.
Sector *createSectorAt(int cx, int cy, const SectorPlacement &placement);
