// The splash and colour-choice pages: their rectangles and the confirmation flag of the colour choice.
#pragma once

#include "engine/raster/RasterTypes.h"

struct SplashRects {
    RasterRect frame;
    RasterRect next;
    RasterRect text;
    RasterRect logo;
};

// From the client area and the loaded images' sizes.
SplashRects ComputeSplashRects();
// Set on the frame in which the second colour is picked.
bool IsColorChoiceConfirmed();
void SetColorChoiceConfirmed(bool confirmed);
