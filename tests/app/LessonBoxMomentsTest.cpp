// The lesson's prompts and errors on the physical table in the real frame loop with the shipped data at 800x600:
// the untap prompt, the skipped-untap and skipped-draw errors, the draw-step box in its turn variants and a play
// error beside its card. Each box must stand beside the table's cards, show its text whole and leave the learner's
// hand free. The frames are saved when TESSEL_SAVE_FRAMES names a folder.
#include "tests/app/AppFixture.h"
#include "tests/cards/DealtCard.h"

#include "cards/CardActor.h"
#include "cards/LifeToken.h"
#include "cards/TableReset.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gui/Messagebox.h"
#include "lessons/LessonBox.h"
#include "lessons/PlayChecks.h"
#include "lessons/UntapDrawPrompts.h"
#include "rules/Decks.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

class LessonBoxMomentsTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level01_u.cfg", "level02_u.cfg"});
        plat::headless::SetScreenMetrics({800, 600, 800, 600});
        SetSetting(u"winmax", 1);
    }
};

using Frame = plat::headless::Frame;

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
    for (int i = 0; i < 8; ++i)
        Tick();
    Tick(true);
    Frame frame = plat::headless::LastFrame();
    if (const char* const folder = std::getenv("TESSEL_SAVE_FRAMES"))
        plat::headless::SaveFrameBmp(frame, std::string(folder) + "/lessonbox-" + moment + ".bmp");
    return frame;
}

std::uint16_t PixelAt(const Frame& frame, int x, int y)
{
    return frame.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width) + static_cast<std::size_t>(x)];
}

int ChangedPixels(const Frame& a, const Frame& b, const RasterRect& rect)
{
    int changed = 0;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, a.height); ++y)
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, a.width); ++x)
            changed += PixelAt(a, x, y) != PixelAt(b, x, y) ? 1 : 0;
    return changed;
}

RasterRect BoxRect(const GUI_Window& box)
{
    return RasterRect{box.GetLeft(), box.GetTop(), box.GetRight(), box.GetBottom()};
}

RasterRect CardRect(const CardActor& card)
{
    RasterRect r;
    GetGameDisplay()->GetCardRect(&card, r, false);
    return r;
}

bool Overlap(const RasterRect& a, const RasterRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The learner drags the life token onto the cell of its life, as the lesson asks at the start.
void MoveLifeToken(int life)
{
    LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    ASSERT_NE(token, nullptr);
    const RasterRect cell = GetLifeTrackCell(PLAYER_HUMAN, life);
    const int fx = (token->rect.left + token->rect.right) / 2;
    const int fy = (token->rect.top + token->rect.bottom) / 2;
    const int cx = (cell.left + cell.right) / 2;
    const int cy = (cell.top + cell.bottom) / 2;
    const auto mouse = [](plat::EventType type, int x, int y) {
        test::QueueLeftMouse(type, x, y);
        Tick();
    };
    mouse(plat::EventType::MouseMove, fx, fy);
    mouse(plat::EventType::ButtonDown, fx, fy);
    for (int step = 1; step <= 4; ++step)
        mouse(plat::EventType::MouseMove, fx + (cx - fx) * step / 4, fy + (cy - fy) * step / 4);
    mouse(plat::EventType::ButtonUp, cx, cy);
    ASSERT_TRUE(TickUntil([token] { return token->IsReady(); }, 120));
}

// A shown box: registered with its kind, whole on the screen, drawn, its text inside it, and clear of every card
// in the learner's hand.
void CheckBox(const char* moment, int kind, const Frame& before, const Frame& shown,
              const std::vector<CardActor*>& hand)
{
    SCOPED_TRACE(moment);
    ASSERT_TRUE(IsLessonBoxShowing());
    const Messagebox& box = *GetLessonBox();
    EXPECT_EQ(box.GetKindNumber(), kind);
    const RasterRect r = BoxRect(box);
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.right, 800);
    EXPECT_LE(r.bottom, 600);
    EXPECT_TRUE(box.HasText());
    EXPECT_GT(ChangedPixels(before, shown, r), r.Width() * r.Height() / 3) << "the box is not drawn";
    const RasterRect& text = box.GetTextRect();
    EXPECT_LE(text.bottom - text.top, r.Height()) << "the text does not fit";
    for (const CardActor* card : hand) {
        if (card->IsHeld()) {
            EXPECT_FALSE(Overlap(r, CardRect(*card))) << "the box covers a card in the hand";
        }
    }
}

TEST_F(LessonBoxMomentsTest, TheStepPromptsAndAPlayErrorStandBesideTheTable)
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

        // The opening hand the intro would deal.
        PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
        std::vector<CardActor*> hand;
        for (int i = 0; i < 7; ++i)
            hand.push_back(test::DealCard(human.m_Library[static_cast<std::size_t>(i)], PLAYER_HUMAN, true));
        // The table settles first: both life tokens at rest (the drivers take the lesson box away meanwhile).
        ASSERT_TRUE(TickUntil(
            [] {
                const LifeToken* const cpuToken = GetLifeToken(PLAYER_CPU);
                return IsLifeTokenReady() && IsLifeTokenIdle() && (cpuToken == nullptr || cpuToken->IsIdle());
            },
            600));
        CloseLessonBox();
        const Frame empty = DrawFrame("table");
        ASSERT_FALSE(IsLessonBoxShowing());

        ShowUntapPrompt();
        CheckBox("untap", KIND_UNTAP_PROMPT, empty, DrawFrame("untap"), hand);
        CloseLessonBox();

        ShowSkippedUntapError();
        CheckBox("skipped untap", KIND_SKIPPED_UNTAP, empty, DrawFrame("skipped-untap"), hand);
        CloseLessonBox();

        ShowSkippedDrawError();
        CheckBox("skipped draw", KIND_SKIPPED_DRAW, empty, DrawFrame("skipped-draw"), hand);
        CloseLessonBox();

        // The draw-step box: the first draws, the next two, then the plain draw step.
        const int savedTurns = s_HumanTurnCount;
        s_bCpuStarted = 1;
        for (const int turn : {1, 3, 5}) {
            s_HumanTurnCount = turn;
            ShowDrawStepPrompt();
            CheckBox("draw step", KIND_DRAW_STEP, empty, DrawFrame("draw-turn" + std::to_string(turn)), hand);
            EXPECT_GE(GetLessonBox()->GetHeight(), 140);
        }
        s_HumanTurnCount = savedTurns;
        CloseLessonBox();

        // A creature dropped on the opponent's side, where the lesson box would stand: the learner has the lands
        // to pay for it, so the error is the wrong place, and the box moves off the card it is about.
        CardActor* creature = nullptr;
        for (CardActor* card : hand)
            if (creature == nullptr && card->GetCardType() == CT_CREATURE)
                creature = card;
        ASSERT_NE(creature, nullptr);
        // Basic lands by colour counter (red, green, blue, black, white).
        constexpr int LAND_OF_COUNTER[6] = {13, 1, 13, 5, 17, 9};
        const ManaCost& cost = creature->GetCost();
        for (int counter = 0; counter < 6; ++counter)
            for (int i = 0; i < cost.At(counter); ++i)
                test::DealCard(LAND_OF_COUNTER[counter], PLAYER_HUMAN, false);
        UpdateHumanAvailableMana();
        ShowUntapPrompt();
        const RasterRect advice = BoxRect(*GetLessonBox());
        CloseLessonBox();
        creature->m_Position.Set(static_cast<float>(advice.left + 20), static_cast<float>(advice.top + 20), 0.0f);
        creature->m_TargetPoint = creature->m_Position;
        EXPECT_FALSE(CheckDroppedCard(creature));
        ASSERT_EQ(GetCardBeingPaid(), creature);
        const Frame error = DrawFrame("play-error");
        std::vector<CardActor*> rest;
        for (CardActor* card : hand)
            if (card != creature)
                rest.push_back(card);
        CheckBox("play error", KIND_PLAY_ERROR, empty, error, rest);
        const RasterRect cardRect = CardRect(*creature);
        EXPECT_FALSE(Overlap(BoxRect(*GetLessonBox()), cardRect)) << "the error covers its card";
        EXPECT_GT(ChangedPixels(empty, error, cardRect), cardRect.Width() * cardRect.Height() / 2)
            << "the parked card is not drawn";
        SetCardBeingPaid(nullptr);
        CloseLessonBox();
    });
}

} // namespace
