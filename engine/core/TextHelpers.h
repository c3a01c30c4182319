// Room engine/core: what every layer and the launcher may use, on the platform alone. Settings, language,
// string tables, these text helpers, whole-file reading, .bmp decoding, math, the quit request.
//
// Small UTF-16 text functions the whole program shares: the positional formatter for localized messages,
// two tokenizers, two trimmers, integer conversion, lower-casing, comparison without case and the key order of
// the program's string-keyed maps. None of them uses wchar_t or the C library's wide functions.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// ---- Positional formatting ----------------------------------------------------------------------------------

// Every "%d" (d a digit) in format becomes argument d; a "%" not followed by a digit is copied. An argument the
// caller did not pass gives empty text. The format is data, never a printf format.
std::u16string FormatStringV(std::u16string_view format, std::span<const std::u16string_view> args);
std::u16string FormatString(std::u16string_view format, std::initializer_list<std::u16string_view> args = {});

// ---- Integers -----------------------------------------------------------------------------------------------

// Decimal text of value, for placeholders of FormatString.
std::u16string IntToWString(int value);
// As the C library's atoi: leading blanks, an optional sign, then digits up to the first other character;
// no digits give 0; values outside int are clamped.
int WStringToInt(std::u16string_view text);
// Strict: the whole text (no blanks) must be an optional sign and at least one digit within int range.
bool ParseWStringInt(std::u16string_view text, int& out);

// ---- Case and order -----------------------------------------------------------------------------------------

// Lower/upper case of one unit for ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic; others unchanged.
char16_t LowerCaseChar(char16_t ch);
char16_t UpperCaseChar(char16_t ch);
// Lower-cases in place; a null pointer is ignored.
void LowerCaseWString(char16_t* text);
void LowerCaseWString(std::u16string& text);

// a before b in code-unit order: the order of every map keyed by text in the program.
bool WStringLess(std::u16string_view a, std::u16string_view b);
// The same order as a map comparator; transparent so maps can be searched with views.
struct WStringOrder {
    using is_transparent = void;
    bool operator()(std::u16string_view a, std::u16string_view b) const { return WStringLess(a, b); }
};

// <0, 0 or >0 comparing the lower-cased units; EqualsNoCase is its == 0.
int CompareNoCase(std::u16string_view a, std::u16string_view b);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
// Folding only A-Z, as file keys, texture names and language names are compared.
char16_t AsciiLower(char16_t ch);
bool EqualsAsciiNoCase(std::u16string_view a, std::u16string_view b);
bool StartsWithAsciiNoCase(std::u16string_view text, std::u16string_view prefix);

// Length of a zero-terminated text; 0 for a null pointer.
std::size_t WStringLength(const char16_t* text);

// ---- Tokens -------------------------------------------------------------------------------------------------

// Reads one token from buffer[0, length). Leading separators are stepped over (and copied unless
// skipSeparators); then units up to the next separator (not consumed) are copied while output has room for them
// and the terminator, so a longer token is cut and its rest stays for the next call. output is always
// zero-terminated when capacity > 0. next receives the position reached when it lies inside the buffer, else
// nullptr; remaining the units left from there, else 0. False (outputs untouched) when buffer is null or
// length <= 0.
bool NextTokenInBuffer(const char16_t* buffer, int length, char16_t* output, int capacity, const char16_t*& next,
                       int& remaining, std::u16string_view separators, bool skipSeparators);
// As above; then a carriage return at next (when next moved) is stepped over.
bool NextTokenInBufferSkipCR(const char16_t* buffer, int length, char16_t* output, int capacity,
                             const char16_t*& next, int& remaining, std::u16string_view separators,
                             bool skipSeparators);

// The same over text from index start (no length limit on the token). nextIndex receives the index reached
// when units remain, else -1. False (outputs untouched) when text is empty or start lies outside it.
bool NextTokenInString(std::u16string_view text, int start, std::u16string& output, int& nextIndex,
                       std::u16string_view separators, bool skipSeparators);
// As above; then a carriage return at nextIndex is stepped over (-1 when it was the last unit).
bool NextTokenInStringSkipCR(std::u16string_view text, int start, std::u16string& output, int& nextIndex,
                             std::u16string_view separators, bool skipSeparators);

// ---- Trimming -----------------------------------------------------------------------------------------------

// Removes leading and trailing units of set and replaces every inner run of them by one blank. output may be
// input; it needs room for the input's length + 1. A null input gives empty output; a null output returns
// nullptr; a null set trims nothing.
char16_t* TrimString(char16_t* output, const char16_t* input, const char16_t* set);
// The same for string objects; output may be the string input views.
void TrimWString(std::u16string& output, std::u16string_view input, std::u16string_view set);
