// The string tables of the current language, read from "res_str_phys_u.txt" in the language's data folder:
// plain texts looked up by key, and formatted texts ("FMT_" keys) parsed once into lists of styled segments
// that the display lays out and draws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

constexpr std::size_t STRING_KEY_MAX = 255;
constexpr std::size_t STRING_TEXT_MAX = 1539;
// The file is read in pieces of at most this many units; a longer line becomes several pieces.
constexpr std::size_t STRING_LINE_PIECE_MAX = 1019;
// 63 units and a terminator.
constexpr std::size_t SEGMENT_TEXT_CAPACITY = 64;

constexpr std::u16string_view STRING_TABLE_FILE_NAME = u"res_str_phys_u.txt";

enum SegmentStyle {
    SEGMENT_STYLE_PLAIN = 0,
    SEGMENT_STYLE_SECOND = 1,
    SEGMENT_STYLE_THIRD = 2,
    SEGMENT_STYLE_SYMBOLS = 3,
};

// Codes of a symbol segment's text (style 3); a blank ends the symbols.
enum SymbolCode : char16_t {
    SYMBOL_WHITE = 1,
    SYMBOL_BLUE = 2,
    SYMBOL_BLACK = 3,
    SYMBOL_RED = 4,
    SYMBOL_GREEN = 5,
    SYMBOL_GENERIC_1 = 6, // up to SYMBOL_GENERIC_1 + 7 for 8
    SYMBOL_X = 14,
    SYMBOL_TAP = 15,
    SYMBOL_UNDERSCORE = 16,
};

// One styled run of a formatted text. The layout fields belong to the display, which fills them when it lays
// the text out; ResetFormattedText clears them.
struct FormattedSegment {
    std::unique_ptr<FormattedSegment> m_pNext;
    char16_t m_Text[SEGMENT_TEXT_CAPACITY] = {};
    int m_Style = SEGMENT_STYLE_PLAIN;
    // Lines to move down after this segment: 1.0 per "|", 0.5 per "\".
    float m_LineAdvance = 0.0f;
    // Laid-out position, horizontal advance and symbol size.
    int m_X = 0;
    int m_Y = 0;
    int m_Advance = 0;
    int m_SymbolSize = 0;
};

// A formatted text and its layout. m_Width is the width it was laid out for; -1 means "lay out again".
struct FormattedText {
    std::u16string m_Key;
    std::unique_ptr<FormattedSegment> m_pFirst;
    int m_Width = -1;
    int m_LineHeight = 0;
    // DrawGUIFormattedText centres vertically by it.
    int m_Height = 0;
};

// Empties both tables, then reads the current language's file. False when the file cannot be read (both tables
// stay empty). Plain texts live in the private heap: a scene load resets it before calling this.
bool LoadStringTables();
// Reads the contents of a string-table file (UTF-16LE, a byte-order mark skipped) into the tables as they are.
// Returns the entries that ended with their end line.
std::size_t ReadStringTableData(const std::uint8_t* data, std::size_t size);
// Whether the file can be read and holds at least one entry with its end line (start-up's language check: a file
// in another encoding or of random bytes holds none).
bool StringTableFileHasEntries(std::u16string_view path);
// Empties the plain table and deletes every formatted record (before each reading and at shutdown).
void ClearStringTables();

// The text, or nullptr when the key is not in the plain table. Valid until the next scene load.
const char16_t* GetString(std::u16string_view key);
// count 1 the singular key, 2 or more key + "_plural", 0 the singular in French and the plural otherwise;
// a missing plural gives the singular (which may be nullptr).
const char16_t* GetPluralString(std::u16string_view key, int count);
// Enters a copy of text (in the private heap) under key, replacing an earlier entry. False when the heap
// cannot hold it. Key and text are cut to their limits.
bool AddString(std::u16string_view key, std::u16string_view text);

// Parses text (up to its first zero unit) into segments and enters the record under key, replacing and freeing
// an earlier one. first, when given, is reused as the first segment.
FormattedText* AddFormattedText(std::u16string_view key, std::u16string_view text,
                                std::unique_ptr<FormattedSegment> first = nullptr);
FormattedText* GetFormattedText(std::u16string_view key);
// The GUI toolkit's way in; the same as GetFormattedText.
FormattedText* GetGUIFormattedText(std::u16string_view key);
// Makes the next drawing lay the text out again. A null record is ignored.
void ResetFormattedText(FormattedText* record);
