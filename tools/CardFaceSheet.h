// Every card's face in one picture for a person to judge: the small images of the card folder, then each large
// face as the table draws it, composed by the game on a headless display. Kept beside the cache, never in the
// install folder; drawn again only when what it shows changed.
#pragma once

#include "tools/Diagnostics.h"

#include <cstdint>
#include <string>

namespace datac {

// installFolder holds the compiled card file, the table images and the small cards; smallCardInputs is the
// small-card step's hash of what the faces are made from (SmallCardRun::inputs), the large frames are hashed
// here. drawn (may be null) tells whether the sheet was composed rather than found up to date.
bool WriteCardFaceSheet(const std::string& installFolder, std::uint64_t smallCardInputs, const std::string& sheetPath,
                        Diagnostics& diagnostics, bool* drawn = nullptr);

} // namespace datac
