// libFuzzer target over the skin reader and its piece values.
#include "gui/GUI_Skin.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t> bytes(data, data + size);
    GUI_Skin skin;
    if (!skin.Parse(bytes.data(), bytes.size()))
        return 0;
    for (const std::u16string_view key : WINDOW_PIECE_KEYS) {
        [[maybe_unused]] static volatile std::size_t s_sink;
        s_sink = ParseSkinPieceValue(skin.Lookup(key)).file.size();
    }
    return 0;
}
