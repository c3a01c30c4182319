// Font set-up of the raster for a language: the language manager calls it when the language changes.
#pragma once

// flags: the system is of the NT family at version 5 or later, and that system is version 5.1.
constexpr int RASTER_FONTS_NEWER_SYSTEM = 0x1;
constexpr int RASTER_FONTS_SYSTEM_XP = 0x2;

// Creates the raster's 20 fonts for the language (Raster::SetFontLanguage).
void SetupRasterFonts(int languageId, int charset, int flags);
