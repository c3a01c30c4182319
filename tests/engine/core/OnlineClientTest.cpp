#include "engine/core/OnlineClient.h"

#include "engine/core/QuitRequest.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr plat::Hive HIVE = plat::Hive::CurrentUser;
constexpr std::u16string_view CLIENT_KEY = u"Software\\Varrow Online";

class OnlineClientTest : public ::testing::Test {
protected:
    void SetUp() override { ClearQuitRequest(); }
    void TearDown() override { ClearQuitRequest(); }

    test::ScopedRegistry m_registry;
};

TEST_F(OnlineClientTest, NotRegisteredGivesFalseAndDoesNothing)
{
    std::u16string folder = u"unchanged";
    EXPECT_FALSE(GetOnlineClientFolder(&folder));
    EXPECT_EQ(folder, u"unchanged");
    EXPECT_FALSE(LaunchOnlineClient());

    // A number where the folder should be is not a folder.
    plat::RegSetDword(HIVE, CLIENT_KEY, u"InstallationDirectory", 1);
    EXPECT_FALSE(GetOnlineClientFolder(nullptr));
    EXPECT_FALSE(LaunchOnlineClient());

    // An empty folder would leave a bare name for the PATH, and an address would go to whatever opens it.
    for (const std::u16string_view folder : {u"", u"https://example.invalid/", u"file:///usr/bin/"}) {
        plat::RegSetString(HIVE, CLIENT_KEY, u"InstallationDirectory", folder);
        EXPECT_FALSE(LaunchOnlineClient()) << plat::ToUtf8(folder);
    }

    EXPECT_TRUE(plat::headless::Spawns().empty());
    EXPECT_FALSE(IsQuitRequested());
}

TEST_F(OnlineClientTest, LaunchOpensTheClientAndQuits)
{
    const struct {
        std::u16string_view folder;
        std::u16string_view program;
    } cases[] = {
        {u"C:\\Games\\Varrow Online\\", u"C:\\Games\\Varrow Online\\varrow.exe"},
        {u"C:\\Games\\Varrow Online", u"C:\\Games\\Varrow Online\\varrow.exe"},
    };
    for (const auto& entry : cases) {
        plat::headless::Reset();
        ClearQuitRequest();
        plat::RegSetString(HIVE, CLIENT_KEY, u"InstallationDirectory", entry.folder);

        std::u16string folder;
        EXPECT_TRUE(GetOnlineClientFolder(&folder));
        EXPECT_EQ(folder, entry.folder);

        plat::headless::QueueSpawnResult(0);
        EXPECT_TRUE(LaunchOnlineClient());
        ASSERT_EQ(plat::headless::Spawns().size(), 1u);
        EXPECT_EQ(plat::headless::Spawns()[0].program, entry.program);
        EXPECT_TRUE(IsQuitRequested());
        EXPECT_EQ(QuitExitCode(), 0);
    }
}

TEST_F(OnlineClientTest, AClientThatDoesNotStartLeavesTheProgramRunning)
{
    plat::RegSetString(HIVE, CLIENT_KEY, u"InstallationDirectory", u"C:\\Games\\Varrow Online\\");
    plat::headless::QueueSpawnResult(-1);

    EXPECT_FALSE(LaunchOnlineClient());
    EXPECT_EQ(plat::headless::Spawns().size(), 1u);
    EXPECT_FALSE(IsQuitRequested());
}

TEST_F(OnlineClientTest, AFolderTooLongForTheBufferIsNotFound)
{
    plat::RegSetString(HIVE, CLIENT_KEY, u"InstallationDirectory",
                       std::u16string(ONLINE_CLIENT_FOLDER_CAPACITY, u'a'));
    EXPECT_FALSE(GetOnlineClientFolder(nullptr));

    plat::RegSetString(HIVE, CLIENT_KEY, u"InstallationDirectory",
                       std::u16string(ONLINE_CLIENT_FOLDER_CAPACITY - 1, u'a'));
    EXPECT_TRUE(GetOnlineClientFolder(nullptr));
}

TEST(QuitRequestTest, TheLastRequestGivesTheExitCode)
{
    ClearQuitRequest();
    EXPECT_FALSE(IsQuitRequested());
    PostQuitMessage(1);
    PostQuitMessage(3);
    EXPECT_TRUE(IsQuitRequested());
    EXPECT_EQ(QuitExitCode(), 3);
    ClearQuitRequest();
    EXPECT_FALSE(IsQuitRequested());
    EXPECT_EQ(QuitExitCode(), 0);
}

} // namespace
