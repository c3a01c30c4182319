// The information screens: learn-more routes, topic and slide buttons at the ends, the link buttons on their
// slides, the explanation's scroll bar, the slide shows, and the web pages opened as the data set's own files.
#include "engine/core/StringTable.h"
#include "engine/sound/Wave.h"
#include "gui/GUI_Label.h"
#include "gui/GUI_Picture.h"
#include "gui/GUI_ScrollBar.h"
#include "screens/AdvancedConceptsInterface.h"
#include "screens/ExplainInterface.h"
#include "screens/SlideshowInterface.h"
#include "screens/WebPages.h"
#include "tests/screens/ScreenFixture.h"

namespace {

class InformationScreensTest : public screentest::ScreenTest {
protected:
    static AdvancedConceptsInterface* Concepts()
    {
        return static_cast<AdvancedConceptsInterface*>(GetCachedScreen(ScreenSlot::AdvancedConcepts));
    }
    static bool Disabled(std::u16string_view name) { return Find(name)->IsDisabled(); }
    static bool Hidden(std::u16string_view name) { return Find(name)->IsHidden(); }

    static void LoadTexts(const std::string& entries)
    {
        ClearStringTables();
        const std::vector<std::uint8_t> bytes = test::Utf16Le(entries);
        ReadStringTableData(bytes.data(), bytes.size());
    }
};

TEST_F(InformationScreensTest, LearnMoreLeadsToEachScreenRememberingItself)
{
    struct Case {
        const char16_t* button;
        int screen;
    };
    const Case cases[] = {{u"btnAbout", 22}, {u"btnAdvanced", 19}, {u"btnBuilding", 23}, {u"btnLinks", 17}, {u"btnCredits", 24}};
    GameDisplay& display = *GetGameDisplay();
    for (const Case& c : cases) {
        display.SetScreen(4, false);
        Frame();
        Click(c.button);
        EXPECT_EQ(display.GetScreen(), c.screen);
        EXPECT_EQ(display.GetReturnScreen(), 4);
        Frame();
        // Back from each: the slide shows go to the learn-more menu, the others to the remembered screen.
        Click(u"btnBack");
        EXPECT_EQ(display.GetScreen(), 4) << c.screen;
        EXPECT_EQ(display.GetReturnScreen(), 1);
    }
    Frame();
    Click(u"btnBack");
    EXPECT_EQ(display.GetScreen(), 1);
    // More about the online game leads to screen 3 for both of its buttons.
    for (const char16_t* button : {u"btnDeckEditor", u"btnCollection"}) {
        display.SetScreen(18, false);
        Frame();
        Click(button);
        EXPECT_EQ(display.GetScreen(), 3);
        EXPECT_EQ(display.GetReturnScreen(), 18);
    }
}

TEST_F(InformationScreensTest, TopicAndSlideButtonsFollowTheTopicAndItsEnds)
{
    GetGameDisplay()->SetScreen(19, false);
    Frame();
    AdvancedConceptsInterface* const screen = Concepts();
    EXPECT_EQ(screen->m_Topic, -1);
    EXPECT_TRUE(Hidden(u"btnLink1"));
    EXPECT_TRUE(Hidden(u"btnLink2"));
    // A one-slide topic: both directions are closed.
    Click(u"btnSacrifice");
    EXPECT_EQ(screen->m_Topic, 4);
    EXPECT_TRUE(Disabled(u"btnSacrifice"));
    EXPECT_TRUE(Disabled(u"btnPrevLabel"));
    EXPECT_TRUE(Disabled(u"btnNextLabel"));
    EXPECT_EQ(plat::ToUtf8(WindowCast<GUI_Label>(Find(u"lblSlideNum"))->GetResolvedText()), "1/1");
    // The parts of a turn: six slides, the link on the sixth.
    Click(u"btnPartsOfATurn");
    EXPECT_FALSE(Disabled(u"btnSacrifice"));
    EXPECT_TRUE(Disabled(u"btnPartsOfATurn"));
    EXPECT_TRUE(Disabled(u"btnPrevLabel"));
    EXPECT_FALSE(Disabled(u"btnNextLabel"));
    EXPECT_EQ(plat::ToUtf8(WindowCast<GUI_Picture>(Find(u"picSlide"))->GetImage()), "slides\\ac_partsofturn_01.bmp");
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(Hidden(u"btnLink1")) << i;
        Click(u"btnNextLabel");
    }
    EXPECT_EQ(screen->m_Slide, 5);
    EXPECT_FALSE(Hidden(u"btnLink1"));
    EXPECT_TRUE(Disabled(u"btnNextLabel"));
    EXPECT_FALSE(Disabled(u"btnPrevLabel"));
    EXPECT_EQ(plat::ToUtf8(WindowCast<GUI_Picture>(Find(u"picSlide"))->GetImage()), "slides\\ac_partsofturn_06.bmp");
    // Past the end nothing moves.
    screen->SetSlide(9);
    EXPECT_EQ(screen->m_Slide, 5);
    screen->SetSlide(-3);
    EXPECT_EQ(screen->m_Slide, 0);
    // The second link: the stack's sixth slide and regeneration's third.
    struct LinkCase {
        int topic;
        int slide;
    };
    for (const LinkCase c : {LinkCase{5, 5}, LinkCase{8, 2}}) {
        screen->ShowTopic(c.topic);
        screen->SetSlide(c.slide);
        EXPECT_FALSE(Hidden(u"btnLink2")) << c.topic;
        EXPECT_TRUE(Hidden(u"btnLink1")) << c.topic;
        screen->SetSlide(c.slide - 1);
        EXPECT_TRUE(Hidden(u"btnLink2")) << c.topic;
    }
    // Every topic's slide count and first and last files, counted from 1.
    const int counts[ADVANCED_TOPIC_COUNT] = {6, 3, 5, 3, 1, 6, 4, 5, 3};
    for (int topic = 0; topic < ADVANCED_TOPIC_COUNT; ++topic)
        EXPECT_EQ(AdvancedConceptsInterface::GetSlideCount(topic), counts[topic]);
    EXPECT_EQ(AdvancedConceptsInterface::GetSlideCount(9), 0);
    EXPECT_EQ(plat::ToUtf8(AdvancedConceptsInterface::GetSlidePath(8, 2)), "slides\\ac_regen_03.bmp");
    EXPECT_TRUE(AdvancedConceptsInterface::GetSlidePath(-1, 0).empty());
}

TEST_F(InformationScreensTest, TheExplanationScrollsOnlyATextThatDoesNotFit)
{
    std::string longText;
    for (int i = 1; i <= 60; ++i)
        longText += "Line " + std::to_string(i) + " of a long explanation.\r\n";
    LoadTexts("FMT_PHYS_ENDGAME_ExplainCost1\r\nShort.\r\nzzzz\r\nFMT_PHYS_ENDGAME_ExplainCost2\r\n" + longText + "zzzz\r\n");
    GameDisplay& display = *GetGameDisplay();
    display.SetScreen(20, false);
    Frame();
    ExplainInterface* const explain = GetExplainScreen();
    EXPECT_EQ(explain->m_Topic, 0);
    EXPECT_TRUE(Disabled(u"btnExplainCost"));
    EXPECT_FALSE(Disabled(u"btnExplainCombat"));
    EXPECT_TRUE(Disabled(u"btnPrev"));
    EXPECT_FALSE(Disabled(u"btnNext"));
    EXPECT_EQ(plat::ToUtf8(WindowCast<GUI_Label>(Find(u"lblExplain"))->GetTextID()), "FMT_PHYS_ENDGAME_ExplainCost1");
    // The short page fits: no thumb, a disabled bar.
    EXPECT_TRUE(Hidden(u"btnScrollThumb"));
    EXPECT_TRUE(Disabled(u"btnScrollDown"));
    EXPECT_EQ(explain->GetScrollBar()->GetMaximum(), 0);

    Click(u"btnNext");
    EXPECT_EQ(explain->m_Page, 1);
    EXPECT_TRUE(Disabled(u"btnNext"));
    EXPECT_FALSE(Hidden(u"btnScrollThumb"));
    EXPECT_FALSE(Disabled(u"btnScrollDown"));
    GUI_ScrollBar* const bar = explain->GetScrollBar();
    EXPECT_GT(bar->GetMaximum(), 0);
    auto* const label = WindowCast<GUI_Label>(Find(u"lblExplain"));
    const int line = std::max(GetRaster()->GetFontHeight(label->GetFont()), 1);
    const int clicks = CountEffectRequests(MENU_CLICK_EFFECT);
    Click(u"btnScrollDown");
    EXPECT_EQ(CountEffectRequests(MENU_CLICK_EFFECT) - clicks, 1);
    EXPECT_EQ(bar->GetPosition(), line);
    Frame();
    EXPECT_EQ(label->GetTextOffset(), -line);
    Click(u"btnScrollDown");
    EXPECT_EQ(bar->GetPosition(), 2 * line);
    Click(u"btnScrollUp");
    Frame();
    EXPECT_EQ(label->GetTextOffset(), -line);
    // A new page starts at the top; btnPrevLabel and btnPrev share the prefix.
    Click(u"btnPrev");
    EXPECT_EQ(explain->m_Page, 0);
    EXPECT_EQ(bar->GetPosition(), 0);
    explain->SetPage(40);
    EXPECT_EQ(explain->m_Page, 1);
    // Combat has five pages, its texts counted from 1.
    EXPECT_EQ(ExplainInterface::GetPageCount(1), 5);
    EXPECT_EQ(plat::ToUtf8(ExplainInterface::GetTextKey(1, 0)), "FMT_PHYS_ENDGAME_Combat1");
    EXPECT_EQ(plat::ToUtf8(ExplainInterface::GetSlidePath(1, 4)), "slides\\ExplainCombat_5.bmp");
    Click(u"btnExit");
    EXPECT_EQ(display.GetScreen(), 1);
    EXPECT_EQ(display.GetReturnScreen(), 1);
}

TEST_F(InformationScreensTest, SlideShowsCountTheirSlidesAndShowTheLinkOnItsSlide)
{
    struct Case {
        int screen;
        int slides;
        const char* first;
        const char* heading;
        bool formatted;
    };
    const Case cases[] = {
        {22, 7, "slides\\ss_aboutvarrow_01.bmp", "FMT_MENU_AboutTheVarrowGame", true},
        {23, 7, "slides\\ss_firstdeck_01.bmp", "STR_MENU_BuildingYourFirstDeck", false},
        {24, 6, "slides\\ss_credits_01.bmp", "STR_MENU_Credits", false},
    };
    GameDisplay& display = *GetGameDisplay();
    for (const Case& c : cases) {
        display.SetScreen(c.screen, false);
        Frame();
        SlideshowInterface* const show = GetSlideshowScreen();
        auto* const heading = WindowCast<GUI_Label>(Find(u"lblHeading"));
        EXPECT_EQ(plat::ToUtf8(heading->GetTextID()), c.heading);
        EXPECT_EQ(heading->IsFormatted(), c.formatted);
        EXPECT_EQ(plat::ToUtf8(WindowCast<GUI_Picture>(Find(u"picSlide"))->GetImage()), c.first);
        EXPECT_TRUE(Disabled(u"btnPrevLabel"));
        for (int slide = 1; slide < c.slides; ++slide) {
            EXPECT_TRUE(Hidden(u"btnLink")) << c.screen << " " << slide;
            Click(u"btnNextLabel");
        }
        EXPECT_EQ(show->m_Slide, c.slides - 1);
        EXPECT_TRUE(Disabled(u"btnNextLabel"));
        EXPECT_EQ(Hidden(u"btnLink"), c.screen != 23);
        EXPECT_EQ(plat::ToUtf8(WindowCast<GUI_Label>(Find(u"lblPage"))->GetResolvedText()),
                  std::to_string(c.slides) + "/" + std::to_string(c.slides));
    }
    // Entering again starts at the first slide; the missing slide files show nothing and stop nothing.
    display.SetScreen(22, false);
    EXPECT_EQ(GetSlideshowScreen()->m_Slide, 0);
    EXPECT_LT(WindowCast<GUI_Picture>(Find(u"picSlide"))->GetTexture(), 0);
    EXPECT_TRUE(plat::headless::MessageBoxes().empty());
    Frame();
    Click(u"btnBack");
    EXPECT_EQ(display.GetScreen(), 4);
}

TEST_F(InformationScreensTest, WebPagesOpenTheShippedFilesAndAFailureIsOneLogLine)
{
    GameDisplay& display = *GetGameDisplay();
    display.SetScreen(17, false);
    Frame();
    const std::string base = "file://" + plat::GetCurrentFolder() + "/data/web/";
    struct Case {
        const char16_t* button;
        const char* page;
    };
    const Case cases[] = {{u"btnVarrow", "game.html"}, {u"btnStores", "stores.html"}, {u"btnTournament", "tournaments.html"}};
    for (const Case& c : cases) {
        plat::headless::QueueSpawnResult(0);
        Click(c.button);
        ASSERT_FALSE(plat::headless::Spawns().empty());
        EXPECT_EQ(plat::ToUtf8(plat::headless::Spawns().back().program), base + c.page);
        EXPECT_EQ(display.GetScreen(), 17);
    }
    GetLanguageManager()->SetLanguage(6, false);
    EXPECT_EQ(plat::ToUtf8(GetWebPageAddress(WebPage::Game)), base + "game_it.html");
    GetLanguageManager()->SetLanguage(1, false);
    const test::ScopedLog log;
    plat::headless::QueueSpawnResult(-1);
    Click(u"btnVarrow");
    EXPECT_EQ(log.Count("could not be opened"), 1);
    EXPECT_EQ(display.GetScreen(), 17);
}

} // namespace
