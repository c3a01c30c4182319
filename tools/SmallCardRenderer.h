// The small card images (data_en\cards\<id>.bmp and the turned <id>_r.bmp) drawn at build time by the game's own
// card-face composition: the cards of the compiled card file are loaded by the program's loadcard over the
// install folder on a headless display, which composes and writes every image it does not find. Images are
// kept in the cache by the content they are made from, so an unchanged card is copied, not drawn.
#pragma once

#include "tools/Diagnostics.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace datac {

constexpr char SMALL_CARD_FOLDER[] = "data_en/cards";

struct SmallCardRun {
    std::size_t cards = 0;     // cards of the card file
    std::size_t rendered = 0;  // of those, composed rather than taken from the cache
    std::uint64_t inputs = 0;  // the hash of everything the images were made from
};

// installFolder holds the compiled card file, frames, symbols and card pictures; cacheFolder (empty: none)
// keeps the images by content.
bool RenderSmallCards(const std::string& installFolder, const std::string& cacheFolder, Diagnostics& diagnostics,
                      SmallCardRun* run = nullptr);

} // namespace datac
