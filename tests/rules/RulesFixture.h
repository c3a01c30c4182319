// A fixture for rules tests: card definitions made in the test, card actors registered in the actor list (the
// board), and every rules record reset before and after each case.
#pragma once

#include "cards/Card.h"
#include "cards/CardActor.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "platform/Platform.h"
#include "rules/GameGlobals.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <gtest/gtest.h>

#include "gamestate/Intro.h"

#include <memory>
#include <string>
#include <vector>

namespace rulestest {

class RulesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_GameMode = 2;
        Clear();
        GetSpellStack().Reset(1);
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        GetSpellStack().Reset(1);
        MarkIntroEnded();
    }

    void TearDown() override
    {
        Clear();
        s_GameMode = 0;
    }

    static void Clear()
    {
        DestroyAllActors();
        PurgeRemovedActors();
        ResetRulesState();
    }

    // Online lesson (modes 3, 4) or physical (1, 2); the stack follows.
    void SetMode(int mode)
    {
        s_GameMode = mode;
        GetSpellStack().Reset(mode > 2 ? 0 : 1);
    }

    CARD& Define(int type, ManaCost cost = ManaCost(), int power = 0, int toughness = 0)
    {
        auto card = std::make_unique<CARD>();
        card->m_Id = 300 + static_cast<int>(m_cards.size());
        card->m_CardType = type;
        card->m_Stats.power = power;
        card->m_Stats.toughness = toughness;
        card->m_Cost = cost;
        m_cards.push_back(std::move(card));
        return *m_cards.back();
    }

    CARD& Land(ManaCost produces)
    {
        CARD& land = Define(CT_LAND, produces);
        land.m_Ability.costType = COSTTYPE_TAP;
        land.m_Ability.effect.effectType = EFFECT_PRODUCEMANA;
        land.m_Ability.effect.manaProduced = produces;
        return land;
    }

    CARD& Creature(int power, int toughness, ManaCost cost = ManaCost(1, 0, 1, 0, 0, 0))
    {
        return Define(CT_CREATURE, cost, power, toughness);
    }

    // A card on the table, played and ready, registered in the actor list.
    CardActor& OnTable(const CARD& card, int owner = PLAYER_HUMAN)
    {
        auto* actor = new CardActor();
        actor->SetCard(&card);
        actor->SetOwner(owner);
        actor->SetOwnerRecord(GetPlayerState(owner));
        actor->m_Held = 0;
        actor->m_InLibrary = false;
        actor->SetTapState(TAP_READY);
        actor->SetPlayedMark(1);
        RegisterActor(actor);
        actor->UpdatePowerToughness(false);
        return *actor;
    }

    CardActor& InHand(const CARD& card, int owner = PLAYER_HUMAN)
    {
        CardActor& actor = OnTable(card, owner);
        actor.m_Held = 1;
        actor.SetTapState(TAP_OFF_TABLE);
        actor.SetPlayedMark(0);
        return actor;
    }

    static PlayerState& Human() { return *GetPlayerState(PLAYER_HUMAN); }
    static PlayerState& Cpu() { return *GetPlayerState(PLAYER_CPU); }

    std::vector<std::unique_ptr<CARD>> m_cards;
    Actor* m_human = nullptr;
    Actor* m_cpu = nullptr;
};

} // namespace rulestest
