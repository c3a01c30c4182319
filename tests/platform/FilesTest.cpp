#include "platform/Platform.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(Files, BackslashPathsAndCaseFallback)
{
    const test::TempDir dir;
    dir.Write("Data/SFX/Click.WAV", "abc");
    const test::ScopedCurrentFolder here(dir.Path());

    struct Case {
        std::u16string_view path;
        bool readable;
    };
    const Case cases[] = {
        {u"Data\\SFX\\Click.WAV", true},  // exact case
        {u"data\\sfx\\click.wav", true},  // every component in another case
        {u"DATA/sfx\\CLICK.wav", true},   // mixed separators
        {u"data\\sfx\\missing.wav", false},
        {u"data\\sfx", false},            // a folder is not a readable file
        {u"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::IsReadable(c.path), c.readable) << plat::ToUtf8(c.path);

    EXPECT_EQ(plat::NativePath(u"data\\sfx\\click.wav"), "Data/SFX/Click.WAV");
    EXPECT_TRUE(plat::IsDirectory(u"data\\SFX"));
    // A missing tail keeps the matched head and the rest as written, so it can be created.
    EXPECT_EQ(plat::NativePath(u"data\\new\\File.txt"), "Data/new/File.txt");
}

TEST(Files, ReadWriteAndFileObject)
{
    const test::TempDir dir;
    const std::u16string path = plat::FromUtf8(dir.File("sub/out.bin"));
    ASSERT_TRUE(plat::MakeDirectories(plat::FromUtf8(dir.File("sub"))));
    const std::uint8_t bytes[] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(plat::WriteFileAtomic(path, bytes, sizeof bytes));

    std::vector<std::uint8_t> back;
    ASSERT_TRUE(plat::ReadFileBytes(path, back));
    EXPECT_EQ(back, std::vector<std::uint8_t>(bytes, bytes + 5));

    plat::File file;
    ASSERT_TRUE(file.Open(path, "rb"));
    EXPECT_EQ(file.Size(), 5);
    ASSERT_TRUE(file.Seek(3, 0));
    std::uint8_t tail[8] = {};
    EXPECT_EQ(file.Read(tail, sizeof tail), 2u);
    EXPECT_EQ(tail[0], 4);
    EXPECT_EQ(file.Tell(), 5);
    EXPECT_EQ(file.Read(tail, sizeof tail), 0u);

    plat::File missing;
    EXPECT_FALSE(missing.Open(u"no\\such\\file", "rb"));
    EXPECT_EQ(missing.Read(tail, 1), 0u);
    EXPECT_EQ(missing.Size(), -1);
    EXPECT_FALSE(plat::ReadFileBytes(u"no\\such\\file", back));
    EXPECT_TRUE(back.empty());
    // A folder opens as no file.
    EXPECT_FALSE(missing.Open(plat::FromUtf8(dir.File("sub")), "rb"));
}

TEST(Text, Utf8AndUtf16Conversions)
{
    struct Case {
        std::string_view utf8;
        std::u16string_view utf16;
    };
    const Case cases[] = {
        {"", u""},
        {"plain", u"plain"},
        {"caf\xC3\xA9", u"caf\u00E9"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", u"\u65E5\u672C"},
        {"\xF0\x9F\x83\x8F", u"\U0001F0CF"},  // outside the basic plane: a surrogate pair
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plat::FromUtf8(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(plat::ToUtf8(c.utf16), c.utf8) << c.utf8;
    }
    // Broken input never throws and never loses the rest of the text.
    EXPECT_EQ(plat::FromUtf8("a\xFF" "b"), u"a\uFFFDb");
    EXPECT_EQ(plat::FromUtf8("a\xE6\x97"), u"a\uFFFD\uFFFD");
    EXPECT_EQ(plat::ToUtf8(std::u16string(1, u'\xD800') + u"x"), "\xEF\xBF\xBDx");
}

TEST(Random, ReplaysTheClassicSequence)
{
    plat::SeedRand(1);
    EXPECT_EQ(plat::Rand(), 41);
    EXPECT_EQ(plat::Rand(), 18467);
    EXPECT_EQ(plat::Rand(), 6334);
    plat::SeedRand(1234);
    const int first = plat::Rand();
    plat::SeedRand(1234);
    EXPECT_EQ(plat::Rand(), first);
    for (int i = 0; i < 1000; ++i) {
        const int value = plat::Rand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
    }
}

std::string s_captured;
void Capture(std::string_view text)
{
    s_captured += text;
}

TEST(DebugOutput, GoesToTheInstalledSink)
{
    s_captured.clear();
    const plat::LogSink previous = plat::SetLogSink(&Capture);
    plat::OutputDebugString(u"Parse_DefineCard() : Invalid card key: CD_X\n");
    plat::OutputDebugStringA("narrow\n");
    plat::SetLogSink(previous);
    EXPECT_EQ(s_captured, "Parse_DefineCard() : Invalid card key: CD_X\nnarrow\n");
}

} // namespace
