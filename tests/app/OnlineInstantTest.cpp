// The learner's instants in the online game, in the real frame loop with the shipped data: the target prompt's
// Cancel gives the spell up (back to the hand, nothing paid), a pick aims it, and a spell with two modes asks
// which in the advice box before it asks for a target.
#include "tests/app/AppFixture.h"
#include "tests/app/OnlineBot.h"

#include "cards/CardActor.h"
#include "cards/Card.h"
#include "cards/CardIds.h"
#include "cards/MessagePrompts.h"
#include "cards/TableReset.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gui/Messagebox.h"
#include "lessons/OnlineAdvisor.h"
#include "lessons/OnlineTurnServices.h"
#include "rules/BoardQueries.h"
#include "rules/Decks.h"
#include "rules/HumanPayment.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"

#include <cstdlib>
#include <string>

namespace {

constexpr int CPU_PANEL_ZONE = 2;
constexpr int HUMAN_PANEL_ZONE = 3;

class OnlineInstantTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseShippedData({"level03_u.cfg"});
        SetPlayerActors(nullptr, nullptr);
        GetTableFlow() = TableFlowState();
    }
};

void TickOnce()
{
    plat::headless::AdvanceTime(17);
    test::TickOnce();
}

int CpuState()
{
    const Actor* const cpu = FindActorByName(u"cpuplayer");
    return cpu == nullptr ? -1 : cpu->GetState();
}

bool CreatureOnTable()
{
    for (const CardActor* const card : GetCardActors())
        if (card->GetCardType() == CT_CREATURE && !card->IsHeld() && card->IsNotLeaving() &&
            card->GetTapState() != TAP_OFF_TABLE)
            return true;
    return false;
}

CardActor* OwnHandCard()
{
    for (CardActor* const card : GetCardActors())
        if (card->GetOwner() == PLAYER_HUMAN && card->IsHeld() && !card->IsInLibrary() && card->IsNotLeaving())
            return card;
    return nullptr;
}

// Plays the queued click, then lets the table settle a few frames.
void Play(test::OnlineBot& bot)
{
    for (int i = 0; i < 10 && bot.ClickPending(); ++i) {
        bot.Step();
        TickOnce();
    }
    for (int i = 0; i < 4; ++i)
        TickOnce();
}

enum class Action { Cancel, PickOpponent, GainLife, PreventDamage, GainLifeThenCancel };

struct Case {
    const char* name;
    int id;
    Action action;
    bool stillPending;
    // The target the spell holds afterwards: "cpuplayer", "player" or none.
    const char16_t* target;
    int modeState;
};

// The creature-target cases come first, while no creature is on the table yet.
const Case CASES[] = {
    {"creature target with none in play, Cancel", CD_FALARSAR, Action::Cancel, false, nullptr, 0},
    {"creature target with none in play, the opponent's panel", CD_FALARSAR, Action::PickOpponent, true, nullptr,
     0},
    {"damage, Cancel", CD_SAVOTNEL, Action::Cancel, false, nullptr, 0},
    {"damage, the opponent's panel", CD_SAVOTNEL, Action::PickOpponent, true, u"cpuplayer", 0},
    {"gain or prevent, the field's Cancel", CD_WENORTH, Action::Cancel, false, nullptr, 0},
    {"gain or prevent, gain life, the own panel", CD_WENORTH, Action::GainLife, true, u"player", 1},
    {"gain or prevent, prevent damage, asks a target", CD_WENORTH, Action::PreventDamage, true, nullptr, 2},
    {"gain or prevent, gain life, then Cancel", CD_WENORTH, Action::GainLifeThenCancel, false, nullptr, 0},
};

// One case in the next main phase of the opponent: the learner's instants are cast in the opponent's turn (in its
// own the table waits for the idle CPU). The card returns to the hand and the pool is emptied afterwards.
void RunCase(const Case& c, test::OnlineBot& bot, int& lastTurn)
{
    for (int frame = 0; frame < 3000 && !(s_GameBegun && !s_HumanTurn && s_MulliganState == 1 && CpuState() == 5 &&
                                          s_TurnNumber != lastTurn && GetSpellStack().GetCount() == 0 &&
                                          !GetPaymentState().paying);
         ++frame) {
        bot.Step();
        TickOnce();
    }
    lastTurn = s_TurnNumber;
    const Actor* const humanActor = FindActorByName(u"player");
    ASSERT_EQ(CpuState(), 5) << "the opponent's main phase is never reached: turn " << s_TurnNumber
                             << " human turn " << s_HumanTurn << " human state "
                             << (humanActor != nullptr ? humanActor->GetState() : -1) << " begun " << s_GameBegun
                             << " mulligan " << s_MulliganState << " stack " << GetSpellStack().GetCount()
                             << " paying " << GetPaymentState().paying;
    if (c.id == CD_FALARSAR) {
        ASSERT_FALSE(CreatureOnTable()) << "the staged table has no creature";
    }
    CardActor* const card = OwnHandCard();
    ASSERT_NE(card, nullptr);
    card->SetCard(&g_CardDefs[c.id]);
    PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    // Just the cost in the pool: what a step change burns stays small.
    human.m_ManaPool = g_CardDefs[c.id].m_Cost;
    TableSelection& selection = GetTableSelection();
    ASSERT_TRUE(bot.ClickCardNow(card));
    Play(bot);
    const Actor* const cpuActor = FindActorByName(u"cpuplayer");
    ASSERT_EQ(selection.pendingSpell, card)
        << "the click did not start the spell: cpu state " << (cpuActor ? cpuActor->GetState() : -1)
        << " selected " << (selection.selectedCard == card) << " paying " << GetPaymentState().paying
        << " ability step " << selection.abilityStep << " held " << card->IsHeld() << " library "
        << card->IsInLibrary() << " stack " << GetSpellStack().GetCount() << " paused "
        << GetSpellStack().IsPaused();
    // A spell that keeps its target goes on to its payment: with the pool emptied that waits for lands.
    if (c.stillPending)
        human.m_ManaPool.Clear();
    const ManaCost pool = human.m_ManaPool;
    const bool modal = c.id == CD_WENORTH;
    // The advisor shows the spell's target prompt: the two modes' question, else how to aim it, with Cancel.
    if (modal) {
        EXPECT_EQ(GetOnlineAdvice(), 153);
    } else {
        EXPECT_GE(GetOnlineAdvice(), 150);
        EXPECT_LE(GetOnlineAdvice(), 156);
    }
    EXPECT_NE(GetOnlineAdviceBox(), nullptr);
    if (const char* const folder = std::getenv("TESSEL_SAVE_FRAMES"); folder != nullptr && modal) {
        GetRaster()->Invalidate();
        TickOnce();
        plat::headless::SaveFrameBmp(plat::headless::LastFrame(), std::string(folder) + "/online-spell-mode.bmp");
    }
    switch (c.action) {
    case Action::Cancel:
        bot.PressFieldButtonNow(0);
        break;
    case Action::PickOpponent:
        bot.ClickZoneNow(CPU_PANEL_ZONE);
        break;
    case Action::GainLife:
    case Action::GainLifeThenCancel:
        ASSERT_TRUE(bot.ClickAdviceButtonNow(0));
        break;
    case Action::PreventDamage:
        ASSERT_TRUE(bot.ClickAdviceButtonNow(1));
        break;
    }
    Play(bot);
    if (modal && c.action != Action::Cancel) {
        // Once answered the advice says what the chosen mode does, and the field asks for the target.
        EXPECT_EQ(GetOnlineAdvice(), c.action == Action::PreventDamage ? 155 : 154);
        EXPECT_EQ(card->GetState(), c.action == Action::PreventDamage ? 2 : 1);
        EXPECT_EQ(OnlinePromptOwner(), KeyText(u"ONL_CHOOSE_TARGET"));
        if (c.action == Action::GainLife)
            bot.ClickZoneNow(HUMAN_PANEL_ZONE);
        else if (c.action == Action::GainLifeThenCancel)
            bot.PressFieldButtonNow(0);
        Play(bot);
    }
    EXPECT_EQ(selection.pendingSpell == card, c.stillPending);
    EXPECT_EQ(selection.spellPayment, c.stillPending);
    EXPECT_TRUE(card->IsHeld()) << "nothing was paid, so the card is still in the hand";
    EXPECT_EQ(human.m_ManaPool, pool);
    EXPECT_EQ(card->GetChosenTarget(), c.target != nullptr ? FindActorByName(c.target) : nullptr);
    EXPECT_EQ(card->GetState(), c.modeState);
    // No question is left up; a spell still waiting has the advice of what it waits for: its target, or its
    // payment once aimed.
    if (c.stillPending && GetOnlineAdviceBox() != nullptr) {
        const int advice = GetOnlineAdvice();
        if (c.target == nullptr)
            EXPECT_TRUE(advice >= 150 && advice <= 156) << advice;
        else
            EXPECT_TRUE(advice >= 31 && advice <= 36) << advice;
    } else {
        EXPECT_EQ(GetOnlineAdviceBox(), nullptr) << "no question is left up";
    }
    if (!c.stillPending) {
        // Given up: the field is free, and a new click starts the spell afresh.
        EXPECT_NE(OnlinePromptOwner(), KeyText(u"ONL_CHOOSE_TARGET"));
        ASSERT_TRUE(bot.ClickCardNow(card));
        Play(bot);
        EXPECT_EQ(selection.pendingSpell, card);
    }
    CancelPaymentOnCard(card);
    ClearTableSelection();
    human.m_ManaPool.Clear();
    // The next case starts from a learner in good health, whatever the CPU's attacks took.
    human.SetLife(20, false);
}

TEST_F(OnlineInstantTest, CancelGivesTheInstantUpAndAPickAimsIt)
{
    RunInside([] {
        SetChosenColours(COLOUR_WHITE, COLOUR_WHITE, COLOUR_RED, COLOUR_RED, COLOUR_RED);
        ResetTable(3);
        plat::SeedRand(3);
        test::OnlineBot bot;
        bot.SetLandsOnly(true);
        int lastTurn = -1;
        for (const Case& c : CASES) {
            SCOPED_TRACE(c.name);
            RunCase(c, bot, lastTurn);
        }
    });
}

} // namespace
