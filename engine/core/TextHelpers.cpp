#include "engine/core/TextHelpers.h"

#include <climits>
#include <cstdint>

namespace {

// A run of upper-case letters and the distance to their lower-case forms. Alternating runs pair each upper
// letter (at the parity of first) with the next unit.
struct CaseRange {
    char16_t first;
    char16_t last;
    int delta;
    bool alternating;
};

constexpr CaseRange s_CaseRanges[] = {
    {0x0041, 0x005A, 32, false},  {0x00C0, 0x00D6, 32, false}, {0x00D8, 0x00DE, 32, false},
    {0x0100, 0x012E, 1, true},    {0x0132, 0x0136, 1, true},   {0x0139, 0x0147, 1, true},
    {0x014A, 0x0176, 1, true},    {0x0178, 0x0178, -121, false}, {0x0179, 0x017D, 1, true},
    {0x0386, 0x0386, 38, false},  {0x0388, 0x038A, 37, false}, {0x038C, 0x038C, 64, false},
    {0x038E, 0x038F, 63, false},  {0x0391, 0x03A1, 32, false}, {0x03A3, 0x03AB, 32, false},
    {0x0400, 0x040F, 80, false},  {0x0410, 0x042F, 32, false}, {0x0460, 0x0480, 1, true},
    {0x048A, 0x04BE, 1, true},
};

bool InRange(char16_t ch, char16_t first, char16_t last, bool alternating)
{
    if (ch < first || ch > last) {
        return false;
    }
    return !alternating || ((ch - first) % 2) == 0;
}

bool IsAsciiBlank(char16_t ch)
{
    return ch == u' ' || (ch >= u'\t' && ch <= u'\r');
}

bool IsInSet(char16_t ch, const char16_t* set)
{
    for (; *set != 0; ++set) {
        if (*set == ch) {
            return true;
        }
    }
    return false;
}

bool IsSeparator(char16_t ch, std::u16string_view separators)
{
    return separators.find(ch) != std::u16string_view::npos;
}

} // namespace

// ---- Positional formatting ----------------------------------------------------------------------------------

std::u16string FormatStringV(std::u16string_view format, std::span<const std::u16string_view> args)
{
    std::u16string result;
    result.reserve(format.size());
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char16_t ch = format[i];
        const bool isPlaceholder = ch == u'%' && i + 1 < format.size() && format[i + 1] >= u'0' &&
                                   format[i + 1] <= u'9';
        if (!isPlaceholder) {
            result.push_back(ch);
            continue;
        }
        const std::size_t index = static_cast<std::size_t>(format[i + 1] - u'0');
        if (index < args.size()) {
            result.append(args[index]);
        }
        ++i;
    }
    return result;
}

std::u16string FormatString(std::u16string_view format, std::initializer_list<std::u16string_view> args)
{
    return FormatStringV(format, std::span<const std::u16string_view>(args.begin(), args.size()));
}

// ---- Integers -----------------------------------------------------------------------------------------------

std::u16string IntToWString(int value)
{
    // Work in 64 bits so INT_MIN negates safely.
    std::int64_t magnitude = value;
    const bool negative = magnitude < 0;
    if (negative) {
        magnitude = -magnitude;
    }
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) {
        digits.insert(digits.begin(), u'-');
    }
    return digits;
}

int WStringToInt(std::u16string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsAsciiBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > static_cast<std::int64_t>(INT_MAX) + 1) {
            value = static_cast<std::int64_t>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value < INT_MIN ? INT_MIN : value);
}

bool ParseWStringInt(std::u16string_view text, int& out)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size()) {
        return false;
    }
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') {
            return false;
        }
        value = value * 10 + (text[i] - u'0');
        if (value > static_cast<std::int64_t>(INT_MAX) + 1) {
            return false;
        }
    }
    value = negative ? -value : value;
    if (value > INT_MAX) {
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

// ---- Case and order -----------------------------------------------------------------------------------------

char16_t LowerCaseChar(char16_t ch)
{
    for (const CaseRange& range : s_CaseRanges) {
        if (InRange(ch, range.first, range.last, range.alternating)) {
            return static_cast<char16_t>(ch + range.delta);
        }
    }
    return ch;
}

char16_t UpperCaseChar(char16_t ch)
{
    for (const CaseRange& range : s_CaseRanges) {
        const char16_t first = static_cast<char16_t>(range.first + range.delta);
        const char16_t last = static_cast<char16_t>(range.last + range.delta);
        if (InRange(ch, first, last, range.alternating)) {
            return static_cast<char16_t>(ch - range.delta);
        }
    }
    return ch;
}

void LowerCaseWString(char16_t* text)
{
    if (text == nullptr) {
        return;
    }
    for (; *text != 0; ++text) {
        *text = LowerCaseChar(*text);
    }
}

void LowerCaseWString(std::u16string& text)
{
    for (char16_t& ch : text) {
        ch = LowerCaseChar(ch);
    }
}

bool WStringLess(std::u16string_view a, std::u16string_view b)
{
    // char_traits<char16_t> compares code units as unsigned values.
    return a.compare(b) < 0;
}

int CompareNoCase(std::u16string_view a, std::u16string_view b)
{
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const int la = LowerCaseChar(a[i]);
        const int lb = LowerCaseChar(b[i]);
        if (la != lb) {
            return la - lb;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

std::size_t WStringLength(const char16_t* text)
{
    return text == nullptr ? 0 : std::char_traits<char16_t>::length(text);
}

// ---- Tokens -------------------------------------------------------------------------------------------------

bool NextTokenInBuffer(const char16_t* buffer, int length, char16_t* output, int capacity, const char16_t*& next,
                       int& remaining, std::u16string_view separators, bool skipSeparators)
{
    if (buffer == nullptr || length <= 0) {
        return false;
    }
    const char16_t* const end = buffer + length;
    const int room = (output != nullptr && capacity > 0) ? capacity - 1 : 0;
    int written = 0;
    const char16_t* p = buffer;

    for (; p < end && IsSeparator(*p, separators); ++p) {
        if (!skipSeparators && written < room) {
            output[written++] = *p;
        }
    }
    for (; p < end && !IsSeparator(*p, separators) && written < room; ++p) {
        output[written++] = *p;
    }
    if (output != nullptr && capacity > 0) {
        output[written] = 0;
    }
    next = p < end ? p : nullptr;
    remaining = p < end ? static_cast<int>(end - p) : 0;
    return true;
}

bool NextTokenInBufferSkipCR(const char16_t* buffer, int length, char16_t* output, int capacity,
                             const char16_t*& next, int& remaining, std::u16string_view separators,
                             bool skipSeparators)
{
    if (!NextTokenInBuffer(buffer, length, output, capacity, next, remaining, separators, skipSeparators)) {
        return false;
    }
    if (next != nullptr && next != buffer && *next == u'\r') {
        ++next;
        --remaining;
        if (remaining == 0) {
            next = nullptr;
        }
    }
    return true;
}

bool NextTokenInString(std::u16string_view text, int start, std::u16string& output, int& nextIndex,
                       std::u16string_view separators, bool skipSeparators)
{
    if (text.empty() || start < 0 || static_cast<std::size_t>(start) >= text.size()) {
        return false;
    }
    std::u16string token;
    std::size_t i = static_cast<std::size_t>(start);
    for (; i < text.size() && IsSeparator(text[i], separators); ++i) {
        if (!skipSeparators) {
            token.push_back(text[i]);
        }
    }
    for (; i < text.size() && !IsSeparator(text[i], separators); ++i) {
        token.push_back(text[i]);
    }
    output = std::move(token);
    nextIndex = i < text.size() ? static_cast<int>(i) : -1;
    return true;
}

bool NextTokenInStringSkipCR(std::u16string_view text, int start, std::u16string& output, int& nextIndex,
                             std::u16string_view separators, bool skipSeparators)
{
    if (!NextTokenInString(text, start, output, nextIndex, separators, skipSeparators)) {
        return false;
    }
    if (nextIndex >= 0 && text[static_cast<std::size_t>(nextIndex)] == u'\r') {
        nextIndex = static_cast<std::size_t>(nextIndex) + 1 < text.size() ? nextIndex + 1 : -1;
    }
    return true;
}

// ---- Trimming -----------------------------------------------------------------------------------------------

char16_t* TrimString(char16_t* output, const char16_t* input, const char16_t* set)
{
    if (output == nullptr) {
        return nullptr;
    }
    if (input == nullptr) {
        output[0] = 0;
        return output;
    }
    static constexpr char16_t s_EmptySet[] = {0};
    if (set == nullptr) {
        set = s_EmptySet;
    }
    // Writing never overtakes reading, so output may be input.
    std::size_t written = 0;
    bool pendingBlank = false;
    for (const char16_t* p = input; *p != 0; ++p) {
        if (IsInSet(*p, set)) {
            pendingBlank = written > 0;
            continue;
        }
        if (pendingBlank) {
            output[written++] = u' ';
            pendingBlank = false;
        }
        output[written++] = *p;
    }
    output[written] = 0;
    return output;
}

void TrimWString(std::u16string& output, std::u16string_view input, std::u16string_view set)
{
    std::u16string result;
    result.reserve(input.size());
    bool pendingBlank = false;
    for (const char16_t ch : input) {
        if (set.find(ch) != std::u16string_view::npos) {
            pendingBlank = !result.empty();
            continue;
        }
        if (pendingBlank) {
            result.push_back(u' ');
            pendingBlank = false;
        }
        result.push_back(ch);
    }
    output = std::move(result);
}

char16_t AsciiLower(char16_t ch)
{
    return (ch >= u'A' && ch <= u'Z') ? static_cast<char16_t>(ch - u'A' + u'a') : ch;
}

bool EqualsAsciiNoCase(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() && StartsWithAsciiNoCase(a, b);
}

bool StartsWithAsciiNoCase(std::u16string_view text, std::u16string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != AsciiLower(prefix[i]))
            return false;
    }
    return true;
}
