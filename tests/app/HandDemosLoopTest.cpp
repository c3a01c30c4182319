// The CPU's demonstration hands in the real frame loop with the shipped data: the acting hand carrying a card out
// of the CPU's hand onto the table, and the bury hand taking a dead creature to the graveyard. The frames are saved
// when TESSEL_SAVE_FRAMES names a folder.
#include "tests/app/AppFixture.h"
#include "tests/cards/DealtCard.h"

#include "cards/CardActor.h"
#include "cards/LifeToken.h"
#include "cards/TableReset.h"
#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/HandAnimationLists.h"
#include "gamestate/PlayerActors.h"
#include "engine/core/QuitRequest.h"
#include "gui/CardSpecificDialog.h"
#include "gui/GUI_TextButton.h"
#include "gui/TextButton.h"
#include "gui/DialogManager.h"
#include "gui/Sprite.h"
#include "lessons/DrawingHand.h"
#include "lessons/HandDemos.h"
#include "lessons/HandSprite.h"
#include "rules/PlayerState.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

using Frame = plat::headless::Frame;

class HandDemosLoopTest : public test::AppFixture {
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

Frame DrawFrame(const char* moment)
{
    Tick(true);
    Frame frame = plat::headless::LastFrame();
    if (const char* const folder = std::getenv("TESSEL_SAVE_FRAMES"))
        plat::headless::SaveFrameBmp(frame, std::string(folder) + "/hands-" + moment + ".bmp");
    return frame;
}

std::uint16_t PixelAt(const Frame& frame, int x, int y)
{
    if (x < 0 || y < 0 || x >= frame.width || y >= frame.height)
        return 0;
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

int Area(const RasterRect& r)
{
    return std::max(0, r.right - r.left) * std::max(0, r.bottom - r.top);
}

RasterRect HandRect()
{
    const Sprite& hand = GetHandSprite();
    return RasterRect{hand.GetX(), std::max(0, hand.GetY()), hand.GetX() + hand.GetWidth(),
                      hand.GetY() + hand.GetHeight()};
}

// The learner reads each card dialog that comes up; the CPU's side waits while one is up.
void AnswerCardDialogs()
{
    for (int i = 0; i < 20; ++i) {
        const CardSpecificDialog* const dialog = GetCurrentDialog();
        if (dialog == nullptr || (!IsPriorityDialogShown() && !IsNormalDialogShown()))
            return;
        const GUI_Window& ok = *dialog->GetButton(0);
        const int x = (ok.GetLeft() + ok.GetRight()) / 2;
        const int y = (ok.GetTop() + ok.GetBottom()) / 2;
        for (const plat::EventType type :
             {plat::EventType::MouseMove, plat::EventType::ButtonDown, plat::EventType::ButtonUp}) {
            test::QueueLeftMouse(type, x, y);
            Tick();
        }
    }
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

int FirstLibraryCard(int owner, bool land)
{
    const PlayerState& record = *GetPlayerState(owner);
    for (int i = record.m_NextDrawIndex; i < record.m_LibraryCount; ++i) {
        const int id = record.m_Library[static_cast<std::size_t>(i)];
        if (id > 0 && id < CD_NUMBER_OF_CARD_DEFS && g_CardDefs[static_cast<std::size_t>(id)].IsLand() == land &&
            (land || g_CardDefs[static_cast<std::size_t>(id)].GetCardType() == CT_CREATURE))
            return id;
    }
    return 0;
}

TEST_F(HandDemosLoopTest, TheActingHandCarriesACpuCardAndTheBuryHandReachesTheGraveyard)
{
    RunInside([] {
        Tick();
        ResetTable(1);
        Tick();
        ASSERT_TRUE(TickUntil([] { return GetCpuPlayerActor() != nullptr && GetHumanPlayerActor() != nullptr; }, 60));
        ASSERT_TRUE(TickUntil([] { return GetLifeToken(PLAYER_HUMAN)->actor->GetState() == TOKEN_PLACING; }, 240));
        MoveLifeToken(20);
        // The opening deal runs its course first: the CPU's hand of backs fills.
        ASSERT_TRUE(TickUntil(
            [] {
                AnswerCardDialogs();
                return GetDrawHandState() == 5 && CountDrawnCardSprites() == 0 && GetHandSpriteUser() == HandUser::None;
            },
            1500))
            << "drawing hand " << GetDrawHandState() << ", in flight " << CountDrawnCardSprites() << ", hand user "
            << static_cast<int>(GetHandSpriteUser()) << ", dealt " << GetCardBacksDealt();
        for (int i = 0; i < 20; ++i)
            Tick();
        const Frame before = DrawFrame("before");

        // The CPU plays a land out of its hand: the acting hand takes it from the hand of backs to the table.
        const int landId = FirstLibraryCard(PLAYER_CPU, true);
        ASSERT_NE(landId, 0);
        CardActor* const land = test::DealCard(landId, PLAYER_CPU, true);
        ASSERT_NE(land, nullptr);
        land->SetHeld(false);
        land->SetTapState(TAP_READY);
        ASSERT_TRUE(TickUntil([] { return GetActingHandState() == 8; }, 600)) << "the hand never took the card";
        for (int i = 0; i < 6; ++i)
            Tick();
        // The CPU's own turn may have played a card of its own first: whichever the hand carries is shown.
        CardActor* const carried = GetDemoCarry().card;
        ASSERT_NE(carried, nullptr);
        const Frame carrying = DrawFrame("acting-carry");
        const RasterRect hand = HandRect();
        EXPECT_GT(ChangedPixels(before, carrying, hand), Area(hand) / 6) << "the hand shows";
        int width = 0;
        int height = 0;
        GetCarriedDrawSize(static_cast<int>(carried->m_Position.x), static_cast<int>(carried->m_Position.y),
                           static_cast<int>(carried->m_TargetPoint.x), static_cast<int>(carried->m_TargetPoint.y), 72,
                           100, width, height);
        const RasterRect card{static_cast<int>(carried->m_Position.x), static_cast<int>(carried->m_Position.y),
                              static_cast<int>(carried->m_Position.x) + width,
                              static_cast<int>(carried->m_Position.y) + 20};
        EXPECT_GT(ChangedPixels(before, carrying, card), Area(card) / 3) << "the card shows under the hand";
        ASSERT_TRUE(TickUntil([] { return AreHandDemosIdle() && GetHandSpriteUser() == HandUser::None; }, 900));
        EXPECT_FALSE(land->IsHeld());
        EXPECT_LE(std::fabs(land->m_Position.x - land->m_TargetPoint.x), 2.0f);
        EXPECT_EQ(land->m_Flags & (ACTOR_FLAG_AWAITING_HAND | ACTOR_FLAG_CPU_REVEALED), 0u) << "set down";

        // A CPU creature dies: the bury hand carries it to the CPU's graveyard.
        const int creatureId = FirstLibraryCard(PLAYER_CPU, false);
        ASSERT_NE(creatureId, 0);
        CardActor* const creature = test::DealCard(creatureId, PLAYER_CPU, false);
        for (int i = 0; i < 60; ++i)
            Tick();
        ASSERT_TRUE(creature->LeavePlay(LEAVE_DESTROY));
        RasterRect pile;
        GetGameDisplay()->GetOpponentGraveyardRect(pile, false);
        ASSERT_TRUE(TickUntil(
            [&] {
                return GetDemoCarry().card == creature &&
                       std::hypot(creature->m_Position.x - static_cast<float>(pile.left),
                                  creature->m_Position.y - static_cast<float>(pile.top)) < 12.0f;
            },
            900))
            << "the card never neared the graveyard under the hand";
        const Frame burying = DrawFrame("bury-graveyard");
        const RasterRect buryHand = HandRect();
        EXPECT_GT(ChangedPixels(before, burying, buryHand), Area(buryHand) / 6) << "the hand shows at the graveyard";
        ASSERT_TRUE(TickUntil([] { return CpuListEmpty() && GetHandSpriteUser() == HandUser::None; }, 900));
        const PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
        ASSERT_GT(cpu.m_GraveyardCount, 0);
        EXPECT_EQ(cpu.m_Graveyard[static_cast<std::size_t>(cpu.m_GraveyardCount - 1)], creature);
        DrawFrame("after");
        PostQuitMessage(0);
    });
}

} // namespace
