#include "platform/Platform.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace {

constexpr std::u16string_view CONFIG = u"SOFTWARE\\Quendral\\Varrow Tessel Edition Intl\\Config";

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

TEST(Registry, TypedValuesSurviveAndKeysFoldCase)
{
    const test::ScopedRegistry registry;
    using plat::Hive;
    bool created = false;
    ASSERT_TRUE(plat::RegCreateKey(Hive::LocalMachine, CONFIG, &created));
    EXPECT_TRUE(created);
    ASSERT_TRUE(plat::RegCreateKey(Hive::LocalMachine, u"software\\QUENDRAL\\varrow tessel edition intl\\config\\",
                                   &created));
    EXPECT_FALSE(created);

    ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"width", 1004));
    ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"Big", 0xFFFFFFFFu));
    ASSERT_TRUE(plat::RegSetString(Hive::LocalMachine, CONFIG, u"Odd", u"tab\there\nnew \\ caf\u00E9"));
    ASSERT_TRUE(plat::RegSetString(Hive::CurrentUser, u"Software\\Varrow Online", u"InstallationDirectory", u"C:\\x\\"));

    std::uint32_t number = 0;
    EXPECT_TRUE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"WIDTH", number));
    EXPECT_EQ(number, 1004u);
    EXPECT_TRUE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"big", number));
    EXPECT_EQ(number, 0xFFFFFFFFu);
    std::u16string text;
    EXPECT_TRUE(plat::RegGetString(Hive::LocalMachine, CONFIG, u"odd", text));
    EXPECT_EQ(text, u"tab\there\nnew \\ caf\u00E9");
    EXPECT_TRUE(plat::RegGetString(Hive::CurrentUser, u"Software\\Varrow Online", u"InstallationDirectory", text));
    EXPECT_EQ(text, u"C:\\x\\");

    // The other type, a missing value and the other hive answer nothing.
    EXPECT_FALSE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"Odd", number));
    EXPECT_FALSE(plat::RegGetString(Hive::LocalMachine, CONFIG, u"width", text));
    EXPECT_FALSE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"missing", number));
    EXPECT_FALSE(plat::RegKeyExists(Hive::CurrentUser, CONFIG));
    EXPECT_EQ(plat::RegValueType(Hive::LocalMachine, CONFIG, u"Odd"), plat::RegType::String);

    // Overwriting keeps one value; deleting removes it.
    ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"width", 7));
    EXPECT_TRUE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"width", number));
    EXPECT_EQ(number, 7u);
    EXPECT_TRUE(plat::RegDeleteValue(Hive::LocalMachine, CONFIG, u"width"));
    EXPECT_EQ(plat::RegValueType(Hive::LocalMachine, CONFIG, u"width"), plat::RegType::None);
}

TEST(Registry, DamagedOrForeignFilesReadAsEmptyAndAreRewritten)
{
    const test::ScopedRegistry registry;
    using plat::Hive;
    ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"playmovies", 1));
    const std::string file = registry.Folder() + "/local-machine.reg";
    const std::string good = ReadText(file);
    ASSERT_FALSE(good.empty());

    std::string flipped = good;
    flipped[flipped.find("playmovies")] = 'P';  // the checksum no longer matches
    const std::string damaged[] = {
        good.substr(0, good.size() / 2),   // cut short
        flipped,
        "[HKEY_LOCAL_MACHINE]\r\n\"x\"=dword:1\r\n",  // someone else's format
        std::string("\0\xFF\x01garbage", 10),
        "",
    };
    for (const std::string& content : damaged) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
        std::uint32_t number = 99;
        EXPECT_FALSE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"playmovies", number));
        EXPECT_FALSE(plat::RegKeyExists(Hive::LocalMachine, CONFIG));
        bool created = false;
        ASSERT_TRUE(plat::RegCreateKey(Hive::LocalMachine, CONFIG, &created));
        EXPECT_TRUE(created);
        ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"playmovies", 0));
        EXPECT_TRUE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"playmovies", number));
        EXPECT_EQ(number, 0u);
    }
}

TEST(Registry, UnwritableStoreFailsQuietly)
{
    const test::TempDir dir;
    dir.Write("blocker", "a file where the folder should be");
    const std::string previous = plat::ConfigFolder();
    plat::SetConfigFolder(dir.File("blocker/config"));
    bool created = true;
    EXPECT_FALSE(plat::RegCreateKey(plat::Hive::LocalMachine, CONFIG, &created));
    EXPECT_FALSE(created);
    EXPECT_FALSE(plat::RegSetDword(plat::Hive::LocalMachine, CONFIG, u"x", 1));
    std::uint32_t number = 5;
    EXPECT_FALSE(plat::RegGetDword(plat::Hive::LocalMachine, CONFIG, u"x", number));
    plat::SetConfigFolder(previous);
}

// A process killed while it saves leaves the old or the new settings, never a damaged store.
TEST(Registry, KilledWriterLeavesOldOrNewStore)
{
    const test::ScopedRegistry registry;
    using plat::Hive;
    ASSERT_TRUE(plat::RegSetString(Hive::LocalMachine, CONFIG, u"text", std::u16string(4000, u'a')));

    for (int round = 0; round < 12; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                plat::RegSetString(Hive::LocalMachine, CONFIG, u"text", std::u16string(4000, i % 2 ? u'b' : u'a'));
                plat::RegSetDword(Hive::LocalMachine, CONFIG, u"counter", static_cast<std::uint32_t>(i));
            }
        }
        usleep(static_cast<useconds_t>(2000 + round * 1500));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        std::u16string text;
        ASSERT_TRUE(plat::RegGetString(Hive::LocalMachine, CONFIG, u"text", text)) << "round " << round;
        ASSERT_EQ(text.size(), 4000u);
        EXPECT_TRUE(text == std::u16string(4000, u'a') || text == std::u16string(4000, u'b'));
    }
}

} // namespace
