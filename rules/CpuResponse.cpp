#include "rules/CpuResponse.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "gamestate/LessonState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/TurnFlags.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuAttack.h"
#include "rules/CpuPayment.h"
#include "rules/CpuPlayChoice.h"
#include "rules/GameQueries.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/Targets.h"
#include "rules/Usability.h"

#include <algorithm>
#include <set>

namespace {

std::set<const Actor*> s_Used;
CardActor* s_ActingCard = nullptr;
const Actor* s_DecisionKey = nullptr;
CardActor* s_LastCastCard = nullptr;
CpuResponsePreview s_Preview;

// "Pay m times until it fails" stops here.
constexpr int MAX_PUMPS = 40;
constexpr int CREATURE_BITS = TT_CREATURE | TT_ARTIFACT_CREATURE;

struct Context {
    Actor* human = nullptr;
    Actor* cpu = nullptr;
    int humanState = -1;
    int cpuState = -1;
    bool countdown = false;
    bool pumpOnTop = false;
    StackEntry* top = nullptr;

    bool Human(std::initializer_list<int> states) const
    {
        return std::find(states.begin(), states.end(), humanState) != states.end();
    }
    bool HumanLastChance() const { return humanState == 16 && !s_HumanEndOfTurn; }
};

struct Decision {
    int n = 0;
    CardActor* targetCard = nullptr;
    Actor* targetPlayer = nullptr;
    const Actor* key = nullptr;
    bool decided = false;
};

PlayerState& Cpu()
{
    return *GetPlayerState(PLAYER_CPU);
}

PlayerState& HumanRecord()
{
    return *GetPlayerState(PLAYER_HUMAN);
}

bool Payable(const ManaCost& cost, int times)
{
    ManaCost sum;
    for (int i = 0; i < times; ++i)
        sum.Add(cost);
    return CanPay(PLAYER_CPU, sum, true);
}

bool Aimed(const CardActor* card, std::initializer_list<int> ids)
{
    return std::any_of(ids.begin(), ids.end(), [card](int id) { return FindStackEntryForCard(card, id) != nullptr; });
}

bool NoRemovalAimedAt(const CardActor* card)
{
    return !Aimed(card, {CD_FALARSAR, CD_KELOLVIN});
}

bool Accepts(CardActor* source, CardActor* candidate, bool isAbility)
{
    return ChooseTarget(source, candidate, isAbility, true, false, nullptr) == candidate;
}

template <typename Accept>
CardActor* WalkKillable(bool ignoreShields, int amount, Accept accept)
{
    for (CardActor* c = FindKillableCreature(ignoreShields, amount, PLAYER_HUMAN, nullptr, true); c != nullptr;
         c = FindKillableCreature(ignoreShields, amount, PLAYER_HUMAN, c, true))
        if (accept(c))
            return c;
    return nullptr;
}

bool IsStrong(const CardActor* c)
{
    const CreatureStats& s = c->GetStats();
    const int life = Cpu().m_Life;
    return s.power >= life / 5 || (s.flying && s.power >= life / 8) || s.isUnblockable || s.firstStrike ||
           s.hasFearAttack || s.noTapAttack || s.flyBlock || c->HasAttachedAura(true);
}

// The pumps needed to close a gap, when the CPU can pay them.
bool TryPumps(Decision& d, const ManaCost& cost, int gap, int perPump)
{
    const int m = DivideRoundUp(gap, perPump);
    if (m <= 0 || !Payable(cost, m))
        return false;
    d.n = m;
    d.decided = true;
    return true;
}

void DecidePump(const Context& ctx, CardActor* card, CardActor* source, const CardAbility& a, Decision& d)
{
    if (!NoRemovalAimedAt(card))
        return;
    const SpellStack& stack = GetSpellStack();
    const int p = a.effect.powerModAmt;
    const int t = a.effect.toughModAmt;
    const PendingPump pending = stack.GetPendingPump(card);
    const int power = card->GetStats().power;
    if (s_CpuTurn && ctx.cpuState == 7) {
        if (card->IsAttacking() && p > 0 && !GetCardBlockedFlag(card)) {
            int m = 0;
            while (m < MAX_PUMPS && Payable(a.cost, m + 1)) {
                ++m;
                if (a.cost.Total() == 0)
                    break;
            }
            d.n = m > 2 ? m - 1 : m;
            if (d.n > 0) {
                d.decided = true;
                d.key = source;
            }
        } else if (card->IsAttacking() && p > 0) {
            card->SortBlockers(true, false);
            for (int slot = 0; slot < CARD_SLOT_COUNT; ++slot) {
                const CardActor* const blocker = card->GetBlocker(slot);
                if (blocker == nullptr)
                    continue;
                const int toughness = blocker->GetRemainingToughness(false, true);
                if (toughness > power + pending.power && TryPumps(d, a.cost, toughness - (power + pending.power), p))
                    break;
            }
        }
        if (!d.decided && card->IsAttacking() && GetCardBlockedFlag(card) && t > 0) {
            const int blows = SumBlockerPower(card);
            const int r = card->GetRemainingToughness(false, true) + pending.toughness;
            if (r <= blows)
                TryPumps(d, a.cost, blows - r + 1, t);
        }
    } else if (s_HumanTurn) {
        const CardActor* const attacker = card->GetBlockedAttacker();
        if (ctx.Human({7, 9, 11}) && attacker != nullptr && t > 0) {
            const int dmg = card->GetPendingDamage() != 0
                                ? card->GetPendingDamage()
                                : attacker->GetStats().power + stack.GetPendingPump(attacker).power;
            const int r = card->GetRemainingToughness(false, false) + pending.toughness;
            if (r <= dmg && TryPumps(d, a.cost, dmg - r + 1, t))
                d.key = source;
        }
        if (ctx.humanState == 7 && !d.decided && attacker != nullptr && p > 0) {
            const int blow = power + pending.power;
            const int toughness = attacker->GetRemainingToughness(false, true);
            if (blow < toughness && TryPumps(d, a.cost, toughness - blow, p))
                d.key = source;
        }
    }
    if (!d.decided && t > 0) {
        const int incoming = stack.GetPendingDamage(card, true);
        const int r = card->GetRemainingToughness(false, false) + pending.toughness;
        if (incoming != 0 && r <= incoming)
            TryPumps(d, a.cost, incoming - r + 1, t);
    }
}

void DecideDamageAbility(const Context& ctx, CardActor* source, const CardAbility& a, Decision& d)
{
    if (!a.effect.needsTarget)
        return;
    const int x = a.effect.damageAmt;
    if (a.target.opponent && (ctx.HumanLastChance() || ctx.cpuState == 5) && Cpu().m_Life <= 4 * x) {
        d.targetPlayer = ctx.human;
        d.decided = true;
        return;
    }
    if (a.target.type == TT_CREATURE && (s_PastCombat || ctx.humanState == 16)) {
        d.targetCard = WalkKillable(false, x, [source](CardActor* c) { return Accepts(source, c, true); });
        d.decided = d.targetCard != nullptr;
    }
    if (!d.decided && a.target.opponent && ctx.HumanLastChance()) {
        d.targetPlayer = ctx.human;
        d.decided = true;
    }
}

void DecideTapAbility(const Context& ctx, CardActor* source, Decision& d)
{
    if (!((s_CpuTurn && !s_PastCombat && ctx.cpuState == 5) || (s_HumanTurn && ctx.HumanLastChance())))
        return;
    if (CountAbleAttackers(PLAYER_CPU) - 1 > CountAbleBlockers(PLAYER_HUMAN))
        return;
    const int bits = GetPlayerCombatFlags(PLAYER_CPU);
    d.targetCard = WalkKillable(true, 20, [&](CardActor* c) { return CanBlockWith(c, bits) && Accepts(source, c, true); });
    d.decided = d.targetCard != nullptr;
}

// The held creature the CPU most wants but cannot yet afford.
CardActor* DearestUnaffordableCreature()
{
    CardActor* best = nullptr;
    for (CardActor* c : GetCardActors()) {
        if (c->GetOwner() != PLAYER_CPU || !c->IsHeld() || c->IsInLibrary() || !c->IsNotLeaving() ||
            c->GetCardType() != CT_CREATURE || c->GetSubType() == ARTIFACT_CREATURE || CanAffordCard(c, false, true))
            continue;
        if (best == nullptr || c->GetManaCounters()->Total() > best->GetManaCounters()->Total())
            best = c;
    }
    return best;
}

void DecideByCard(const Context& ctx, CardActor* card, CardActor* source, Decision& d)
{
    const SpellStack& stack = GetSpellStack();
    if (card->GetId() == CD_RALEVTH) {
        const int r = card->GetRemainingToughness(false, false);
        if (Cpu().m_Life <= stack.GetPendingDamage(ctx.cpu, true) ||
            (r > 0 && r <= stack.GetPendingDamage(card, true)) || Aimed(card, {CD_FALARSAR, CD_KELOLVIN, CD_WENARWYN})) {
            d.targetPlayer = ctx.cpu;
            d.decided = true;
        }
        return;
    }
    if (card->GetId() != CD_PRAILGAST)
        return;
    const PlayerState& cpu = Cpu();
    const int turns = s_CompletedTurns;
    if (CountCpuHandCards() <= 1 || cpu.m_NextDrawIndex + 1 >= cpu.m_LibraryCount || turns <= 3 ||
        !((s_CpuTurn && ctx.cpuState == 5) || (s_HumanTurn && ctx.HumanLastChance())))
        return;
    const int lands = cpu.m_LandColours.Total();
    int colours = 0;
    if (turns <= lands)
        for (int i = 1; i < 6; ++i)
            colours += cpu.m_LandColours.At(i) > 0 ? 1 : 0;
    const int need = std::min(DivideRoundUp(turns, 2), 3);
    CardActor* chosen = nullptr;
    if (colours < need || 4 * lands < 3 * turns) {
        if (3 * lands <= 2 * turns && plat::Rand() % 3 == 1)
            chosen = DearestUnaffordableCreature();
    } else if (plat::Rand() % 4 != 0) {
        chosen = FindHeldCpuLandForCost(ManaCost(0, 1, 1, 1, 1, 1));
    }
    if (chosen == nullptr)
        return;
    d.targetPlayer = ctx.cpu;
    card->SetChosenTarget(chosen);
    d.key = source;
    d.decided = true;
}

bool TryAbilities(const Context& ctx)
{
    SpellStack& stack = GetSpellStack();
    for (CardActor* card : GetCardActors()) {
        s_ActingCard = nullptr;
        s_DecisionKey = nullptr;
        Decision d;
        if (card->GetOwner() != PLAYER_CPU || !card->CanAct() || card->GetHost() != nullptr)
            continue;
        CardActor* const source = card->CanActivate(nullptr, ctx.pumpOnTop ? EFFECT_PTMOD_MANAPUMP : 0);
        if (source == nullptr)
            continue;
        const CardAbility& a = *source->GetAbility();
        const bool taps = a.costType == COSTTYPE_TAP || a.costType == COSTTYPE_TAPSAC;
        if ((ctx.countdown && a.effect.effectType != EFFECT_COUNTER) || (taps && card->GetTapState() != TAP_READY) ||
            !CanPay(PLAYER_CPU, a.cost, true))
            continue;
        switch (a.effect.effectType) {
        case EFFECT_PTMOD_MANAPUMP:
            DecidePump(ctx, card, source, a, d);
            break;
        case EFFECT_DAMAGE:
            DecideDamageAbility(ctx, source, a, d);
            break;
        case EFFECT_TAP:
            DecideTapAbility(ctx, source, d);
            break;
        default:
            DecideByCard(ctx, card, source, d);
            break;
        }
        if (!d.decided)
            continue;
        if (d.key == nullptr)
            d.key = d.targetCard != nullptr ? static_cast<const Actor*>(d.targetCard) : d.targetPlayer;
        s_DecisionKey = d.key;
        if (!s_Used.insert(d.key).second)
            continue;
        s_ActingCard = source;
        if (taps)
            TapManaSource(source, true);
        for (int i = 0; i < std::max(d.n, 1); ++i) {
            if (a.cost.Total() != 0)
                PayCpuCost(a.cost);
            stack.ActivateAbility(source, d.targetCard, d.targetPlayer, true);
            SetCpuResponse(source, CPU_RESPONSE_PREVIEW_MS);
        }
        if (a.costType == COSTTYPE_TAPSAC || a.costType == COSTTYPE_SACRIFICE)
            source->LeavePlay(LEAVE_SACRIFICE);
        return true;
    }
    return false;
}

bool WorthCountering(const CardActor* countered)
{
    const CreatureStats& s = *countered->GetCreatureStats();
    const EffectSpec& e = *countered->GetSpellEffect();
    return s.power >= 3 || (s.toughness > 3 && !s.isWall) || (s.power >= 2 && (s.flying || s.flyBlock)) ||
           s.isUnblockable || s.hasFearAttack || s.noTapAttack || s.firstStrike || countered->IsXSpell() ||
           static_cast<unsigned>(e.damageAmt) >= 3u || static_cast<unsigned>(e.discardAmt) >= 2u;
}

void DecideInstant(const Context& ctx, CardActor* card, Decision& d)
{
    const EffectSpec& e = *card->GetSpellEffect();
    const TargetSpec& g = *card->GetSpellTarget();
    const bool creatureBits = (g.type & CREATURE_BITS) != 0;
    const PlayerState& cpu = Cpu();
    const int life = cpu.m_Life;
    const bool crowdedHand = CountCpuHandCards() > 7;
    switch (e.effectType) {
    case EFFECT_COUNTER: {
        if (!ctx.countdown || ctx.top == nullptr || ctx.top->card == nullptr ||
            ctx.top->card->GetOwner() != PLAYER_HUMAN || ctx.top->isAbility)
            return;
        const int sink = e.counterManaSink.Total();
        if (sink != 0 && CanPay(PLAYER_HUMAN, ManaCost(sink, 0, 0, 0, 0, 0), true))
            return;
        if (CanUseCardNow(card, false) && WorthCountering(ctx.top->card)) {
            d.targetCard = ctx.top->card;
            d.decided = true;
        }
        return;
    }
    case EFFECT_DAMAGE: {
        const int x = e.damageAmt;
        if (ctx.humanState == 7 && s_AttackStep == 2) {
            const int attack = SumAttackingPower(PLAYER_HUMAN);
            const int guard = life + cpu.m_PreventDamage;
            if (guard <= attack)
                d.targetCard = WalkKillable(false, x, [&](CardActor* c) {
                    return attack - c->GetStats().power < guard && c->IsAttacking() &&
                           !CanPlayerBlockAttacker(PLAYER_CPU, c) && Accepts(card, c, false);
                });
            d.decided = d.targetCard != nullptr;
        }
        if (!d.decided && (ctx.cpuState == 5 || ctx.Human({5, 6, 16})) && g.opponent &&
            HumanRecord().m_Life + HumanRecord().m_PreventDamage <= x) {
            d.targetPlayer = ctx.human;
            d.decided = true;
        }
        if (!d.decided && (ctx.cpuState == 5 || ctx.Human({6, 16})) && creatureBits) {
            d.targetCard = WalkKillable(false, x, [&](CardActor* c) {
                const CreatureStats& s = c->GetStats();
                if (s.cannotAttack ||
                    (s.power < x && s.toughness <= x && c->GetRemainingToughness(false, true) != x))
                    return false;
                return IsStrong(c) && Accepts(card, c, false);
            });
            d.decided = d.targetCard != nullptr;
        }
        if (!d.decided && ctx.cpuState == 16 && crowdedHand) {
            if (g.opponent) {
                // No aim of its own: the stack's automatic player target decides.
                d.targetCard = nullptr;
                d.decided = true;
            } else if (creatureBits) {
                d.targetCard = WalkKillable(
                    false, x, [&](CardActor* c) { return NoRemovalAimedAt(c) && Accepts(card, c, false); });
                d.decided = d.targetCard != nullptr;
            }
        }
        return;
    }
    case EFFECT_DESTROY:
    case EFFECT_DESTROY_GAINLIFE_P:
    case EFFECT_DESTROY_GAINLIFE_T:
        break;
    default:
        return;
    }
    if (!creatureBits) {
        if (e.effectType != EFFECT_DESTROY || !(ctx.humanState == 16 || (crowdedHand && ctx.cpuState == 16)))
            return;
        for (CardActor* c : GetCardActors()) {
            if (c->GetOwner() == PLAYER_HUMAN && c->CanAct() && Accepts(card, c, false) &&
                (!c->IsEnchantOffensive() || (c->GetHost() != nullptr && c->GetHost()->GetOwner() == PLAYER_CPU))) {
                d.targetCard = c;
                d.decided = true;
                return;
            }
        }
        return;
    }
    if (ctx.humanState == 7 && s_AttackStep == 2) {
        d.targetCard = WalkKillable(true, 20, [&](CardActor* c) {
            return 2 * c->GetStats().power >= life + cpu.m_PreventDamage && c->IsAttacking() && NoRemovalAimedAt(c) &&
                   !CanPlayerBlockAttacker(PLAYER_CPU, c) && Accepts(card, c, false);
        });
    } else if (ctx.cpuState == 5 && !s_PastCombat) {
        const int bits = GetPlayerCombatFlags(PLAYER_CPU);
        d.targetCard = WalkKillable(true, 20, [&](CardActor* c) {
            const int costType = c->GetAbility()->costType;
            return CanBlockWith(c, bits) && costType != COSTTYPE_SACRIFICE && costType != COSTTYPE_TAPSAC &&
                   NoRemovalAimedAt(c) && IsStrong(c) && Accepts(card, c, false);
        });
    } else if (ctx.cpuState == 16 && crowdedHand) {
        d.targetCard = WalkKillable(true, 20, [&](CardActor* c) { return NoRemovalAimedAt(c) && Accepts(card, c, false); });
    }
    d.decided = d.targetCard != nullptr;
}

bool TryInstants(const Context& ctx)
{
    for (CardActor* card : GetCardActors()) {
        s_ActingCard = nullptr;
        s_DecisionKey = nullptr;
        if (card->GetCardType() != CT_INSTANT || !card->IsHeld() || card->IsInLibrary() ||
            card->GetOwner() != PLAYER_CPU || !card->IsNotLeaving() || card->IsOnStack())
            continue;
        if ((ctx.countdown && card->GetSpellEffect()->effectType != EFFECT_COUNTER) ||
            !CanPay(PLAYER_CPU, card->GetCost(), true))
            continue;
        Decision d;
        DecideInstant(ctx, card, d);
        if (!d.decided)
            continue;
        s_DecisionKey = d.targetCard;
        if (!s_Used.insert(d.targetCard).second)
            continue;
        PayCpuCost(card->GetCost());
        s_ActingCard = card;
        s_LastCastCard = card;
        GetSpellStack().CastSpell(card, d.targetCard, d.targetPlayer, true, false);
        return true;
    }
    return false;
}

} // namespace

bool CpuRespond(bool countdown)
{
    Context ctx;
    ctx.countdown = countdown;
    ctx.human = FindActorByName(u"player");
    ctx.cpu = FindActorByName(u"cpuplayer");
    ctx.humanState = ctx.human != nullptr ? ctx.human->GetState() : -1;
    ctx.cpuState = ctx.cpu != nullptr ? ctx.cpu->GetState() : -1;
    const auto in = [](int state, std::initializer_list<int> states) {
        return std::find(states.begin(), states.end(), state) != states.end();
    };
    SpellStack& stack = GetSpellStack();
    if ((s_CpuTurn && !in(ctx.cpuState, {5, 6, 7, 10, 12, 16})) ||
        (s_HumanTurn && !in(ctx.humanState, {5, 6, 7, 10, 12, 16})) || stack.m_ResolutionPaused ||
        stack.m_PausedWord != 0 || GetCanPlayNowFlag() != 0)
        return false;
    ctx.top = stack.GetCount() > 0 ? stack.GetTopEntry() : nullptr;
    const CardActor* const topCard = ctx.top != nullptr ? ctx.top->card : nullptr;
    // The CPU does not answer its own sorcery, creature or other permanent.
    if (topCard != nullptr && topCard->GetOwner() == PLAYER_CPU && !ctx.top->isAbility &&
        topCard->GetCardType() != CT_INSTANT)
        return false;
    ctx.pumpOnTop = topCard != nullptr && topCard->GetOwner() == PLAYER_CPU && ctx.top->isAbility &&
                    topCard->GetAbility()->effect.effectType == EFFECT_PTMOD_MANAPUMP;
    if (stack.GetCount() == 0 || (stack.GetCount() == 1 && ctx.top->combatDamageKind != 0))
        s_Used.clear();
    if (TryAbilities(ctx))
        return true;
    if (ctx.pumpOnTop)
        return false;
    return TryInstants(ctx);
}

void SetCpuResponse(CardActor* card, int durationMs)
{
    s_Preview.card = card;
    s_Preview.durationMs = durationMs;
    s_Preview.shown = true;
    s_Preview.cpuCard = true;
}

CpuResponsePreview& GetCpuResponsePreview()
{
    return s_Preview;
}

bool GetCardBlockedFlag(const CardActor* card)
{
    return card != nullptr && card->IsBlocked();
}

CardActor* GetCpuActingCard()
{
    return s_ActingCard;
}

const Actor* GetCpuDecisionKey()
{
    return s_DecisionKey;
}

CardActor* GetCpuLastCastCard()
{
    return s_LastCastCard;
}

void SetCpuLastCastCard(CardActor* card)
{
    s_LastCastCard = card;
}

bool IsCpuResponseKeyUsed(const Actor* key)
{
    return s_Used.contains(key);
}

void ForgetCpuResponseActor(const Actor* actor)
{
    s_Used.erase(actor);
    if (s_ActingCard == actor)
        s_ActingCard = nullptr;
    if (s_DecisionKey == actor)
        s_DecisionKey = nullptr;
    if (s_LastCastCard == actor)
        s_LastCastCard = nullptr;
    if (s_Preview.card == actor)
        s_Preview = CpuResponsePreview{};
}

void ResetCpuResponseState()
{
    s_Used.clear();
    s_ActingCard = nullptr;
    s_DecisionKey = nullptr;
    s_LastCastCard = nullptr;
    s_Preview = CpuResponsePreview{};
}
