// The combat-result box on the physical table in the real frame loop with the shipped data at 800x600: a fight of
// the learner's attacker against two blockers, one of which dies. The box must stand whole on the screen, show its
// text inside it and leave the fighters in view. The frame is saved when TESSEL_SAVE_FRAMES names a folder.
#include "tests/app/AppFixture.h"
#include "tests/cards/DealtCard.h"

#include "cards/CardActor.h"
#include "cards/LifeToken.h"
#include "cards/TableReset.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/PlayerActors.h"
#include "gui/Messagebox.h"
#include "lessons/CombatAdvice.h"
#include "lessons/LessonBox.h"
#include "rules/CombatResults.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

class CombatResultMomentsTest : public test::AppFixture {
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
        plat::headless::SaveFrameBmp(frame, std::string(folder) + "/combat-" + moment + ".bmp");
    return frame;
}

int ChangedPixels(const Frame& a, const Frame& b, const RasterRect& rect)
{
    int changed = 0;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, a.height); ++y)
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, a.width); ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(a.width) +
                                   static_cast<std::size_t>(x);
            changed += a.pixels[at] != b.pixels[at] ? 1 : 0;
        }
    return changed;
}

RasterRect Rect(const GUI_Window& window)
{
    return RasterRect{window.GetLeft(), window.GetTop(), window.GetRight(), window.GetBottom()};
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

CardActor* FirstCreature(int owner)
{
    const PlayerState& player = *GetPlayerState(owner);
    for (int i = 0; i < player.m_LibraryCount; ++i) {
        const int id = player.m_Library[static_cast<std::size_t>(i)];
        if (g_CardDefs[id].m_CardType == CT_CREATURE)
            return test::DealCard(id, owner, false);
    }
    return nullptr;
}

TEST_F(CombatResultMomentsTest, TheResultOfAGangBlockStandsBesideTheFight)
{
    RunInside([] {
        Tick();
        SetChosenColours(COLOUR_GREEN, COLOUR_RED, COLOUR_BLUE, COLOUR_BLACK, COLOUR_WHITE);
        plat::SeedRand(5);
        ResetTable(2);
        Tick();
        ASSERT_EQ(s_GameMode, 2);
        ASSERT_TRUE(TickUntil([] { return GetCpuPlayerActor() != nullptr && GetHumanPlayerActor() != nullptr; }, 60));
        ASSERT_TRUE(TickUntil([] { return GetLifeToken(PLAYER_HUMAN)->actor->GetState() == TOKEN_PLACING; }, 240));
        MoveLifeToken(20);
        ASSERT_TRUE(TickUntil(
            [] {
                const LifeToken* const cpuToken = GetLifeToken(PLAYER_CPU);
                return IsLifeTokenReady() && IsLifeTokenIdle() && (cpuToken == nullptr || cpuToken->IsIdle());
            },
            600));

        CardActor* const attacker = FirstCreature(PLAYER_HUMAN);
        CardActor* const first = FirstCreature(PLAYER_CPU);
        CardActor* const second = FirstCreature(PLAYER_CPU);
        ASSERT_TRUE(attacker != nullptr && first != nullptr && second != nullptr);
        CloseLessonBox();
        const Frame before = DrawFrame("table");

        // The first blocker dies on its way to the graveyard; the second survives.
        first->SetExitMove(-1);
        GetCombatResultQueue().push_back(CombatResult{attacker, 3, {{first, 2, 1}, {second, 1, 2}}});
        ASSERT_TRUE(ShowCombatResult(0));
        const Frame shown = DrawFrame("result");
        ASSERT_TRUE(IsLessonBoxShowing());
        const Messagebox& box = *GetLessonBox();
        EXPECT_EQ(box.GetKindNumber(), 30);
        const RasterRect r = Rect(box);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.right, 800);
        EXPECT_LE(r.bottom, 600);
        EXPECT_FALSE(box.GetText().empty());
        EXPECT_GT(ChangedPixels(before, shown, r), r.Width() * r.Height() / 3) << "the box is not drawn";
        EXPECT_LE(box.GetTextRect().bottom - box.GetTextRect().top, r.Height()) << "the text does not fit";
        EXPECT_FALSE(Overlap(r, CardRect(*attacker))) << "the box covers the attacker";
        // The CPU still has its dead blocker to bury: OK waits.
        ASSERT_EQ(box.GetButtonCount(), 1);
        EXPECT_TRUE(box.IsButtonDisabled(0));
        CloseLessonBox();
    });
}

} // namespace
