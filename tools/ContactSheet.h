// One picture of the drawn set, so that a person can judge the look of every table image and card picture at
// once: the images of the given folders of the install folder, packed row by row on a grey ground.
#pragma once

#include "tools/Diagnostics.h"

#include <string>
#include <vector>

namespace datac {

// Reads the .bmp and .chp files of the folders (relative to installFolder, in name order) and writes the sheet
// as a 24-bit .bmp at sheetPath when it changed. Files it cannot read are left out.
bool WriteContactSheet(const std::string& installFolder, const std::vector<std::string>& folders,
                       const std::string& sheetPath, Diagnostics& diagnostics);

} // namespace datac
