// A skin: the key-value text of a .skn file that names the images of a window's nine-piece frame and of a
// button's four looks. GUI_Manager reads each file once and shares it by reference count.
#pragma once

#include "engine/core/TextHelpers.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

constexpr int SKIN_PIECE_COUNT = 9;
constexpr int SKIN_PIECE_CENTER = 4;
// Lines longer than this are cut.
constexpr std::size_t SKIN_LINE_MAX = 1023;

// The piece keys in piece order: LT, T, RT, L, centre, R, LB, B, RB.
extern const std::array<std::u16string_view, SKIN_PIECE_COUNT> WINDOW_PIECE_KEYS;
extern const std::u16string_view WINDOW_BORDER_ALPHAENABLE;
extern const std::u16string_view WINDOW_BG_ALPHAENABLE;

// The four button looks in the order of their skin families.
enum ButtonLook { LOOK_UP = 0, LOOK_DOWN = 1, LOOK_MOUSEOVER = 2, LOOK_DISABLED = 3, LOOK_COUNT = 4 };
extern const std::array<std::array<std::u16string_view, SKIN_PIECE_COUNT>, LOOK_COUNT> BUTTON_PIECE_KEYS;
extern const std::array<std::u16string_view, LOOK_COUNT> BUTTON_BORDER_ALPHA_KEYS;
extern const std::array<std::u16string_view, LOOK_COUNT> BUTTON_BG_ALPHA_KEYS;

// One piece value: image name, two size modes, offset and size adjustment; missing numbers are 0.
struct SkinPieceValue {
    std::u16string file;
    int modeX = 0;
    int modeY = 0;
    std::int16_t dx = 0;
    std::int16_t dy = 0;
    std::int16_t dw = 0;
    std::int16_t dh = 0;

    // "NULL" in any case, or no name, means no image.
    bool HasImage() const;
};
SkinPieceValue ParseSkinPieceValue(std::u16string_view value);

class GUI_Skin {
public:
    // Reads the file at path (already resolved); false for a missing file, a wrong tag or another version.
    bool ReadSkin(std::u16string_view path);
    // The file's bytes, byte-order mark included.
    bool Parse(const std::uint8_t* data, std::size_t size);
    // The value, or the empty string. Keys match exactly.
    const std::u16string& Lookup(std::u16string_view key) const;
    std::size_t GetKeyCount() const { return m_Values.size(); }

    int m_RefCount = 0;

private:
    void ParseLine(std::u16string_view line);

    std::map<std::u16string, std::u16string, WStringOrder> m_Values;
};
