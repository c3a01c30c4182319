// The table of string keys the program looks up, built into the tool from tools/StringKeys.txt, and the checks of
// the compiled texts against it: which placeholders each caller fills, which texts are printf formats, which are
// written in the formatted-text language, and which lengths the screen allows. A text may show any placeholder its
// caller fills and leave any of them out; one its caller does not fill would be shown as it stands.
//
// List syntax: one key a line, then its marks, separated by blanks; '#' starts a comment line.
//   %3      the caller fills %3 (%3? reads the same)
//   %3n     (also %3n?) the caller fills %3 with a count that can be 1: no plural noun may follow it ("1 lands")
//   %d, %s  the text is a printf format with at most this one conversion and no other '%'
//   fmtlang a plain text that the program parses as formatted text (markers, '#' symbol runs)
//   altfmt  the key may instead be authored as "FMT_" + key (formatted)
//   max=N   at most N characters
//   advice  an advice box text: with every placeholder filled by a 63-character card name it still fits the
//           box's 259 characters
#pragma once

#include "tools/Diagnostics.h"
#include "tools/StringTableCompiler.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace datac {

constexpr int MAX_PLACEHOLDERS = 10;
// A formatted segment (in English one word) holds at most 63 units.
constexpr std::size_t MAX_SEGMENT_UNITS = 63;

struct KeySpec {
    std::string key;
    int line = 0;
    unsigned required = 0; // bit n: the caller fills %n (marked "%n")
    unsigned optional = 0; // bit n: the caller fills %n (marked "%n?")
    unsigned counts = 0;   // bit n: %n is a count that can be 1
    char printfConversion = 0; // 'd' or 's'
    bool formattedLanguage = false;
    bool alternativeFormatted = false;
    std::size_t maxLength = 0; // 0: no limit
    bool advice = false;
};

// The advice box copies its text into 260 units; a card name has at most 63.
constexpr std::size_t MAX_ADVICE_UNITS = 259;
constexpr std::size_t MAX_CARD_NAME_UNITS = 63;

// Parses the list; errors name listName and the line.
bool ParseKeyList(std::string_view listName, std::string_view text, std::vector<KeySpec>& out,
                  Diagnostics& diagnostics);

// The tool's own table, as tools/StringKeys.txt gives it.
extern const std::string_view STRING_KEY_TABLE;
// The tool's table parsed; errors name tools/StringKeys.txt and the line.
bool ShippedKeyList(std::vector<KeySpec>& out, Diagnostics& diagnostics);

// Checks one text against its wanted; each fault is a message appended to faults.
void CheckText(const KeySpec& wanted, bool formatted, std::u16string_view text, std::vector<std::string>& faults);

// Checks every compiled entry: an entry the list does not name, or whose text breaks its wanted, is an error at
// the entry's line. Keys of the list that are missing are not errors here (missing lists them).
void CheckEntries(const std::vector<KeySpec>& specs, const std::vector<StringEntry>& entries,
                  Diagnostics& diagnostics, std::vector<std::string>* missing = nullptr);

} // namespace datac
