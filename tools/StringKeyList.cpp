#include "tools/StringKeyList.h"

#include "tools/SourceText.h"
#include "tools/Utf16Text.h"

#include "platform/Platform.h"

#include <map>

namespace datac {

namespace {

constexpr std::string_view FORMATTED_PREFIX = "FMT_";
constexpr std::u16string_view STYLE_MARKERS = u"~*^|\\";
constexpr std::u16string_view SYMBOL_LETTERS = u"WUBRG12345678XT_";

bool IsDigit(char16_t ch)
{
    return ch >= u'0' && ch <= u'9';
}

std::vector<std::string> SplitWords(std::string_view line)
{
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", pos);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = line.find_first_of(" \t", start);
        words.emplace_back(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        pos = end == std::string_view::npos ? line.size() : end;
    }
    return words;
}

bool ParseMark(const std::string& mark, KeySpec& wanted)
{
    if (mark == "%d" || mark == "%s") {
        wanted.printfConversion = mark[1];
        return true;
    }
    if (mark.size() >= 2 && mark[0] == '%' && mark[1] >= '0' && mark[1] <= '9') {
        const unsigned bit = 1u << (mark[1] - '0');
        std::string_view rest = std::string_view(mark).substr(2);
        if (rest.starts_with('n')) {
            wanted.counts |= bit;
            rest.remove_prefix(1);
        }
        if (rest.empty()) {
            wanted.required |= bit;
            return true;
        }
        if (rest == "?") {
            wanted.optional |= bit;
            return true;
        }
        return false;
    }
    if (mark == "fmtlang") {
        wanted.formattedLanguage = true;
        return true;
    }
    if (mark == "advice") {
        wanted.advice = true;
        return true;
    }
    if (mark == "altfmt") {
        wanted.alternativeFormatted = true;
        return true;
    }
    if (mark.starts_with("max=") && mark.size() > 4) {
        std::size_t value = 0;
        for (std::size_t i = 4; i < mark.size(); ++i) {
            if (mark[i] < '0' || mark[i] > '9')
                return false;
            value = value * 10 + static_cast<std::size_t>(mark[i] - '0');
        }
        wanted.maxLength = value;
        return value > 0;
    }
    return false;
}

void CheckPrintf(const KeySpec& wanted, std::u16string_view text, std::vector<std::string>& faults)
{
    std::size_t percents = 0;
    bool conversionFound = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'%')
            continue;
        ++percents;
        conversionFound = conversionFound || (i + 1 < text.size() && text[i + 1] == wanted.printfConversion);
    }
    // Leaving the one argument out is harmless; any other conversion would read an argument that is not there.
    if (percents > 1 || (percents == 1 && !conversionFound))
        faults.push_back(std::string("may hold one '%") + wanted.printfConversion + "' and no other '%'");
}

bool IsLetter(char16_t ch)
{
    return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z');
}

// The word after a count, when it is an English plural ("lands", "cards", "times"): with the count 1 it reads
// wrong. Words ending in "ss", "us" or "is" are no plurals.
std::u16string PluralAfter(std::u16string_view text, std::size_t after)
{
    if (after >= text.size() || text[after] != u' ')
        return {};
    std::size_t end = after + 1;
    while (end < text.size() && IsLetter(text[end]))
        ++end;
    const std::u16string_view word = text.substr(after + 1, end - after - 1);
    if (word.size() < 3 || word.back() != u's')
        return {};
    const char16_t before = word[word.size() - 2];
    if (before == u's' || before == u'u' || before == u'i')
        return {};
    return std::u16string(word);
}

void CheckPlaceholders(const KeySpec& wanted, std::u16string_view text, std::vector<std::string>& faults)
{
    unsigned used = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'%')
            continue;
        if (i + 1 >= text.size() || !IsDigit(text[i + 1])) {
            faults.push_back("a '%' that is no placeholder would be shown as it stands");
            continue;
        }
        const int n = text[i + 1] - u'0';
        used |= 1u << n;
        ++i;
        if ((wanted.counts & (1u << n)) != 0) {
            const std::u16string plural = PluralAfter(text, i + 1);
            if (!plural.empty())
                faults.push_back("reads '1 " + plat::ToUtf8(plural) + "' when its count %" + std::to_string(n) +
                                 " is 1");
        }
    }
    for (int n = 0; n < MAX_PLACEHOLDERS; ++n) {
        const unsigned bit = 1u << n;
        if ((used & bit) != 0 && ((wanted.required | wanted.optional) & bit) == 0)
            faults.push_back("shows %" + std::to_string(n) + ", which no caller fills");
    }
}

// Symbol runs ('#' to the next blank) may hold only symbol letters and placeholders, and every segment
// (a word) fits its record.
void CheckFormattedLanguage(std::u16string_view text, std::vector<std::string>& faults)
{
    bool inSymbols = false;
    std::size_t wordLength = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        if (ch == u' ' || ch == u'\r' || ch == u'\n' || ch == u'\t') {
            inSymbols = false;
            wordLength = 0;
            continue;
        }
        if (ch == u'#') {
            inSymbols = true;
            wordLength = 0;
            continue;
        }
        if (STYLE_MARKERS.find(ch) != std::u16string_view::npos) {
            if (inSymbols)
                faults.push_back("a symbol run must end with a blank before the next marker");
            inSymbols = false;
            wordLength = 0;
            continue;
        }
        if (inSymbols) {
            // A placeholder, or the one "%s" of a printf format, fills the run in later.
            if (ch == u'%' && i + 1 < text.size() && (IsDigit(text[i + 1]) || text[i + 1] == u's')) {
                ++i;
                continue;
            }
            if (SYMBOL_LETTERS.find(ch) == std::u16string_view::npos) {
                faults.push_back("symbol run holds '" + plat::ToUtf8(std::u16string(1, ch)) +
                                 "', which is no mana symbol");
                inSymbols = false;
            }
            continue;
        }
        if (++wordLength == MAX_SEGMENT_UNITS + 1)
            faults.push_back("a word longer than " + std::to_string(MAX_SEGMENT_UNITS) + " units");
    }
}

} // namespace

bool ParseKeyList(std::string_view listName, std::string_view text, std::vector<KeySpec>& out,
                  Diagnostics& diagnostics)
{
    const std::size_t errorsBefore = diagnostics.Messages().size();
    std::map<std::string, int> seen;
    int number = 0;
    std::string_view line;
    while (NextSourceLine(text, line)) {
        ++number;
        const std::vector<std::string> words = SplitWords(line);
        if (words.empty() || words[0].starts_with('#'))
            continue;
        KeySpec wanted;
        wanted.key = words[0];
        wanted.line = number;
        for (std::size_t i = 1; i < words.size(); ++i) {
            if (!ParseMark(words[i], wanted))
                diagnostics.Error(listName, number, "unknown mark '" + words[i] + "'");
        }
        const auto [first, isNew] = seen.emplace(wanted.key, number);
        if (!isNew)
            diagnostics.Error(listName, number,
                              "key '" + wanted.key + "' listed twice (first at line " + std::to_string(first->second) +
                                  ")");
        out.push_back(std::move(wanted));
    }
    return diagnostics.Messages().size() == errorsBefore;
}

bool ShippedKeyList(std::vector<KeySpec>& out, Diagnostics& diagnostics)
{
    return ParseKeyList("tools/StringKeys.txt", STRING_KEY_TABLE, out, diagnostics);
}

void CheckText(const KeySpec& wanted, bool formatted, std::u16string_view text, std::vector<std::string>& faults)
{
    if (wanted.printfConversion != 0)
        CheckPrintf(wanted, text, faults);
    else
        CheckPlaceholders(wanted, text, faults);
    if (formatted || wanted.formattedLanguage)
        CheckFormattedLanguage(text, faults);
    if (wanted.advice) {
        std::size_t filled = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const bool placeholder = text[i] == u'%' && i + 1 < text.size() && IsDigit(text[i + 1]);
            filled += placeholder ? MAX_CARD_NAME_UNITS : 1;
            i += placeholder ? 1 : 0;
        }
        if (filled > MAX_ADVICE_UNITS)
            faults.push_back("may grow to " + std::to_string(filled) + " characters with the longest card names; " +
                             "the advice box holds " + std::to_string(MAX_ADVICE_UNITS));
    }
    if (wanted.maxLength != 0 && text.size() > wanted.maxLength)
        faults.push_back("is " + std::to_string(text.size()) + " characters long; at most " +
                         std::to_string(wanted.maxLength) + " fit");
}

void CheckEntries(const std::vector<KeySpec>& specs, const std::vector<StringEntry>& entries,
                  Diagnostics& diagnostics, std::vector<std::string>* missing)
{
    std::map<std::string, const KeySpec*, std::less<>> byKey;
    for (const KeySpec& wanted : specs)
        byKey.emplace(wanted.key, &wanted);
    std::map<std::string, const StringEntry*, std::less<>> byEntry;
    for (const StringEntry& entry : entries)
        byEntry.emplace(entry.keyUtf8, &entry);

    for (const StringEntry& entry : entries) {
        const bool formatted = entry.keyUtf8.starts_with(FORMATTED_PREFIX);
        auto wanted = byKey.find(entry.keyUtf8);
        if (wanted == byKey.end() && formatted) {
            wanted = byKey.find(entry.keyUtf8.substr(FORMATTED_PREFIX.size()));
            if (wanted != byKey.end() && !wanted->second->alternativeFormatted)
                wanted = byKey.end();
        }
        if (wanted == byKey.end()) {
            diagnostics.Error(entry.sourceName, entry.line,
                              "no caller looks up '" + entry.keyUtf8 + "' (add it to the key list if one does)");
            continue;
        }
        std::vector<std::string> faults;
        CheckText(*wanted->second, formatted, entry.text, faults);
        for (const std::string& fault : faults)
            diagnostics.Error(entry.sourceName, entry.line, "text of '" + entry.keyUtf8 + "' " + fault);
    }

    for (const KeySpec& wanted : specs) {
        const bool plain = byEntry.contains(wanted.key);
        const bool asFormatted = wanted.alternativeFormatted && byEntry.contains(std::string(FORMATTED_PREFIX) + wanted.key);
        if (plain && asFormatted) {
            const StringEntry& entry = *byEntry.find(std::string(FORMATTED_PREFIX) + wanted.key)->second;
            diagnostics.Error(entry.sourceName, entry.line,
                              "'" + wanted.key + "' is authored both plain and formatted; the plain one would win");
        }
        if (!plain && !asFormatted && missing != nullptr)
            missing->push_back(wanted.key);
    }
}

} // namespace datac
