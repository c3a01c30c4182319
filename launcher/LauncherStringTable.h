// The launcher's texts: one UTF-16LE file ("res_str.txt" in the disc folder) with a section per language,
//   _begin EN
//   STR_INSTALL_PROMPT Install the tutorial (%s)?|...
//   _end
// Section names and keys match without regard to ASCII case; '|' in a text is a line break.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

// ASCII letters folded, as section names and keys are compared.
struct AsciiNoCaseOrder {
    using is_transparent = void;
    bool operator()(std::u16string_view a, std::u16string_view b) const;
};

// Keys are cut to this many units.
constexpr std::size_t LAUNCHER_KEY_MAX = 63;

class LauncherStringTable {
public:
    // Reads the file; false (and the table left empty) when it cannot be read.
    bool Load(std::u16string_view fileName);
    // The file's bytes: the first two (the byte-order mark) are skipped whatever they hold; lines are read whole.
    void LoadFromBytes(const std::uint8_t* data, std::size_t size);
    void Clear();

    // The key's text in the code's section, or in "EN" when the code has no section; null when that section
    // lacks the key.
    const std::u16string* Lookup(int code, std::u16string_view key) const;
    std::size_t SectionCount() const { return m_Sections.size(); }

private:
    using Section = std::map<std::u16string, std::u16string, AsciiNoCaseOrder>;
    std::map<std::u16string, std::unique_ptr<Section>, AsciiNoCaseOrder> m_Sections;
};

// The text the launcher shows: the table's, else the built-in English text of the key (never missing).
std::u16string LauncherText(const LauncherStringTable& table, int code, std::u16string_view key);
// The install prompt: its first "%s" replaced by argument as it stands (the text is data, never a format).
std::u16string FillPrompt(std::u16string_view format, std::u16string_view argument);
