// The GUI toolkit's formatted-text callbacks, through the display's layout of formatted text: the width and
// height of a text in a font, and its drawing, whose alignments 3-5 centre vertically by the laid-out height.
#pragma once

#include "engine/core/StringTable.h"
#include "engine/raster/RasterTypes.h"

#include <cstdint>

int GetGUIFormattedTextWidth(FormattedText* record, int font);
int GetGUIFormattedTextHeight(FormattedText* record, int font);
int DrawGUIFormattedText(FormattedText* record, const RasterRect& rect, int font, int alignment, std::uint32_t colour,
                         int target, int verticalOffset, bool flag);
