#include "engine/core/TextHelpers.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <vector>

namespace {

std::string Narrow(std::u16string_view text)
{
    std::string out;
    for (const char16_t ch : text) {
        out.push_back(ch < 128 ? static_cast<char>(ch) : '?');
    }
    return out;
}

TEST(TextHelpers, FormatStringPlacesArgumentsByPosition)
{
    struct Case {
        std::u16string_view format;
        std::vector<std::u16string_view> args;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"%1 deals %0 damage", {u"3", u"The spell"}, u"The spell deals 3 damage"},
        {u"100%", {}, u"100%"},
        {u"50% off %0", {u"now"}, u"50% off now"},
        {u"%2", {u"a", u"b", u"c"}, u"c"},
        // Missing arguments give empty text, never a read past the list.
        {u"%2", {}, u""},
        {u"[%0|%1|%9]", {u"x"}, u"[x||]"},
        {u"%0%0", {u"ab"}, u"abab"},
        {u"%%0", {u"v"}, u"%v"},
        // Data texts are never printf formats.
        {u"%s %d %n %0", {u"ok"}, u"%s %d %n ok"},
        {u"", {u"unused"}, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatStringV(c.format, c.args), c.expected) << Narrow(c.format);
    }
    EXPECT_EQ(FormatString(u"%1 deals %0 damage", {u"3", u"The spell"}), u"The spell deals 3 damage");
}

TEST(TextHelpers, IntegerConversions)
{
    EXPECT_EQ(IntToWString(0), u"0");
    EXPECT_EQ(IntToWString(-42), u"-42");
    EXPECT_EQ(IntToWString(INT_MAX), u"2147483647");
    EXPECT_EQ(IntToWString(INT_MIN), u"-2147483648");

    struct Case {
        std::u16string_view text;
        int loose;
        bool strictOk;
        int strict;
    };
    const Case cases[] = {
        {u"17", 17, true, 17},
        {u"  -5x", -5, false, 0},
        {u"+8", 8, true, 8},
        {u"", 0, false, 0},
        {u"-", 0, false, 0},
        {u"abc", 0, false, 0},
        {u"2147483647", INT_MAX, true, INT_MAX},
        {u"-2147483648", INT_MIN, true, INT_MIN},
        {u"99999999999999999999", INT_MAX, false, 0},
        {u"-99999999999999999999", INT_MIN, false, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WStringToInt(c.text), c.loose) << Narrow(c.text);
        int value = 0;
        EXPECT_EQ(ParseWStringInt(c.text, value), c.strictOk) << Narrow(c.text);
        EXPECT_EQ(value, c.strict) << Narrow(c.text);
    }
}

TEST(TextHelpers, CaseAndOrder)
{
    std::u16string text = u"ABC xyz \u00C9T\u00C9 \u0416 \u0391 \u0178";
    LowerCaseWString(text);
    EXPECT_EQ(text, u"abc xyz \u00E9t\u00E9 \u0436 \u03B1 \u00FF");
    char16_t buffer[] = u"Card_Back.BMP";
    LowerCaseWString(buffer);
    EXPECT_EQ(std::u16string_view(buffer), u"card_back.bmp");
    LowerCaseWString(static_cast<char16_t*>(nullptr));

    EXPECT_EQ(UpperCaseChar(u'\u00FF'), u'\u0178');
    EXPECT_EQ(UpperCaseChar(u'\u0101'), u'\u0100');
    EXPECT_EQ(LowerCaseChar(u'\u00D7'), u'\u00D7'); // the multiplication sign has no case

    EXPECT_TRUE(EqualsNoCase(u"Forest", u"FOREST"));
    EXPECT_FALSE(EqualsNoCase(u"Forest", u"Forests"));
    EXPECT_LT(CompareNoCase(u"apple", u"Banana"), 0);
    EXPECT_GT(CompareNoCase(u"b", u"A"), 0);

    // Code-unit order: upper case before lower case, units above 0x7FFF after ASCII.
    EXPECT_TRUE(WStringLess(u"B", u"a"));
    EXPECT_TRUE(WStringLess(u"ab", u"abc"));
    EXPECT_TRUE(WStringLess(u"z", u"\u8000"));
    EXPECT_FALSE(WStringLess(u"a", u"a"));
    std::map<std::u16string, int, WStringOrder> map{{u"b", 1}, {u"a", 2}};
    EXPECT_EQ(map.find(std::u16string_view(u"a"))->second, 2);

    EXPECT_EQ(WStringLength(nullptr), 0u);
    EXPECT_EQ(WStringLength(u"four"), 4u);
}

TEST(TextHelpers, TrimStringCollapsesInnerRuns)
{
    struct Case {
        std::u16string_view input;
        const char16_t* set;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"  a \t b  ", u" \t", u"a b"},
        {u"a", u" ", u"a"},
        {u" \t \t", u" \t", u""},
        {u"", u" ", u""},
        {u"x--y-", u"-", u"x y"},
        {u"keep  it", nullptr, u"keep  it"},
        {u"key \r\n", u" \t", u"key \r\n"},
    };
    for (const Case& c : cases) {
        std::u16string input(c.input);
        std::vector<char16_t> output(input.size() + 1, u'#');
        EXPECT_EQ(TrimString(output.data(), input.c_str(), c.set), output.data());
        EXPECT_EQ(std::u16string_view(output.data()), c.expected) << Narrow(c.input);
        // The same buffer in and out.
        EXPECT_EQ(std::u16string_view(TrimString(input.data(), input.c_str(), c.set)), c.expected)
            << Narrow(c.input);
        std::u16string object(c.input);
        TrimWString(object, object, c.set != nullptr ? std::u16string_view(c.set) : std::u16string_view());
        EXPECT_EQ(object, c.expected) << Narrow(c.input);
    }
    char16_t output[4] = u"old";
    EXPECT_EQ(std::u16string_view(TrimString(output, nullptr, u" ")), u"");
    EXPECT_EQ(TrimString(nullptr, u"a", u" "), nullptr);
}

// Calls the buffer tokenizer until it stops, collecting the tokens.
std::vector<std::u16string> BufferTokens(std::u16string_view text, int capacity, std::u16string_view separators,
                                         bool skip, bool skipCR)
{
    std::vector<std::u16string> tokens;
    const char16_t* position = text.data();
    int remaining = static_cast<int>(text.size());
    std::vector<char16_t> output(static_cast<std::size_t>(capacity));
    while (position != nullptr && tokens.size() < 20) {
        const char16_t* next = nullptr;
        int left = -1;
        const bool ok = skipCR ? NextTokenInBufferSkipCR(position, remaining, output.data(), capacity, next, left,
                                                         separators, skip)
                               : NextTokenInBuffer(position, remaining, output.data(), capacity, next, left,
                                                   separators, skip);
        if (!ok) {
            break;
        }
        tokens.emplace_back(output.data());
        EXPECT_EQ(next == nullptr, left == 0);
        if (next != nullptr) {
            EXPECT_EQ(next + left, text.data() + text.size());
        }
        position = next;
        remaining = left;
    }
    return tokens;
}

TEST(TextHelpers, NextTokenInBuffer)
{
    struct Case {
        std::u16string_view text;
        int capacity;
        std::u16string_view separators;
        bool skip;
        bool skipCR;
        std::vector<std::u16string> expected;
    };
    const Case cases[] = {
        {u"key = value", 32, u" =", true, false, {u"key", u"value"}},
        // Without the skip flag the leading separators are part of the token.
        {u"key = value", 32, u" =", false, false, {u"key", u" = value"}},
        // A cut token continues with its rest.
        {u"abcdefg h", 4, u" ", true, false, {u"abc", u"def", u"g", u"h"}},
        {u"   ", 8, u" ", true, false, {u""}},
        {u"a\r\nb", 8, u"\n", true, false, {u"a\r", u"b"}},
        {u"a\r\nb", 8, u"\r\n", true, true, {u"a", u"b"}},
        // A carriage return that ends the buffer ends the reading; without SkipCR one empty token follows.
        {u"a\r", 8, u"\r", true, true, {u"a"}},
        {u"a\r", 8, u"\r", true, false, {u"a", u""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BufferTokens(c.text, c.capacity, c.separators, c.skip, c.skipCR), c.expected)
            << Narrow(c.text) << " capacity " << c.capacity;
    }
}

TEST(TextHelpers, NextTokenInBufferEndConditions)
{
    char16_t output[8] = u"keep";
    const char16_t* next = u"x";
    int remaining = 5;
    EXPECT_FALSE(NextTokenInBuffer(nullptr, 4, output, 8, next, remaining, u" ", true));
    EXPECT_FALSE(NextTokenInBuffer(u"abc", 0, output, 8, next, remaining, u" ", true));
    EXPECT_FALSE(NextTokenInBuffer(u"abc", -1, output, 8, next, remaining, u" ", true));
    EXPECT_EQ(std::u16string_view(output), u"keep");
    EXPECT_EQ(remaining, 5);

    // The counted length is honoured even when the text goes on.
    const std::u16string_view text = u"ab cd";
    ASSERT_TRUE(NextTokenInBuffer(text.data(), 2, output, 8, next, remaining, u" ", true));
    EXPECT_EQ(std::u16string_view(output), u"ab");
    EXPECT_EQ(next, nullptr);
    EXPECT_EQ(remaining, 0);

    // The carriage return is only stepped over when the position moved (here no room for any unit).
    const std::u16string_view cr = u"\rx";
    ASSERT_TRUE(NextTokenInBufferSkipCR(cr.data(), 2, output, 1, next, remaining, u" ", true));
    EXPECT_EQ(std::u16string_view(output), u"");
    EXPECT_EQ(next, cr.data());
    EXPECT_EQ(remaining, 2);
}

TEST(TextHelpers, NextTokenInString)
{
    struct Case {
        std::u16string_view text;
        std::u16string_view separators;
        bool skip;
        bool skipCR;
        std::vector<std::u16string> expected;
    };
    const Case cases[] = {
        {u"key = value", u" =", true, false, {u"key", u"value"}},
        {u"key = value", u" =", false, false, {u"key", u" = value"}},
        {u"one\r\ntwo\r\n", u"\r\n", true, true, {u"one", u"two", u""}},
        // A carriage return as the last unit ends the reading.
        {u"one\r\ntwo\r", u"\r\n", true, true, {u"one", u"two"}},
        {u"one\r\ntwo\r", u"\r\n", true, false, {u"one", u"two", u""}},
        {u"one\rtwo", u" ", true, true, {u"one\rtwo"}},
        {u"a\r b", u" ", true, true, {u"a\r", u"b"}},
        {u"  ", u" ", true, false, {u""}},
    };
    for (const Case& c : cases) {
        std::vector<std::u16string> tokens;
        int index = 0;
        std::u16string token;
        while (index >= 0 && tokens.size() < 20) {
            const bool ok = c.skipCR ? NextTokenInStringSkipCR(c.text, index, token, index, c.separators, c.skip)
                                     : NextTokenInString(c.text, index, token, index, c.separators, c.skip);
            ASSERT_TRUE(ok);
            tokens.push_back(token);
        }
        EXPECT_EQ(tokens, c.expected) << Narrow(c.text);
    }

    std::u16string token = u"keep";
    int index = 7;
    EXPECT_FALSE(NextTokenInString(u"", 0, token, index, u" ", true));
    EXPECT_FALSE(NextTokenInString(u"abc", 3, token, index, u" ", true));
    EXPECT_FALSE(NextTokenInString(u"abc", -1, token, index, u" ", true));
    EXPECT_EQ(token, u"keep");
    EXPECT_EQ(index, 7);
}

} // namespace
