// Paying for a creature by tapping lands in the basic physical lesson, in the real frame loop with the shipped
// data: the creature lies in the driver's card-being-cast slot as a drop leaves it, the learner presses Done
// without tapping, then with two wrong lands, then taps the right ones; the creature is cast and resolves. The
// frames of the box are saved when TESSEL_SAVE_FRAMES names a folder.
#include "tests/app/AppFixture.h"
#include "tests/cards/DealtCard.h"

#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "cards/LifeToken.h"
#include "cards/TableReset.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/AdviceState.h"
#include "gamestate/Intro.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gamestate/TurnFlags.h"
#include "gui/CardSpecificDialog.h"
#include "gui/DialogManager.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"
#include "lessons/HandDemos.h"
#include "lessons/HumanTurnSteps.h"
#include "lessons/LessonBox.h"
#include "lessons/PaymentAdvice.h"
#include "lessons/PaymentTexts.h"
#include "lessons/TurnAdvice.h"
#include "rules/Decks.h"
#include "rules/PendingCards.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <cstdlib>
#include <functional>
#include <string>

namespace {

using Frame = plat::headless::Frame;

class PaymentLoopTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level01_u.cfg"});
        plat::headless::SetScreenMetrics({800, 600, 800, 600});
        SetSetting(u"winmax", 1);
    }
};

void Tick(bool draw = false)
{
    if (draw)
        GetRaster()->Invalidate();
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

Frame DrawFrame(const std::string& moment)
{
    Tick(true);
    Frame frame = plat::headless::LastFrame();
    if (const char* const folder = std::getenv("TESSEL_SAVE_FRAMES"))
        plat::headless::SaveFrameBmp(frame, std::string(folder) + "/payment-800-" + moment + ".bmp");
    return frame;
}

std::uint16_t PixelAt(const Frame& frame, int x, int y)
{
    return frame.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width) +
                        static_cast<std::size_t>(x)];
}

int ChangedPixels(const Frame& a, const Frame& b, const RasterRect& rect)
{
    int changed = 0;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, a.height); ++y) {
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, a.width); ++x)
            changed += PixelAt(a, x, y) != PixelAt(b, x, y) ? 1 : 0;
    }
    return changed;
}

int WhitePixels(const Frame& frame, const RasterRect& rect)
{
    int count = 0;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, frame.height); ++y) {
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, frame.width); ++x) {
            const std::uint16_t p = PixelAt(frame, x, y);
            count += ((p >> 11) & 31) >= 28 && ((p >> 5) & 63) >= 56 && (p & 31) >= 28 ? 1 : 0;
        }
    }
    return count;
}

void Mouse(plat::EventType type, int x, int y)
{
    test::QueueLeftMouse(type, x, y);
    Tick();
}

void ClickAt(int x, int y)
{
    Mouse(plat::EventType::MouseMove, x, y);
    Mouse(plat::EventType::ButtonDown, x, y);
    Mouse(plat::EventType::ButtonUp, x, y);
    Tick();
}

void ClickCentre(const GUI_Window& window)
{
    ClickAt((window.GetLeft() + window.GetRight()) / 2, (window.GetTop() + window.GetBottom()) / 2);
}

RasterRect CardRect(const CardActor& card)
{
    int width = 0;
    int height = 0;
    GetGameDisplay()->GetCardDrawSize(&card, width, height, false);
    const int x = static_cast<int>(card.m_Position.x);
    const int y = static_cast<int>(card.m_Position.y);
    return RasterRect{x, y, x + width, y + height};
}

// The learner taps a land, as the tap handler of the physical lesson will take a click on it: the land turns and
// its mana goes into the pool.
void TapLand(CardActor& land)
{
    land.SetTapState(TAP_TAPPED);
    AddToPlayerPool(GetManaProduction(land), PLAYER_HUMAN);
    AppendTappedLand(&land);
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

void AnswerCardDialogs()
{
    for (int i = 0; i < 20; ++i) {
        const CardSpecificDialog* const dialog = GetCurrentDialog();
        if (dialog == nullptr || (!IsPriorityDialogShown() && !IsNormalDialogShown()))
            return;
        ClickCentre(*dialog->GetButton(0));
    }
}

// The text of the shown payment box, as its record's segments.
std::u16string PaymentBoxText()
{
    const Messagebox* const box = GetShownLessonBox(PAYMENT_BOX_SPELL);
    if (box == nullptr)
        return u"<none>";
    const FormattedText* const record = box->GetTextBlock();
    std::u16string text;
    for (const FormattedSegment* s = record != nullptr ? record->m_pFirst.get() : nullptr; s != nullptr;
         s = s->m_pNext.get())
        text += s->m_Text;
    return text;
}

// The shipped text of the key, filled as the box fills it, flattened the same way.
std::u16string ExpectedText(const char16_t* key, int generic, int colorIndex, int colored)
{
    FormattedText* record = nullptr;
    const char16_t* const text = GetString(key);
    if (text == nullptr || !BuildPaymentText(generic, colorIndex, colored, text, &record))
        return u"<missing>";
    std::u16string flat;
    for (const FormattedSegment* s = record->m_pFirst.get(); s != nullptr; s = s->m_pNext.get())
        flat += s->m_Text;
    return flat;
}

// A green creature of the shipped cards costing one generic and one green.
int FindOneAndGreenCreature()
{
    for (int id = CD_FOREST4 + 1; id < CD_NUMBER_OF_CARD_DEFS; ++id) {
        const CARD& card = g_CardDefs[id];
        const ManaCost& cost = *card.GetManaCounters();
        if (card.GetCardType() == CT_CREATURE && cost.generic == 1 && cost.green == 1 && cost.Total() == 2 &&
            card.GetSpellEffect() != nullptr && !card.GetSpellEffect()->needsTarget)
            return id;
    }
    return 0;
}

TEST_F(PaymentLoopTest, TheLearnerPaysForACreatureByTappingLands)
{
    RunInside([] {
        Tick();
        SetChosenColours(COLOUR_GREEN, COLOUR_RED, COLOUR_BLUE, COLOUR_BLACK, COLOUR_WHITE);
        plat::SeedRand(5);
        ResetTable(1);
        Tick();
        ASSERT_EQ(s_GameMode, 1);
        ASSERT_TRUE(TickUntil([] { return GetCpuPlayerActor() != nullptr && GetHumanPlayerActor() != nullptr; }, 60));
        for (int i = 0; i < 30; ++i)
            Tick();
        ASSERT_TRUE(TickUntil([] { return IsIntroFinished(); }, 600));
        ASSERT_TRUE(TickUntil([] { return GetLifeToken(PLAYER_HUMAN)->actor->GetState() == TOKEN_PLACING; }, 240));
        MoveLifeToken(20);

        // The board: two Forests and two Mountains on the learner's side, the creature in the hand.
        const int creatureId = FindOneAndGreenCreature();
        ASSERT_NE(creatureId, 0);
        CardActor* const forests[] = {test::DealCard(CD_FOREST1, PLAYER_HUMAN, false),
                                      test::DealCard(CD_FOREST2, PLAYER_HUMAN, false)};
        CardActor* const mountains[] = {test::DealCard(CD_MOUNTAIN1, PLAYER_HUMAN, false),
                                        test::DealCard(CD_MOUNTAIN2, PLAYER_HUMAN, false)};
        CardActor* const creature = test::DealCard(creatureId, PLAYER_HUMAN, true);
        // The learner's turn, at its first main phase, as the CPU's hand-over would start it.
        Actor* const human = FindActorByName(u"player");
        ASSERT_NE(human, nullptr);
        // Nothing left to draw: the opening hand is the intro's, not this test's.
        GetPlayerState(PLAYER_HUMAN)->m_CardsToDraw = 0;
        if (CardActor* const drawn = GetTableFlow().cardDrawnByHand) {
            drawn->SetHeld(true);
            GetTableFlow().cardDrawnByHand = nullptr;
        }
        s_HumanTurn = true;
        s_CpuTurn = false;
        human->SetState(HUMAN_STEP_MAIN1);
        ASSERT_TRUE(TickUntil(
            [human] {
                AnswerCardDialogs();
                ClearPendingCards();
                return human->GetState() == HUMAN_STEP_MAIN && !IsPriorityDialogShown() && !IsNormalDialogShown();
            },
            3000))
            << "the learner's main phase";
        // Both life tokens at rest: the CPU's driver clears the table's boxes while one still moves.
        ASSERT_TRUE(TickUntil(
            [] { return GetLifeToken(PLAYER_CPU)->IsIdle() && GetLifeToken(PLAYER_HUMAN)->IsReady(); }, 600));
        for (int i = 0; i < 10; ++i)
            Tick();
        const Frame board = DrawFrame("board");

        // The drop: the creature leaves the hand for the table and waits in the slot for its payment.
        RasterRect area;
        GetGameDisplay()->GetPlayAreaRect(area);
        creature->SetHeld(false);
        creature->m_Position.x = static_cast<float>((area.left + area.right) / 2);
        creature->m_Position.y = static_cast<float>(area.top + 20);
        GetTableFlow().castingCard = creature;
        ASSERT_TRUE(TickUntil([] { return GetShownLessonBox(PAYMENT_BOX_SPELL) != nullptr; }, 60));
        EXPECT_EQ(PaymentBoxText(), ExpectedText(u"PHYS_PayforSpell_1C", 1, 2, 1));
        const Messagebox* const box = GetShownLessonBox(PAYMENT_BOX_SPELL);
        ASSERT_EQ(box->GetButtonCount(), 2);

        // Done with nothing tapped.
        ClickCentre(*box->GetButton(PAYMENT_BUTTON_DONE));
        ASSERT_TRUE(TickUntil([] { return GetShownLessonBox(PAYMENT_BOX_SPELL) != nullptr; }, 30));
        EXPECT_EQ(PaymentBoxText(), ExpectedText(u"PHYS_TappedNoLands_1C", 1, 2, 1));
        const Frame noLands = DrawFrame("nolands");
        const Messagebox* const shown = GetShownLessonBox(PAYMENT_BOX_SPELL);
        const RasterRect boxRect{shown->GetLeft(), shown->GetTop(), shown->GetRight(), shown->GetBottom()};
        EXPECT_GT(WhitePixels(noLands, boxRect), 100) << "no text in the box";
        EXPECT_GT(ChangedPixels(board, noLands, boxRect),
                  (boxRect.right - boxRect.left) * (boxRect.bottom - boxRect.top) / 3);

        // Two Mountains: no green. Done gives the wrong-land text and the lands stand untapped again.
        TapLand(*mountains[0]);
        TapLand(*mountains[1]);
        EXPECT_EQ(mountains[0]->GetTapState(), TAP_TAPPED);
        EXPECT_EQ(GetPlayerState(PLAYER_HUMAN)->m_ManaPool.Total(), 2);
        const Frame tapped = DrawFrame("wrongland-tapped");
        ClickCentre(*GetShownLessonBox(PAYMENT_BOX_SPELL)->GetButton(PAYMENT_BUTTON_DONE));
        ASSERT_TRUE(TickUntil([] { return GetShownLessonBox(PAYMENT_BOX_SPELL) != nullptr; }, 30));
        EXPECT_EQ(PaymentBoxText(), ExpectedText(u"PHYS_TappedWrongLand_1C", 1, 2, 1));
        EXPECT_EQ(mountains[0]->GetTapState(), TAP_READY);
        EXPECT_EQ(mountains[1]->GetTapState(), TAP_READY);
        EXPECT_EQ(GetPlayerState(PLAYER_HUMAN)->m_ManaPool.Total(), 0);
        EXPECT_EQ(GetShownLessonBox(PAYMENT_BOX_SPELL)->GetLeft(), boxRect.left) << "the box keeps its place";
        EXPECT_EQ(GetShownLessonBox(PAYMENT_BOX_SPELL)->GetTop(), boxRect.top);
        const Frame wrong = DrawFrame("wrongland");
        EXPECT_GT(ChangedPixels(tapped, wrong, boxRect), 0) << "the box shows the new text";

        // A Forest and a Mountain pay it: the creature is cast and resolves onto the table.
        TapLand(*forests[0]);
        TapLand(*mountains[0]);
        ClickCentre(*GetShownLessonBox(PAYMENT_BOX_SPELL)->GetButton(PAYMENT_BUTTON_DONE));
        EXPECT_EQ(GetShownLessonBox(PAYMENT_BOX_SPELL), nullptr);
        EXPECT_EQ(GetTableFlow().castingCard, nullptr);
        EXPECT_TRUE(creature->IsOnStack());
        ASSERT_TRUE(TickUntil(
            [creature] {
                AnswerCardDialogs();
                return GetSpellStack().GetCount() == 0 && !creature->IsOnStack();
            },
            1200))
            << "the creature resolves";
        EXPECT_EQ(forests[0]->GetTapState(), TAP_TAPPED);
        EXPECT_EQ(GetPlayerState(PLAYER_HUMAN)->m_ManaPool.Total(), 0);
        EXPECT_FALSE(creature->IsHeld());
        EXPECT_TRUE(creature->IsNotLeaving());
        DrawFrame("cast");
    });
}

} // namespace
