// The card file: the card sources under data/cards/ become cards_phys_u.cfg (UTF-16LE with a byte-order mark,
// a command file of definecard blocks; lines beginning with ';' are comments).
#pragma once

#include "tools/Diagnostics.h"

#include <cstdint>
#include <string>
#include <vector>

namespace datac {

constexpr char CARD_FILE_NAME[] = "cards_phys_u.cfg";

// The bytes of the card file. The card records are not compiled yet, so today it holds its header comment only.
std::vector<std::uint8_t> BuildCardFile();

// Writes outPath (a native path) when its content changes.
bool CompileCardFile(const std::string& outPath, Diagnostics& diagnostics);

} // namespace datac
