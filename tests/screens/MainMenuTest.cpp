// The main menus: buttons to screens and voices, the online client's launch hidden or disabled without the
// client and confirmed with it, the language checkbox and the language overlay offered once per run.
#include "engine/core/QuitRequest.h"
#include "gui/GUI_Button.h"
#include "screens/LanguageSelectInterface.h"
#include "screens/MessageBoxInterface.h"
#include "screens/OnlineMainInterface.h"
#include "screens/PhysicalMainInterface.h"
#include "tests/screens/ScreenFixture.h"

#include <algorithm>

namespace {

class MainMenuTest : public screentest::ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        SetLanguageSelectOffered(false);
        ClearQuitRequest();
        m_savedMode = s_GameMode;
        m_savedRequested = s_RequestedGameMode;
        WriteLanguageData(1);
    }

    void TearDown() override
    {
        s_GameMode = m_savedMode;
        s_RequestedGameMode = m_savedRequested;
        ClearQuitRequest();
        SetLanguageSelectOffered(false);
        ScreenTest::TearDown();
    }

    void WriteLanguageData(int id)
    {
        std::string folder = plat::ToUtf8(LanguageDataFolder(id));
        std::replace(folder.begin(), folder.end(), '\\', '/');
        m_dir.Write(folder + "res_str_phys_u.txt", test::Utf16Le("KEY\r\ntext\r\nzzzz\r\n"));
        m_dir.Write(folder + "cards_phys_u.cfg", test::Utf16Le("definecard CD_X\r\n_end\r\n"));
    }

    static void SetInstallType(int type)
    {
        GetRegistrySettings()->SetInt(u"InstallType", type, REGISTRY_PRODUCT_KEY);
    }
    static int Setting(std::u16string_view name) { return GetRegistrySettings()->GetInt(name); }
    static void RegisterOnlineClient()
    {
        plat::RegSetString(plat::Hive::CurrentUser, u"Software\\Varrow Online", u"InstallationDirectory", u"/opt/client");
    }
    static PhysicalMainInterface* Physical()
    {
        return static_cast<PhysicalMainInterface*>(GetCachedScreen(ScreenSlot::PhysicalMain));
    }

    int m_savedMode = 0;
    int m_savedRequested = 0;
};

TEST_F(MainMenuTest, MenuButtonsLeadToTheirScreensWithTheirVoices)
{
    struct Case {
        int menu;
        const char16_t* button;
        int screen;
        int returnScreen;
        std::vector<std::string> voices;
    };
    const Case cases[] = {
        {1, u"btnBasic", 11, 1, {"vo_phys\\basic_splash_1a.wav"}},
        {1, u"btnAdvanced", 14, 7, {"vo_phys\\adv_splash1.wav"}},
        {1, u"btnLearnMore", 4, 7, {}},
        {1, u"btnOnline", 2, 7, {}},
        {2, u"btnBasic", 5, 2, {"data\\wavsonl\\b001d.wav", "data\\wavsonl\\b002.wav"}},
        {2, u"btnAdvanced", 8, 2, {"data\\wavsonl\\a001.wav"}},
        {2, u"btnMoreAboutVarrowOnline", 18, 2, {}},
        {2, u"btnBack", 7, 1, {}},
    };
    GameDisplay& display = *GetGameDisplay();
    for (const Case& c : cases) {
        display.SetScreen(c.menu, false);
        display.SetReturnScreen(7);
        Frame();
        StopVoiceQueue();
        Click(c.button);
        EXPECT_EQ(display.GetScreen(), c.screen) << plat::ToUtf8(c.button);
        EXPECT_EQ(display.GetReturnScreen(), c.returnScreen) << plat::ToUtf8(c.button);
        const std::vector<std::string> queued = QueuedVoices();
        ASSERT_EQ(queued.size(), c.voices.size()) << plat::ToUtf8(c.button);
        for (std::size_t i = 0; i < queued.size(); ++i)
            EXPECT_TRUE(queued[i].ends_with(c.voices[i])) << queued[i];
        FlushDroppedScreens();
    }
    display.SetScreen(1, false);
    Frame();
    Click(u"btnQuit");
    EXPECT_TRUE(IsQuitRequested());
}

TEST_F(MainMenuTest, WithoutTheOnlineClientItsLaunchIsHiddenOrDisabled)
{
    GameDisplay& display = *GetGameDisplay();
    display.SetScreen(1, false);
    EXPECT_EQ(Physical()->GetConfirmBox(), nullptr);
    Frame();
    GUI_Window* const launch = Find(u"btnLaunchVarrowOnline");
    ASSERT_NE(launch, nullptr);
    EXPECT_TRUE(launch->IsHidden());
    // Clicking where it was does nothing.
    Click(u"btnLaunchVarrowOnline");
    EXPECT_EQ(display.GetScreen(), 1);
    EXPECT_EQ(GetGUIManager()->GetInterfaces().size(), 1u);

    display.SetScreen(2, false);
    Frame();
    const GUI_Window* const online = Find(u"btnLaunchVarrowOnline");
    ASSERT_NE(online, nullptr);
    EXPECT_FALSE(online->IsHidden());
    EXPECT_TRUE(online->IsDisabled());
}

TEST_F(MainMenuTest, TheClientsLaunchIsConfirmedFirst)
{
    RegisterOnlineClient();
    GameDisplay& display = *GetGameDisplay();
    for (const int menu : {1, 2}) {
        display.SetScreen(menu, false);
        Frame();
        ASSERT_FALSE(Find(u"btnLaunchVarrowOnline")->IsHidden());
        Click(u"btnLaunchVarrowOnline");
        MessageBoxInterface* const box = menu == 1 ? Physical()->GetConfirmBox()
                                                   : static_cast<OnlineMainInterface*>(GetCachedScreen(ScreenSlot::OnlineMain))->GetConfirmBox();
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->IsHidden());
        EXPECT_EQ(GetGUIManager()->GetActiveInterface(), box);
        Frame();
        EXPECT_TRUE(Find(u"btnButton1")->IsHidden() == false);
        EXPECT_TRUE(Find(u"btnButton3")->IsHidden());
        // No: the box closes and the menu stays.
        Click(u"btnButton2");
        EXPECT_EQ(box->m_Result, 1);
        Frame();
        EXPECT_TRUE(box->IsHidden());
        EXPECT_FALSE(GetGUIManager()->HasInterface(box));
        EXPECT_EQ(display.GetScreen(), menu);
        EXPECT_FALSE(IsQuitRequested());
    }
    // Yes starts the client and ends the program.
    display.SetScreen(1, false);
    Frame();
    Click(u"btnLaunchVarrowOnline");
    plat::headless::QueueSpawnResult(0);
    Click(u"btnButton1");
    Frame();
    EXPECT_TRUE(IsQuitRequested());
    ASSERT_FALSE(plat::headless::Spawns().empty());
    EXPECT_EQ(plat::ToUtf8(plat::headless::Spawns().back().program), "/opt/client\\varrow.exe");
}

TEST_F(MainMenuTest, TheLanguageChoiceIsOfferedOncePerRun)
{
    SetInstallType(1);
    WriteLanguageData(2);
    GetRegistrySettings()->SetInt(u"showlangselect", 1);
    GameDisplay& display = *GetGameDisplay();
    display.SetScreen(1, false);
    Frame();
    LanguageSelectInterface* const choice = Physical()->GetLanguageSelect();
    ASSERT_NE(choice, nullptr);
    EXPECT_FALSE(choice->IsHidden());
    EXPECT_EQ(GetGUIManager()->GetActiveInterface(), choice);
    EXPECT_TRUE(WasLanguageSelectOffered());
    // The installed languages are enabled, the others not.
    EXPECT_FALSE(Find(u"btnLangEN")->IsDisabled());
    EXPECT_FALSE(Find(u"btnLangFR")->IsDisabled());
    EXPECT_TRUE(Find(u"btnLangDE")->IsDisabled());
    // A click on a language closes the overlay and reloads the scene in it.
    s_GameMode = 0;
    s_RequestedGameMode = 0;
    Click(u"btnLangFR");
    EXPECT_EQ(choice->m_Result, 2);
    Frame();
    EXPECT_TRUE(choice->IsHidden());
    EXPECT_FALSE(GetGUIManager()->HasInterface(choice));
    EXPECT_EQ(s_RequestedGameMode, 0);
    EXPECT_EQ(s_GameMode, -1);
    EXPECT_EQ(GetLanguageManager()->GetLanguageId(), 2);
    GetLanguageManager()->SetLanguage(1, false);
    // The menu made again after the reload does not offer it again.
    DeleteAllScreens();
    display.SetScreen(1, false);
    Frame();
    EXPECT_TRUE(Physical()->GetLanguageSelect()->IsHidden());
    EXPECT_EQ(GetGUIManager()->GetInterfaces().size(), 1u);
}

TEST_F(MainMenuTest, TheCheckboxWritesTheSettingAndOffersTheChoiceWhenChecked)
{
    SetInstallType(1);
    GetRegistrySettings()->SetInt(u"showlangselect", 1);
    SetLanguageSelectOffered(true);
    GameDisplay& display = *GetGameDisplay();
    display.SetScreen(1, false);
    Frame();
    EXPECT_TRUE(Physical()->GetLanguageSelect()->IsHidden());
    Click(u"chkLanguageSelect");
    EXPECT_EQ(Setting(u"showlangselect"), 0);
    EXPECT_FALSE(Physical()->IsLanguageSelectChecked());
    EXPECT_TRUE(Physical()->GetLanguageSelect()->IsHidden());
    // Unchecked shows the unchecked image.
    auto* const box = WindowCast<GUI_Button>(Find(u"chkLanguageSelect"));
    EXPECT_EQ(plat::ToUtf8(box->GetLook(LOOK_UP).file), "buttons\\check_off.bmp");
    Click(u"chkLanguageSelect");
    EXPECT_EQ(Setting(u"showlangselect"), 1);
    EXPECT_EQ(plat::ToUtf8(box->GetLook(LOOK_UP).file), "buttons\\check_on.bmp");
    EXPECT_FALSE(Physical()->GetLanguageSelect()->IsHidden());
    EXPECT_EQ(GetGUIManager()->GetActiveInterface(), Physical()->GetLanguageSelect());
}

TEST_F(MainMenuTest, ALayoutWithoutTheCheckboxTurnsTheOfferOff)
{
    SetInstallType(0);
    GetRegistrySettings()->SetInt(u"showlangselect", 1);
    GetGameDisplay()->SetScreen(1, false);
    Frame();
    EXPECT_EQ(Find(u"chkLanguageSelect"), nullptr);
    EXPECT_EQ(Physical()->GetLanguageSelect(), nullptr);
    EXPECT_EQ(Setting(u"showlangselect"), 0);
    EXPECT_EQ(GetGUIManager()->GetInterfaces().size(), 1u);
}

} // namespace

namespace {

TEST_F(MainMenuTest, AMenuLayoutThatCannotBeReadLeavesTheStoredChoiceAlone)
{
    SetInstallType(1);
    GetRegistrySettings()->SetInt(u"showlangselect", 1);
    std::filesystem::remove(m_dir.File("data/GUI/Interfaces/PhysOnlyMain_LS.GUI"));
    GetGameDisplay()->SetScreen(1, false);
    Frame();
    EXPECT_TRUE(Physical()->GetWindows().empty());
    EXPECT_EQ(Setting(u"showlangselect"), 1);
    EXPECT_EQ(GetGUIManager()->GetInterfaces().size(), 1u);
}

} // namespace
