// Pictures of the drawn set packed into one image, so that a person can judge their look at once: the table
// images and card pictures of the install folder, or any pictures a step composes (the card faces).
#pragma once

#include "tools/Diagnostics.h"

#include <cstdint>
#include <string>
#include <vector>

namespace datac {

struct SheetPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows from the top
};

// A 24-bit .bmp or the first frame of a .chp as the art step writes them; false for anything else.
bool ReadSheetPicture(const std::string& path, SheetPicture& out);
// The same from the file's bytes; path tells the kind by its extension.
bool DecodeSheetPicture(const std::string& path, const std::vector<std::uint8_t>& bytes, SheetPicture& out);

// Packs the pictures row by row (each row as high as its tallest) on a grey ground, width wide; a picture wider
// than the sheet is left out. Writes the sheet as a 24-bit .bmp at sheetPath when it changed.
bool WritePictureSheet(const std::vector<SheetPicture>& pictures, int width, const std::string& sheetPath,
                       Diagnostics& diagnostics);

// The .bmp and .chp files of the folders (relative to installFolder, in name order), 1600 pixels wide; composed
// only when their content changed since the last sheet (its key is kept at sheetPath + ".key").
bool WriteContactSheet(const std::string& installFolder, const std::vector<std::string>& folders,
                       const std::string& sheetPath, Diagnostics& diagnostics);

} // namespace datac
