#include "engine/core/StringTable.h"

#include "engine/core/LanguageManager.h"
#include "engine/core/PrivateHeap.h"
#include "engine/core/TextHelpers.h"
#include "platform/Platform.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {

constexpr std::u16string_view PREFIX_STARTUP = u"PRE_";
constexpr std::u16string_view PREFIX_FORMATTED = u"FMT_";
constexpr std::u16string_view END_LINE = u"zzzz";
constexpr std::u16string_view PLURAL_SUFFIX = u"_plural";

std::map<std::u16string, const char16_t*, WStringOrder> s_PlainTable;
std::map<std::u16string, std::unique_ptr<FormattedText>, WStringOrder> s_FormattedTable;

// ---- Formatted-text parsing ---------------------------------------------------------------------------------

struct Marker {
    char16_t ch;
    int style; // -1: not a style marker
    float advance;
};

constexpr Marker s_Markers[] = {
    {u'~', SEGMENT_STYLE_PLAIN, 0.0f},   {u'*', SEGMENT_STYLE_SECOND, 0.0f}, {u'^', SEGMENT_STYLE_THIRD, 0.0f},
    {u'#', SEGMENT_STYLE_SYMBOLS, 0.0f}, {u'|', -1, 1.0f},                   {u'\\', -1, 0.5f},
};

const Marker* FindMarker(char16_t ch)
{
    for (const Marker& marker : s_Markers) {
        if (marker.ch == ch) {
            return &marker;
        }
    }
    return nullptr;
}

struct SymbolMapping {
    char16_t ch;
    char16_t code;
};

constexpr SymbolMapping s_Symbols[] = {
    {u'W', SYMBOL_WHITE}, {u'U', SYMBOL_BLUE}, {u'B', SYMBOL_BLACK}, {u'R', SYMBOL_RED},
    {u'G', SYMBOL_GREEN}, {u'X', SYMBOL_X},    {u'T', SYMBOL_TAP},   {u'_', SYMBOL_UNDERSCORE},
    {u' ', 0},
};

char16_t SymbolCodeOf(char16_t ch)
{
    if (ch >= u'1' && ch <= u'8') {
        return static_cast<char16_t>(SYMBOL_GENERIC_1 + (ch - u'1'));
    }
    for (const SymbolMapping& mapping : s_Symbols) {
        if (mapping.ch == ch) {
            return mapping.code;
        }
    }
    return ch;
}

void ClearSegment(FormattedSegment& segment)
{
    segment.m_Text[0] = 0;
    segment.m_Style = SEGMENT_STYLE_PLAIN;
    segment.m_LineAdvance = 0.0f;
    segment.m_X = 0;
    segment.m_Y = 0;
    segment.m_Advance = 0;
    segment.m_SymbolSize = 0;
}

// Fills segment with a run, cut to 63 units.
void FillSegment(FormattedSegment& segment, std::u16string_view run, int style, float advance)
{
    const std::size_t length = std::min(run.size(), SEGMENT_TEXT_CAPACITY - 1);
    std::copy_n(run.begin(), length, segment.m_Text);
    segment.m_Text[length] = 0;
    if (style == SEGMENT_STYLE_SYMBOLS) {
        for (std::size_t i = 0; i < length; ++i) {
            segment.m_Text[i] = SymbolCodeOf(segment.m_Text[i]);
        }
    }
    segment.m_Style = style;
    segment.m_LineAdvance += advance;
}

void ParseFormattedText(FormattedSegment& first, std::u16string_view text)
{
    const LanguageManager* const language = GetLanguageManager();
    FormattedSegment* segment = &first;
    std::size_t start = 0;
    int currentStyle = SEGMENT_STYLE_PLAIN;
    int pendingStyle = SEGMENT_STYLE_PLAIN;

    // The position text.size() stands for the terminating zero.
    for (std::size_t pos = 0; pos <= text.size(); ++pos) {
        const bool atEnd = pos == text.size();
        const Marker* const marker = atEnd ? nullptr : FindMarker(text[pos]);
        const bool lineBreakChar = !atEnd && marker == nullptr && language->IsLineBreakChar(text[pos]);
        if (!atEnd && marker == nullptr && !lineBreakChar) {
            continue;
        }
        float advance = 0.0f;
        if (marker != nullptr) {
            if (marker->style >= 0) {
                pendingStyle = marker->style;
            }
            advance = marker->advance;
        }
        if (pos == 0) {
            if (marker != nullptr) {
                start = 1;
            }
            currentStyle = pendingStyle;
            continue;
        }
        // A line-break character stays at the end of the run it closes; markers and the end belong to none.
        const std::size_t end = lineBreakChar ? pos + 1 : pos;
        const std::u16string_view run = text.substr(start, end - start);
        // Markers in a row gather in one empty segment; a break gathered there stays before the next word
        // instead of moving after it.
        if (segment->m_Text[0] != 0 || (!run.empty() && segment->m_LineAdvance != 0.0f)) {
            segment = segment->m_pNext.get();
        }
        FillSegment(*segment, run, currentStyle, advance);
        if (!segment->m_pNext) {
            segment->m_pNext = std::make_unique<FormattedSegment>();
        }
        start = pos + 1;
        currentStyle = pendingStyle;
    }
    segment->m_pNext.reset();
}

// ---- File reading -------------------------------------------------------------------------------------------

// The file as pieces of at most STRING_LINE_PIECE_MAX units, each ending after a line feed or where the piece
// or the data runs out.
class LineReader {
public:
    explicit LineReader(std::u16string_view units) : m_Units(units) {}

    bool Next(std::u16string& piece)
    {
        if (m_Pos >= m_Units.size()) {
            return false;
        }
        m_PieceLine = m_NextLine;
        const std::size_t limit = std::min(m_Units.size(), m_Pos + STRING_LINE_PIECE_MAX);
        std::size_t end = m_Pos;
        while (end < limit) {
            if (m_Units[end++] == u'\n') {
                ++m_NextLine;
                break;
            }
        }
        piece.assign(m_Units.substr(m_Pos, end - m_Pos));
        m_Pos = end;
        return true;
    }

    // The file's line number (from 1) of the last piece read.
    int Line() const { return m_PieceLine; }

private:
    std::u16string_view m_Units;
    std::size_t m_Pos = 0;
    int m_NextLine = 1;
    int m_PieceLine = 0;
};

bool StartsWith(std::u16string_view text, std::u16string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool BeginsLineEnd(std::u16string_view line)
{
    return !line.empty() && (line[0] == u'\n' || line[0] == u'\r');
}

void StripTrailing(std::u16string& text, std::u16string_view set)
{
    while (!text.empty() && set.find(text.back()) != std::u16string_view::npos) {
        text.pop_back();
    }
}

// The key of the next entry, or false at the end of the data.
bool ReadKeyLine(LineReader& reader, std::u16string& key)
{
    std::u16string piece;
    while (reader.Next(piece)) {
        TrimWString(piece, piece, u" \t");
        if (BeginsLineEnd(piece)) {
            continue;
        }
        TrimWString(key, piece, u" \t\r\n");
        key.resize(std::min(key.size(), STRING_KEY_MAX));
        return true;
    }
    return false;
}

// Appends one text line converted by the key's family; the text never grows past STRING_TEXT_MAX.
void AppendTextLine(std::u16string& text, std::u16string_view key, std::u16string line)
{
    if (StartsWith(key, PREFIX_STARTUP)) {
        // Kept with its line end.
    } else if (StartsWith(key, PREFIX_FORMATTED)) {
        if (BeginsLineEnd(line) && (line[0] == u'\n' || (line.size() > 1 && line[1] == u'\n'))) {
            line = u"|";
        } else {
            StripTrailing(line, u"\r\n");
            line += u" |";
        }
    } else {
        StripTrailing(line, u"\r\n");
        line += u' ';
    }
    const std::size_t room = STRING_TEXT_MAX - std::min(text.size(), STRING_TEXT_MAX);
    text.append(line, 0, std::min(line.size(), room));
}

// Reads text lines up to the end line; false when the data ended first.
bool ReadEntryText(LineReader& reader, std::u16string_view key, std::u16string& text)
{
    std::u16string piece;
    while (reader.Next(piece)) {
        if (StartsWith(piece, END_LINE)) {
            return true;
        }
        AppendTextLine(text, key, std::move(piece));
    }
    return false;
}

void AddEntry(std::u16string_view key, std::u16string& text)
{
    if (key.empty()) {
        return;
    }
    StripTrailing(text, u"\n\r |");
    if (StartsWith(key, PREFIX_FORMATTED)) {
        AddFormattedText(key, text);
    } else if (!AddString(key, text)) {
        plat::OutputDebugStringA("String table: the private heap cannot hold another text\r\n");
    }
}

// Hands each entry to add; returns how many ended with their end line. An entry the data ends inside is handed
// over too (it ends there) but not counted, and its lines are reported: a file in another encoding or of random
// bytes reads as one such entry.
template <typename Add>
std::size_t ParseStringTable(const std::uint8_t* data, std::size_t size, Add add)
{
    if (data == nullptr) {
        return 0;
    }
    std::size_t offset = 0;
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        offset = 2;
    }
    // Little-endian units from the bytes; an odd trailing byte is ignored.
    std::u16string units;
    units.reserve((size - offset) / 2);
    for (std::size_t i = offset; i + 1 < size; i += 2) {
        units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }

    LineReader reader(units);
    std::u16string key;
    std::size_t entries = 0;
    while (ReadKeyLine(reader, key)) {
        const int keyLine = reader.Line();
        std::u16string text;
        const bool ended = ReadEntryText(reader, key, text);
        add(key, text);
        if (!ended) {
            plat::OutputDebugStringA("String table: lines " + std::to_string(keyLine) + " to " +
                                     std::to_string(std::max(reader.Line(), keyLine)) +
                                     " hold no end line (\"zzzz\"); they are no entry\n");
            break;
        }
        ++entries;
    }
    return entries;
}

} // namespace

bool LoadStringTables()
{
    ClearStringTables();
    const std::u16string path = GetLanguageManager()->GetLocalizedPath(STRING_TABLE_FILE_NAME);
    if (path.empty()) {
        return false;
    }
    std::vector<std::uint8_t> bytes;
    if (!plat::ReadFileBytes(path, bytes)) {
        return false;
    }
    ReadStringTableData(bytes.data(), bytes.size());
    return true;
}

std::size_t ReadStringTableData(const std::uint8_t* data, std::size_t size)
{
    return ParseStringTable(data, size, AddEntry);
}

bool StringTableFileHasEntries(std::u16string_view path)
{
    std::vector<std::uint8_t> bytes;
    if (!plat::ReadFileBytes(path, bytes)) {
        return false;
    }
    return ParseStringTable(bytes.data(), bytes.size(), [](std::u16string_view, std::u16string&) {}) > 0;
}

void ClearStringTables()
{
    s_PlainTable.clear();
    s_FormattedTable.clear();
}

const char16_t* GetString(std::u16string_view key)
{
    const auto it = s_PlainTable.find(key);
    return it == s_PlainTable.end() ? nullptr : it->second;
}

const char16_t* GetPluralString(std::u16string_view key, int count)
{
    const char16_t* const singular = GetString(key);
    const bool useSingular = count == 1 || (count == 0 && GetLanguageManager()->GetLanguageId() == LANG_FRENCH);
    if (useSingular) {
        return singular;
    }
    std::u16string pluralKey(key);
    pluralKey += PLURAL_SUFFIX;
    const char16_t* const plural = GetString(pluralKey);
    return plural != nullptr ? plural : singular;
}

bool AddString(std::u16string_view key, std::u16string_view text)
{
    key = key.substr(0, STRING_KEY_MAX);
    text = text.substr(0, STRING_TEXT_MAX);
    auto* copy = static_cast<char16_t*>(PrivateAlloc((text.size() + 1) * sizeof(char16_t)));
    if (copy == nullptr) {
        return false;
    }
    std::copy(text.begin(), text.end(), copy);
    copy[text.size()] = 0;
    s_PlainTable.insert_or_assign(std::u16string(key), copy);
    return true;
}

FormattedText* AddFormattedText(std::u16string_view key, std::u16string_view text,
                                std::unique_ptr<FormattedSegment> first)
{
    key = key.substr(0, STRING_KEY_MAX);
    text = text.substr(0, std::min(text.find(u'\0'), STRING_TEXT_MAX));
    if (first) {
        ClearSegment(*first);
        first->m_pNext.reset();
    } else {
        first = std::make_unique<FormattedSegment>();
    }
    ParseFormattedText(*first, text);

    auto record = std::make_unique<FormattedText>();
    record->m_Key = std::u16string(key);
    record->m_pFirst = std::move(first);
    FormattedText* const result = record.get();
    s_FormattedTable.insert_or_assign(std::u16string(key), std::move(record));
    return result;
}

FormattedText* GetFormattedText(std::u16string_view key)
{
    const auto it = s_FormattedTable.find(key);
    return it == s_FormattedTable.end() ? nullptr : it->second.get();
}

FormattedText* GetGUIFormattedText(std::u16string_view key)
{
    return GetFormattedText(key);
}

void ResetFormattedText(FormattedText* record)
{
    if (record == nullptr) {
        return;
    }
    record->m_Width = -1;
    for (FormattedSegment* segment = record->m_pFirst.get(); segment != nullptr; segment = segment->m_pNext.get()) {
        segment->m_X = 0;
        segment->m_Y = 0;
        segment->m_Advance = 0;
        segment->m_SymbolSize = 0;
    }
}
