#include "cards/GameLog.h"
#include "engine/core/PrivateHeap.h"
#include "engine/core/StringTable.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/TargetPrompt.h"
#include "rules/GameQueries.h"
#include "rules/ManaPool.h"
#include "rules/Targets.h"
#include "rules/Usability.h"
#include "tests/rules/RulesFixture.h"

namespace {

using rulestest::RulesTest;

class SpellStackTest : public RulesTest {
protected:
    SpellStack& Stack() { return GetSpellStack(); }

    CARD& Spell(int type, int effect, ManaCost cost = ManaCost(1, 1, 0, 0, 0, 0))
    {
        CARD& card = Define(type, cost);
        card.m_SpellEffect.effectType = effect;
        return card;
    }

    static int CountTappedLands()
    {
        int lands = 0;
        CountTappedLandsAndCreatures(PLAYER_CPU, &lands, nullptr);
        return lands;
    }

    // Resolves everything now.
    void ResolveAll()
    {
        Stack().m_State = STACK_RESOLVE;
        Stack().Resolve();
    }
};

TEST_F(SpellStackTest, CountdownsAndPriorityPerFlavour)
{
    struct Case {
        int mode, type, owner;
        int countdown, state;
    };
    const Case cases[] = {
        {1, CT_SORCERY, PLAYER_HUMAN, 50, STACK_OPEN},  {3, CT_SORCERY, PLAYER_HUMAN, 100, STACK_OPEN},
        {2, CT_CREATURE, PLAYER_HUMAN, 10, STACK_OPEN}, {2, CT_INSTANT, PLAYER_HUMAN, 10, STACK_HUMAN_ACTS},
        {4, CT_INSTANT, PLAYER_CPU, 0, STACK_CPU_ACTS},
    };
    for (const Case& c : cases) {
        Clear();
        SetMode(c.mode);
        CardActor& card = InHand(Spell(c.type, EFFECT_NONE), c.owner);
        Stack().CastSpell(&card, nullptr, nullptr, false, false);
        EXPECT_EQ(Stack().m_Countdown, c.countdown) << c.mode;
        EXPECT_EQ(Stack().m_State, c.state) << c.mode;
        EXPECT_EQ(card.GetStackIndex(), 0);
        EXPECT_TRUE(card.IsOnStack());
        EXPECT_FALSE(card.IsHeld());
    }
    // A window closing while open hands the stack to resolution.
    Stack().m_State = STACK_OPEN;
    Stack().m_Countdown = 2;
    EXPECT_TRUE(Stack().TickCountdown());
    EXPECT_FALSE(Stack().TickCountdown());
    EXPECT_EQ(Stack().m_State, STACK_RESOLVE);
    EXPECT_FALSE(Stack().TickCountdown());
}

TEST_F(SpellStackTest, AutomaticPlayerTargetsAndCounterBelow)
{
    CARD& drain = Spell(CT_SORCERY, EFFECT_MODLIFE);
    drain.m_SpellTarget.opponent = true;
    CardActor& spell = InHand(drain);
    Stack().CastSpell(&spell, nullptr, nullptr, false, false);
    EXPECT_EQ(Stack().GetTopEntry()->targetPlayer, m_cpu);

    CARD& counter = Spell(CT_INSTANT, EFFECT_COUNTER);
    CardActor& answer = InHand(counter, PLAYER_CPU);
    Stack().CastSpell(&answer, nullptr, nullptr, false, false);
    EXPECT_EQ(Stack().GetTopEntry()->targetCard, &spell);

    Clear();
    SetUp();
    CardActor& lonely = InHand(Spell(CT_INSTANT, EFFECT_COUNTER), PLAYER_CPU);
    Stack().CastSpell(&lonely, nullptr, nullptr, false, false);
    EXPECT_EQ(Stack().GetTopEntry()->targetCard, nullptr);
    ResolveAll();  // fizzles, nothing to counter
    EXPECT_EQ(Stack().GetCount(), 0);
}

// A counter answers a spell on the stack only: never an ability's source on the table, nor combat damage.
TEST_F(SpellStackTest, ACounterAnswersOnlyASpell)
{
    enum Below { SPELL, ABILITY, COMBAT_DAMAGE, NOTHING };
    struct Row {
        const char* name;
        Below below;
        bool aimAtSource;
        bool countered;
    };
    const Row rows[] = {
        {"a spell below", SPELL, false, true},
        {"an ability below", ABILITY, false, false},
        {"an ability below, its source named", ABILITY, true, false},
        {"combat damage below", COMBAT_DAMAGE, false, false},
        {"an empty stack", NOTHING, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Clear();
        SetUp();
        SetMode(3);  // combat damage waits for no dragged card
        CARD& totem = Define(CT_ARTIFACT);
        totem.m_Ability.costType = COSTTYPE_NOTAP;
        totem.m_Ability.effect.effectType = EFFECT_MODLIFE;
        totem.m_Ability.effect.modLifeAmt = 2;
        totem.m_Ability.target.caster = true;
        CardActor& source = OnTable(totem, PLAYER_CPU);
        CardActor& ogre = InHand(Creature(3, 3), PLAYER_CPU);
        switch (row.below) {
        case SPELL:
            Stack().CastSpell(&ogre, nullptr, nullptr, false, false);
            break;
        case ABILITY:
            Stack().ActivateAbility(&source, nullptr, nullptr, false);
            break;
        case COMBAT_DAMAGE:
            Stack().PushCombatDamage(PLAYER_CPU, 1);
            break;
        case NOTHING:
            break;
        }
        CardActor& counter = InHand(Spell(CT_INSTANT, EFFECT_COUNTER));
        Stack().CastSpell(&counter, row.aimAtSource ? &source : nullptr, nullptr, false, false);
        EXPECT_EQ(Stack().GetTopEntry()->targetCard, row.below == SPELL ? &ogre : row.aimAtSource ? &source : nullptr);
        ResolveAll();
        EXPECT_EQ(Stack().GetCount(), 0);
        EXPECT_TRUE(source.CanAct());
        EXPECT_EQ(Cpu().GetLife(), row.below == ABILITY ? 22 : 20);
        if (row.below == SPELL) {
            EXPECT_EQ(ogre.IsNotLeaving(), !row.countered);
        }
        EXPECT_FALSE(counter.IsNotLeaving());  // the spent counter goes to the graveyard
    }
}

TEST_F(SpellStackTest, AFullStackRefusesThe41stPush)
{
    const CARD& bolt = Spell(CT_INSTANT, EFFECT_NONE);
    for (int i = 0; i < STACK_CAPACITY + 1; ++i)
        Stack().CastSpell(&InHand(bolt), nullptr, nullptr, false, false);
    EXPECT_EQ(Stack().GetCount(), STACK_CAPACITY);
}

TEST_F(SpellStackTest, CreaturesResolveSickUnlessHasty)
{
    CARD& hasty = Creature(2, 2);
    hasty.m_Stats.haste = true;
    CardActor& a = InHand(Creature(2, 2));
    CardActor& b = InHand(hasty);
    CardActor& c = InHand(Define(CT_ARTIFACT));
    for (CardActor* card : {&a, &b, &c})
        Stack().CastSpell(card, nullptr, nullptr, false, false);
    ResolveAll();
    EXPECT_EQ(a.GetTapState(), TAP_NEW);
    EXPECT_EQ(b.GetTapState(), TAP_READY);
    EXPECT_EQ(c.GetTapState(), TAP_READY);
    EXPECT_EQ(Stack().GetCount(), 0);
    EXPECT_TRUE(a.CanAct());
}

TEST_F(SpellStackTest, DamageHandlerTargetPresentGoneAndX)
{
    CARD& bolt = Spell(CT_INSTANT, EFFECT_DAMAGE);
    bolt.m_SpellEffect.damageAmt = 3;
    bolt.m_SpellEffect.needsTarget = true;
    CARD& fireball = Spell(CT_SORCERY, EFFECT_DAMAGE);
    fireball.m_SpellEffect.damageAmt = 1;
    fireball.m_IsXSpell = true;

    CardActor& bear = OnTable(Creature(2, 2), PLAYER_CPU);
    CardActor& first = InHand(bolt);
    Stack().CastSpell(&first, &bear, nullptr, false, false);
    ResolveAll();
    EXPECT_FALSE(bear.IsNotLeaving());
    EXPECT_FALSE(first.IsNotLeaving());  // the spent instant goes to the graveyard

    // The target left before resolution: the spell fizzles and still goes.
    CardActor& ogre = OnTable(Creature(3, 3), PLAYER_CPU);
    CardActor& second = InHand(bolt);
    Stack().CastSpell(&second, &ogre, nullptr, false, false);
    ogre.LeavePlay(LEAVE_DESTROY);
    ResolveAll();
    EXPECT_EQ(Cpu().GetLife(), 20);
    EXPECT_FALSE(second.IsNotLeaving());

    CardActor& x = InHand(fireball);
    x.GetPaidMana() = ManaCost(4, 0, 0, 0, 0, 0);
    Stack().CastSpell(&x, nullptr, m_cpu, false, false);
    ResolveAll();
    EXPECT_EQ(Cpu().GetLife(), 16);
    EXPECT_EQ(x.GetPaidMana().Total(), 0);
}

TEST_F(SpellStackTest, LifeHandlers)
{
    struct Case {
        int effect, amount, caster;
        bool targetHuman;
        int humanLife, cpuLife;
    };
    const Case cases[] = {
        {EFFECT_MODLIFE, 4, PLAYER_HUMAN, true, 24, 20},
        {EFFECT_MODLIFE, -3, PLAYER_HUMAN, false, 20, 17},
        {EFFECT_DRAINLIFE, 2, PLAYER_CPU, true, 18, 22},
        {EFFECT_DRAINLIFE, 2, PLAYER_HUMAN, true, 20, 20},  // own drain fizzles
        {EFFECT_DRAINLIFE, 3, PLAYER_HUMAN, false, 23, 17},
    };
    for (const Case& c : cases) {
        Clear();
        SetUp();
        CARD& card = Spell(CT_SORCERY, c.effect);
        card.m_SpellEffect.modLifeAmt = c.amount;
        card.m_SpellEffect.drainLifeAmt = c.amount;
        CardActor& spell = InHand(card, c.caster);
        Stack().CastSpell(&spell, nullptr, c.targetHuman ? m_human : m_cpu, false, false);
        ResolveAll();
        EXPECT_EQ(Human().GetLife(), c.humanLife) << c.effect;
        EXPECT_EQ(Cpu().GetLife(), c.cpuLife) << c.effect;
    }
}

TEST_F(SpellStackTest, PreventionDestroyRegenerateUnsummonTapAndFlying)
{
    CARD& shield = Spell(CT_INSTANT, EFFECT_PREVENTDAMAGE);
    shield.m_SpellEffect.preventDmgAmt = 2;
    CardActor& bear = OnTable(Creature(2, 2));
    Stack().CastSpell(&InHand(shield), &bear, nullptr, false, false);
    Stack().CastSpell(&InHand(shield), nullptr, m_human, false, false);
    ResolveAll();
    EXPECT_EQ(bear.GetShields(), 2);

    CARD& regrow = Define(CT_CREATURE, ManaCost(), 2, 2);
    regrow.m_Ability.costType = COSTTYPE_NOTAP;
    regrow.m_Ability.effect.effectType = EFFECT_REGENERATE;
    regrow.m_Ability.target.type = TT_SELF;
    CardActor& troll = OnTable(regrow, PLAYER_CPU);
    Stack().ActivateAbility(&troll, nullptr, nullptr, false);
    EXPECT_EQ(Stack().GetTopEntry()->targetCard, &troll);
    ResolveAll();
    EXPECT_TRUE(troll.HasRegenerationShield());
    CARD& kill = Spell(CT_INSTANT, EFFECT_DESTROY);
    Stack().CastSpell(&InHand(kill), &troll, nullptr, false, false);
    ResolveAll();
    EXPECT_TRUE(troll.IsNotLeaving());
    EXPECT_EQ(troll.GetTapState(), TAP_TAPPED);
    kill.m_SpellEffect.noRegen = true;
    troll.SetRegenerationShield(true);
    Stack().CastSpell(&InHand(kill), &troll, nullptr, false, false);
    ResolveAll();
    EXPECT_FALSE(troll.IsNotLeaving());

    CardActor& wolf = OnTable(Creature(2, 2), PLAYER_CPU);
    Stack().CastSpell(&InHand(Spell(CT_INSTANT, EFFECT_TAP)), &wolf, nullptr, false, false);
    ResolveAll();
    EXPECT_EQ(wolf.GetTapState(), TAP_TAPPED);
    Stack().CastSpell(&InHand(Spell(CT_INSTANT, EFFECT_UNSUMMON)), &wolf, nullptr, false, false);
    ResolveAll();
    EXPECT_TRUE(wolf.IsHeld());
    EXPECT_EQ(wolf.GetTapState(), TAP_OFF_TABLE);

    // Flying until end of turn: the chosen creature, else the card itself.
    CARD& wings = Define(CT_CREATURE, ManaCost(), 1, 1);
    wings.m_Ability.costType = COSTTYPE_NOTAP;
    wings.m_Ability.effect.effectType = EFFECT_ADDFLYING;
    CardActor& bird = OnTable(wings);
    CardActor& friendCard = OnTable(Creature(3, 3));
    Stack().ActivateAbility(&bird, &friendCard, nullptr, false);
    ResolveAll();
    EXPECT_TRUE(friendCard.GetStats().flying);
    EXPECT_FALSE(bird.GetStats().flying);
    Stack().ActivateAbility(&bird, nullptr, nullptr, false);
    ResolveAll();
    EXPECT_TRUE(bird.GetStats().flying);
    friendCard.UpdatePowerToughness(true);
    EXPECT_FALSE(friendCard.GetStats().flying);
}

TEST_F(SpellStackTest, ManaSinkCounterAgainstTheCpu)
{
    // The line's text as the string table holds it.
    CreatePrivateHeap();
    AddString(u"ONL_GL_OppPaysManaSink", u"Opponent taps %0 land to counter %1.");
    CARD& sink = Spell(CT_INSTANT, EFFECT_COUNTER);
    sink.m_SpellEffect.counterManaSink = ManaCost(3, 0, 0, 0, 0, 0);
    std::u16string_view name = u"Savevnel";
    std::copy(name.begin(), name.end(), sink.m_Name.begin());
    const CARD& island = Land(ManaCost(0, 0, 0, 1, 0, 0));
    struct Case {
        int sources;
        bool countered;
    };
    for (const Case c : {Case{3, false}, Case{2, true}}) {
        Clear();
        SetUp();
        SetMode(3);
        for (int i = 0; i < c.sources; ++i)
            OnTable(island, PLAYER_CPU);
        UpdateCpuAvailableMana();
        CardActor& golem = InHand(Define(CT_ARTIFACT, ManaCost(2, 0, 0, 0, 0, 0)), PLAYER_CPU);
        Stack().CastSpell(&golem, nullptr, nullptr, false, false);
        Stack().CastSpell(&InHand(sink), nullptr, nullptr, false, false);
        Stack().m_State = STACK_RESOLVE;
        Stack().Resolve();
        EXPECT_EQ(golem.IsNotLeaving(), !c.countered) << c.sources;
        if (!c.countered) {
            ASSERT_GT(GameLog::GetCount(), 0);
            const std::u16string_view last = GameLog::GetVisibleLine(std::min(GameLog::GetCount(), 4) - 1);
            EXPECT_TRUE(last.ends_with(u"  Opponent taps 3 land to counter Savevnel.")) << last.size();
            EXPECT_EQ(CountTappedLands(), 3);
        }
    }
    ClearStringTables();
    DestroyPrivateHeap();
}

TEST_F(SpellStackTest, GroupDamageAndEnchantAndPump)
{
    CARD& quake = Spell(CT_SORCERY, EFFECT_DAMAGE);
    quake.m_SpellEffect.damageAmt = 2;
    quake.m_SpellEffect.targetIsGroup = true;
    quake.m_SpellTarget.type = TT_CREATURE;
    quake.m_SpellTarget.owner = OWNER_EITHER;
    quake.m_SpellTarget.state = INPLAY;
    quake.m_SpellTarget.color = ManaCost(1, 1, 1, 1, 1, 1);
    CardActor& small = OnTable(Creature(1, 2), PLAYER_CPU);
    CardActor& big = OnTable(Creature(3, 3));
    Stack().CastSpell(&InHand(quake), nullptr, nullptr, false, false);
    ResolveAll();
    EXPECT_FALSE(small.IsNotLeaving());
    EXPECT_TRUE(big.IsNotLeaving());
    EXPECT_EQ(big.GetDamage(), 2);

    CARD& aura = Spell(CT_ENCHANT, EFFECT_ENCHANT);
    aura.m_Ability.effect.effectType = EFFECT_PTMOD_MANAPUMP;
    aura.m_Ability.costType = COSTTYPE_NOTAP;
    aura.m_Ability.effect.powerModAmt = 1;
    CardActor& enchant = InHand(aura);
    Stack().CastSpell(&enchant, &big, nullptr, false, false);
    ResolveAll();
    EXPECT_EQ(enchant.GetHost(), &big);
    Stack().ActivateAbility(&enchant, nullptr, nullptr, false);
    ResolveAll();
    EXPECT_EQ(big.GetStats().power, 4);

    // Enchanting a target that is gone: the aura goes to the graveyard.
    CardActor& lost = InHand(aura);
    CardActor& doomed = OnTable(Creature(1, 1));
    Stack().CastSpell(&lost, &doomed, nullptr, false, false);
    doomed.LeavePlay(LEAVE_DESTROY);
    ResolveAll();
    EXPECT_FALSE(lost.IsNotLeaving());
}

// Pumps waiting on the stack count for the creature they are aimed at, never for another one.
TEST_F(SpellStackTest, PendingPumpCountsOnlyTheEntriesAimedAtTheCard)
{
    CARD& pumper = Creature(1, 1);
    pumper.m_Ability.effect.effectType = EFFECT_PTMOD_MANAPUMP;
    pumper.m_Ability.costType = COSTTYPE_NOTAP;
    pumper.m_Ability.effect.powerModAmt = 1;
    pumper.m_Ability.effect.toughModAmt = 2;
    CardActor& first = OnTable(pumper);
    CardActor& second = OnTable(pumper);
    CardActor& idle = OnTable(pumper);
    Stack().ActivateAbility(&first, &first, nullptr, false);
    Stack().ActivateAbility(&first, &first, nullptr, false);
    Stack().ActivateAbility(&second, &second, nullptr, false);
    struct Case {
        const CardActor* card;
        int power;
        int toughness;
    };
    const Case cases[] = {{&first, 2, 4}, {&second, 1, 2}, {&idle, 0, 0}, {nullptr, 0, 0}};
    for (const Case& c : cases) {
        const PendingPump pump = Stack().GetPendingPump(c.card);
        EXPECT_EQ(pump.power, c.power) << (c.card == &first ? "first" : c.card == &second ? "second" : "other");
        EXPECT_EQ(pump.toughness, c.toughness) << (c.card == &first ? "first" : c.card == &second ? "second" : "other");
    }
}

TEST_F(SpellStackTest, CombatDamageEntriesDealAndEndCombat)
{
    CardActor& attacker = OnTable(Creature(2, 2));
    attacker.SetAttacking(true);
    AssignCombatDamage(PLAYER_HUMAN, false);
    Stack().PushCombatDamage(PLAYER_HUMAN, 1);
    EXPECT_EQ(Stack().GetTopCard(), nullptr);
    EXPECT_EQ(Stack().m_State, STACK_OPEN);
    ResolveAll();
    EXPECT_EQ(Cpu().GetLife(), 18);
    EXPECT_FALSE(attacker.IsAttacking());
}

TEST_F(SpellStackTest, AddAbilityToStackIsReplacedByTheAbility)
{
    CARD& card = Spell(CT_SORCERY, EFFECT_ADDABILITYTOSTACK);
    card.m_Ability.effect.effectType = EFFECT_MODLIFE;
    card.m_Ability.effect.modLifeAmt = 5;
    card.m_Ability.costType = COSTTYPE_NOTAP;
    CardActor& spell = InHand(card);
    Stack().CastSpell(&spell, nullptr, m_human, false, false);
    Stack().m_State = STACK_RESOLVE;
    // The spell resolves and its ability takes its place, waiting for the human.
    Stack().Resolve();
    ASSERT_EQ(Stack().GetCount(), 1);
    EXPECT_TRUE(Stack().GetTopEntry()->isAbility);
    EXPECT_EQ(Stack().GetTopEntry()->targetPlayer, m_human);
    EXPECT_EQ(Stack().m_State, STACK_HUMAN_ACTS);
    EXPECT_EQ(Human().GetLife(), 20);
    ResolveAll();
    EXPECT_EQ(Human().GetLife(), 25);
}

TEST_F(SpellStackTest, QuietTargetTestsByOwnerColourStateAndType)
{
    CARD& source = Spell(CT_INSTANT, EFFECT_DESTROY);
    source.m_SpellTarget.owner = OWNER_OPPONENT;
    source.m_SpellTarget.state = UNTAPPED;
    source.m_SpellTarget.type = TT_CREATURE | TT_ARTIFACT;
    source.m_SpellTarget.color = ManaCost(1, 0, 1, 0, 0, 0);
    CardActor& caster = InHand(source);
    CardActor& greenCpu = OnTable(Creature(1, 1, ManaCost(0, 0, 1, 0, 0, 0)), PLAYER_CPU);
    CardActor& greenMine = OnTable(Creature(1, 1, ManaCost(0, 0, 1, 0, 0, 0)));
    CardActor& redCpu = OnTable(Creature(1, 1, ManaCost(0, 1, 0, 0, 0, 0)), PLAYER_CPU);
    CardActor& sickCpu = OnTable(Creature(1, 1, ManaCost(0, 0, 1, 0, 0, 0)), PLAYER_CPU);
    sickCpu.SetTapState(TAP_NEW);
    CardActor& golem = OnTable(Define(CT_ARTIFACT, ManaCost(3, 0, 0, 0, 0, 0)), PLAYER_CPU);
    CardActor& sorcery = OnTable(Define(CT_SORCERY, ManaCost(0, 0, 1, 0, 0, 0)), PLAYER_CPU);
    const int rejects = GetTargetRejectCount();
    struct Case {
        CardActor* candidate;
        bool accepted;
    };
    const Case cases[] = {{&greenCpu, true}, {&greenMine, false}, {&redCpu, false},
                          {&sickCpu, false}, {&golem, true},      {&sorcery, false}};
    for (const Case& c : cases)
        EXPECT_EQ(ChooseTarget(&caster, c.candidate, false, true, false, nullptr) != nullptr, c.accepted);
    EXPECT_EQ(GetTargetRejectCount(), rejects);  // quiet calls change nothing
    EXPECT_FALSE(IsLandTargetPending());
    source.m_SpellTarget.color = ManaCost();
    EXPECT_EQ(ChooseTarget(&caster, &greenCpu, false, true, false, nullptr), nullptr);
}

TEST_F(SpellStackTest, UsabilityNeedsALegalTarget)
{
    CARD& plain = Spell(CT_SORCERY, EFFECT_MODLIFE);
    EXPECT_TRUE(CanUseCardNow(&InHand(plain), false));
    CARD& counter = Spell(CT_INSTANT, EFFECT_COUNTER);
    counter.m_SpellTarget.owner = OWNER_OPPONENT;
    counter.m_SpellTarget.state = ON_STACK;
    counter.m_SpellTarget.type = TT_CREATURE;
    counter.m_SpellTarget.color = ManaCost(1, 1, 1, 1, 1, 1);
    CardActor& answer = InHand(counter);
    EXPECT_FALSE(CanUseCardNow(&answer, false));
    CardActor& ogre = InHand(Creature(3, 3, ManaCost(0, 1, 0, 0, 0, 0)), PLAYER_CPU);
    Stack().CastSpell(&ogre, nullptr, nullptr, false, false);
    EXPECT_TRUE(CanUseCardNow(&answer, false));

    CARD& kill = Spell(CT_INSTANT, EFFECT_DESTROY);
    kill.m_SpellEffect.needsTarget = true;
    kill.m_SpellTarget.owner = OWNER_EITHER;
    kill.m_SpellTarget.state = INPLAY;
    kill.m_SpellTarget.type = TT_ENCHANTMENT;
    kill.m_SpellTarget.color = ManaCost(1, 1, 1, 1, 1, 1);
    EXPECT_FALSE(CanUseCardNow(&InHand(kill), false));
    kill.m_SpellTarget.opponent = true;
    EXPECT_TRUE(CanUseCardNow(&InHand(kill), false));
}

TEST_F(SpellStackTest, ManaPumpActivatesOncePerPaidCost)
{
    struct Case {
        ManaCost cost, pool;
        int activations;
        ManaCost left;
    };
    const ManaCost black(0, 0, 0, 0, 1, 0);
    const Case cases[] = {
        {black, ManaCost(0, 0, 0, 0, 3, 0), 3, ManaCost()},
        {black, ManaCost(), 1, ManaCost()},  // paid before this step: once
        {ManaCost(1, 0, 0, 0, 1, 0), ManaCost(1, 0, 0, 0, 2, 0), 1, ManaCost(0, 0, 0, 0, 1, 0)},  // the rest stays
        {black, ManaCost(0, 0, 0, 0, 50, 0), 40, ManaCost(0, 0, 0, 0, 10, 0)},  // capped
        {ManaCost(), ManaCost(0, 0, 0, 0, 2, 0), 1, ManaCost(0, 0, 0, 0, 2, 0)},  // a free pump once
    };
    for (const Case& c : cases) {
        Clear();
        SetUp();
        CARD& shade = Define(CT_CREATURE, ManaCost(), 1, 1);
        shade.m_Ability.costType = COSTTYPE_NOTAP;
        shade.m_Ability.cost = c.cost;
        shade.m_Ability.effect.effectType = EFFECT_PTMOD_MANAPUMP;
        shade.m_Ability.effect.powerModAmt = 1;
        CardActor& card = OnTable(shade);
        Human().m_ManaPool = c.pool;
        EXPECT_EQ(FinishAbilityPayment(&card), c.activations) << c.activations;
        EXPECT_EQ(Stack().GetCount(), c.activations);
        EXPECT_EQ(Human().m_ManaPool, c.left) << c.activations;
    }
}

TEST_F(SpellStackTest, ACardlessEntryGoesAndThePromptCodeFollowsThePause)
{
    Stack().CastSpell(nullptr, nullptr, m_human, false, false);
    ASSERT_EQ(Stack().GetCount(), 1);
    ResolveAll();
    EXPECT_EQ(Stack().GetCount(), 0);

    struct Case {
        int effect, code;
    };
    for (const Case c : {Case{EFFECT_OPPONENTDISCARD, STACK_PROMPT_OTHER}, Case{EFFECT_TUTOR, STACK_PROMPT_LIBRARY}}) {
        Clear();
        SetUp();
        InHand(Creature(1, 1), PLAYER_CPU);
        EXPECT_EQ(Stack().m_PromptCode, STACK_PROMPT_NONE);
        CARD& card = Spell(CT_SORCERY, c.effect);
        card.m_SpellEffect.discardAmt = 1;
        Stack().CastSpell(&InHand(card), nullptr, m_cpu, false, false);
        ResolveAll();
        ASSERT_TRUE(Stack().IsPaused()) << c.effect;
        EXPECT_EQ(Stack().m_PromptCode, c.code) << c.effect;
        Stack().EndResolution();
        EXPECT_EQ(Stack().m_PromptCode, STACK_PROMPT_NONE);
    }
}

} // namespace
