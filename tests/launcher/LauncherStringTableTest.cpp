// The launcher's string table: the file format as the reader takes it, the lookup's section fallback, the
// built-in English texts and the install prompt's literal argument.
#include "launcher/LauncherStringTable.h"

#include "launcher/LauncherLanguage.h"
#include "platform/Platform.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

namespace {

LauncherStringTable TableOf(std::string_view utf8)
{
    const std::vector<std::uint8_t> bytes = test::Utf16Le(utf8);
    LauncherStringTable table;
    table.LoadFromBytes(bytes.data(), bytes.size());
    return table;
}

std::u16string Text(const LauncherStringTable& table, int code, std::u16string_view key)
{
    const std::u16string* text = table.Lookup(code, key);
    return text == nullptr ? u"<null>" : *text;
}

TEST(LauncherStringTable, ReadsTheFileFormat)
{
    struct Case {
        const char* what;
        const char* file;
        int code;
        std::u16string_view key;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {"section name in any case", "_Begin fr\r\nSTR_A bonjour\r\n_end\r\n", LAUNCHER_FRENCH, u"STR_A", u"bonjour"},
        {"key in any case", "_begin EN\nstr_install_prompt Go\n_END\n", LAUNCHER_ENGLISH, u"STR_INSTALL_PROMPT",
         u"Go"},
        {"blanks collapsed, | a line break", "_begin EN\nKEY   two   words|third  \n_end\n", LAUNCHER_ENGLISH,
         u"KEY", u"two words\nthird"},
        {"tabs and leading blanks", "\t_begin EN\n\t KEY\tx\t y \n_end\n", LAUNCHER_ENGLISH, u"KEY", u"x y"},
        {"a duplicate key replaces", "_begin EN\nKEY first\nKEY second\n_end\n", LAUNCHER_ENGLISH, u"KEY",
         u"second"},
        {"a key without text is empty", "_begin EN\nKEY\n_end\n", LAUNCHER_ENGLISH, u"KEY", u""},
        {"lines outside a section are ignored", "KEY outside\n_begin EN\n_end\nOTHER x\n", LAUNCHER_ENGLISH, u"KEY",
         u"<null>"},
        {"a reopened section starts empty", "_begin EN\nA 1\n_end\n_begin EN\nB 2\n_end\n", LAUNCHER_ENGLISH, u"A",
         u"<null>"},
        {"the file may end inside a section", "_begin EN\nKEY last", LAUNCHER_ENGLISH, u"KEY", u"last"},
        {"a missing section falls back to EN", "_begin EN\nKEY english\n_end\n", LAUNCHER_GERMAN, u"KEY",
         u"english"},
        {"a key missing from the chosen section is null", "_begin EN\nKEY e\n_end\n_begin DE\nOTHER d\n_end\n",
         LAUNCHER_GERMAN, u"KEY", u"<null>"},
        {"no EN section", "_begin FR\nKEY f\n_end\n", LAUNCHER_GERMAN, u"KEY", u"<null>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(TableOf(c.file), c.code, c.key), c.expected) << c.what;
}

TEST(LauncherStringTable, LongLinesAreReadWhole)
{
    // A text past 1023 units stays one entry: its tail never becomes an entry of its own.
    const std::string tail = "FAKE_KEY tail";
    const std::string line = "KEY " + std::string(1100, 'a') + " " + tail;
    const LauncherStringTable table = TableOf("_begin EN\n" + line + "\n_end\n");
    EXPECT_EQ(Text(table, LAUNCHER_ENGLISH, u"KEY").size(), 1100u + 1 + tail.size());
    EXPECT_EQ(Text(table, LAUNCHER_ENGLISH, u"FAKE_KEY"), u"<null>");
}

TEST(LauncherStringTable, TheByteOrderMarkIsSkippedWhateverItHolds)
{
    std::vector<std::uint8_t> bytes = test::Utf16Le("_begin EN\nK v\n_end\n", false);
    bytes.insert(bytes.begin(), {'_', 0});  // no mark: the first unit is lost, as the format says
    LauncherStringTable table;
    table.LoadFromBytes(bytes.data(), bytes.size());
    EXPECT_EQ(Text(table, LAUNCHER_ENGLISH, u"K"), u"v");
    table.LoadFromBytes(bytes.data(), 1);
    EXPECT_EQ(table.SectionCount(), 0u);
}

TEST(LauncherStringTable, MissingFileSectionOrKeyGivesBuiltInEnglish)
{
    LauncherStringTable table;
    EXPECT_FALSE(table.Load(u"/no/such/res_str.txt"));
    EXPECT_EQ(LauncherText(table, LAUNCHER_FRENCH, u"STR_ENGLISH"), u"English");
    EXPECT_NE(LauncherText(table, LAUNCHER_FRENCH, u"STR_INSTALL_PROMPT").find(u"%s"), std::u16string::npos);
    const LauncherStringTable german = TableOf("_begin DE\nSTR_GERMAN Deutsch\n_end\n");
    EXPECT_EQ(LauncherText(german, LAUNCHER_GERMAN, u"STR_GERMAN"), u"Deutsch");
    EXPECT_EQ(LauncherText(german, LAUNCHER_GERMAN, u"STR_LANGINST_COMPLETE"),
              u"The language pack has been installed.");
    EXPECT_EQ(LauncherText(german, LAUNCHER_GERMAN, u"NO_SUCH_KEY"), u"NO_SUCH_KEY");
}

TEST(LauncherStringTable, ThePromptTakesItsArgumentLiterally)
{
    EXPECT_EQ(FillPrompt(u"Install %s now?", u"English"), u"Install English now?");
    // Anything else that looks like a format stays as it is; the argument is never read as one.
    EXPECT_EQ(FillPrompt(u"%d %s %s %n", u"%s%n"), u"%d %s%n %s %n");
    EXPECT_EQ(FillPrompt(u"no placeholder", u"x"), u"no placeholder");
    EXPECT_EQ(FillPrompt(std::u16string(2000, u'a'), u"x").size(), 1023u);
}

TEST(LauncherStringTable, TheDiscTableHoldsEveryKeyInEveryLanguage)
{
    LauncherStringTable table;
    ASSERT_TRUE(table.Load(plat::FromUtf8(std::string(TESSEL_DISC_DIR) + "/res_str.txt")));
    EXPECT_EQ(table.SectionCount(), 9u);
    const std::u16string_view keys[] = {
        u"STR_INSTALL_PROMPT", u"STR_UNINSTALL_PROMPT", u"STR_LANGINST_COMPLETE", u"STR_START_FAILED",
        u"STR_OPEN_FAILED",    u"STR_INSTALL_FAILED",   u"STR_ENGLISH",           u"STR_FRENCH",
        u"STR_GERMAN",         u"STR_SPANISH",          u"STR_PORTUGUESE",        u"STR_ITALIAN",
        u"STR_RUSSIAN",        u"STR_CHINESE",          u"STR_KOREAN"};
    for (const int code : {1, 2, 3, 4, 5, 6, 7, 9, 11}) {
        for (const std::u16string_view key : keys)
            EXPECT_NE(table.Lookup(code, key), nullptr) << code << " " << std::string(key.begin(), key.end());
    }
    const std::u16string* prompt = table.Lookup(LAUNCHER_ENGLISH, u"STR_INSTALL_PROMPT");
    ASSERT_NE(prompt, nullptr);
    EXPECT_NE(prompt->find(u"%s"), std::u16string::npos);
    EXPECT_NE(prompt->find(u'\n'), std::u16string::npos);
}

} // namespace
