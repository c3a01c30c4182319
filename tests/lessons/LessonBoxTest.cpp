// The lesson box's call pattern: one reused box, placed when new or of another kind, centred during the intro,
// scaled with the language, answered by button index; the balloon placement and the advice delays.
#include "engine/core/LanguageManager.h"
#include "gamestate/Intro.h"
#include "gui/GUI_System.h"
#include "gui/WordBalloon.h"
#include "lessons/LessonBox.h"
#include "tests/lessons/LessonBoxCases.h"
#include "tests/lessons/LessonFixture.h"

namespace {

using namespace lessontest;

class LessonBoxTest : public LessonTest {
protected:
    DialogScreen m_screen;

    void SetUp() override
    {
        LessonTest::SetUp();
        // The display outlives each case: no box has been placed yet.
        GetGameDisplay()->m_LastLessonBoxX = -1;
        GetGameDisplay()->m_LastLessonBoxY = -1;
        GUI_System::SetLoadBitmapFunction(LoadGUIBitmap);
        GUI_System::SetReleaseTextureFunction(ReleaseGUITexture);
    }

    void TearDown() override
    {
        GUI_System::ClearCallbacks();
        CloseLessonBox();
        DeleteLessonBox();
        GetLanguageManager()->SetLanguage(1, false);
        MarkIntroEnded();
        LessonTest::TearDown();
    }

    static Messagebox* Show(int kind, int width = 300, int height = 200)
    {
        LessonBoxContent content;
        content.kind = kind;
        content.width = width;
        content.height = height;
        content.textKey = u"PHYSDLG_Untap";
        return ShowLessonBox(content);
    }
};

TEST_F(LessonBoxTest, TheSameKindKeepsItsPlaceAnotherKindGoesBackToTheAdvicePosition)
{
    Messagebox* const box = Show(0);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(IsLessonBoxShowing());
    EXPECT_EQ(box->GetKindNumber(), 0);
    const int adviceX = box->GetLeft();
    const int adviceY = box->GetTop();
    RasterRect opponentArea;
    GetGameDisplay()->GetOpponentPlayArea(opponentArea);
    EXPECT_EQ(box->GetRight(), opponentArea.right - 5);

    // The learner drags the box away: the same advice again stays there, in the same object.
    box->MoveTo(20, 30, true);
    EXPECT_EQ(Show(0), box);
    EXPECT_EQ(box->GetLeft(), 20);
    EXPECT_EQ(box->GetTop(), 30);

    // Another kind goes back to the advice position.
    EXPECT_EQ(Show(43), box);
    EXPECT_EQ(box->GetLeft(), adviceX);
    EXPECT_EQ(box->GetTop(), adviceY);

    // Unregistered by the toolkit: it does not show, and the next advice registers it again.
    GetGameDisplay()->UnregisterWindow(box);
    EXPECT_FALSE(IsLessonBoxShowing());
    Show(43);
    EXPECT_TRUE(IsLessonBoxShowing());
}

TEST_F(LessonBoxTest, ABoxRaisedDuringTheIntroIsCentred)
{
    DestroyIntro();
    Messagebox* const box = Show(1, 240, 140);
    EXPECT_NEAR(box->GetLeft() + box->GetWidth() / 2, s_ScreenRect.Width() / 2, 1);
    EXPECT_NEAR(box->GetTop() + box->GetHeight() / 2, s_ScreenRect.Height() / 2, 1);
}

TEST_F(LessonBoxTest, WidthFollowsTheTextScaleAndTheNominalHeightCanBeKept)
{
    EXPECT_EQ(Show(11, 300, 140)->GetWidth(), 300);
    GetLanguageManager()->SetLanguage(2, false);
    ASSERT_GT(GetLanguageManager()->GetTextScale(), 1.0f);
    EXPECT_EQ(Show(11, 300, 140)->GetWidth(), static_cast<int>(300 * GetLanguageManager()->GetTextScale()));
    GetLanguageManager()->SetLanguage(1, false);

    // A one-line text measures shorter than 140; the draw-step box keeps its nominal height.
    LessonBoxContent content;
    content.kind = 1;
    content.width = 240;
    content.height = 140;
    content.builtText = u"Draw.";
    EXPECT_LT(ShowLessonBox(content)->GetHeight(), 140);
    content.keepNominalHeight = true;
    EXPECT_EQ(ShowLessonBox(content)->GetHeight(), 140);
    // A missing key leaves the box without text, still shown.
    content.builtText.clear();
    content.textKey = u"NO_SUCH_KEY";
    EXPECT_FALSE(ShowLessonBox(content)->HasText());
    EXPECT_TRUE(IsLessonBoxShowing());
}

TEST_F(LessonBoxTest, ButtonsAnswerByTheirIndexAndTheAnswerClosesTheBox)
{
    LessonBoxContent content;
    content.kind = 16;
    content.textKey = u"PHYSDLG_PlayMoreCards";
    content.buttons = {u"PHYSDLG_BUTTON_PlayMoreCards", u"PHYSDLG_BUTTON_EndTurn"};
    content.disabled = {0};
    Messagebox* const box = ShowLessonBox(content);
    ASSERT_EQ(box->GetButtonCount(), 2);
    EXPECT_TRUE(box->IsButtonDisabled(0));
    EXPECT_FALSE(box->IsButtonDisabled(1));
    EXPECT_EQ(box->GetButton(0)->GetWidth(), box->GetButton(1)->GetWidth());
    EXPECT_EQ(TakeLessonBoxAnswer(16), -1);
    Click(box, 1);
    EXPECT_EQ(TakeLessonBoxAnswer(15), -1);  // not its kind
    EXPECT_EQ(TakeLessonBoxAnswer(16), 1);
    EXPECT_EQ(GetLessonBox(), nullptr);
}

TEST_F(LessonBoxTest, ABalloonIsPlacedByTheAnchorOrBesideTheSidePanel)
{
    const GameDisplay& display = *GetGameDisplay();
    WordBalloon balloon;
    balloon.SetScaledSize(200, 120);
    balloon.SetPointerSide(POINTER_TOP_LEFT);
    PositionLessonBox(&balloon);
    const RasterRect& anchor = display.GetZoneRectByIndex(2);
    EXPECT_EQ(balloon.GetLeft(), anchor.right + 5);
    EXPECT_EQ(balloon.GetTop(), anchor.bottom + 8);

    balloon.SetPointerSide(POINTER_BOTTOM_RIGHT);
    PositionLessonBox(&balloon);
    const RasterRect& panel = display.GetZoneRectByIndex(14);
    // The panel stands at the left edge here: the balloon goes beside its right edge, on the screen.
    ASSERT_LT(panel.left - balloon.GetWidth(), 0);
    EXPECT_EQ(balloon.GetLeft(), panel.right);
    EXPECT_EQ(balloon.GetBottom(), panel.top + (panel.bottom - panel.top) / 2);
    EXPECT_GE(balloon.GetTop(), 0);
    PositionLessonBox(nullptr);
}

TEST(AdviceDelay, LongerForTheLanguagesWhoseClipsRunLonger)
{
    for (int id = 0; id <= 12; ++id) {
        const std::uint32_t want = (id == 2 || id == 3 || id == 10 || id == 11) ? 6500 : id == 9 ? 7000 : 6000;
        EXPECT_EQ(GetAdviceDelayForLanguage(id), want) << id;
    }
}

} // namespace
