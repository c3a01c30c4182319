// A small online table for the advisor's families: card definitions of the ids the advice knows, made in the
// test, the turn words of both drivers, and the advisor's memory reset before and after each case.
#pragma once

#include "cards/CardIds.h"
#include "gamestate/OnlineAdviceWords.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TurnFlags.h"
#include "lessons/CpuOnlineTurn.h"
#include "lessons/HumanOnlineTurn.h"
#include "lessons/OnlineAdviceFamilies.h"
#include "lessons/OnlineAdvisor.h"
#include "rules/ManaPool.h"
#include "rules/TableSelection.h"
#include "tests/rules/RulesFixture.h"

namespace advicetest {

class OnlineAdviceTest : public rulestest::RulesTest {
public:
    // The boards of the tables are built through these.
    using RulesTest::Creature;
    using RulesTest::Define;
    using RulesTest::InHand;
    using RulesTest::Land;
    using RulesTest::OnTable;

protected:
    void SetUp() override
    {
        RulesTest::SetUp();
        SetMode(3);
        ResetWords();
    }
    void TearDown() override
    {
        ResetWords();
        RulesTest::TearDown();
    }
    // An empty table again, with both player actors.
    void Fresh()
    {
        Clear();
        SetMode(s_GameMode);
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        ResetWords();
    }
    static void ResetWords()
    {
        s_PastCombat = false;
        s_AttackStep = 0;
        s_CpuBlockStep = 0;
        s_HumanBlockStep = 0;
        s_TurnNumber = 0;
        SetPlayerActors(nullptr, nullptr);
        ClearTableSelection();
        ResetHumanOnlineTurn();
        ResetCpuOnlineTurn();
        ResetAdvisorGame();
        ResetOnlineAdviceWords();
        HandTurnTo(PLAYER_HUMAN);
    }

public:
    // A definition of a card the advice knows by id.
    CARD& Known(int id, int type, ManaCost cost, int power = 0, int toughness = 0)
    {
        CARD& card = Define(type, cost, power, toughness);
        card.m_Id = id;
        return card;
    }
    // A damage instant (97 Savotnel deals 2, 100 Vorenton 4) aimed at a creature or a player; one red mana.
    CARD& DamageInstant(int id, int damage)
    {
        CARD& spell = Known(id, CT_INSTANT, ManaCost(0, 1, 0, 0, 0, 0));
        spell.m_SpellEffect.effectType = EFFECT_DAMAGE;
        spell.m_SpellEffect.damageAmt = damage;
        spell.m_SpellEffect.needsTarget = true;
        spell.m_SpellTarget.type = TT_CREATURE;
        return spell;
    }
    CARD& TargetInstant(int id, ManaCost cost = ManaCost(0, 1, 0, 0, 0, 0))
    {
        CARD& spell = Known(id, CT_INSTANT, cost);
        spell.m_SpellEffect.needsTarget = true;
        spell.m_SpellTarget.type = TT_CREATURE;
        return spell;
    }
    // Untapped lands of the learner that give one red mana each; the available mana is recounted.
    void RedLands(int count)
    {
        for (int i = 0; i < count; ++i)
            OnTable(Land(ManaCost(0, 1, 0, 0, 0, 0)), PLAYER_HUMAN);
        UpdateHumanAvailableMana();
    }
    // The side whose turn it is in that step; the situation as the advisor takes it.
    AdviceSituation Situation(int step, bool humanTurn = true)
    {
        HandTurnTo(humanTurn ? PLAYER_HUMAN : PLAYER_CPU);
        (humanTurn ? m_human : m_cpu)->SetState(step);
        UpdateHumanAvailableMana();
        return TakeAdviceSituation();
    }
    static OnlineAdvisorState& Memory() { return GetOnlineAdvisorState(); }
};

} // namespace advicetest
