// A whole online game in the real frame loop, the scripted learner against the CPU, drawn at its telling moments:
// the opening deal, a combat with blockers, a spell on the stack and the end of the game. The frames are saved
// when TESSEL_SAVE_FRAMES names a folder.
#include "tests/app/AppFixture.h"
#include "tests/app/OnlineBot.h"

#include "cards/CardActor.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <array>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

constexpr int MAX_FRAMES = 30000;
// Frames a moment is left to settle (cards flying in, windows opening) before it is drawn.
constexpr int SETTLE_FRAMES = 40;

enum Moment { DEAL, COMBAT, SPELL, END, MOMENT_COUNT };
constexpr std::array<const char*, MOMENT_COUNT> MOMENT_NAMES = {"deal", "combat", "spell", "end"};

class OnlineMomentsTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level03_u.cfg"});
    }
};

void Tick(bool draw)
{
    if (draw)
        GetRaster()->Invalidate();
    plat::headless::AdvanceTime(17);
    test::TickOnce();
}

std::vector<CardActor*> CardsWhere(bool (*keep)(const CardActor&))
{
    std::vector<CardActor*> cards;
    for (int i = 0; i < GetActorCount(); ++i) {
        CardActor* const card = AsCardActor(GetActorAt(i));
        if (card != nullptr && card->IsNotLeaving() && keep(*card))
            cards.push_back(card);
    }
    return cards;
}

int OwnHandSize()
{
    return static_cast<int>(CardsWhere([](const CardActor& c) {
                                return c.GetOwner() == PLAYER_HUMAN && c.IsHeld() && !c.IsInLibrary();
                            }).size());
}

TEST_F(OnlineMomentsTest, AGameReachesItsDealACombatWithBlockersASpellOnTheStackAndItsEnd)
{
    std::array<int, MOMENT_COUNT> seenAt{};
    seenAt.fill(-1);
    std::array<bool, MOMENT_COUNT> saved{};
    int frame = 0;
    RunInside([&] {
        SetChosenColours(COLOUR_GREEN, COLOUR_RED, COLOUR_BLUE, COLOUR_BLACK, COLOUR_WHITE);
        plat::SeedRand(5);
        s_RequestedGameMode = 3;
        s_GameMode = -1;
        test::OnlineBot bot;
        bool started = false;
        for (; frame < MAX_FRAMES; ++frame) {
            if (started && s_GameMode != 3)
                break;
            started = started || s_GameMode == 3;
            // The moment each first shows; it is drawn once it has settled, if it still holds.
            const std::array<bool, MOMENT_COUNT> now = {
                s_MulliganState == 0 && FindActorByName(u"cointoss") == nullptr && OwnHandSize() == 7,
                s_HumanBlockStep >= 1 &&
                    !CardsWhere([](const CardActor& c) { return c.GetBlockedAttacker() != nullptr; }).empty(),
                GetSpellStack().GetCount() != 0,
                GetPlayerState(PLAYER_HUMAN)->HasLost() || GetPlayerState(PLAYER_CPU)->HasLost(),
            };
            bool draw = false;
            for (int m = 0; m < MOMENT_COUNT; ++m) {
                if (!now[static_cast<std::size_t>(m)]) {
                    if (!saved[static_cast<std::size_t>(m)])
                        seenAt[static_cast<std::size_t>(m)] = -1;
                    continue;
                }
                if (seenAt[static_cast<std::size_t>(m)] < 0)
                    seenAt[static_cast<std::size_t>(m)] = frame;
                const int settle = m == SPELL || m == COMBAT ? 8 : SETTLE_FRAMES;
                draw = draw || (!saved[static_cast<std::size_t>(m)] &&
                                frame - seenAt[static_cast<std::size_t>(m)] == settle);
            }
            // The learner waits while a moment is pictured: it would answer the keep prompt or the end window.
            bool waiting = false;
            for (int m = 0; m < MOMENT_COUNT; ++m)
                waiting = waiting || (now[static_cast<std::size_t>(m)] && !saved[static_cast<std::size_t>(m)]);
            if (!waiting)
                bot.Step();
            Tick(draw);
            if (!draw)
                continue;
            for (int m = 0; m < MOMENT_COUNT; ++m) {
                const int settle = m == SPELL || m == COMBAT ? 8 : SETTLE_FRAMES;
                if (saved[static_cast<std::size_t>(m)] || seenAt[static_cast<std::size_t>(m)] < 0 ||
                    frame - seenAt[static_cast<std::size_t>(m)] != settle)
                    continue;
                saved[static_cast<std::size_t>(m)] = true;
                if (const char* const folder = std::getenv("TESSEL_SAVE_FRAMES"))
                    plat::headless::SaveFrameBmp(plat::headless::LastFrame(),
                                                 std::string(folder) + "/online-" +
                                                     MOMENT_NAMES[static_cast<std::size_t>(m)] + ".bmp");
            }
        }
    });
    EXPECT_LT(frame, MAX_FRAMES) << "the game did not end";
    for (int m = 0; m < MOMENT_COUNT; ++m)
        EXPECT_TRUE(saved[static_cast<std::size_t>(m)]) << MOMENT_NAMES[static_cast<std::size_t>(m)] << " never shown";
}

} // namespace
