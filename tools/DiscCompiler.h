// The disc folder the launcher runs from, compiled from data/disc/: its pictures (art/*.art), its click sound
// (sounds.txt, the recipe syntax of the sound effects) and its string table (res_str.txt, UTF-8 in, UTF-16LE
// with a byte-order mark out).
#pragma once

#include "tools/Diagnostics.h"

#include <string>

namespace datac {

constexpr char DISC_SOURCE_FOLDER[] = "disc";
constexpr char DISC_STRING_TABLE[] = "res_str.txt";

bool CompileDisc(const std::string& sourceFolder, const std::string& discFolder, const std::string& cacheFolder,
                 Diagnostics& diagnostics);

} // namespace datac
