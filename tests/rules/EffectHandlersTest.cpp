// The effect handlers that the spell stack test leaves out: each with its target present, gone, and with X.
#include "rules/BoardQueries.h"
#include "tests/rules/RulesFixture.h"

namespace {

using rulestest::RulesTest;

class EffectHandlersTest : public RulesTest {
protected:
    SpellStack& Stack() { return GetSpellStack(); }

    CARD& Spell(int type, int effect, ManaCost cost = ManaCost(1, 0, 0, 0, 1, 0))
    {
        CARD& card = Define(type, cost);
        card.m_SpellEffect.effectType = effect;
        return card;
    }

    void Cast(CARD& card, CardActor* targetCard, Actor* targetPlayer, int caster = PLAYER_HUMAN)
    {
        Stack().CastSpell(&InHand(card, caster), targetCard, targetPlayer, false, false);
    }

    void ResolveAll()
    {
        Stack().m_State = STACK_RESOLVE;
        Stack().Resolve();
    }
};

TEST_F(EffectHandlersTest, DestroyAndGainLifeByPowerOrToughness)
{
    struct Case {
        int effect;
        bool regenerates;
        bool gone;
        int life;
        bool leaves;
    };
    const Case cases[] = {
        {EFFECT_DESTROY_GAINLIFE_P, false, false, 23, true},
        {EFFECT_DESTROY_GAINLIFE_T, false, false, 25, true},
        {EFFECT_DESTROY_GAINLIFE_P, true, false, 23, false},  // the gain is taken before it regenerates
        {EFFECT_DESTROY_GAINLIFE_T, false, true, 20, false},  // gone before resolution: fizzle
    };
    for (const Case& c : cases) {
        Clear();
        SetUp();
        CARD& spell = Spell(CT_INSTANT, c.effect);
        spell.m_SpellEffect.modLifeAmt = 1;
        CardActor& target = OnTable(Creature(3, 5), PLAYER_CPU);
        target.SetRegenerationShield(c.regenerates);
        Cast(spell, &target, nullptr);
        if (c.gone)
            target.LeavePlay(LEAVE_NO_REGENERATION);
        ResolveAll();
        EXPECT_EQ(Human().GetLife(), c.life) << c.effect << c.regenerates << c.gone;
        if (!c.gone) {
            EXPECT_EQ(!target.IsNotLeaving(), c.leaves) << c.effect << c.regenerates;
        }
    }
}

TEST_F(EffectHandlersTest, LifeByAttackersCountsTheOpponentsAttackersAtCast)
{
    for (int attackers = 0; attackers <= 2; ++attackers) {
        Clear();
        SetUp();
        for (int i = 0; i < attackers; ++i)
            OnTable(Creature(1, 1), PLAYER_CPU).SetAttacking(true);
        OnTable(Creature(1, 1), PLAYER_CPU);
        CARD& spell = Spell(CT_INSTANT, EFFECT_MODLIFE_XATTACKERS);
        spell.m_SpellEffect.modLifeAmt = 3;
        Cast(spell, nullptr, m_human);
        ResolveAll();
        EXPECT_EQ(Human().GetLife(), 20 + 3 * attackers) << attackers;
    }
    // No player to aim at: nothing changes.
    OnTable(Creature(1, 1), PLAYER_CPU).SetAttacking(true);
    Cast(Spell(CT_INSTANT, EFFECT_MODLIFE_XATTACKERS), nullptr, nullptr);
    ResolveAll();
    EXPECT_EQ(Human().GetLife(), 26);
    EXPECT_EQ(Cpu().GetLife(), 20);
}

TEST_F(EffectHandlersTest, GainLifeOrPreventFollowsTheChoiceAndX)
{
    struct Case {
        int choice;
        bool x;
        int life, prevent, shields;
    };
    const Case cases[] = {
        {1, false, 22, 0, 0}, {2, false, 20, 3, 3}, {0, false, 20, 0, 0}, {1, true, 26, 0, 0}, {2, true, 20, 9, 9},
    };
    for (const Case& c : cases) {
        Clear();
        SetUp();
        CARD& spell = Spell(CT_INSTANT, EFFECT_GAINLIFEORPREVENTDAMAGE);
        spell.m_SpellEffect.modLifeAmt = 2;
        spell.m_SpellEffect.preventDmgAmt = 3;
        spell.m_IsXSpell = c.x;
        CardActor& bear = OnTable(Creature(2, 2));
        CardActor& card = InHand(spell);
        if (c.x)
            card.GetPaidMana() = ManaCost(3, 0, 0, 0, 0, 0);
        Stack().CastSpell(&card, &bear, m_human, false, false);
        card.SetState(c.choice);
        ResolveAll();
        EXPECT_EQ(Human().GetLife(), c.life) << c.choice << c.x;
        EXPECT_EQ(Human().m_PreventDamage + bear.GetShields() - c.shields, c.prevent) << c.choice << c.x;
        EXPECT_EQ(bear.GetShields(), c.shields) << c.choice << c.x;
    }
}

TEST_F(EffectHandlersTest, RaiseTakesTheCardOutOfEitherGraveyard)
{
    struct Case {
        int owner, kind, type;
        bool held;
        int tapState;
    };
    const Case cases[] = {
        {PLAYER_HUMAN, RAISETUTOR_TOHAND, CT_CREATURE, true, TAP_OFF_TABLE},
        {PLAYER_CPU, RAISETUTOR_TOHAND, CT_CREATURE, true, TAP_OFF_TABLE},
        {PLAYER_CPU, RAISETUTOR_TOPLAY, CT_CREATURE, false, TAP_NEW},
        {PLAYER_HUMAN, RAISETUTOR_TOPLAYTAPPED, CT_CREATURE, false, TAP_TAPPED},
        {PLAYER_HUMAN, RAISETUTOR_TOPLAYTAPPED, CT_ARTIFACT, false, TAP_READY},  // only creatures turn
    };
    for (const Case& c : cases) {
        Clear();
        SetUp();
        CardActor& dead = OnTable(Define(c.type, ManaCost(1, 0, 0, 0, 0, 0), 2, 2), c.owner);
        PutCardIntoGraveyard(&dead);
        ASSERT_EQ(GetPlayerState(c.owner)->m_GraveyardCount, 1);
        CARD& spell = Spell(CT_SORCERY, EFFECT_RAISE);
        spell.m_SpellEffect.raiseTutorType = c.kind;
        Cast(spell, &dead, nullptr);
        ResolveAll();
        EXPECT_EQ(GetPlayerState(c.owner)->m_GraveyardCount, 0) << c.owner << c.kind;
        EXPECT_EQ(dead.IsHeld(), c.held) << c.owner << c.kind;
        EXPECT_EQ(dead.GetTapState(), c.tapState) << c.owner << c.kind << c.type;
        EXPECT_TRUE(dead.IsNotLeaving());
    }
}

// A target that has left the zone its target record names between cast and resolution is no longer aimed at.
TEST_F(EffectHandlersTest, ATargetGoneFromItsZoneIsLeftAlone)
{
    // Flying for a chosen creature: the creature dies before resolution, and the source does not fly instead.
    CARD& wings = Creature(1, 1);
    wings.m_Ability.costType = COSTTYPE_NOTAP;
    wings.m_Ability.effect.effectType = EFFECT_ADDFLYING;
    wings.m_Ability.effect.needsTarget = true;
    wings.m_Ability.target.state = INPLAY;
    wings.m_Ability.target.type = TT_CREATURE;
    CardActor& bird = OnTable(wings);
    CardActor& chosen = OnTable(Creature(2, 2));
    Stack().ActivateAbility(&bird, &chosen, nullptr, false);
    chosen.LeavePlay(LEAVE_DESTROY);
    ResolveAll();
    EXPECT_EQ(Stack().GetCount(), 0);
    EXPECT_FALSE(bird.GetStats().flying);

    // A pump of its own creature, which went back to the hand before resolution.
    CARD& shade = Creature(1, 1);
    shade.m_Ability.costType = COSTTYPE_NOTAP;
    shade.m_Ability.effect.effectType = EFFECT_PTMOD_MANAPUMP;
    shade.m_Ability.effect.powerModAmt = 1;
    shade.m_Ability.target.state = INPLAY;
    shade.m_Ability.target.type = TT_SELF;
    CardActor& pumped = OnTable(shade);
    Stack().ActivateAbility(&pumped, nullptr, nullptr, false);
    pumped.ClearPlayState(true);
    ResolveAll();
    EXPECT_EQ(pumped.GetPumpCount(), 0);

    // A raise into play whose card another raise took from the graveyard to the hand first.
    CARD& toPlay = Spell(CT_SORCERY, EFFECT_RAISE);
    toPlay.m_SpellEffect.raiseTutorType = RAISETUTOR_TOPLAY;
    toPlay.m_SpellTarget.state = GRAVEYARD;
    CARD& toHand = Spell(CT_INSTANT, EFFECT_RAISE);
    toHand.m_SpellEffect.raiseTutorType = RAISETUTOR_TOHAND;
    toHand.m_SpellTarget.state = GRAVEYARD;
    CardActor& dead = OnTable(Creature(2, 2));
    PutCardIntoGraveyard(&dead);
    CardActor& late = InHand(toPlay);
    Stack().CastSpell(&late, &dead, nullptr, false, false);
    Cast(toHand, &dead, nullptr);
    ResolveAll();
    EXPECT_EQ(Stack().GetCount(), 0);
    EXPECT_TRUE(dead.IsHeld());
    EXPECT_EQ(dead.GetTapState(), TAP_OFF_TABLE);
    EXPECT_FALSE(dead.CanAct());
    EXPECT_FALSE(late.IsNotLeaving());  // the spent sorcery still goes to the graveyard
}

TEST_F(EffectHandlersTest, CpuDiscardsAndDrawsOnline)
{
    SetMode(3);
    CardActor& first = InHand(Creature(1, 1), PLAYER_CPU);
    CardActor& second = InHand(Creature(1, 1), PLAYER_CPU);
    CARD& discard = Spell(CT_SORCERY, EFFECT_OPPONENTDISCARD);
    discard.m_SpellEffect.discardAmt = 3;
    Cast(discard, nullptr, m_cpu);
    ResolveAll();
    EXPECT_FALSE(first.IsNotLeaving());
    EXPECT_FALSE(second.IsNotLeaving()) << "more to discard than held: the hand empties and the loop ends";

    // A draw from an empty library loses.
    Cpu().m_LibraryCount = 0;
    Cpu().m_NextDrawIndex = 0;
    CARD& draw = Spell(CT_SORCERY, EFFECT_DRAWDISCARD);
    draw.m_SpellEffect.drawAmt = 2;
    Cast(draw, nullptr, m_cpu);
    ResolveAll();
    EXPECT_TRUE(Cpu().HasLost());

    // On the physical table the prompts carry it out: the stack waits.
    Clear();
    SetUp();
    InHand(Creature(1, 1), PLAYER_CPU);
    Cast(discard, nullptr, m_cpu);
    ResolveAll();
    EXPECT_TRUE(Stack().IsPaused());
}

TEST_F(EffectHandlersTest, EffectsWithoutAHandlerLeaveTheTargetAlone)
{
    for (const int effect : {EFFECT_PTMOD_LANDGROWTH, EFFECT_REMOVEFROMGAME, EFFECT_UNTAP}) {
        CardActor& target = OnTable(Creature(2, 2), PLAYER_CPU);
        target.SetTapState(TAP_TAPPED);
        Cast(Spell(CT_INSTANT, effect), &target, nullptr);
        ResolveAll();
        EXPECT_TRUE(target.IsNotLeaving()) << effect;
        EXPECT_EQ(target.GetTapState(), TAP_TAPPED) << effect;
        EXPECT_EQ(target.GetStats().power, 2) << effect;
    }
}

} // namespace
