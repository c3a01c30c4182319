// The raster's font set-up now lives in engine/RasterFonts.h; this header only forwards to it.
#pragma once

#include "engine/RasterFonts.h"
