// The draw step of the physical lesson in the real frame loop: a learner who clicks a creature on the table before
// drawing sees the skipped-draw error, and it stays up frame after frame until the learner drags the turn's card
// off the pile into the hand.
#include "tests/app/AppFixture.h"
#include "tests/cards/DealtCard.h"

#include "cards/CardActor.h"
#include "cards/LifeToken.h"
#include "cards/TableInput.h"
#include "cards/TableReset.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gui/CardSpecificDialog.h"
#include "gui/DialogManager.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"
#include "lessons/HumanTurnSteps.h"
#include "lessons/LessonBox.h"
#include "lessons/UntapDrawPrompts.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"

#include <functional>
#include <vector>

namespace {

class SkippedDrawLoopTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level01_u.cfg", "level02_u.cfg"});
        plat::headless::SetScreenMetrics({800, 600, 800, 600});
        SetSetting(u"winmax", 1);
    }
};

void Tick()
{
    plat::headless::AdvanceTime(17);
    test::TickOnce();
}

bool TickUntil(const std::function<bool()>& done, int maxFrames)
{
    for (int i = 0; i < maxFrames; ++i) {
        if (done())
            return true;
        Tick();
    }
    return done();
}

void Mouse(plat::EventType type, int x, int y)
{
    test::QueueLeftMouse(type, x, y);
    Tick();
}

void MoveLifeToken(int life)
{
    LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    ASSERT_NE(token, nullptr);
    const RasterRect cell = GetLifeTrackCell(PLAYER_HUMAN, life);
    const int fx = (token->rect.left + token->rect.right) / 2;
    const int fy = (token->rect.top + token->rect.bottom) / 2;
    const int cx = (cell.left + cell.right) / 2;
    const int cy = (cell.top + cell.bottom) / 2;
    Mouse(plat::EventType::MouseMove, fx, fy);
    Mouse(plat::EventType::ButtonDown, fx, fy);
    for (int step = 1; step <= 4; ++step)
        Mouse(plat::EventType::MouseMove, fx + (cx - fx) * step / 4, fy + (cy - fy) * step / 4);
    Mouse(plat::EventType::ButtonUp, cx, cy);
    ASSERT_TRUE(TickUntil([token] { return token->IsReady(); }, 120));
}

// The learner reads each card dialog that comes up and presses its OK.
void AnswerCardDialogs()
{
    for (int i = 0; i < 20; ++i) {
        const CardSpecificDialog* const dialog = GetCurrentDialog();
        if (dialog == nullptr || (!IsPriorityDialogShown() && !IsNormalDialogShown()))
            return;
        const GUI_Window& ok = *dialog->GetButton(0);
        const int x = (ok.GetLeft() + ok.GetRight()) / 2;
        const int y = (ok.GetTop() + ok.GetBottom()) / 2;
        Mouse(plat::EventType::MouseMove, x, y);
        Mouse(plat::EventType::ButtonDown, x, y);
        Mouse(plat::EventType::ButtonUp, x, y);
        Tick();
    }
}

// The middle of the card as it is drawn now.
void CardCentre(const CardActor& card, int& x, int& y)
{
    RasterRect r;
    GetGameDisplay()->GetCardRect(&card, r, false);
    x = (r.left + r.right) / 2;
    y = (r.top + r.bottom) / 2;
}

TEST_F(SkippedDrawLoopTest, ACreatureClickedBeforeTheDrawShowsTheErrorUntilTheDraw)
{
    RunInside([] {
        Tick();
        SetChosenColours(COLOUR_GREEN, COLOUR_RED, COLOUR_BLUE, COLOUR_BLACK, COLOUR_WHITE);
        plat::SeedRand(5);
        ResetTable(1);
        Tick();
        ASSERT_EQ(s_GameMode, 1);
        ASSERT_TRUE(TickUntil([] { return GetCpuPlayerActor() != nullptr && GetHumanPlayerActor() != nullptr; }, 60));
        ASSERT_TRUE(TickUntil([] { return GetLifeToken(PLAYER_HUMAN)->actor->GetState() == TOKEN_PLACING; }, 240));
        MoveLifeToken(20);

        // The board: the opening hand the intro would deal, and a creature of the learner's on the table.
        PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
        std::vector<CardActor*> hand;
        for (int i = 0; i < 7; ++i)
            hand.push_back(test::DealCard(human.m_Library[static_cast<std::size_t>(i)], PLAYER_HUMAN, true));
        human.m_NextDrawIndex = 7;
        CardActor* creature = nullptr;
        for (int i = 7; i < human.m_LibraryCount && creature == nullptr; ++i) {
            const int id = human.m_Library[static_cast<std::size_t>(i)];
            if (g_CardDefs[static_cast<std::size_t>(id)].GetCardType() == CT_CREATURE) {
                std::swap(human.m_Library[static_cast<std::size_t>(i)], human.m_Library[7]);
                human.m_NextDrawIndex = 8;
                creature = test::DealCard(id, PLAYER_HUMAN, false);
            }
        }
        ASSERT_NE(creature, nullptr);
        ASSERT_TRUE(TickUntil(
            [] {
                const LifeToken* const cpuToken = GetLifeToken(PLAYER_CPU);
                return IsLifeTokenReady() && IsLifeTokenIdle() && (cpuToken == nullptr || cpuToken->IsIdle());
            },
            600));
        CloseLessonBox();

        // The learner's turn reaches its draw step; the turn's card is laid on the pile.
        HandTurnTo(PLAYER_HUMAN);
        human.m_CardsToDraw = 1;
        s_ForcedHumanState = HUMAN_STEP_DRAW;
        Tick();
        s_ForcedHumanState = 0;
        ASSERT_TRUE(TickUntil(
            [] {
                AnswerCardDialogs();
                return GetTableFlow().cardDrawnByHand != nullptr;
            },
            120));
        CardActor* const drawn = GetTableFlow().cardDrawnByHand;
        for (int i = 0; i < 20; ++i)
            Tick();
        ASSERT_EQ(GetHumanPlayerActor()->GetState(), HUMAN_STEP_DRAW);
        ASSERT_EQ(GetShownLessonBox(KIND_SKIPPED_DRAW), nullptr);

        // A click on the creature before drawing.
        int x = 0;
        int y = 0;
        CardCentre(*creature, x, y);
        Mouse(plat::EventType::MouseMove, x, y);
        Mouse(plat::EventType::ButtonDown, x, y);
        Mouse(plat::EventType::ButtonUp, x, y);
        ASSERT_NE(GetShownLessonBox(KIND_SKIPPED_DRAW), nullptr) << "no skipped-draw error";
        EXPECT_FALSE(creature->IsDragging());
        int shownFrames = 0;
        for (int i = 0; i < 60; ++i) {
            Tick();
            shownFrames += GetShownLessonBox(KIND_SKIPPED_DRAW) != nullptr ? 1 : 0;
        }
        EXPECT_EQ(shownFrames, 60) << "the error left before the draw";
        EXPECT_EQ(GetHumanPlayerActor()->GetState(), HUMAN_STEP_DRAW);

        // The draw: the turn's card dragged off the pile into the hand ends the error.
        // The card on the pile answers to the mouse near its top left corner, over the pile's counter.
        {
            RasterRect r;
            GetGameDisplay()->GetCardRect(drawn, r, false);
            x = r.left + 4;
            y = r.top + 4;
        }
        Mouse(plat::EventType::MouseMove, x, y);
        Mouse(plat::EventType::ButtonDown, x, y);
        ASSERT_TRUE(drawn->IsDragging()) << "the turn's card is not picked up";
        const int handY = GetGameDisplay()->m_HandSlots[0].y + 20;
        const int handX = GetGameDisplay()->m_HandSlots[2].x + 20;
        for (int step = 1; step <= 4; ++step)
            Mouse(plat::EventType::MouseMove, x + (handX - x) * step / 4, y + (handY - y) * step / 4);
        Mouse(plat::EventType::ButtonUp, handX, handY);
        EXPECT_EQ(GetTableFlow().cardDrawnByHand, nullptr);
        EXPECT_TRUE(drawn->IsHeld());
        EXPECT_EQ(GetShownLessonBox(KIND_SKIPPED_DRAW), nullptr);
        ASSERT_TRUE(TickUntil([] { return GetHumanPlayerActor()->GetState() != HUMAN_STEP_DRAW; }, 60))
            << "the turn does not go on after the draw";
    });
}

} // namespace
