// Font set-up of the raster for a language: the language manager calls it when the language changes.
#pragma once

#include "engine/core/LanguageManager.h"

// flags: RASTER_FONTS_NEWER_SYSTEM and RASTER_FONTS_SYSTEM_XP.
// Creates the raster's 20 fonts for the language (Raster::SetFontLanguage).
void SetupRasterFonts(int languageId, int charset, int flags);
