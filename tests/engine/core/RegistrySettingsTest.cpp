#include "engine/core/RegistrySettings.h"

#include "app/Application.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr plat::Hive HIVE = plat::Hive::LocalMachine;

class RegistrySettingsTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegistrySettings(); }
    void TearDown() override { DeleteRegistrySettings(); }

    // The raw store file, which keeps each key's values in the order they were first written.
    std::string StoreFile() const
    {
        std::ifstream in(m_registry.Folder() + "/local-machine.reg", std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

    // Names of the settings key's values in store order.
    std::vector<std::string> SettingsValueNames() const
    {
        std::vector<std::string> names;
        std::istringstream lines(StoreFile());
        bool inSettings = false;
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("key\t", 0) == 0)
                inSettings = line.find("\\\\Config") != std::string::npos;
            else if (inSettings && line.rfind("dword\t", 0) == 0)
                names.push_back(line.substr(6, line.find('\t', 6) - 6));
        }
        return names;
    }

    static std::uint32_t StoredDword(std::u16string_view name)
    {
        std::uint32_t value = 0xDEADBEEF;
        EXPECT_TRUE(plat::RegGetDword(HIVE, REGISTRY_SETTINGS_KEY, name, value)) << plat::ToUtf8(name);
        return value;
    }

    test::ScopedRegistry m_registry;
};

TEST_F(RegistrySettingsTest, FirstRunWritesTheDefaultsInOrder)
{
    plat::headless::SetScreenMetrics({1280, 1024, 1280, 990});
    GetRegistrySettings();

    const std::vector<std::string> expectedOrder = {"showlangselect", "language", "playmovies", "launchmode",
                                                    "width", "height", "gamescompleted", "gameswon", "winmax",
                                                    "winx1", "winy1", "winx2", "winy2"};
    EXPECT_EQ(SettingsValueNames(), expectedOrder);

    const struct {
        std::u16string_view name;
        std::uint32_t value;
    } defaults[] = {
        {u"showlangselect", 1}, {u"language", 0}, {u"playmovies", 1}, {u"launchmode", 0},
        {u"width", 1260},       {u"height", 1004}, {u"gamescompleted", 0}, {u"gameswon", 0},
        {u"winmax", 0},         {u"winx1", 10},    {u"winy1", 10},         {u"winx2", 1270},
        {u"winy2", 1014},
    };
    for (const auto& entry : defaults)
        EXPECT_EQ(StoredDword(entry.name), entry.value) << plat::ToUtf8(entry.name);
}

TEST_F(RegistrySettingsTest, SecondConstructionWritesNothing)
{
    GetRegistrySettings()->SetInt(u"playmovies", 0);
    DeleteRegistrySettings();
    const std::string before = StoreFile();

    plat::headless::SetScreenMetrics({640, 480, 640, 450});
    GetRegistrySettings();

    EXPECT_EQ(StoreFile(), before);
    EXPECT_EQ(GetRegistrySettings()->GetInt(u"playmovies"), 0);
}

TEST_F(RegistrySettingsTest, ValuesSurviveARestart)
{
    GetRegistrySettings()->SetInt(u"gameswon", 7);
    GetRegistrySettings()->SetInt(u"winx1", -30);
    DeleteRegistrySettings();

    EXPECT_EQ(GetRegistrySettings()->GetInt(u"gameswon"), 7);
    EXPECT_EQ(GetRegistrySettings()->GetInt(u"winx1"), -30);
}

TEST_F(RegistrySettingsTest, MissingOrMistypedValuesReadEmpty)
{
    RegistrySettings* const settings = GetRegistrySettings();
    plat::RegSetString(HIVE, REGISTRY_SETTINGS_KEY, u"consoleenabled", u"1");
    plat::RegSetDword(HIVE, REGISTRY_PRODUCT_KEY, u"InstallPath", 5);

    EXPECT_EQ(settings->GetInt(u"nosuchvalue"), 0);
    EXPECT_EQ(settings->GetInt(u"consoleenabled"), 0);
    EXPECT_EQ(std::u16string(settings->GetString(u"InstallPath", REGISTRY_PRODUCT_KEY)), u"");
    EXPECT_EQ(std::u16string(settings->GetString(u"InstallLang", REGISTRY_PRODUCT_KEY)), u"");
}

TEST_F(RegistrySettingsTest, InstallLangWithoutTheProductKeyReadsEmpty)
{
    RegistrySettings* const settings = GetRegistrySettings();
    ASSERT_FALSE(plat::RegKeyExists(HIVE, REGISTRY_PRODUCT_KEY));

    EXPECT_EQ(std::u16string(settings->GetString(u"InstallLang", REGISTRY_PRODUCT_KEY)), u"");
    EXPECT_EQ(settings->GetInt(u"InstallType", REGISTRY_PRODUCT_KEY), 0);
}

TEST_F(RegistrySettingsTest, StringReadsReplaceTheBufferAndStayTerminated)
{
    RegistrySettings* const settings = GetRegistrySettings();
    plat::RegSetString(HIVE, REGISTRY_PRODUCT_KEY, u"InstallLang", u"German");
    plat::RegSetString(HIVE, REGISTRY_PRODUCT_KEY, u"InstallPath", std::u16string(300, u'x'));

    EXPECT_EQ(std::u16string(settings->GetString(u"InstallLang", REGISTRY_PRODUCT_KEY)), u"German");
    const char16_t* const longText = settings->GetString(u"InstallPath", REGISTRY_PRODUCT_KEY);
    EXPECT_EQ(std::u16string(longText), std::u16string(REGISTRY_STRING_CAPACITY - 1, u'x'));
    // A shorter read after a longer one leaves nothing of the old text behind.
    plat::RegSetString(HIVE, REGISTRY_PRODUCT_KEY, u"InstallPath", u"C:\\Tessel\\");
    EXPECT_EQ(std::u16string(settings->GetString(u"InstallPath", REGISTRY_PRODUCT_KEY)), u"C:\\Tessel\\");
}

TEST_F(RegistrySettingsTest, ProductKeyValuesAreReadAndWrittenThere)
{
    RegistrySettings* const settings = GetRegistrySettings();
    settings->SetInt(u"InstallType", 2, REGISTRY_PRODUCT_KEY);

    EXPECT_EQ(settings->GetInt(u"InstallType", REGISTRY_PRODUCT_KEY), 2);
    EXPECT_EQ(settings->GetInt(u"InstallType"), 0);
}

// A process killed while it writes a group leaves all of it or none of it: the first run's defaults with their
// key, and the settings saved at exit (no window rectangle half old, half new).
TEST_F(RegistrySettingsTest, AKilledWriterLeavesAWholeGroup)
{
    const std::string file = m_registry.Folder() + "/local-machine.reg";
    const plat::Rect rects[2] = {{10, 20, 810, 620}, {300, 200, 1300, 950}};
    for (int round = 0; round < 28; ++round) {
        const bool firstRun = round < 16;
        if (!firstRun) {
            DeleteRegistrySettings();
            plat::RemoveFile(plat::FromUtf8(file));
            GetRegistrySettings();
            s_bSettingsLoaded = true;
            s_WindowRect = rects[0];
            SaveSettings();
            s_bSettingsLoaded = false;
        }
        // The child says when its first pass is done, so that every kill falls inside a later one.
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                if (i == 1)
                    (void)!write(ready[1], "x", 1);
                if (firstRun) {
                    plat::RemoveFile(plat::FromUtf8(file));
                    GetRegistrySettings();
                    DeleteRegistrySettings();
                } else {
                    s_bSettingsLoaded = true;
                    s_WindowRect = rects[i % 2];
                    SaveSettings();
                }
            }
        }
        char byte = 0;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        close(ready[1]);
        usleep(static_cast<useconds_t>(100 + (round % 8) * 700));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        if (firstRun) {
            if (plat::RegKeyExists(HIVE, REGISTRY_SETTINGS_KEY)) {
                EXPECT_EQ(SettingsValueNames().size(), 13u) << "round " << round;
            }
            continue;
        }
        const int saved[4] = {static_cast<int>(StoredDword(u"winx1")), static_cast<int>(StoredDword(u"winy1")),
                              static_cast<int>(StoredDword(u"winx2")), static_cast<int>(StoredDword(u"winy2"))};
        const bool whole = std::any_of(std::begin(rects), std::end(rects), [&saved](const plat::Rect& r) {
            return saved[0] == r.left && saved[1] == r.top && saved[2] == r.right && saved[3] == r.bottom;
        });
        EXPECT_TRUE(whole) << "round " << round << ": " << saved[0] << "," << saved[1] << "," << saved[2] << ","
                           << saved[3];
    }
}

TEST_F(RegistrySettingsTest, SavingUnchangedSettingsWritesNothing)
{
    GetRegistrySettings();
    s_bSettingsLoaded = true;
    s_WindowRect = {10, 20, 810, 620};
    SaveSettings();
    const std::string file = m_registry.Folder() + "/local-machine.reg";
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    SaveSettings();
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // every write replaces the file
    s_bSettingsLoaded = false;
}

// With a store that cannot be written the run keeps its defaults and its changes in memory, and says once where
// the settings could not be saved.
TEST_F(RegistrySettingsTest, AnUnwritableStoreKeepsTheSettingsInMemoryAndSaysSo)
{
    const test::TempDir dir;
    dir.Write("blocker", "a file where the folder should be");
    const std::string previous = plat::ConfigFolder();
    plat::SetConfigFolder(dir.File("blocker/config"));
    plat::headless::SetScreenMetrics({1280, 1024, 1280, 990});
    const test::ScopedLog log;

    RegistrySettings* const settings = GetRegistrySettings();
    EXPECT_EQ(settings->GetInt(u"width"), 1260);
    EXPECT_EQ(settings->GetInt(u"winx2"), 1270);
    EXPECT_EQ(settings->GetInt(u"playmovies"), 1);
    settings->SetInt(u"gameswon", 3);
    settings->SetInts({{u"winx1", 40}, {u"playmovies", 0}});
    EXPECT_EQ(settings->GetInt(u"gameswon"), 3);
    EXPECT_EQ(settings->GetInt(u"winx1"), 40);
    EXPECT_EQ(settings->GetInt(u"playmovies"), 0);
    EXPECT_EQ(log.Count("the settings cannot be saved to " + dir.File("blocker/config/local-machine.reg")), 1)
        << log.Text();
    DeleteRegistrySettings();
    plat::SetConfigFolder(previous);
}

} // namespace
