#pragma once
// How the hand's speed changes the ink's density.
#include "platform/colour.h"

// The pen colour after one tick of density by speed. A fast hand (speedSquared 20 or more)
// lightens every channel by Trunc(speedSquared / 10) + 1, stopping at 255; a slow or still
// one takes speedSquared + 7 steps back down toward base.
TColor DensityBySpeed(TColor pen, TColor base, int speedSquared);
