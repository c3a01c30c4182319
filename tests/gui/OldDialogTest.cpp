#include "tests/gui/GameWindowFixture.h"

#include "engine/core/LanguageManager.h"
#include "gui/OldButton.h"
#include "gui/OldDialog.h"

#include <vector>

namespace {

class OldDialogTest : public guitest::GameWindowFixture {
protected:
    void SetUp() override
    {
        GameWindowFixture::SetUp();
        GetLanguageManager()->SetLanguage(LANG_ENGLISH, false);
    }
    void TearDown() override
    {
        GetLanguageManager()->SetLanguage(LANG_ENGLISH, false);
        SetOldDialogActions({});
        s_GameMode = 0;
        GetGUIManager()->Clear();
        GameWindowFixture::TearDown();
    }

    // Drawn once, as the message windows do each frame.
    static void DrawOnce(OldDialog& dialog)
    {
        BeginDrawing();
        dialog.Draw();
        EndDrawing();
    }
};

TEST_F(OldDialogTest, SmallMessagesGrowToTheMinimumOutsideEnglishAndTheOnlineLesson)
{
    struct Case {
        int language;
        int mode;
        int width;
        int height;
        int shownWidth;
        int shownHeight;
    };
    const Case cases[] = {
        {LANG_FRENCH, 1, 200, 100, 224, 220},
        {LANG_FRENCH, 1, 300, 100, 300, 100},  // only one side below its minimum
        {LANG_FRENCH, 1, 200, 230, 200, 230},
        {LANG_ENGLISH, 1, 200, 100, 200, 100},
        {LANG_FRENCH, 3, 200, 100, 200, 100},  // online lesson
    };
    for (const Case& c : cases) {
        GetLanguageManager()->SetLanguage(c.language, false);
        s_GameMode = c.mode;
        OldDialog dialog;
        dialog.SetSize(c.width, c.height, true, 0, 0);
        EXPECT_EQ(dialog.GetWidth(), c.shownWidth) << c.language << " mode " << c.mode << " " << c.width;
        EXPECT_EQ(dialog.GetHeight(), c.shownHeight) << c.language << " mode " << c.mode << " " << c.width;
    }
}

TEST_F(OldDialogTest, PlacementKeepsTheRightAndBottomOnScreenAndTheTitleStripOnTop)
{
    OldDialog dialog;
    dialog.SetSize(224, 100, true, 200, 180);
    EXPECT_EQ(dialog.GetLeft(), guitest::SCREEN_WIDTH - 224);
    EXPECT_EQ(dialog.GetTop(), guitest::SCREEN_HEIGHT - 100);
    EXPECT_EQ(dialog.GetTitleStrip().bottom - dialog.GetTitleStrip().top, OLD_DIALOG_TITLE_HEIGHT);
    // Without a position the dialog stays where it is.
    dialog.SetSize(100, 50, false, 0, 0);
    EXPECT_EQ(dialog.GetLeft(), guitest::SCREEN_WIDTH - 224);
    EXPECT_EQ(dialog.GetWidth(), 100);
}

TEST_F(OldDialogTest, ButtonsSitInTheirModesPlacesAndAreDeletedOnce)
{
    NamedImage("psok", 30, 16, 0x00FF00);
    NamedImage("arrowleftup", 12, 20, 0xFF0000);
    NamedImage("arrowrightup", 10, 20, 0xFF0000);
    auto dialog = std::make_unique<OldDialog>();
    dialog->SetSize(150, 120, true, 20, 20);
    dialog->SetButtons(OLD_DIALOG_ONE_BUTTON, u"psok", u"psokmo", nullptr, 30, 0, 0);
    OldButton* const ok = dialog->GetButtonA();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetRight(), 170 - 14);
    EXPECT_EQ(ok->GetBottom(), 140 - 14);
    EXPECT_EQ(ok->GetParent(), dialog.get());

    dialog->SetButtons(OLD_DIALOG_ARROWS, nullptr, nullptr, nullptr, 30, 0, 0);
    EXPECT_EQ(dialog->GetButtonA(), ok) << "made once and reused";
    EXPECT_EQ(ok->GetLeft(), 20 - 9);
    EXPECT_EQ(ok->GetTop(), 20 + 18);
    EXPECT_EQ(dialog->GetButtonB()->GetLeft(), 170 - 10 + 9);

    dialog->SetButtons(OLD_DIALOG_LIBRARY_ROW, nullptr, nullptr, nullptr, 0, 1, 3);
    EXPECT_TRUE(dialog->GetChildren().empty()) << "the library row has no buttons";
    dialog->SetButtons(OLD_DIALOG_ARROWS, nullptr, nullptr, nullptr, 30, 0, 0);
    // Deleted with both buttons attached: each goes once (the sanitizers watch).
    dialog.reset();
}

TEST_F(OldDialogTest, LinesHighlightUnderTheMouseAndTakeTheClick)
{
    OldDialog dialog;
    dialog.SetSize(200, 150, true, 10, 10);
    const std::vector<std::u16string> lines = {u"one", u"two", u"three"};
    dialog.SetLines(&lines);
    // Lines sit 20 apart above the bottom: the second spans 100 to 120.
    MouseState.x = 60;
    MouseState.y = 105;
    MouseState.leftClicked = 1;
    DrawOnce(dialog);
    EXPECT_EQ(dialog.GetHoveredLine(), 2);
    EXPECT_EQ(MouseState.leftClicked, 0) << "the line took the click";

    MouseState.y = 40;
    MouseState.leftClicked = 1;
    DrawOnce(dialog);
    EXPECT_EQ(dialog.GetHoveredLine(), 0);
    EXPECT_EQ(MouseState.leftClicked, 1);
    dialog.SetLines(nullptr);
    EXPECT_TRUE(dialog.GetLines().empty());
}

TEST_F(OldDialogTest, DraggingByTheTitleStripStopsAtTheScreenEdge)
{
    OldDialog dialog;
    dialog.SetSize(120, 80, true, 50, 50);
    GetGUIManager()->RegisterWindow(&dialog);
    EXPECT_FALSE(dialog.UpdateDrag()) << "not drawn yet";
    DrawOnce(dialog);

    MouseState.x = 60;
    MouseState.y = 55;
    MouseState.leftClicked = 1;
    MouseState.leftHeld = 1;
    ASSERT_TRUE(dialog.UpdateDrag());
    MouseState.leftClicked = 0;
    MouseState.x = 100;
    MouseState.y = 400;
    EXPECT_TRUE(dialog.UpdateDrag());
    EXPECT_EQ(dialog.GetBottom(), guitest::SCREEN_HEIGHT);
    EXPECT_EQ(dialog.GetLeft(), 90);
    EXPECT_EQ(dialog.GetTitleStrip().top, dialog.GetTop());
    EXPECT_EQ(dialog.GetTitleStrip().left, dialog.GetLeft());

    MouseState.leftHeld = 0;
    EXPECT_FALSE(dialog.UpdateDrag());
    EXPECT_FALSE(dialog.IsDraggingTitle());
    // A press below the title strip starts nothing.
    MouseState.x = dialog.GetLeft() + 5;
    MouseState.y = dialog.GetTop() + 40;
    MouseState.leftClicked = 1;
    MouseState.leftHeld = 1;
    EXPECT_FALSE(dialog.UpdateDrag());
}

int s_LibraryTextures[3] = {};

TEST_F(OldDialogTest, LibraryRowStopsAtTheLibrarysEndAndArrowsAnswerByTheirSide)
{
    s_LibraryTextures[0] = NamedImage("card_a", 10, 14, 0xFF0000);
    s_LibraryTextures[1] = NamedImage("card_b", 10, 14, 0x0000FF);
    s_LibraryTextures[2] = -1;
    OldDialogActions actions;
    actions.GetLibraryCardTexture = [](int player, int offset) {
        return player == 1 && offset >= 0 && offset < 3 ? s_LibraryTextures[offset] : -1;
    };
    SetOldDialogActions(actions);
    OldDialog dialog;
    dialog.SetSize(200, 100, true, 0, 0);
    dialog.SetButtons(OLD_DIALOG_LIBRARY_ROW, nullptr, nullptr, nullptr, 0, 1, 5);
    DrawOnce(dialog);
    EXPECT_EQ(PixelAt(16, 23), Colour(0xFF0000));
    EXPECT_EQ(PixelAt(26, 23), Colour(0x0000FF));
    EXPECT_NE(PixelAt(36, 23), Colour(0xFF0000)) << "nothing past the library's end";
    EXPECT_EQ(dialog.GetAnswer(), 0);

    NamedImage("arrowleftup", 12, 20, 0xFFFF00);
    NamedImage("arrowrightup", 12, 20, 0xFFFF00);
    dialog.SetButtons(OLD_DIALOG_ARROWS, nullptr, nullptr, nullptr, 30, 0, 0);
    GetGUIManager()->RegisterWindow(&dialog);
    OldButton* const right = dialog.GetButtonB();
    MouseState.x = right->GetLeft() + 2;
    MouseState.y = right->GetTop() + 2;
    DrawOnce(dialog);
    EXPECT_EQ(dialog.GetAnswer(), 2);
    OldButton* const left = dialog.GetButtonA();
    MouseState.x = left->GetLeft() + 11;
    MouseState.y = left->GetTop() + 2;
    DrawOnce(dialog);
    EXPECT_EQ(dialog.GetAnswer(), 1);
}

} // namespace
