// Skin sources: UTF-8 text of "KEY value" lines (and // comments) compiled into the UTF-16LE .skn files the
// program reads, with the "GSKN" tag and version "V1.0" in front. Keys must be ones the toolkit reads; piece
// values must be an image name and up to six numbers. Errors name file and line.
#pragma once

#include "tools/Diagnostics.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace datac {

bool CompileSkin(std::string_view source, const std::string& fileName, std::vector<std::uint8_t>& out,
                 Diagnostics& diagnostics);
// Every *.skn.txt of the folder into GUI/Skins/<name>.skn under the install folder.
bool CompileSkinFiles(const std::vector<std::string>& sources, const std::string& outFolder, Diagnostics& diagnostics);

} // namespace datac
