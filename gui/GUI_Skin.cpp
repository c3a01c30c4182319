#include "gui/GUI_Skin.h"

#include "platform/Platform.h"

#include <vector>

const std::array<std::u16string_view, SKIN_PIECE_COUNT> WINDOW_PIECE_KEYS = {
    u"WINDOW_BORDER_LT", u"WINDOW_BORDER_T", u"WINDOW_BORDER_RT", u"WINDOW_BORDER_L", u"WINDOW_CENTER",
    u"WINDOW_BORDER_R", u"WINDOW_BORDER_LB", u"WINDOW_BORDER_B", u"WINDOW_BORDER_RB"};
const std::u16string_view WINDOW_BORDER_ALPHAENABLE = u"WINDOW_BORDER_ALPHAENABLE";
const std::u16string_view WINDOW_BG_ALPHAENABLE = u"WINDOW_BG_ALPHAENABLE";

const std::array<std::array<std::u16string_view, SKIN_PIECE_COUNT>, LOOK_COUNT> BUTTON_PIECE_KEYS = {{
    {u"BUTTON_UP_BORDER_LT", u"BUTTON_UP_BORDER_T", u"BUTTON_UP_BORDER_RT", u"BUTTON_UP_BORDER_L", u"BUTTON_UP_CENTER",
     u"BUTTON_UP_BORDER_R", u"BUTTON_UP_BORDER_LB", u"BUTTON_UP_BORDER_B", u"BUTTON_UP_BORDER_RB"},
    {u"BUTTON_DOWN_BORDER_LT", u"BUTTON_DOWN_BORDER_T", u"BUTTON_DOWN_BORDER_RT", u"BUTTON_DOWN_BORDER_L",
     u"BUTTON_DOWN_CENTER", u"BUTTON_DOWN_BORDER_R", u"BUTTON_DOWN_BORDER_LB", u"BUTTON_DOWN_BORDER_B",
     u"BUTTON_DOWN_BORDER_RB"},
    {u"BUTTON_MOUSEOVER_BORDER_LT", u"BUTTON_MOUSEOVER_BORDER_T", u"BUTTON_MOUSEOVER_BORDER_RT",
     u"BUTTON_MOUSEOVER_BORDER_L", u"BUTTON_MOUSEOVER_CENTER", u"BUTTON_MOUSEOVER_BORDER_R",
     u"BUTTON_MOUSEOVER_BORDER_LB", u"BUTTON_MOUSEOVER_BORDER_B", u"BUTTON_MOUSEOVER_BORDER_RB"},
    {u"BUTTON_DISABLED_BORDER_LT", u"BUTTON_DISABLED_BORDER_T", u"BUTTON_DISABLED_BORDER_RT",
     u"BUTTON_DISABLED_BORDER_L", u"BUTTON_DISABLED_CENTER", u"BUTTON_DISABLED_BORDER_R",
     u"BUTTON_DISABLED_BORDER_LB", u"BUTTON_DISABLED_BORDER_B", u"BUTTON_DISABLED_BORDER_RB"},
}};
const std::array<std::u16string_view, LOOK_COUNT> BUTTON_BORDER_ALPHA_KEYS = {
    u"BUTTON_UP_BORDER_ALPHAENABLE", u"BUTTON_DOWN_BORDER_ALPHAENABLE", u"BUTTON_MOUSEOVER_BORDER_ALPHAENABLE",
    u"BUTTON_DISABLED_BORDER_ALPHAENABLE"};
const std::array<std::u16string_view, LOOK_COUNT> BUTTON_BG_ALPHA_KEYS = {
    u"BUTTON_UP_BG_ALPHAENABLE", u"BUTTON_DOWN_BG_ALPHAENABLE", u"BUTTON_MOUSEOVER_BG_ALPHAENABLE",
    u"BUTTON_DISABLED_BG_ALPHAENABLE"};

namespace {

constexpr std::u16string_view SKIN_SEPARATORS = u" \t\n\r";
constexpr std::u16string_view SKIN_TAG = u"GSKN";
constexpr std::size_t SKIN_MIN_BYTES = 16;
constexpr int SKIN_VERSION_TENTHS = 10;

std::u16string_view Trim(std::u16string_view text)
{
    const std::size_t first = text.find_first_not_of(SKIN_SEPARATORS);
    if (first == std::u16string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(SKIN_SEPARATORS);
    return text.substr(first, last - first + 1);
}

// Units 2 to 4 of the version must read "d.d"; the value in tenths, -1 otherwise.
int VersionTenths(std::u16string_view version)
{
    const auto digit = [](char16_t ch) { return ch >= u'0' && ch <= u'9'; };
    if (version.size() != 4 || !digit(version[1]) || version[2] != u'.' || !digit(version[3]))
        return -1;
    return (version[1] - u'0') * 10 + (version[3] - u'0');
}

} // namespace

bool SkinPieceValue::HasImage() const
{
    return !file.empty() && !EqualsAsciiNoCase(file, u"NULL");
}

SkinPieceValue ParseSkinPieceValue(std::u16string_view value)
{
    SkinPieceValue out;
    std::u16string tokens[7];
    int count = 0;
    std::size_t pos = 0;
    while (count < 7) {
        pos = value.find_first_not_of(SKIN_SEPARATORS, pos);
        if (pos == std::u16string_view::npos)
            break;
        const std::size_t end = value.find_first_of(SKIN_SEPARATORS, pos);
        tokens[count++] = std::u16string(value.substr(pos, end == std::u16string_view::npos ? value.npos : end - pos));
        pos = end;
    }
    out.file = tokens[0];
    out.modeX = WStringToInt(tokens[1]);
    out.modeY = WStringToInt(tokens[2]);
    out.dx = static_cast<std::int16_t>(WStringToInt(tokens[3]));
    out.dy = static_cast<std::int16_t>(WStringToInt(tokens[4]));
    out.dw = static_cast<std::int16_t>(WStringToInt(tokens[5]));
    out.dh = static_cast<std::int16_t>(WStringToInt(tokens[6]));
    return out;
}

bool GUI_Skin::ReadSkin(std::u16string_view path)
{
    std::vector<std::uint8_t> bytes;
    if (!plat::ReadFileBytes(path, bytes))
        return false;
    return Parse(bytes.data(), bytes.size());
}

bool GUI_Skin::Parse(const std::uint8_t* data, std::size_t size)
{
    if (size < 2 || size - 2 < SKIN_MIN_BYTES)
        return false;
    // An odd byte after the mark is half a unit: it is ignored.
    const std::size_t units = (size - 2) / 2;
    std::u16string text(units, u'\0');
    for (std::size_t i = 0; i < units; ++i) {
        text[i] = static_cast<char16_t>(data[2 + 2 * i] | (data[3 + 2 * i] << 8));
    }
    const std::u16string_view view(text);
    if (view.substr(0, 4) != SKIN_TAG || VersionTenths(view.substr(4, 4)) != SKIN_VERSION_TENTHS)
        return false;
    std::u16string_view rest = view.substr(8);
    while (!rest.empty()) {
        const std::size_t end = rest.find(u'\n');
        std::u16string_view line = rest.substr(0, end);
        if (line.size() > SKIN_LINE_MAX)
            line = line.substr(0, SKIN_LINE_MAX);
        ParseLine(line);
        if (end == std::u16string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return true;
}

void GUI_Skin::ParseLine(std::u16string_view line)
{
    line = Trim(line);
    if (line.starts_with(u"//"))
        return;
    const std::size_t keyEnd = line.find_first_of(SKIN_SEPARATORS);
    if (keyEnd == std::u16string_view::npos)
        return;
    const std::u16string_view key = line.substr(0, keyEnd);
    const std::u16string_view value = Trim(line.substr(keyEnd));
    if (key.empty() || value.empty())
        return;
    m_Values[std::u16string(key)] = std::u16string(value);
}

const std::u16string& GUI_Skin::Lookup(std::u16string_view key) const
{
    static const std::u16string s_Empty;
    const auto it = m_Values.find(key);
    return it != m_Values.end() ? it->second : s_Empty;
}
