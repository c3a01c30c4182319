// libFuzzer target over the string-table reader: any bytes read as the table, then every key the data could hold
// looked up as a plain, plural and formatted text. Every text found ends within its limit, a plural falls back
// to its singular, and every formatted text is a list of segments that each end within their field.
#include "engine/core/LanguageManager.h"
#include "engine/core/PrivateHeap.h"
#include "engine/core/StringTable.h"
#include "platform/Platform.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

std::size_t TerminatedLength(const char16_t* text, std::size_t limit)
{
    std::size_t n = 0;
    while (n <= limit && text[n] != 0)
        ++n;
    return n;
}

// The data's lines as little-endian units, trimmed: among them are all the keys the reader can have entered.
std::vector<std::u16string> CandidateKeys(const std::uint8_t* data, std::size_t size)
{
    std::u16string units;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    std::vector<std::u16string> keys;
    std::size_t start = 0;
    while (start <= units.size() && keys.size() < 64) {
        std::size_t end = units.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos)
            end = units.size();
        std::u16string_view line = std::u16string_view(units).substr(start, end - start);
        while (!line.empty() && (line.front() == u' ' || line.front() == u'\t' || line.front() == 0xFEFF))
            line.remove_prefix(1);
        while (!line.empty() && (line.back() == u' ' || line.back() == u'\t'))
            line.remove_suffix(1);
        if (!line.empty())
            keys.emplace_back(line.substr(0, STRING_KEY_MAX));
        start = end + 1;
    }
    return keys;
}

void CheckFormatted(const FormattedText* record)
{
    if (record == nullptr)
        return;
    int segments = 0;
    for (const FormattedSegment* segment = record->m_pFirst.get(); segment != nullptr;
         segment = segment->m_pNext.get()) {
        Require(TerminatedLength(segment->m_Text, SEGMENT_TEXT_CAPACITY - 1) < SEGMENT_TEXT_CAPACITY);
        Require(segment->m_Style >= SEGMENT_STYLE_PLAIN && segment->m_Style <= SEGMENT_STYLE_SYMBOLS);
        Require(++segments <= static_cast<int>(STRING_TEXT_MAX) + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    plat::Init(plat::BackendKind::Headless);
    // Quiet: entries without an end line are reported to the log.
    plat::SetLogSink([](std::string_view) {});
    CreatePrivateHeap();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ClearStringTables();
    ResetPrivateHeap();
    // French takes the singular for none; the other languages the plural.
    GetLanguageManager()->SetLanguage(size % 2 == 0 ? LANG_ENGLISH : LANG_FRENCH, false);
    ReadStringTableData(data, size);
    for (const std::u16string& key : CandidateKeys(data, size)) {
        const char16_t* const text = GetString(key);
        if (text != nullptr)
            Require(TerminatedLength(text, STRING_TEXT_MAX) <= STRING_TEXT_MAX);
        for (const int count : {0, 1, 2}) {
            const char16_t* const chosen = GetPluralString(key, count);
            if (text != nullptr)
                Require(chosen != nullptr);
            if (chosen != nullptr)
                Require(TerminatedLength(chosen, STRING_TEXT_MAX) <= STRING_TEXT_MAX);
        }
        CheckFormatted(GetFormattedText(key));
        if (text != nullptr) {
            const FormattedText* const record = AddFormattedText(u"FMT_fuzz", text);
            Require(record != nullptr && record == GetFormattedText(u"FMT_fuzz"));
            CheckFormatted(record);
        }
    }
    return 0;
}
