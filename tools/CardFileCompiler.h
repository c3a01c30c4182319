// The card file: the card sources under data/cards/ (*.cards, UTF-8; syntax at the top of data/cards/README.md
// and of every source) become cards_phys_u.cfg (UTF-16LE with a byte-order mark, CR LF line ends): a command
// file of one definecard block per card in identifier order, keys in the key table's order.
#pragma once

#include "tools/Diagnostics.h"

#include <cstdint>
#include <string>
#include <vector>

namespace datac {

constexpr char CARD_FILE_NAME[] = "cards_phys_u.cfg";
constexpr char CARD_SOURCE_EXTENSION[] = ".cards";

// One readable source: its name in messages and its UTF-8 text.
struct CardSource {
    std::string name;
    std::string text;
};

// Compiles the sources into the bytes of the card file. Every card 1-271 must be defined exactly once across
// them. False on errors, each reported as "source:line: message"; out is then left empty.
bool CompileCardSources(const std::vector<CardSource>& sources, std::vector<std::uint8_t>& out,
                        Diagnostics& diagnostics);

// Reads every *.cards file of sourceFolder (in name order) and writes outPath when its content changes.
// Nothing is written on errors.
bool CompileCardFile(const std::string& sourceFolder, const std::string& outPath, Diagnostics& diagnostics);

} // namespace datac
