#include "rules/BoardQueries.h"
#include "rules/Decks.h"
#include "tests/rules/RulesGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

class DecksTest : public ::testing::Test {
protected:
    void SetUp() override { rulesgame::DefineSyntheticCards(); }
    void TearDown() override
    {
        for (CARD& card : g_CardDefs)
            card = CARD();
        s_GameMode = 0;
        ResetRulesState();
    }

    static int LandsOf(const DeckList& deck, int colour)
    {
        constexpr int FIRST[5] = {CD_PLAINS1, CD_ISLAND1, CD_SWAMP1, CD_MOUNTAIN1, CD_FOREST1};
        return static_cast<int>(
            std::count_if(deck.begin(), deck.end(), [&](int id) { return id >= FIRST[colour] && id < FIRST[colour] + 4; }));
    }
};

TEST_F(DecksTest, EveryModeAndColourPairBuildsFullDecks)
{
    // Lands per chosen colour of the human's deck, by mode.
    constexpr int HUMAN_LANDS[5] = {0, 8, 8, 8, 8};
    for (int mode = 1; mode <= 4; ++mode) {
        for (int a = 0; a < 5; ++a) {
            for (int b = 0; b < 5; ++b) {
                if (a == b)
                    continue;
                s_GameMode = mode;
                plat::SeedRand(static_cast<std::uint32_t>(mode * 100 + a * 10 + b));
                SetChosenColours(a, b, b, (a + 1) % 5 == b ? (a + 2) % 5 : (a + 1) % 5, (b + 3) % 5 == a ? (b + 4) % 5 : (b + 3) % 5);
                DeckList human{};
                DeckList cpu{};
                if (mode == 1) {
                    BuildHumanDeckBasic(human);
                    BuildCpuDeckBasic(cpu);
                } else if (mode == 2) {
                    BuildHumanDeckAdvanced(human);
                    BuildCpuDeckAdvanced(cpu);
                } else {
                    SetupDecks();
                    SetupCpuDeck();
                    human = GetDeckList(PLAYER_HUMAN);
                    cpu = GetDeckList(PLAYER_CPU);
                }
                const std::string where = "mode " + std::to_string(mode) + " colours " + std::to_string(a) +
                                          std::to_string(b);
                EXPECT_EQ(std::count(human.begin(), human.end(), 0), 0) << where;
                EXPECT_EQ(std::count(cpu.begin(), cpu.end(), 0), 0) << where;
                int lands = LandsOf(human, a);
                // The advanced deck may lose a land of the first colour to no one; basic and online keep 8 each.
                EXPECT_EQ(lands, HUMAN_LANDS[mode]) << where;
                EXPECT_EQ(LandsOf(human, b), HUMAN_LANDS[mode]) << where;
                if (mode == 3 || mode == 4) {
                    std::multiset<int> library(GetPlayerState(PLAYER_HUMAN)->m_Library.begin(),
                                               GetPlayerState(PLAYER_HUMAN)->m_Library.end());
                    EXPECT_EQ(library, std::multiset<int>(human.begin(), human.end())) << where;
                    EXPECT_EQ(CountDeckMarkedCards(), 7) << where;
                    DestroyAllActors();
                    PurgeRemovedActors();
                    ResetRulesState();
                }
            }
        }
    }
}

TEST_F(DecksTest, BasicDeckArrangesTheOpeningSeven)
{
    s_GameMode = 1;
    SetChosenColours(COLOUR_WHITE, COLOUR_GREEN, 0, 1, 2);
    DeckList deck{};
    BuildHumanDeckBasic(deck);
    EXPECT_EQ(deck[0], CD_SELOLBER);
    EXPECT_TRUE(deck[1] >= CD_FOREST1 && deck[1] <= CD_FOREST4);
    EXPECT_EQ(deck[2], CD_ZOLAKSAR);
    EXPECT_TRUE(deck[3] >= CD_PLAINS1 && deck[3] <= CD_PLAINS4);
    EXPECT_TRUE(deck[4] >= CD_FOREST1 && deck[4] <= CD_FOREST4);
    EXPECT_EQ(deck[5], CD_KAVORVIN);
    EXPECT_EQ(deck[6], CD_GALURWYN);
}

TEST_F(DecksTest, RedealVerdicts)
{
    struct Case {
        std::vector<int> top;
        bool redeal;
    };
    const int P = CD_PLAINS1, I = CD_ISLAND1, X = 30;
    const Case cases[] = {
        {{P, I, X, X, X, X, X, P, X, I, X}, false},  // two colours, then two of two colours
        {{P, I, X, X, X, X, X, P, X, X, X}, true},   // only one land after the hand
        {{P, P, X, X, X, X, X, P, X, I, X}, true},   // one colour in hand
        {{P, I, P, I, X, X, X, P, I, X, X}, true},   // four lands
        {{P, X, X, X, X, X, X, P, I, X, X}, true},   // one land
    };
    for (const Case& c : cases) {
        PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
        human.m_Library.fill(X);
        std::copy(c.top.begin(), c.top.end(), human.m_Library.begin());
        EXPECT_EQ(NeedsRedeal(PLAYER_HUMAN), c.redeal);
    }
}

TEST_F(DecksTest, ShuffleRestKeepsTheDrawnCards)
{
    PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    for (int i = 0; i < DECK_SIZE; ++i)
        human.m_Library[static_cast<std::size_t>(i)] = i + 1;
    human.m_LibraryCount = DECK_SIZE;
    human.m_NextDrawIndex = 10;
    plat::SeedRand(5);
    ShuffleRestOfHumanLibrary();
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(human.m_Library[static_cast<std::size_t>(i)], i + 1);
    std::multiset<int> rest(human.m_Library.begin() + 10, human.m_Library.end());
    std::multiset<int> expected;
    for (int i = 11; i <= DECK_SIZE; ++i)
        expected.insert(i);
    EXPECT_EQ(rest, expected);
}

TEST_F(DecksTest, LibraryActorsAreTheOpeningHandOnly)
{
    PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    for (int i = 0; i < DECK_SIZE; ++i)
        human.m_Library[static_cast<std::size_t>(i)] = 21 + i % 30;
    human.m_LibraryCount = DECK_SIZE;
    struct Case {
        int handSize, forcedFirst;
    };
    for (const Case c : {Case{7, 0}, Case{5, 60}, Case{0, 0}}) {
        SetOpeningHandSize(c.handSize);
        SetForcedFirstCard(PLAYER_HUMAN, c.forcedFirst);
        CreateLibraryActors();
        CreateLibraryActors();  // again: the earlier actors go
        PurgeRemovedActors();
        EXPECT_EQ(static_cast<int>(GetCardActors().size()), c.handSize) << c.handSize;
        EXPECT_EQ(human.m_NextDrawIndex, c.handSize);
        for (int i = 0; i < c.handSize; ++i) {
            const CardActor* const card = GetLibraryActor(i);
            ASSERT_NE(card, nullptr) << i;
            const int id = i == 0 && c.forcedFirst != 0 ? c.forcedFirst : human.m_Library[static_cast<std::size_t>(i)];
            EXPECT_EQ(card->GetId(), id) << i;
            EXPECT_TRUE(card->IsHeld() && card->IsInLibrary()) << i;
            EXPECT_EQ(card->m_DeckCardMarker, 1);
            EXPECT_EQ(card->m_DealMark, 1);
        }
        EXPECT_EQ(GetLibraryActor(c.handSize), nullptr);
    }
    SetOpeningHandSize(2);
    CreateLibraryActors();
    RemoveActor(GetLibraryActor(1));
    PurgeRemovedActors();
    EXPECT_EQ(GetLibraryActor(1), nullptr) << "a removed actor leaves the array";
    EXPECT_NE(GetLibraryActor(0), nullptr);
    SetForcedFirstCard(PLAYER_HUMAN, 0);
    DestroyAllActors();
    PurgeRemovedActors();
}

} // namespace
