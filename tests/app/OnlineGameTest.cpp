// Online games in the real frame loop with the shipped data: the scripted learner against the CPU's drivers.
#include "tests/app/AppFixture.h"
#include "tests/app/OnlineBot.h"
#include "tests/rules/RulesGame.h"

#include "cards/CardIds.h"
#include "cards/CornerButtons.h"
#include "cards/GameLog.h"
#include "cards/MessagePrompts.h"
#include "cards/PlayerHud.h"
#include "cards/TableReset.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gui/OldButton.h"
#include "gui/OldDialog.h"
#include "lessons/TableFlow.h"
#include "rules/BoardQueries.h"
#include "rules/Decks.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <filesystem>
#include <functional>

namespace {

namespace fs = std::filesystem;

class OnlineGameTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level03_u.cfg", "level04_u.cfg"});
        // One process runs several programs: the flows the last one left point at its removed actors.
        SetPlayerActors(nullptr, nullptr);
        GetTableFlow() = TableFlowState();
    }
};

void TickOnce()
{
    plat::headless::AdvanceTime(17);
    test::TickOnce();
}

// How the scripted learner clicks: the move, the press and the release a frame each, or the move and the press in
// one frame, as a quick real mouse gives them. A card must take the press either way.
class OnlineClickTest : public OnlineGameTest, public ::testing::WithParamInterface<bool> {};

INSTANTIATE_TEST_SUITE_P(ClickStyles, OnlineClickTest, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "MoveAndPressTogether" : "MoveThenPress");
});

bool OwnLandOnTable()
{
    for (const CardActor* const card : GetCardActors())
        if (card->GetOwner() == 0 && card->IsLand() && !card->IsHeld() && card->IsNotLeaving() &&
            card->GetTapState() != TAP_OFF_TABLE)
            return true;
    return false;
}

// The bot answers the toss, keeps its hand and reaches its own turn, where its first click on a land plays it.
TEST_P(OnlineClickTest, TheLearnerGetsPastTheTossAndTheOpeningToPlayALand)
{
    RunInside([] {
        SetChosenColours(0, 1, 2, 3, 4);
        plat::SeedRand(7);
        s_RequestedGameMode = 3;
        s_GameMode = -1;
        test::OnlineBot bot;
        bot.SetMoveAndPressTogether(GetParam());
        bool tossSeen = false;
        int frame = 0;
        int landClickedAt = -1;
        // The land flies to the table within a few frames of the click.
        for (; frame < 900 && (landClickedAt < 0 || frame < landClickedAt + 20); ++frame) {
            bot.Step();
            TickOnce();
            if (landClickedAt < 0 && bot.LandsPlayed() != 0)
                landClickedAt = frame;
            const bool toss = FindActorByName(u"cointoss") != nullptr;
            tossSeen = tossSeen || toss;
            if (tossSeen && !toss) {
                ASSERT_NE(s_HumanTurn, s_CpuTurn) << "frame " << frame;
            }
        }
        EXPECT_TRUE(tossSeen);
        EXPECT_EQ(s_MulliganState, 1);
        EXPECT_EQ(bot.LandsPlayed(), 1);
        EXPECT_TRUE(OwnLandOnTable());
        EXPECT_TRUE(s_HumanTurn);
    });
}

// While the quit warning of the corner button is up the game waits: a land clicked in the learner's hand behind it
// stays in the hand.
TEST_F(OnlineGameTest, ALandClickedBehindTheQuitWarningIsNotPlayed)
{
    RunInside([] {
        SetChosenColours(0, 1, 2, 3, 4);
        plat::SeedRand(7);
        s_RequestedGameMode = 3;
        s_GameMode = -1;
        test::OnlineBot bot;
        bot.SetLandsOnly(true);
        const auto handLand = []() -> CardActor* {
            for (CardActor* const card : GetCardActors())
                if (card->GetOwner() == 0 && card->IsLand() && card->IsHeld() && !card->IsInLibrary() &&
                    card->IsNotLeaving())
                    return card;
            return nullptr;
        };
        const auto mayPlay = [&] {
            const Actor* const human = GetHumanPlayerActor();
            return s_HumanTurn && s_GameBegun && human != nullptr && human->GetState() == 5 && bot.LandsPlayed() == 0 &&
                   handLand() != nullptr && !IsAnyCardMoving();
        };
        for (int frame = 0; frame < 900 && !mayPlay(); ++frame) {
            bot.Step();
            TickOnce();
        }
        ASSERT_TRUE(mayPlay());
        const auto click = [](int x, int y) {
            for (const plat::EventType type :
                 {plat::EventType::MouseMove, plat::EventType::ButtonDown, plat::EventType::ButtonUp}) {
                test::QueueLeftMouse(type, x, y);
                TickOnce();
            }
        };
        const RasterRect quit = GetGameDisplay()->GetZoneRectByIndex(10);
        click((quit.left + quit.right) / 2, (quit.top + quit.bottom) / 2);
        ASSERT_TRUE(IsQuitPromptPending());
        CardActor* const land = handLand();
        int width = 0;
        int height = 0;
        GetGameDisplay()->GetCardDrawSize(land, width, height, false);
        click(static_cast<int>(land->m_Position.x) + width / 2, static_cast<int>(land->m_Position.y) + height / 2);
        for (int i = 0; i < 10; ++i)
            TickOnce();
        EXPECT_TRUE(IsQuitPromptPending());
        EXPECT_TRUE(land->IsHeld());
        EXPECT_FALSE(OwnLandOnTable());
        ClearQuitPrompt();
    });
}

// The mulligan question of the basic game has an arrow at its buttons, pointing at them from their right; the full
// game asks without one.
class MulliganArrowTest : public OnlineGameTest, public ::testing::WithParamInterface<int> {};

INSTANTIATE_TEST_SUITE_P(Modes, MulliganArrowTest, ::testing::Values(3, 4));

TEST_P(MulliganArrowTest, TheBasicGamePointsAtTheMulliganButtons)
{
    const int mode = GetParam();
    RunInside([mode] {
        SetChosenColours(0, 1, 2, 3, 4);
        plat::SeedRand(7);
        s_RequestedGameMode = mode;
        s_GameMode = -1;
        test::OnlineBot bot;
        bool tossSeen = false;
        const auto asked = [&tossSeen] {
            tossSeen = tossSeen || FindActorByName(u"cointoss") != nullptr;
            if (!tossSeen || FindActorByName(u"cointoss") != nullptr || s_MulliganState != 0)
                return false;
            for (const OldDialog* const dialog : GetGameDisplay()->m_RegisteredMessageDialogs)
                if (!dialog->IsHidden() && dialog->GetButtonA() != nullptr && !dialog->GetButtonA()->IsHidden() &&
                    dialog->GetButtonA()->GetParent() == dialog)
                    return false;
            return true;
        };
        // The question stands once the toss and the opening windows are answered and nothing new comes up.
        int standing = 0;
        for (int frame = 0; frame < 900 && standing < 10; ++frame) {
            standing = asked() ? standing + 1 : 0;
            if (standing == 0)
                bot.Step();
            TickOnce();
        }
        ASSERT_TRUE(asked());
        GetRaster()->Invalidate();
        TickOnce();
        const plat::headless::Frame& shown = plat::headless::LastFrame();
        if (const char* const folder = std::getenv("TESSEL_SAVE_FRAMES"))
            plat::headless::SaveFrameBmp(shown, std::string(folder) + "/mulligan-mode" + std::to_string(mode) + ".bmp");
        // The arrow's yellow, in the 70 by 43 pixels right of the field's corner.
        const RasterRect& field = GetGameDisplay()->GetZoneRectByIndex(15);
        int yellow = 0;
        for (int y = field.bottom - 38; y < field.bottom + 5; ++y) {
            for (int x = field.right; x < field.right + 70; ++x) {
                const std::uint16_t pixel = shown.pixels[static_cast<std::size_t>(y * shown.width + x)];
                yellow += (pixel >> 11) >= 28 && (pixel >> 5 & 63) >= 44 && (pixel >> 5 & 63) <= 60 && (pixel & 31) <= 12;
            }
        }
        if (mode == 3)
            EXPECT_GT(yellow, 150);
        else
            EXPECT_EQ(yellow, 0);
    });
}

// What the last game or a fresh start left on the panels (a lit step, a life change still playing, a shown life
// other than the starting one) is gone once the next game loads.
TEST_F(OnlineGameTest, ANewGameStartsWithNoStepLitAndItsStartingLifeShown)
{
    RunInside([] {
        GetGameDisplay()->m_CurrentPhase = 7;
        GetHudLifeAnimation(PLAYER_HUMAN) = HudLifeAnimation{true, 1000000u, -1, 0, 0};
        GetPlayerState(PLAYER_CPU)->SetDisplayedLife(3);
        SetChosenColours(0, 1, 2, 3, 4);
        plat::SeedRand(7);
        s_RequestedGameMode = 3;
        s_GameMode = -1;
        for (int frame = 0; frame < 20 && s_GameMode != 3; ++frame)
            TickOnce();
        ASSERT_EQ(s_GameMode, 3);
        EXPECT_EQ(GetGameDisplay()->m_CurrentPhase, -1);
        EXPECT_FALSE(GetHudLifeAnimation(PLAYER_HUMAN).active);
        EXPECT_EQ(GetPlayerState(PLAYER_CPU)->GetDisplayedLife(), 20);
    });
}

struct GameSetup {
    int mode;
    int human;
    int cpu;
    unsigned seed;
    // When set, both libraries are milled down to this many cards once the hands are kept.
    int libraryLeft = -1;
    bool castsInstants = false;
};

struct GameResult {
    bool ended = false;
    bool humanLost = false;
    bool cpuLost = false;
    int frames = 0;
    int turns = 0;
    std::string log;
    std::uint64_t frameSum = 14695981039346656037ull;
    // The running sum after each frame, to name the first frame a replay draws differently.
    std::vector<std::uint64_t> frameSums;
    std::vector<std::string> faults;
    std::string stall;
    int casts = 0;
    int instants = 0;
    int targetsCancelled = 0;
    int landsTapped = 0;
    int humanCreatures = 0;
    int deckingTurn = 0;
    int frameBound = 0;
    int longestTurn = 0;
    std::array<int, static_cast<std::size_t>(test::Prompt::Count)> answered{};
};

std::string AnsweredText(const GameResult& result)
{
    std::string text;
    for (std::size_t kind = 0; kind < result.answered.size(); ++kind)
        text += std::string(text.empty() ? "" : ", ") + test::PromptName(static_cast<test::Prompt>(kind)) + " " +
                std::to_string(result.answered[kind]);
    return text;
}

// A person would give up on a table that shows the same step for this long.
constexpr int STALL_FRAMES = 1500;
// Nor does a turn, nor the opening up to the kept hands, take longer (the longest turn of the whole-game sweep
// takes under half of it).
constexpr int TURN_FRAMES = STALL_FRAMES;
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
    const Actor* const human = FindActorByName(u"player");
    const Actor* const cpu = FindActorByName(u"cpuplayer");
    return "frame " + std::to_string(frame) + " turn " + std::to_string(s_TurnNumber) + " human state " +
           std::to_string(human != nullptr ? human->GetState() : -1) + " cpu state " +
           std::to_string(cpu != nullptr ? cpu->GetState() : -1) + " human turn " + std::to_string(s_HumanTurn) +
           " stack " + std::to_string(GetSpellStack().GetCount()) + " paused " +
           std::to_string(GetSpellStack().IsPaused()) + " blocks " + std::to_string(s_HumanBlockStep) + "/" +
           std::to_string(s_CpuBlockStep);
}

// The CPU's sorcery makes the learner discard two cards: the field asks, the learner clicks two cards of its hand,
// and the stack goes on.
TEST_F(OnlineGameTest, TheLearnerDiscardsToTheCpusSpellByClickingCardsOfItsHand)
{
    RunInside([] {
        SetChosenColours(0, 1, 2, 3, 4);
        ResetTable(3);
        plat::SeedRand(7);
        test::OnlineBot bot;
        int frame = 0;
        for (; frame < 900 && !(s_GameBegun && GetSpellStack().GetCount() == 0 && !GetSpellStack().IsPaused() &&
                                FindActorByName(u"cointoss") == nullptr);
             ++frame) {
            bot.Step();
            TickOnce();
        }
        ASSERT_TRUE(s_GameBegun) << Where(frame);
        const int held = HeldCards(PLAYER_HUMAN);
        const int buried = GetPlayerState(PLAYER_HUMAN)->m_GraveyardCount;
        ASSERT_GE(held, 2);
        CardActor* const spell = CreateCardActor(CD_ESKINRIC, PLAYER_CPU);
        ASSERT_NE(spell, nullptr);
        GetSpellStack().CastSpell(spell, nullptr, FindActorByName(u"player"), true, false);
        bool asked = false;
        for (int more = 0; more < 600 && (GetSpellStack().GetCount() != 0 || GetSpellStack().IsPaused()); ++more) {
            bot.Step();
            TickOnce();
            // The frame that first shows the prompt in the field.
            const char* const folder = std::getenv("TESSEL_SAVE_FRAMES");
            if (!asked && !OnlinePromptOwner().empty() && folder != nullptr)
                plat::headless::SaveFrameBmp(plat::headless::LastFrame(), std::string(folder) + "/online-discard.bmp");
            asked = asked || !OnlinePromptOwner().empty();
        }
        EXPECT_TRUE(asked);
        EXPECT_FALSE(GetSpellStack().IsPaused()) << Where(frame);
        EXPECT_EQ(bot.Answered(test::Prompt::SpellDiscard), 2);
        EXPECT_EQ(HeldCards(PLAYER_HUMAN), held - 2);
        EXPECT_EQ(GetPlayerState(PLAYER_HUMAN)->m_GraveyardCount, buried + 2);
    });
}

// Every game ends by decking at the latest: a side that draws from an empty library loses. Each side draws one
// card in each of its turns, the side that begins not in its first, so with at most L cards left in a library
// once the hands are kept the second side's (L + 1)-th draw comes in turn 2(L + 1) and the first side's in the
// turn after.
int DeckingTurn()
{
    int left = 0;
    for (const int side : {PLAYER_HUMAN, PLAYER_CPU}) {
        const PlayerState& record = *GetPlayerState(side);
        left = std::max(left, record.m_LibraryCount - record.m_NextDrawIndex);
    }
    return 2 * (left + 1) + 1;
}

// One game in the real frame loop, the bot for the learner; every frame checked. The game starts as the menus
// start one, through the table reset, so nothing the last game left carries over. Without a frame count it is
// played to its end, which must come by the decking turn, every turn within its frames.
GameResult PlayGame(const GameSetup& setup, int frameCount = 0)
{
    GameResult result;
    SetChosenColours(setup.human, setup.human, setup.cpu, setup.cpu, setup.cpu);
    ResetTable(setup.mode);
    plat::SeedRand(setup.seed);
    test::OnlineBot bot;
    bot.SetCastsInstants(setup.castsInstants);
    bool tossSeen = false;
    bool humanTurn = false;
    int logCount = 0;
    int lastChange = 0;
    std::string lastClicks;
    int turnNumber = 0;
    int turnStart = 0;
    result.frameBound = frameCount > 0 ? frameCount : TURN_FRAMES;
    for (int frame = 0; frame < result.frameBound; ++frame) {
        bot.Step();
        TickOnce();
        result.frames = frame + 1;
        if (frameCount == 0 && result.deckingTurn == 0 && s_GameBegun) {
            // The rest of each library goes to the graveyard from the top, as a spell that mills it sends it.
            for (const int side : {PLAYER_HUMAN, PLAYER_CPU}) {
                PlayerState& record = *GetPlayerState(side);
                while (setup.libraryLeft >= 0 && record.m_LibraryCount - record.m_NextDrawIndex > setup.libraryLeft) {
                    CardActor* const card =
                        CreateCardActor(record.m_Library[static_cast<std::size_t>(record.m_NextDrawIndex)], side);
                    ++record.m_NextDrawIndex;
                    if (card != nullptr) {
                        card->SetInLibrary(false);
                        card->LeavePlay(LEAVE_NO_REGENERATION);
                    }
                }
            }
            result.deckingTurn = DeckingTurn();
            result.frameBound = frame + 1 + result.deckingTurn * TURN_FRAMES;
        }
        if (s_TurnNumber != turnNumber) {
            result.longestTurn = std::max(result.longestTurn, frame - turnStart);
            turnNumber = s_TurnNumber;
            turnStart = frame;
        }
        if (result.deckingTurn != 0 && s_TurnNumber > result.deckingTurn)
            result.faults.push_back(Where(frame) + ": past the decking turn " + std::to_string(result.deckingTurn));
        if (result.deckingTurn != 0 && frame - turnStart > TURN_FRAMES)
            result.faults.push_back(Where(frame) + ": a turn of more than " + std::to_string(TURN_FRAMES) + " frames");
        if (!result.faults.empty())
            break;
        for (const std::uint16_t pixel : plat::headless::LastFrame().pixels)
            result.frameSum = (result.frameSum ^ pixel) * 1099511628211ull;
        result.frameSums.push_back(result.frameSum);
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
        if (FindActorByName(u"player") == nullptr || FindActorByName(u"cpuplayer") == nullptr || !tossSeen || toss)
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
            if (const char* const folder = std::getenv("TESSEL_SAVE_FRAMES"))
                plat::headless::SaveFrameBmp(plat::headless::LastFrame(), std::string(folder) + "/online-stall.bmp");
            result.stall = where + " paying " + std::to_string(GetPaymentState().paying) + " owed " +
                           std::to_string(GetPaymentState().outstanding.Total()) + " lands";
            for (const CardActor* const card : GetCardActors())
                if (card->GetOwner() == 0 && card->IsLand() && !card->IsHeld())
                    result.stall += " " + std::to_string(card->GetTapState()) + (card->CanAct() ? "a" : "n") +
                                    std::to_string(card->GetColorIndex());
            for (int i = 0; i < 6; ++i)
                result.stall += " o" + std::to_string(GetPaymentState().outstanding.At(i));
            for (const CardActor* const card : GetCardActors())
                if (card->GetOwner() == 0 && card->GetPaidMana().Total() != 0)
                    result.stall += " paid " + std::to_string(card->GetId()) + " held " + std::to_string(card->IsHeld());
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
    result.instants = bot.InstantsStarted();
    result.targetsCancelled = bot.TargetsCancelled();
    result.landsTapped = bot.LandsTappedToPay();
    for (std::size_t kind = 0; kind < result.answered.size(); ++kind)
        result.answered[kind] = bot.Answered(static_cast<test::Prompt>(kind));
    return result;
}


// The learner's first creature comes to the table paid by clicking its lands, the table sound at every frame.
TEST_P(OnlineClickTest, TheLearnersFirstCreatureIsPaidByTappingLands)
{
    RunInside([] {
        SetChosenColours(4, 4, 2, 2, 2);
        plat::SeedRand(7);
        s_RequestedGameMode = 3;
        s_GameMode = -1;
        test::OnlineBot bot;
        bot.SetMoveAndPressTogether(GetParam());
        std::vector<std::string> faults;
        const auto ownCreatureOnTable = [] {
            for (const CardActor* const card : GetCardActors())
                if (card->GetOwner() == 0 && card->GetCardType() == CT_CREATURE && !card->IsHeld() &&
                    !card->IsOnStack() && card->GetTapState() != TAP_OFF_TABLE)
                    return true;
            return false;
        };
        int frame = 0;
        for (; frame < 4000 && !ownCreatureOnTable(); ++frame) {
            bot.Step();
            TickOnce();
            if (s_GameBegun && frame % 10 == 0)
                rulesgame::CheckTable(Where(frame).c_str(), faults);
        }
        EXPECT_TRUE(ownCreatureOnTable()) << Where(frame);
        EXPECT_GE(bot.CastsStarted(), 1);
        EXPECT_GE(bot.LandsTappedToPay(), 1);
        EXPECT_TRUE(faults.empty()) << (faults.empty() ? "" : faults.front());
    });
}

// A game's frames, from the first after the scene load, are the same whoever had the turn when the last game
// in the process ended.
TEST_F(OnlineGameTest, AGameDrawsTheSameWhateverTheLastGameLeft)
{
    constexpr int FRAMES = 60;
    const GameSetup setup{3, 1, 3, 7};
    std::vector<GameResult> plays;
    for (const int lastTurn : {PLAYER_HUMAN, PLAYER_CPU}) {
        plat::headless::SetTime(0);
        RunInside([&] {
            HandTurnTo(lastTurn);
            plays.push_back(PlayGame(setup, FRAMES));
        });
    }
    ASSERT_EQ(plays.size(), 2u);
    ASSERT_EQ(plays[0].frameSums.size(), static_cast<std::size_t>(FRAMES));
    const auto differ = std::mismatch(plays[0].frameSums.begin(), plays[0].frameSums.end(),
                                      plays[1].frameSums.begin(), plays[1].frameSums.end());
    EXPECT_EQ(differ.first, plays[0].frameSums.end())
        << "frames first differ at " << (differ.first - plays[0].frameSums.begin());
    EXPECT_EQ(plays[0].log, plays[1].log);
}

// With the libraries emptied once the hands are kept, the side that draws first loses by decking, in time.
TEST_F(OnlineGameTest, AGameEndsByDeckingAtTheLatest)
{
    GameResult result;
    plat::headless::SetTime(0);
    RunInside([&] { result = PlayGame({3, 4, 0, 7, 0}); });
    EXPECT_TRUE(result.faults.empty()) << (result.faults.empty() ? "" : result.faults.front());
    EXPECT_EQ(result.deckingTurn, 3);
    EXPECT_TRUE(result.ended) << result.stall;
    EXPECT_TRUE(result.humanLost || result.cpuLost);
}

// A white hand holds a spell with two modes and the learner casts every instant it can: each mode question and
// each target prompt is answered (a Cancel where nothing fits), and the game still runs to its end.
TEST_F(OnlineGameTest, TheLearnerCastsEveryInstantItCanAndTheGameGoesOn)
{
    GameResult result;
    plat::headless::SetTime(0);
    RunInside([&] { result = PlayGame({3, COLOUR_WHITE, COLOUR_RED, 7, 8, true}); });
    EXPECT_TRUE(result.faults.empty()) << (result.faults.empty() ? "" : result.faults.front());
    EXPECT_TRUE(result.ended) << result.stall;
    EXPECT_GE(result.instants, 2);
    EXPECT_GE(result.answered[static_cast<std::size_t>(test::Prompt::SpellMode)], 1) << AnsweredText(result);
    EXPECT_GE(result.answered[static_cast<std::size_t>(test::Prompt::Target)], 1) << AnsweredText(result);
    std::printf("instants %d, targets cancelled %d; answered %s\n", result.instants, result.targetsCancelled,
                AnsweredText(result).c_str());
}

// Whole games for several modes, colour pairs and seeds, every frame checked, each seed played twice for the
// replay. Slow in the sanitizer build, so it runs only with TESSEL_ONLINE_GAMES set (a count of seeds per setup).
TEST_F(OnlineGameTest, WholeGamesEndWithTheTableSoundAndReplayTheSame)
{
    const char* const env = std::getenv("TESSEL_ONLINE_GAMES");
    if (env == nullptr)
        GTEST_SKIP() << "set TESSEL_ONLINE_GAMES to a number of seeds";
    const int seeds = std::max(1, std::atoi(env));
    std::vector<GameSetup> setups;
    for (const int mode : {3, 4})
        for (const auto& [human, cpu] : {std::pair{0, 2}, std::pair{1, 3}, std::pair{4, 0}})
            for (int seed = 0; seed < seeds; ++seed)
                setups.push_back({mode, human, cpu, static_cast<unsigned>(7 + seed)});
    if (const char* only = std::getenv("TESSEL_ONLINE_ONLY")) {
        const std::size_t pick = static_cast<std::size_t>(std::atoi(only));
        setups = {setups.at(pick)};
    }
    int games = 0, turns = 0, frames = 0, humanWins = 0, cpuWins = 0, draws = 0, longest = 0;
    GameResult all;
    for (const GameSetup& setup : setups) {
        GameResult first;
        GameResult again;
        // The game log shows the time of day, which the clock gives: both plays start it at the same time.
        plat::headless::SetTime(0);
        RunInside([&] { first = PlayGame(setup); });
        plat::headless::SetTime(0);
        RunInside([&] { again = PlayGame(setup); });
        const std::string name = "mode " + std::to_string(setup.mode) + " colours " + std::to_string(setup.human) +
                                 "/" + std::to_string(setup.cpu) + " seed " + std::to_string(setup.seed);
        EXPECT_TRUE(first.faults.empty()) << name << ": " << (first.faults.empty() ? "" : first.faults.front());
        EXPECT_TRUE(first.ended) << name << (first.stall.empty() ? " no end within " + std::to_string(first.frameBound) +
                                                                   " frames, decking in turn " +
                                                                   std::to_string(first.deckingTurn)
                                                             : " stalled: " + first.stall);
        EXPECT_EQ(first.log, again.log) << name;
        const auto differ = std::mismatch(first.frameSums.begin(), first.frameSums.end(), again.frameSums.begin(),
                                          again.frameSums.end());
        EXPECT_EQ(first.frameSum, again.frameSum)
            << name << ": frames first differ at " << (differ.first - first.frameSums.begin());
        EXPECT_GE(first.landsTapped, first.humanCreatures) << name;
        std::printf("%s: %d turns (decking in turn %d), %d frames (longest turn %d), %d creatures cast by the learner, "
                    "%s, log %016zx; answered %s\n",
                    name.c_str(), first.turns, first.deckingTurn, first.frames, first.longestTurn, first.casts,
                    first.humanLost ? (first.cpuLost ? "both lost" : "CPU won") : (first.cpuLost ? "learner won" : "no end"),
                    std::hash<std::string>{}(first.log), AnsweredText(first).c_str());
        ++games;
        turns += first.turns;
        frames += first.frames;
        humanWins += first.cpuLost && !first.humanLost;
        cpuWins += first.humanLost && !first.cpuLost;
        draws += first.humanLost && first.cpuLost;
        longest = std::max(longest, first.frames);
        for (std::size_t kind = 0; kind < all.answered.size(); ++kind)
            all.answered[kind] += first.answered[kind];
    }
    std::printf("games %d  average turns %.1f  average frames %.0f  learner wins %d  CPU wins %d  draws %d  "
                "longest %d frames; answered %s\n",
                games, static_cast<double>(turns) / games, static_cast<double>(frames) / games, humanWins, cpuWins,
                draws, longest, AnsweredText(all).c_str());
}

} // namespace
