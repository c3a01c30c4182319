// Online games in the real frame loop with the shipped data: the scripted learner against the CPU's drivers.
#include "tests/app/AppFixture.h"
#include "tests/app/OnlineBot.h"
#include "tests/rules/RulesGame.h"

#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "lessons/OnlineTurnState.h"
#include "lessons/PhysicalTurnState.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"
#include "cards/GameLog.h"
#include "lessons/PlayerActors.h"
#include "rules/BoardQueries.h"
#include "rules/ManaPool.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class OnlineGameTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        const fs::path game = TESSEL_GAME_DIR;
        const fs::path here = m_Game.Path();
        fs::copy(game / "data", here / "data", fs::copy_options::recursive);
        for (const char* const file : {"data_en/res_str_phys_u.txt", "data_en/cards_phys_u.cfg", "level03_u.cfg",
                                       "level04_u.cfg"})
            fs::copy_file(game / file, here / file, fs::copy_options::overwrite_existing);
    }
};

void TickOnce()
{
    plat::headless::AdvanceTime(17);
    for (int i = 0; i < 100; ++i) {
        if (MainLoopPass() == LoopPass::Ticked)
            return;
    }
    ADD_FAILURE() << "no frame was ticked";
}

// The bot answers the toss, keeps its hand and reaches its own turn, where it plays a land by clicking it.
TEST_F(OnlineGameTest, TheLearnerGetsPastTheTossAndTheOpeningToPlayALand)
{
    RunInside([] {
        SetChosenColours(0, 1, 2, 3, 4);
        plat::SeedRand(7);
        s_RequestedGameMode = 3;
        s_GameMode = -1;
        test::OnlineBot bot;
        bool tossSeen = false;
        int frame = 0;
        for (; frame < 900 && bot.LandsPlayed() == 0; ++frame) {
            bot.Step();
            TickOnce();
            const bool toss = FindActorByName(u"cointoss") != nullptr;
            tossSeen = tossSeen || toss;
            if (tossSeen && !toss) {
                ASSERT_NE(s_HumanTurn, s_CpuTurn) << "frame " << frame;
            }
        }
        EXPECT_TRUE(tossSeen);
        EXPECT_EQ(s_MulliganState, 1);
        EXPECT_EQ(bot.LandsPlayed(), 1);
        EXPECT_TRUE(s_HumanTurn);
    });
}


struct GameSetup {
    int mode;
    int human;
    int cpu;
    unsigned seed;
};

struct GameResult {
    bool ended = false;
    bool humanLost = false;
    bool cpuLost = false;
    int frames = 0;
    int turns = 0;
    std::string log;
    std::uint64_t frameSum = 14695981039346656037ull;
    std::vector<std::string> faults;
    std::string stall;
    int casts = 0;
    int landsTapped = 0;
    int humanCreatures = 0;
};

constexpr int FRAME_LIMIT = 20000;
// A person would give up on a table that shows the same step for this long.
constexpr int STALL_FRAMES = 1500;
constexpr std::size_t TIME_PREFIX = 10;

int HeldCards(int owner)
{
    int held = 0;
    for (const CardActor* const card : GetCardActors())
        held += card->GetOwner() == owner && card->IsHeld() && !card->IsInLibrary() && card->IsNotLeaving();
    return held;
}

bool AnyCombatMarks()
{
    for (const CardActor* const card : GetCardActors())
        if (card->CountBlockers() != 0 || card->GetBlockedAttacker() != nullptr || card->IsAttacking())
            return true;
    return false;
}

std::string Where(int frame)
{
    const Actor* const human = GetHumanPlayerActor();
    const Actor* const cpu = GetCpuPlayerActor();
    return "frame " + std::to_string(frame) + " turn " + std::to_string(s_TurnNumber) + " human state " +
           std::to_string(human != nullptr ? human->GetState() : -1) + " cpu state " +
           std::to_string(cpu != nullptr ? cpu->GetState() : -1) + " human turn " + std::to_string(s_HumanTurn) +
           " stack " + std::to_string(GetSpellStack().GetCount()) + " paused " +
           std::to_string(GetSpellStack().IsPaused()) + " blocks " + std::to_string(s_HumanBlockStep) + "/" +
           std::to_string(s_CpuBlockStep);
}

// One game in the real frame loop, the bot for the learner; every frame checked.
GameResult PlayGame(const GameSetup& setup)
{
    GameResult result;
    SetChosenColours(setup.human, setup.human, setup.cpu, setup.cpu, setup.cpu);
    plat::SeedRand(setup.seed);
    s_RequestedGameMode = setup.mode;
    s_GameMode = -1;
    test::OnlineBot bot;
    bool tossSeen = false;
    bool humanTurn = false;
    int logCount = 0;
    int lastChange = 0;
    std::string lastClicks;
    for (int frame = 0; frame < FRAME_LIMIT; ++frame) {
        bot.Step();
        TickOnce();
        result.frames = frame + 1;
        for (const std::uint16_t pixel : plat::headless::LastFrame().pixels)
            result.frameSum = (result.frameSum ^ pixel) * 1099511628211ull;
        if (GameLog::GetCount() != logCount) {
            logCount = GameLog::GetCount();
            for (int line = 0; line < GAME_LOG_VISIBLE_LINES; ++line) {
                // The clock prefix is the wall time: left out of the replayed record.
                std::u16string_view text = GameLog::GetVisibleLine(line);
                text.remove_prefix(std::min<std::size_t>(text.size(), TIME_PREFIX));
                result.log.append(text.begin(), text.end());
                result.log += '\n';
            }
        }
        const bool toss = FindActorByName(u"cointoss") != nullptr;
        tossSeen = tossSeen || toss;
        if (GetHumanPlayerActor() == nullptr || GetCpuPlayerActor() == nullptr || !tossSeen || toss)
            continue;
        const std::string where = Where(frame);
        rulesgame::CheckTable(where.c_str(), result.faults);
        if (s_HumanTurn == s_CpuTurn)
            result.faults.push_back(where + ": turn flags " + std::to_string(s_HumanTurn));
        if (s_HumanTurn != humanTurn) {
            humanTurn = s_HumanTurn;
            ++result.turns;
            // The side that just ended its turn has discarded down to seven, and combat left no marks.
            const int ended = humanTurn ? 1 : 0;
            if (HeldCards(ended) > 7)
                result.faults.push_back(where + ": hand of " + std::to_string(HeldCards(ended)));
            if (AnyCombatMarks())
                result.faults.push_back(where + ": combat marks after the turn");
        }
        if (!result.faults.empty())
            break;
        const PlayerState& human = *GetPlayerState(0);
        const PlayerState& cpu = *GetPlayerState(1);
        if (human.HasLost() || cpu.HasLost()) {
            result.ended = true;
            result.humanLost = human.HasLost();
            result.cpuLost = cpu.HasLost();
            break;
        }
        const std::string state = where.substr(where.find(" turn "));
        if (state != lastClicks) {
            lastClicks = state;
            lastChange = frame;
        } else if (frame - lastChange > STALL_FRAMES) {
            result.stall = where + " paying " + std::to_string(GetPaymentState().paying) + " owed " +
                           std::to_string(GetPaymentState().outstanding.Total()) + " lands";
            for (const CardActor* const card : GetCardActors())
                if (card->GetOwner() == 0 && card->IsLand() && !card->IsHeld())
                    result.stall += " " + std::to_string(card->GetTapState());
            result.stall += " pool " + std::to_string(GetPlayerState(0)->m_ManaPool.Total()) + " mouse " +
                            std::to_string(MouseState.x) + "," + std::to_string(MouseState.y);
            break;
        }
    }
    int creatures = 0;
    for (const CardActor* const card : GetCardActors())
        creatures += card->GetOwner() == 0 && card->GetCardType() == CT_CREATURE && !card->IsHeld();
    result.humanCreatures = creatures;
    result.casts = bot.CastsStarted();
    result.landsTapped = bot.LandsTappedToPay();
    return result;
}


TEST_F(OnlineGameTest, ProbeOneGame)
{
    const char* const env = std::getenv("TESSEL_PROBE");
    if (env == nullptr)
        GTEST_SKIP() << "set TESSEL_PROBE to a seed";
    const unsigned seed = env != nullptr ? static_cast<unsigned>(std::atoi(env)) : 7;
    GameResult result;
    RunInside([&] { result = PlayGame({3, 0, 2, seed}); });
    std::printf("ended %d human lost %d cpu lost %d frames %d turns %d casts %d lands %d creatures %d stall [%s]\n",
                result.ended, result.humanLost, result.cpuLost, result.frames, result.turns, result.casts,
                result.landsTapped, result.humanCreatures, result.stall.c_str());
    for (std::size_t i = 0; i < result.faults.size() && i < 5; ++i)
        std::printf("%s\n", result.faults[i].c_str());
    std::printf("%s\n", result.log.substr(result.log.size() > 2000 ? result.log.size() - 2000 : 0).c_str());
}

} // namespace
