#include "platform/Platform.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

TEST(Registry, DamagedFilesAreKeptAsideAndUnreadableOnesRefuseWrites)
{
    using plat::Hive;
    struct Case {
        const char* name;
        std::string content;  // empty with unreadable: a folder where the file should be
        bool unreadable;
    };
    std::string good;
    {
        const test::ScopedRegistry registry;
        ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"playmovies", 1));
        good = ReadText(registry.Folder() + "/local-machine.reg");
    }
    const std::vector<Case> cases = {
        {"cut short", good.substr(0, good.size() / 2), false},
        {"someone else's format", "[HKEY_LOCAL_MACHINE]\r\n\"x\"=dword:1\r\n", false},
        {"binary", std::string("\0\xFF\x01garbage", 10), false},
        {"empty", "", false},
        {"a value that is no number", good.substr(0, good.find("playmovies\t") + 11) + "many\nend\t00000000\n",
         false},
        {"unreadable", "", true},
    };
    for (const Case& c : cases) {
        const test::ScopedRegistry registry;
        const test::ScopedLog log;
        const std::string file = registry.Folder() + "/local-machine.reg";
        if (c.unreadable)
            ASSERT_EQ(::mkdir(file.c_str(), 0700), 0);
        else
            std::ofstream(file, std::ios::binary | std::ios::trunc) << c.content;
        std::uint32_t number = 99;
        EXPECT_FALSE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"playmovies", number)) << c.name;
        EXPECT_FALSE(plat::RegKeyExists(Hive::LocalMachine, CONFIG)) << c.name;
        if (c.unreadable) {
            // Nothing it could not read is replaced, and that is said once.
            EXPECT_FALSE(plat::RegCreateKey(Hive::LocalMachine, CONFIG, nullptr)) << c.name;
            EXPECT_FALSE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"playmovies", 0)) << c.name;
            EXPECT_TRUE(plat::IsDirectory(plat::FromUtf8(file))) << c.name;
            EXPECT_EQ(log.Count("cannot be read"), 1) << c.name << log.Text();
            continue;
        }
        // The next write starts a new store and keeps the damaged one beside it, as it was.
        ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"playmovies", 0)) << c.name;
        EXPECT_TRUE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"playmovies", number)) << c.name;
        EXPECT_EQ(number, 0u) << c.name;
        EXPECT_EQ(ReadText(file + ".damaged"), c.content) << c.name;
        EXPECT_NE(log.Text().find(file + ".damaged"), std::string::npos) << c.name << log.Text();
    }
}

// Each damaged store is kept under the first free name: no kept copy is ever replaced, and the log names it.
TEST(Registry, EveryDamagedStoreIsKeptUnderTheFirstFreeName)
{
    using plat::Hive;
    const test::ScopedRegistry registry;
    const std::string file = registry.Folder() + "/local-machine.reg";
    const std::vector<std::pair<std::string, std::string>> rounds = {
        {"first damage", file + ".damaged"},
        {"second damage", file + ".damaged.2"},
        {"third damage", file + ".damaged.3"},
    };
    for (const auto& [content, kept] : rounds) {
        const test::ScopedLog log;
        std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
        ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"playmovies", 0)) << content;
        EXPECT_EQ(ReadText(kept), content);
        EXPECT_NE(log.Text().find("kept as " + kept + " "), std::string::npos) << log.Text();
    }
    EXPECT_EQ(ReadText(file + ".damaged"), "first damage");
    EXPECT_EQ(ReadText(file + ".damaged.2"), "second damage");
    std::uint32_t number = 99;
    EXPECT_TRUE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"playmovies", number));
    EXPECT_EQ(number, 0u);
}

TEST(Registry, AHandEditedStoreIsUsedAndTheEditIsLoggedOnce)
{
    const test::ScopedRegistry registry;
    using plat::Hive;
    ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"playmovies", 1));
    ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"gameswon", 12));
    const std::string file = registry.Folder() + "/local-machine.reg";
    std::string edited = ReadText(file);
    // A person turns the console on with an editor that writes CR-LF and drops the last line end.
    edited.insert(edited.find("end\t"), "dword\tconsoleenabled\t1\n\n");
    std::string crlf;
    for (const char c : edited)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    crlf.resize(crlf.size() - 2);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << crlf;

    const test::ScopedLog log;
    std::uint32_t number = 0;
    EXPECT_TRUE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"consoleenabled", number));
    EXPECT_EQ(number, 1u);
    EXPECT_TRUE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"gameswon", number));
    EXPECT_EQ(number, 12u);
    EXPECT_EQ(log.Count("edited by hand"), 1) << log.Text();
    // A write keeps every value and puts the checksum right.
    ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"playmovies", 0));
    EXPECT_TRUE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"consoleenabled", number));
    EXPECT_EQ(number, 1u);
    EXPECT_TRUE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"gameswon", number));
    EXPECT_EQ(number, 12u);
    EXPECT_EQ(log.Count("edited by hand"), 1) << log.Text();
    EXPECT_FALSE(plat::IsReadable(plat::FromUtf8(file + ".damaged")));
}

TEST(Registry, ReadsFollowEveryChangeOfTheFile)
{
    const test::ScopedRegistry registry;
    using plat::Hive;
    ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"gameswon", 12));
    std::uint32_t number = 0;
    ASSERT_TRUE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"gameswon", number));
    EXPECT_EQ(number, 12u);
    // A person edits the file in place, keeping its size, a moment after the program read it.
    const std::string file = registry.Folder() + "/local-machine.reg";
    std::string text = ReadText(file);
    text.replace(text.find("gameswon\t12"), 11, "gameswon\t34");
    ::usleep(50000);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    EXPECT_TRUE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"gameswon", number));
    EXPECT_EQ(number, 34u);
    // Removed: nothing reads, and a new write starts a new store.
    ASSERT_EQ(::unlink(file.c_str()), 0);
    EXPECT_FALSE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"gameswon", number));
    ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"playmovies", 1));
    EXPECT_FALSE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"gameswon", number));
    EXPECT_TRUE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"playmovies", number));
}

ino_t FileIdentity(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(Registry, AGroupIsWrittenOnceAndNotAtAllWhenNothingChanged)
{
    const test::ScopedRegistry registry;
    using plat::Hive;
    const std::string file = registry.Folder() + "/local-machine.reg";
    const plat::RegDword group[] = {{u"winx1", 10}, {u"winy1", 20}, {u"winx2", 810}, {u"winy2", 620}};
    ASSERT_TRUE(plat::RegSetDwords(Hive::LocalMachine, CONFIG, group));
    std::uint32_t number = 0;
    EXPECT_TRUE(plat::RegGetDword(Hive::LocalMachine, CONFIG, u"winx2", number));
    EXPECT_EQ(number, 810u);
    // Every write replaces the file, so an unchanged file is one that was not written.
    const ino_t written = FileIdentity(file);
    ASSERT_TRUE(plat::RegSetDwords(Hive::LocalMachine, CONFIG, group));
    ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"winy1", 20));
    EXPECT_EQ(FileIdentity(file), written);
    ASSERT_TRUE(plat::RegSetDword(Hive::LocalMachine, CONFIG, u"winy1", 21));
    EXPECT_NE(FileIdentity(file), written);
}

TEST(Registry, TemporaryFilesOfEndedWritersAreRemovedByTheNextWrite)
{
    const test::ScopedRegistry registry;
    const pid_t ended = fork();
    ASSERT_GE(ended, 0);
    if (ended == 0)
        _exit(0);
    ASSERT_EQ(waitpid(ended, nullptr, 0), ended);
    const std::string stale = registry.Folder() + "/local-machine.reg.tmp." + std::to_string(ended);
    const std::string running = registry.Folder() + "/local-machine.reg.tmp." + std::to_string(getppid());
    const std::string other = registry.Folder() + "/current-user.reg.tmp." + std::to_string(ended);
    for (const std::string& path : {stale, running, other})
        std::ofstream(path) << "half a store";
    ASSERT_TRUE(plat::RegSetDword(plat::Hive::LocalMachine, CONFIG, u"x", 1));
    EXPECT_FALSE(plat::IsReadable(plat::FromUtf8(stale)));
    EXPECT_TRUE(plat::IsReadable(plat::FromUtf8(running)));
    EXPECT_TRUE(plat::IsReadable(plat::FromUtf8(other)));
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
