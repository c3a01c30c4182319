#include "launcher/LauncherStringTable.h"

#include "launcher/LauncherLanguage.h"

#include "engine/core/TextHelpers.h"
#include "platform/Platform.h"

#include <vector>

namespace {

constexpr std::u16string_view SEPARATORS = u" \t\n\r";
constexpr std::u16string_view BEGIN_MARK = u"_begin";
constexpr std::u16string_view END_MARK = u"_end";
constexpr std::u16string_view DEFAULT_SECTION = u"EN";
// A prompt is cut to what the original's buffer held.
constexpr std::size_t PROMPT_MAX = 1023;

struct BuiltInText {
    std::u16string_view key;
    std::u16string_view text;
};

constexpr BuiltInText BUILT_IN_TEXTS[] = {
    {u"STR_INSTALL_PROMPT", u"The tutorial will now be installed in %s.\nDo you want to continue?"},
    {u"STR_UNINSTALL_PROMPT", u"The tutorial will now be removed from this computer.\nDo you want to continue?"},
    {u"STR_LANGINST_COMPLETE", u"The language pack has been installed."},
    {u"STR_START_FAILED", u"%s could not be started."},
    {u"STR_OPEN_FAILED", u"%s could not be opened."},
    {u"STR_INSTALL_FAILED", u"The tutorial could not be installed."},
    {u"STR_ENGLISH", u"English"},
    {u"STR_FRENCH", u"French"},
    {u"STR_GERMAN", u"German"},
    {u"STR_SPANISH", u"Spanish"},
    {u"STR_PORTUGUESE", u"Portuguese"},
    {u"STR_ITALIAN", u"Italian"},
    {u"STR_RUSSIAN", u"Russian"},
    {u"STR_CHINESE", u"Chinese"},
    {u"STR_KOREAN", u"Korean"},
};

} // namespace

bool AsciiNoCaseOrder::operator()(std::u16string_view a, std::u16string_view b) const
{
    const std::size_t length = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t x = AsciiLower(a[i]);
        const char16_t y = AsciiLower(b[i]);
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

bool LauncherStringTable::Load(std::u16string_view fileName)
{
    Clear();
    std::vector<std::uint8_t> bytes;
    if (!plat::ReadFileBytes(fileName, bytes))
        return false;
    LoadFromBytes(bytes.data(), bytes.size());
    return true;
}

void LauncherStringTable::LoadFromBytes(const std::uint8_t* data, std::size_t size)
{
    Clear();
    if (data == nullptr || size < 2)
        return;
    std::u16string text;
    text.reserve((size - 2) / 2);
    for (std::size_t at = 2; at + 1 < size; at += 2)
        text.push_back(static_cast<char16_t>(data[at] | (data[at + 1] << 8)));

    Section* section = nullptr;
    std::u16string line;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos)
            end = text.size();
        TrimWString(line, std::u16string_view(text).substr(start, end - start), SEPARATORS);
        start = end + 1;
        if (section == nullptr) {
            if (StartsWithAsciiNoCase(line, BEGIN_MARK)) {
                auto made = std::make_unique<Section>();
                section = made.get();
                const std::u16string name = line.size() > BEGIN_MARK.size() + 1 ? line.substr(BEGIN_MARK.size() + 1) : u"";
                m_Sections[name] = std::move(made);
            }
            continue;
        }
        if (StartsWithAsciiNoCase(line, END_MARK)) {
            section = nullptr;
            continue;
        }
        if (line.empty())
            continue;
        const std::size_t space = line.find(u' ');
        std::u16string key = line.substr(0, space);
        if (key.size() > LAUNCHER_KEY_MAX)
            key.resize(LAUNCHER_KEY_MAX);
        std::u16string value = space == std::u16string::npos ? std::u16string() : line.substr(space + 1);
        for (char16_t& unit : value) {
            if (unit == u'|')
                unit = u'\n';
        }
        (*section)[key] = std::move(value);
    }
}

void LauncherStringTable::Clear()
{
    m_Sections.clear();
}

const std::u16string* LauncherStringTable::Lookup(int code, std::u16string_view key) const
{
    auto section = m_Sections.find(LanguageSectionName(code));
    if (section == m_Sections.end())
        section = m_Sections.find(DEFAULT_SECTION);
    if (section == m_Sections.end())
        return nullptr;
    const auto entry = section->second->find(key);
    return entry == section->second->end() ? nullptr : &entry->second;
}

std::u16string LauncherText(const LauncherStringTable& table, int code, std::u16string_view key)
{
    if (const std::u16string* text = table.Lookup(code, key))
        return *text;
    for (const BuiltInText& entry : BUILT_IN_TEXTS) {
        if (EqualsAsciiNoCase(entry.key, key))
            return std::u16string(entry.text);
    }
    return std::u16string(key);
}

std::u16string FillPrompt(std::u16string_view format, std::u16string_view argument)
{
    std::u16string text(format);
    const std::size_t at = text.find(u"%s");
    if (at != std::u16string::npos)
        text.replace(at, 2, argument);
    if (text.size() > PROMPT_MAX)
        text.resize(PROMPT_MAX);
    return text;
}
