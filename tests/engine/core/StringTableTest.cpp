#include "engine/core/StringTable.h"

#include "engine/core/LanguageManager.h"
#include "engine/core/PrivateHeap.h"
#include "platform/Platform.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

class StringTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreatePrivateHeap();
        ClearStringTables();
        GetLanguageManager()->SetLanguage(LANG_ENGLISH, false);
    }
    void TearDown() override
    {
        ClearStringTables();
        DestroyPrivateHeap();
        DeleteLanguageManager();
    }

    static std::size_t Read(std::string_view utf8, bool withBom = true)
    {
        const std::vector<std::uint8_t> bytes = test::Utf16Le(utf8, withBom);
        return ReadStringTableData(bytes.data(), bytes.size());
    }
};

std::u16string U(std::string_view utf8)
{
    return plat::FromUtf8(utf8);
}

std::string Text(const char16_t* text)
{
    return text == nullptr ? std::string("<null>") : plat::ToUtf8(text);
}

// "style:text@advance" per segment, joined by ","; codes below 32 are written "<n>".
std::string Describe(const FormattedText* record)
{
    if (record == nullptr) {
        return "<null>";
    }
    std::string out;
    for (const FormattedSegment* s = record->m_pFirst.get(); s != nullptr; s = s->m_pNext.get()) {
        if (!out.empty()) {
            out += ",";
        }
        out += std::to_string(s->m_Style) + ":";
        for (const char16_t* p = s->m_Text; *p != 0; ++p) {
            out += *p < 32 ? "<" + std::to_string(*p) + ">" : plat::ToUtf8(std::u16string(1, *p));
        }
        char advance[16];
        std::snprintf(advance, sizeof(advance), "@%g", static_cast<double>(s->m_LineAdvance));
        out += advance;
    }
    return out;
}

TEST_F(StringTableTest, FileFormat)
{
    const test::ScopedLog log;
    const std::size_t entries = Read("\r\n  \r\n\t\r\n  My \t Key  \r\nHello\r\nworld\r\nzzzz\r\n"
         "PRE_APP_MESSAGE_0\r\nLine one\r\nLine two\r\nzzzz\r\n"
         "Stripped\r\ntext | \r\n| \r\nzzzz end line too\r\n"
         "Empty\r\nzzzz\r\n"
         "Dup\r\nfirst\r\nzzzz\r\n"
         "Dup\r\nsecond\r\nzzzz\r\n"
         "FMT_Lines\r\nfirst\r\n\r\nsecond\r\nzzzz\r\n"
         "FMT_Empty\r\nzzzz\r\n"
         "FMT_Dup\r\nold\r\nzzzz\r\n"
         "FMT_Dup\r\nnew\r\nzzzz\r\n"
         "Last\r\nno end line");

    struct Case {
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"My Key", "Hello world"},
        {"PRE_APP_MESSAGE_0", "Line one\r\nLine two"},
        {"Stripped", "text"},
        {"Empty", ""},
        {"Dup", "second"},
        {"Last", "no end line"},
        {"FMT_Lines", "<null>"},
        {"Missing", "<null>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(GetString(U(c.key))), c.expected) << c.key;
    }
    // The last entry is taken, but it is no whole entry, and its lines are named.
    EXPECT_EQ(entries, 10u);
    EXPECT_NE(log.Text().find("lines 37 to 38"), std::string::npos) << log.Text();
    // "first ||second": the breaks between the markers gather in one empty segment, which ends its line before
    // the next word (carried by that word they would end the line after it).
    EXPECT_EQ(Describe(GetFormattedText(u"FMT_Lines")), "0:first @0,0:@2,0:second@0");
    EXPECT_EQ(Describe(GetFormattedText(u"FMT_Empty")), "0:@0");
    EXPECT_EQ(Describe(GetFormattedText(u"FMT_Dup")), "0:new@0");
    EXPECT_EQ(GetFormattedText(u"FMT_Dup")->m_Key, u"FMT_Dup");
    EXPECT_EQ(GetFormattedText(u"My Key"), nullptr);
    EXPECT_EQ(GetGUIFormattedText(u"FMT_Empty"), GetFormattedText(u"FMT_Empty"));
}

TEST_F(StringTableTest, LimitsCutKeysTextsAndLines)
{
    const std::string longKey(300, 'k');
    const std::string longLine(2000, 'a');
    Read(longKey + "\r\n" + longLine + "\r\nzzzz\r\nFMT_Long\r\n" + std::string(100, 'w') + "\r\nzzzz\r\n");

    EXPECT_EQ(GetString(U(longKey)), nullptr);
    const char16_t* text = GetString(U(longKey.substr(0, STRING_KEY_MAX)));
    ASSERT_NE(text, nullptr);
    const std::u16string_view view(text);
    ASSERT_EQ(view.size(), STRING_TEXT_MAX);
    // The line was read in pieces of 1019 units, each treated as a line.
    EXPECT_EQ(view[STRING_LINE_PIECE_MAX - 1], u'a');
    EXPECT_EQ(view[STRING_LINE_PIECE_MAX], u' ');
    EXPECT_EQ(view[STRING_LINE_PIECE_MAX + 1], u'a');

    EXPECT_EQ(Describe(GetFormattedText(u"FMT_Long")), "0:" + std::string(SEGMENT_TEXT_CAPACITY - 1, 'w') + "@0");

    // AddString cuts the same way.
    ASSERT_TRUE(AddString(U(longKey), U(std::string(3000, 'b'))));
    EXPECT_EQ(std::u16string_view(GetString(U(longKey.substr(0, STRING_KEY_MAX)))).size(), STRING_TEXT_MAX);
}

TEST_F(StringTableTest, LoadStringTablesReadsTheLanguageFile)
{
    test::TempDir dir;
    const test::ScopedCurrentFolder folder(dir.Path());
    AddString(u"Stale", u"gone after loading");

    EXPECT_FALSE(LoadStringTables());
    EXPECT_EQ(GetString(u"Stale"), nullptr);

    dir.Write("data_en/res_str_phys_u.txt", test::Utf16Le("Key\r\nValue\r\nzzzz\r\nFMT_F\r\n*Bold\r\nzzzz\r\n"));
    EXPECT_TRUE(LoadStringTables());
    EXPECT_EQ(Text(GetString(u"Key")), "Value");
    EXPECT_EQ(Describe(GetFormattedText(u"FMT_F")), "1:Bold@0");

    // A text from before a scene load's heap reset is gone; the reload gives a fresh one.
    ResetPrivateHeap();
    EXPECT_TRUE(LoadStringTables());
    EXPECT_EQ(Text(GetString(u"Key")), "Value");
}

TEST_F(StringTableTest, PluralStrings)
{
    AddString(u"CARD", u"card");
    AddString(u"CARD_plural", u"cards");
    AddString(u"LIFE", u"life");
    struct Case {
        int language;
        const char16_t* key;
        int count;
        const char* expected;
    };
    const Case cases[] = {
        {LANG_FRENCH, u"CARD", 0, "card"},   {LANG_FRENCH, u"CARD", 1, "card"},
        {LANG_FRENCH, u"CARD", 2, "cards"},  {LANG_ENGLISH, u"CARD", 0, "cards"},
        {LANG_GERMAN, u"CARD", 0, "cards"},  {LANG_ENGLISH, u"CARD", 1, "card"},
        {LANG_ENGLISH, u"CARD", 7, "cards"}, {LANG_ENGLISH, u"LIFE", 3, "life"},
        {LANG_ENGLISH, u"NONE", 3, "<null>"},
    };
    for (const Case& c : cases) {
        GetLanguageManager()->SetLanguage(c.language, false);
        EXPECT_EQ(Text(GetPluralString(c.key, c.count)), c.expected)
            << "language " << c.language << " count " << c.count;
    }
}

TEST_F(StringTableTest, FormattedSegments)
{
    struct Case {
        const char* text;
        std::string expected;
    };
    const Case cases[] = {
        // A marker sets a style, it does not toggle one; every word is its own segment, ending with its blank.
        {"~Cast *Flash~ now", "0:Cast @0,1:Flash@0,0: @0,0:now@0"},
        {"#2G", "3:<7><5>@0"},
        {"#WUBRG12345678XT_ ok", "3:<1><2><3><4><5><6><7><8><9><10><11><12><13><14><15><16>@0,3:ok@0"},
        {"#W U", "3:<1>@0,3:<2>@0"},
        {"#Z", "3:Z@0"},
        {"Hello|world", "0:Hello@1,0:world@0"},
        {"Half\\line", "0:Half@0.5,0:line@0"},
        {"^Title| |body", "2:Title@1,2: @0,2:@1,2:body@0"},
        {"", "0:@0"},
        {"trailing ", "0:trailing @0,0:@0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(AddFormattedText(u"FMT_T", U(c.text))), c.expected) << c.text;
    }

    // Languages that break anywhere make every wide character a break.
    GetLanguageManager()->SetLanguage(LANG_JAPANESE, false);
    EXPECT_EQ(Describe(AddFormattedText(u"FMT_J", u"\u65E5\u672C\u8A9E")), "0:\u65E5\u672C@0,0:\u8A9E@0,0:@0");

    // A given first segment is reused and its old contents are dropped.
    auto first = std::make_unique<FormattedSegment>();
    first->m_Text[0] = u'x';
    first->m_LineAdvance = 3.0f;
    first->m_pNext = std::make_unique<FormattedSegment>();
    FormattedSegment* const given = first.get();
    FormattedText* const record = AddFormattedText(u"FMT_G", u"a b", std::move(first));
    EXPECT_EQ(record->m_pFirst.get(), given);
    EXPECT_EQ(Describe(record), "0:a @0,0:b@0");
}

TEST_F(StringTableTest, ResetFormattedTextForcesNewLayout)
{
    FormattedText* const record = AddFormattedText(u"FMT_R", u"one two");
    EXPECT_EQ(record->m_Width, -1);
    for (const int width : {0, 250}) {
        record->m_Width = width;
        record->m_Height = 40;
        record->m_pFirst->m_X = 5;
        record->m_pFirst->m_pNext->m_Y = 7;
        record->m_pFirst->m_Advance = 30;
        record->m_pFirst->m_SymbolSize = 12;
        ResetFormattedText(record);
        ResetFormattedText(record);
        EXPECT_EQ(record->m_Width, -1);
        EXPECT_EQ(record->m_pFirst->m_X, 0);
        EXPECT_EQ(record->m_pFirst->m_pNext->m_Y, 0);
        EXPECT_EQ(record->m_pFirst->m_Advance, 0);
        EXPECT_EQ(record->m_pFirst->m_SymbolSize, 0);
        EXPECT_EQ(Describe(record), "0:one @0,0:two@0");
    }
    ResetFormattedText(nullptr);
}

TEST_F(StringTableTest, NoHeapMeansNoPlainTexts)
{
    DestroyPrivateHeap();
    EXPECT_FALSE(AddString(u"K", u"v"));
    Read("K\r\nv\r\nzzzz\r\n");
    EXPECT_EQ(GetString(u"K"), nullptr);
}

TEST_F(StringTableTest, DamagedFilesStayInsideTheirBuffers)
{
    // Without a byte-order mark the first key is still whole.
    Read("Key\r\nValue\r\nzzzz\r\n", false);
    EXPECT_EQ(Text(GetString(u"Key")), "Value");

    // Every truncation of a file, odd lengths included.
    const std::vector<std::uint8_t> full =
        test::Utf16Le("A\r\nalpha\r\nzzzz\r\nFMT_B\r\n~x *y^ #2G|z\\\r\nzzzz\r\nPRE_C\r\nline\r\nzzzz\r\n");
    for (std::size_t length = 0; length <= full.size(); ++length) {
        ClearStringTables();
        const std::vector<std::uint8_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length));
        ReadStringTableData(cut.data(), cut.size());
        // A cut end line is only text ("alpha zz").
        if (length >= 18) {
            EXPECT_EQ(Text(GetString(u"A")).substr(0, 5), "alpha") << length;
        }
    }
    EXPECT_EQ(Describe(GetFormattedText(u"FMT_B")), "0:x @0,1:y@0,2: @0,3:<7><5>@1,3:z@0.5,3:@0");

    // Random bytes, and random units drawn from the characters the reader reacts to.
    std::mt19937 random(1234);
    const char16_t alphabet[] = u"zzzzFMT_PRE_ \t\r\n|\\~*^#WUBRG12x";
    for (int round = 0; round < 200; ++round) {
        ClearStringTables();
        std::vector<std::uint8_t> bytes(random() % 4000);
        const bool units = round % 2 == 0;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const char16_t unit = units ? alphabet[random() % (sizeof(alphabet) / 2 - 1)]
                                        : static_cast<char16_t>(random());
            bytes[i] = static_cast<std::uint8_t>(unit & 0xFF);
            bytes[i + 1] = static_cast<std::uint8_t>(unit >> 8);
        }
        ReadStringTableData(bytes.data(), bytes.size());
    }
    ReadStringTableData(nullptr, 10);
}

} // namespace
