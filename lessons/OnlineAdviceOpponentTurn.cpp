// The advice of the opponent's turn: instants at its end step, its attack (the learner's blocks, instants that
// save the learner, a pump for a blocker) and the damage dealt to the learner's blockers.
#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/core/TextHelpers.h"
#include "lessons/OnlineAdviceFamilies.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/GameQueries.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <array>

namespace {

constexpr int INSTANT_BIT = 16;
constexpr int HEAL_AMOUNT = 3;

Advice Make(int number, std::u16string_view key, int height)
{
    Advice a;
    a.number = number;
    a.key = key;
    a.height = height;
    return a;
}

bool IsUnblockedOpponentAttacker(const CardActor& c)
{
    return c.GetOwner() == PLAYER_CPU && c.GetCardType() == CT_CREATURE && c.IsAttacking() && c.IsNotLeaving() &&
           c.CountBlockers() == 0 && !c.IsBlocked();
}

std::vector<CardActor*> UnblockedOpponentAttackers()
{
    std::vector<CardActor*> list;
    for (CardActor* c : GetCardActors())
        if (IsUnblockedOpponentAttacker(*c))
            list.push_back(c);
    return list;
}

bool AnyAffordable(std::initializer_list<int> ids)
{
    for (const int id : ids)
        if (AffordableLearnerCard(id) != nullptr)
            return true;
    return false;
}

int LearnerLifeAndShield()
{
    const PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    return human.GetLife() + human.m_PreventDamage;
}

AdviceChoice EndStepInstants(const AdviceSituation& s, OnlineAdvisorState& m)
{
    if (!s.Stop(1, 9) || s.advisedCard != nullptr || s.promptCode != 0)
        return std::nullopt;
    bool useful = (FindCardActorByState(PLAYER_HUMAN) & INSTANT_BIT) != 0 && AnyAffordable({CD_SAVOTNEL, CD_VORENTON});
    for (const int id : {CD_FALARSAR, CD_ESKARMAR, CD_WENORTH, CD_PRAUNRIK})
        if (const CardActor* const card = AffordableLearnerCard(id); card != nullptr && IsInstantUsefulNow(card, false, false))
            useful = true;
    if (useful) {
        Advice a = Make(78, s.turnNumber <= 2 ? u"ONL_EOTInstants1" : u"ONL_Generic_PlayInstants", 200);
        a.width = 340;
        if (s.turnNumber > 2)
            a.args = {KeyString(u"ONL_MOVEALONG_SUFX")};
        else if (IsNewAdvice(m, 78))
            a.voice.push_back(OnlineClip(u"b240"));
        return a;
    }
    Advice a = Make(78, s.turnNumber <= 1 ? u"ONL_EOTInstants2_first" : u"ONL_EOTInstants2", 180);
    a.arrow = true;
    return a;
}

// 62: nothing of the learner can block; the attack goes through unblocked.
Advice Defenceless(bool noFly)
{
    const bool instant = AnyAffordable({CD_SAVOTNEL, CD_ESKARMAR, CD_FALARSAR, CD_VORENTON});
    const bool noDudes = CountReadyCreatures(PLAYER_HUMAN) == 0;
    Advice a;
    if (!instant) {
        a = noFly ? Make(62, u"ONL_DefenselessPlayer1_nofly", 260)
                  : (noDudes ? Make(62, u"ONL_DefenselessPlayer1_nodudes", 240) : Make(62, u"ONL_DefenselessPlayer1", 240));
        a.arrow = true;
        a.ok = false;
    } else {
        a = noFly ? Make(62, u"ONL_DefenselessPlayer2_nofly", 280)
                  : (noDudes ? Make(62, u"ONL_DefenselessPlayer2_nodudes", 260) : Make(62, u"ONL_DefenselessPlayer2", 260));
    }
    a.busy = true;
    a.skipsBlocking = true;
    return a;
}

AdviceChoice HowToBlock(OnlineAdvisorState& m, const std::vector<CardActor*>& unblocked, bool canBlockAny)
{
    const int attackers = CountAttackingCreatures(PLAYER_CPU);
    const int fliers = CountCreaturesWithFlagsInCombat(PLAYER_CPU, COMBAT_FLYING, true, false);
    const int power = SumAttackingPower(PLAYER_CPU);
    Advice a;
    if (attackers == 1) {
        if (!canBlockAny || unblocked.empty())
            return std::nullopt;
        a = fliers == 0 ? Make(58, u"ONL_BlockLoneAttacker", 280) : Make(59, u"ONL_BlockLoneFlyingAttacker", 280);
        a.args = {ActorName(unblocked.front()), IntToWString(power)};
    } else {
        a = fliers == 0 ? Make(60, u"ONL_BlockAttackers", 260) : Make(61, u"ONL_BlockAttackers_Flying", 300);
    }
    if (m.blockBudgets[static_cast<std::size_t>(a.number - 58)] == 0)
        return std::nullopt;
    a.width = 380;
    a.ok = false;
    return a;
}

// 64 or 28: the unblocked attack would kill the learner; an instant against one attacker, or a heal, saves it.
AdviceChoice SavingInstant(OnlineAdvisorState& m, std::vector<CardActor*> unblocked)
{
    int total = 0;
    for (const CardActor* c : unblocked)
        total += c->GetStats().power;
    const int life = LearnerLifeAndShield();
    if (total < life || (FindCardActorByState(PLAYER_HUMAN) & INSTANT_BIT) == 0)
        return std::nullopt;
    std::array<CardActor*, UNBLOCKED_LIST_SIZE>& list = GetUnblockedAttackers();
    list.fill(nullptr);
    const int count = static_cast<int>(std::min<std::size_t>(unblocked.size(), list.size()));
    std::copy_n(unblocked.begin(), count, list.begin());
    SortUnblockedByPower(count);
    for (; m.unblockedIndex < count; ++m.unblockedIndex) {
        const CardActor* const a = list[static_cast<std::size_t>(m.unblockedIndex)];
        if (a == nullptr)
            continue;
        const int toughness = a->GetStats().toughness + a->GetShields() - a->GetDamage();
        bool kill = false;
        for (const int id : {CD_SAVOTNEL, CD_VORENTON})
            if (const CardActor* d = AffordableLearnerCard(id); d != nullptr && d->GetSpellEffect()->damageAmt >= toughness)
                kill = true;
        if (const CardActor* f = AffordableLearnerCard(CD_FALARSAR); f != nullptr && CanSpellTarget(a, f))
            kill = true;
        const bool saves = life + a->GetStats().power - total > 0;
        if (!kill) {
            const CardActor* const wenorth = AffordableLearnerCard(CD_WENORTH);
            const CardActor* const nesurgast = AffordableLearnerCard(CD_NESURGAST);
            const int nesurgastAmount = HEAL_AMOUNT * CountAttackingCreatures(PLAYER_CPU);
            const CardActor* heal = nullptr;
            int amount = 0;
            if (wenorth != nullptr && life + HEAL_AMOUNT - total > 0) {
                heal = wenorth;
                amount = HEAL_AMOUNT;
            } else if (nesurgast != nullptr && life + nesurgastAmount - total > 0) {
                heal = nesurgast;
                amount = nesurgastAmount;
            }
            if (heal != nullptr) {
                Advice h = Make(28, u"ONL_HealingSpellSavesPlayer", 180);
                h.args = {ActorName(heal), IntToWString(amount)};
                h.ok = false;
                return h;
            }
            kill = AffordableLearnerCard(CD_ESKARMAR) != nullptr;
        }
        if (kill && saves) {
            Advice k = Make(64, u"ONL_BlockInstantSavesPlayer", 200);
            k.args = {ActorName(a)};
            k.ok = false;
            if (IsNewAdvice(m, 64)) {
                AddCardClip(k, a->GetId(), u"a");
                k.voice.push_back(OnlineClip(u"b210"));
            }
            return k;
        }
    }
    return std::nullopt;
}

// 65: a pump would let the learner's blocker survive a blocked attacker of the opponent's.
AdviceChoice PumpBlocker(OnlineAdvisorState& m)
{
    if (AffordableLearnerCard(CD_PRAUNRIK) == nullptr)
        return std::nullopt;
    const std::vector<CardActor*> cards = GetCardActors();
    int position = m.pumpCursor.Position();
    for (; position < static_cast<int>(cards.size()); ++position) {
        const CardActor* const c = cards[static_cast<std::size_t>(position)];
        if (c->GetOwner() != PLAYER_CPU || !c->IsAttacking() || c->GetBlocker(0) == nullptr)
            continue;
        const int margin = c->GetStats().toughness + c->GetShields() - (c->GetDamage() + SumBlockerPower(c));
        if (margin < 1 || margin > 3)
            continue;
        m.pumpCursor.SetPosition(position);
        Advice a = Make(65, u"ONL_PraunrikReminder", 200);
        a.args = {ActorName(c->GetBlocker(0))};
        return a;
    }
    m.pumpCursor.SetPosition(position);
    return std::nullopt;
}

AdviceChoice OpponentAttack(const AdviceSituation& s, OnlineAdvisorState& m)
{
    m.sicknessCursor.ToStart();
    if (CountAttackingCreatures(PLAYER_CPU) == 0)
        return std::nullopt;
    const std::vector<CardActor*> unblocked = UnblockedOpponentAttackers();
    bool canBlockAny = false;
    bool allFly = !unblocked.empty();
    for (const CardActor* c : unblocked) {
        canBlockAny = canBlockAny || CanPlayerBlockAttacker(PLAYER_HUMAN, c);
        allFly = allFly && c->GetStats().flying;
    }
    const bool noFly = CountAbleBlockers(PLAYER_HUMAN) > 0 && !canBlockAny && allFly;
    if (s.learnerBlocking == 0) {
        if (!s.Stop(1, 4))
            return std::nullopt;
        if (!canBlockAny)
            return Defenceless(noFly);
        const bool instant = (FindCardActorByState(PLAYER_HUMAN) & INSTANT_BIT) != 0;
        Advice a = Make(63, instant ? u"ONL_OpponentAttackInstants" : u"ONL_WaitingForInstants2", 200);
        a.ok = false;
        a.arrow = !instant;
        if (instant && IsNewAdvice(m, 63))
            a.voice.push_back(OnlineClip(u"b490"));
        return a;
    }
    if (s.learnerBlocking == 1) {
        if (!s.Stop(1, 4) && !canBlockAny)
            return Defenceless(noFly);
        return HowToBlock(m, unblocked, canBlockAny);
    }
    if (!s.Stop(1, 5))
        return std::nullopt;
    if (AdviceChoice save = SavingInstant(m, unblocked))
        return save;
    if (AdviceChoice pump = PumpBlocker(m))
        return pump;
    return AdviseCombatInstants(m, 51, false);
}

} // namespace

AdviceChoice AdviseOpponentTurn(const AdviceSituation& s, OnlineAdvisorState& m)
{
    if (s.humanTurn || !s.cpuTurn)
        return std::nullopt;
    m.untapSummary = GetTappedPermanentKinds(PLAYER_HUMAN);
    switch (s.activeStep) {
    case STEP_END:
        return EndStepInstants(s, m);
    case STEP_MAIN:
        return AdviseKillableCreature(m, PLAYER_CPU, true);
    case STEP_COMBAT:
        return OpponentAttack(s, m);
    case STEP_DAMAGE:
    case STEP_FIRST_STRIKE_DAMAGE:
        return AdviseCombatDamage(s, m);
    default:
        return std::nullopt;
    }
}
