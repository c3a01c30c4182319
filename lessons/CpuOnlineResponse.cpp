#include "lessons/CpuOnlineResponse.h"

#include "lessons/CpuOnlineTurn.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/scene/Actor.h"
#include "gamestate/OnlineResponseState.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuAttack.h"
#include "rules/CpuPayment.h"
#include "rules/CpuResponse.h"
#include "rules/GameQueries.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"
#include "rules/Targets.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <set>

namespace {

OnlineResponseState& Response()
{
    return GetOnlineResponseState();
}

// "Pay again while it can" stops here, so a source of free mana cannot loop for ever.
constexpr int MAX_PUMPS = 40;

struct Context {
    Actor* human = nullptr;
    Actor* cpu = nullptr;
    int humanState = -1;
    int cpuState = -1;
    bool pumpOnTop = false;
};

struct Decision {
    int n = 1;
    CardActor* targetCard = nullptr;
    Actor* targetPlayer = nullptr;
    const Actor* key = nullptr;
    // A land given up for the decision, only once the decision is taken.
    CardActor* landToSacrifice = nullptr;
    bool decided = false;
};

bool In(int state, std::initializer_list<int> states)
{
    return std::find(states.begin(), states.end(), state) != states.end();
}

PlayerState& Cpu()
{
    return *GetPlayerState(PLAYER_CPU);
}

PlayerState& HumanRecord()
{
    return *GetPlayerState(PLAYER_HUMAN);
}

// The CPU's attack is still being declared, or the learner is still choosing blocks: no answer yet.
bool CpuAttackStillOpen()
{
    constexpr int BLOCKS_FINAL_COMBAT_STEP = 3;
    return GetCpuCombatStep() < BLOCKS_FINAL_COMBAT_STEP || s_HumanBlockStep == 1 || s_HumanBlockStep == 2;
}

// The learner's last chance in its turn: online its end of turn (state 18) while the prompt is still up.
bool LearnersLastMoments(const Context& ctx)
{
    return ctx.humanState == 18 && !s_HumanEndOfTurn;
}

bool CpuFirstMain(const Context& ctx)
{
    return s_CpuTurn && !s_PastCombat && ctx.cpuState == 5;
}

bool Payable(const ManaCost& cost, int times)
{
    if (times <= 0)
        return false;
    ManaCost sum;
    for (int i = 0; i < times; ++i)
        sum.Add(cost);
    return CanPay(PLAYER_CPU, sum, true);
}

bool Aimed(const CardActor* card, std::initializer_list<int> ids)
{
    return std::any_of(ids.begin(), ids.end(), [card](int id) { return FindStackEntryForCard(card, id) != nullptr; });
}

bool Accepts(CardActor* source, CardActor* candidate, bool isAbility)
{
    return ChooseTarget(source, candidate, isAbility, true, false, nullptr) == candidate;
}

template <typename Accept>
CardActor* WalkKillable(bool ignoreShields, int amount, int owner, bool requirePositive, Accept accept)
{
    for (CardActor* c = FindKillableCreature(ignoreShields, amount, owner, nullptr, requirePositive); c != nullptr;
         c = FindKillableCreature(ignoreShields, amount, owner, c, requirePositive))
        if (accept(c))
            return c;
    return nullptr;
}

bool IsCreatureOnTable(const CardActor& c)
{
    return c.GetCardType() == CT_CREATURE && !c.IsHeld() && !c.IsInLibrary() && c.IsNotLeaving();
}

int CountActingCreatures(int player)
{
    int count = 0;
    for (const CardActor* c : GetCardActors())
        count += c->GetOwner() == player && IsCreatureOnTable(*c) && c->CanAct() ? 1 : 0;
    return count;
}

// The human's creature that can act with the greatest power, then toughness; the first keeps a tie.
CardActor* StrongestActingHumanCreature(const CardActor* spell)
{
    CardActor* best = nullptr;
    for (CardActor* c : GetCardActors()) {
        if (c->GetOwner() != PLAYER_HUMAN || !IsCreatureOnTable(*c) || !c->CanAct() || !CanSpellTarget(c, spell))
            continue;
        const CreatureStats& s = c->GetStats();
        if (best == nullptr || s.power > best->GetStats().power ||
            (s.power == best->GetStats().power && s.toughness > best->GetStats().toughness))
            best = c;
    }
    return best;
}

// n pumps of the cost when the CPU can pay them all.
bool TryPumps(Decision& d, const ManaCost& cost, int gap, int perPump)
{
    const int n = DivideRoundUp(gap, perPump);
    if (n <= 0 || !Payable(cost, n))
        return false;
    d.n = n;
    d.decided = true;
    return true;
}

void DecidePump(const Context& ctx, CardActor* card, CardActor* source, const CardAbility& a, Decision& d)
{
    const SpellStack& stack = GetSpellStack();
    const int p = a.effect.powerModAmt;
    const int t = a.effect.toughModAmt;
    const PendingPump pending = stack.GetPendingPump(card);
    const int power = card->GetStats().power;
    if (s_CpuTurn && ctx.cpuState == 7 && card->IsAttacking()) {
        if (p > 0 && GetCardBlockedFlag(card)) {
            card->SortBlockers(true, false);
            for (int slot = 0; slot < CARD_SLOT_COUNT; ++slot) {
                const CardActor* const blocker = card->GetBlocker(slot);
                if (blocker == nullptr)
                    continue;
                const int toughness = blocker->GetRemainingToughness(false, true);
                if (toughness > power + pending.power &&
                    TryPumps(d, a.cost, toughness - (power + pending.power), p)) {
                    d.key = source;
                    break;
                }
            }
        } else if (p > 0) {
            int m = 0;
            if (a.cost.Total() == 0) {
                m = 2;  // a free pump is used once
            } else {
                while (m < MAX_PUMPS && Payable(a.cost, m + 1))
                    ++m;
            }
            if (m - 1 > 0) {
                d.n = m - 1;
                d.decided = true;
                d.key = source;
            }
        }
        if (!d.decided && GetCardBlockedFlag(card) && t > 0) {
            const int blows = SumBlockerPower(card);
            const int r = card->GetRemainingToughness(false, true) + pending.toughness;
            if (blows >= r && TryPumps(d, a.cost, blows - r + 1, t))
                d.key = source;
        }
    }
    const CardActor* const attacker = card->GetBlockedAttacker();
    if (!d.decided && s_HumanTurn && In(ctx.humanState, {7, 9, 11}) && attacker != nullptr) {
        if (t > 0) {
            const int dmg = card->GetPendingDamage() != 0
                                ? card->GetPendingDamage()
                                : attacker->GetStats().power + stack.GetPendingPump(attacker).power;
            const int r = card->GetRemainingToughness(false, false) + pending.toughness;
            if (r <= dmg && TryPumps(d, a.cost, dmg - r + 1, t))
                d.key = source;
        }
        if (!d.decided && ctx.humanState == 7 && p > 0) {
            const int blow = power + pending.power;
            const int toughness = attacker->GetRemainingToughness(false, true);
            if (toughness > blow && TryPumps(d, a.cost, toughness - blow, p))
                d.key = source;
        }
    }
    if (!d.decided && t > 0 && !Aimed(card, {CD_FALARSAR, CD_KELOLVIN})) {
        const int incoming = stack.GetPendingDamage(card, true);
        const int r = card->GetRemainingToughness(false, false) + pending.toughness;
        if (incoming != 0 && incoming >= r)
            TryPumps(d, a.cost, incoming - r + 1, t);
    }
}

void DecideDamage(const Context& ctx, CardActor* source, const CardAbility& a, Decision& d)
{
    const int x = a.effect.damageAmt;
    if (a.effect.needsTarget && (a.target.type & TT_CREATURE) != 0 && HumanRecord().m_Life > 4 * x) {
        d.targetCard =
            WalkKillable(false, x, PLAYER_HUMAN, true, [source](CardActor* c) { return Accepts(source, c, true); });
        d.decided = d.targetCard != nullptr;
    }
    if (!d.decided && source->IsPermanentType() && a.target.opponent && LearnersLastMoments(ctx)) {
        d.targetPlayer = ctx.human;
        d.decided = true;
    }
}

void DecideTap(const Context& ctx, CardActor* source, Decision& d)
{
    const bool cpuWindow = CpuFirstMain(ctx) && CountAbleAttackers(PLAYER_CPU) > 1;
    const bool humanWindow = s_HumanTurn && ctx.humanState == 18 && !s_HumanEndOfTurn;
    if (!(cpuWindow || humanWindow) || CountAbleAttackers(PLAYER_CPU) - 1 > CountAbleBlockers(PLAYER_HUMAN))
        return;
    const int bits = GetPlayerCombatFlags(PLAYER_CPU);
    d.targetCard = WalkKillable(true, 20, PLAYER_HUMAN, true,
                                [&](CardActor* c) { return CanBlockWith(c, bits) && Accepts(source, c, true); });
    d.decided = d.targetCard != nullptr;
}

void DecideCasumwyn(const Context& ctx, CardActor* card, Decision& d)
{
    const int left = card->GetStats().toughness + card->GetShields() - (card->GetPendingDamage() + card->GetDamage());
    if (card->GetBlockedAttacker() != nullptr && left == -1) {
        d.targetCard = card;
        d.decided = true;
    } else if (Cpu().m_DamageThisTurn != 0 && In(ctx.humanState, {10, 12})) {
        d.targetPlayer = ctx.cpu;
        d.decided = true;
    }
}

void DecideGaledton(const Context& ctx, Decision& d)
{
    bool wanted = false;
    bool noFlyBlock = false;
    if (CpuFirstMain(ctx)) {
        const int a = CountCreaturesMatchingFlags(PLAYER_CPU, 2, true);
        const int b = CountCreaturesMatchingFlags(PLAYER_HUMAN, 0x12, false);
        wanted = a > 0 && a <= b;
    } else if (s_HumanTurn && s_AttackStep != 0 && s_CpuBlockStep == 0 && ctx.humanState == 7) {
        const int a = CountCreaturesMatchingFlags(PLAYER_CPU, 0x12, false);
        const int b = CountCreaturesMatchingFlags(PLAYER_HUMAN, 2, true);
        wanted = a > 0 && a < b;
        noFlyBlock = true;
    }
    if (!wanted)
        return;
    d.targetCard = WalkKillable(true, 20, PLAYER_CPU, true, [noFlyBlock](CardActor* c) {
        return !c->GetStats().flying && !(noFlyBlock && c->GetStats().flyBlock) && IsAbleToAttack(c);
    });
    d.decided = d.targetCard != nullptr;
}

// One mana of a card's colour index (0 black, 1 red, 2 green, 3 blue, 4 white).
ManaCost OneOfColour(int colourIndex)
{
    ManaCost cost;
    switch (colourIndex) {
    case 0: cost.black = 1; break;
    case 1: cost.red = 1; break;
    case 2: cost.green = 1; break;
    case 3: cost.blue = 1; break;
    default: cost.white = 1; break;
    }
    return cost;
}

void DecideGreumdre(const Context& ctx, CardActor* card, Decision& d)
{
    if (ctx.cpuState != 5 || !s_CpuTurn || !IsAbleToAttack(card) || CountActingCreatures(PLAYER_HUMAN) == 0 ||
        CountCreaturesMatchingFlags(PLAYER_HUMAN, 0x12, false) != 0)
        return;
    std::array<int, 5> lands{};
    for (const CardActor* c : GetCardActors()) {
        const int colour = c->GetColorIndex();
        if (c->GetOwner() == PLAYER_CPU && c->GetCardType() == CT_LAND && c->CanAct() && colour >= 0 && colour < 5)
            ++lands[static_cast<std::size_t>(colour)];
    }
    const auto most = std::max_element(lands.begin(), lands.end());
    if (*most <= 2 || Cpu().m_LandColours.Total() < 7)
        return;
    CardActor* const land = FindLandForCost(PLAYER_CPU, OneOfColour(static_cast<int>(most - lands.begin())));
    if (land == nullptr)
        return;
    d.landToSacrifice = land;
    d.targetCard = card;
    d.decided = true;
}

void DecideHosedmel(const Context& ctx, Decision& d)
{
    if (s_HumanTurn && LearnersLastMoments(ctx) && CountCpuHandCards() <= 2 &&
        Cpu().m_NextDrawIndex < Cpu().m_LibraryCount - 5) {
        d.targetPlayer = ctx.cpu;
        d.decided = true;
    }
}

bool TryAbilities(const Context& ctx)
{
    SpellStack& stack = GetSpellStack();
    for (CardActor* card : GetCardActors()) {
        if (card->GetOwner() != PLAYER_CPU || !card->CanAct() || card->GetHost() != nullptr)
            continue;
        CardActor* const source = card->CanActivate(nullptr, ctx.pumpOnTop ? EFFECT_PTMOD_MANAPUMP : 0);
        if (source == nullptr)
            continue;
        const CardAbility& a = *source->GetAbility();
        const bool taps = a.costType == COSTTYPE_TAP || a.costType == COSTTYPE_TAPSAC;
        if ((!s_CpuTurn && source->GetId() == CD_FENANSAR) || (taps && card->GetTapState() != TAP_READY) ||
            !CanPay(PLAYER_CPU, a.cost, true))
            continue;
        Decision d;
        switch (a.effect.effectType) {
        case EFFECT_REGENERATE: {
            const int incoming = stack.GetPendingDamage(card, true);
            if (incoming > 0 && card->GetRemainingToughness(false, false) <= incoming) {
                d.targetCard = card;
                d.decided = true;
            }
            break;
        }
        case EFFECT_PTMOD_MANAPUMP:
            DecidePump(ctx, card, source, a, d);
            break;
        case EFFECT_DAMAGE:
            DecideDamage(ctx, source, a, d);
            break;
        case EFFECT_TAP:
            DecideTap(ctx, source, d);
            break;
        default:
            switch (source->GetId()) {
            case CD_CASUMWYN: DecideCasumwyn(ctx, card, d); break;
            case CD_GALEDTON: DecideGaledton(ctx, d); break;
            case CD_GREUMDRE: DecideGreumdre(ctx, card, d); break;
            case CD_HOSEDMEL: DecideHosedmel(ctx, d); break;
            default: break;
            }
            break;
        }
        if (!d.decided)
            continue;
        if (d.key == nullptr)
            d.key = d.targetCard != nullptr ? static_cast<const Actor*>(d.targetCard) : d.targetPlayer;
        if (Response().usedKeys.contains(d.key))
            continue;
        if (d.landToSacrifice != nullptr)
            d.landToSacrifice->LeavePlay(LEAVE_SACRIFICE);
        Response().actingCard = source;
        // The key goes in with the source: a decision aimed at a creature is looked up by that creature, so a
        // source without a tap cost would otherwise answer it again on every call while mana lasts.
        Response().usedKeys.insert(d.key);
        Response().usedKeys.insert(source);
        if (taps)
            source->SetTapState(TAP_TAPPED);
        for (int i = 0; i < std::max(d.n, 1); ++i) {
            if (a.cost.Total() != 0)
                PayCpuCost(a.cost);
            stack.ActivateAbility(source, d.targetCard, d.targetPlayer, true);
        }
        if (a.costType == COSTTYPE_TAPSAC || a.costType == COSTTYPE_SACRIFICE)
            source->LeavePlay(LEAVE_SACRIFICE);
        return true;
    }
    return false;
}

bool StrongForEskarmar(const CardActor* c)
{
    const CreatureStats& s = c->GetStats();
    return s.power + s.toughness >= 6 || (s.flying && s.power >= 2) || s.flyBlock;
}

CardActor* FalarsarTarget(const Context& ctx, const CardActor* card)
{
    if (s_AttackStep == 2) {
        CardActor* const a = FindStrongestHumanAttacker();
        if (a != nullptr && CanSpellTarget(a, card)) {
            const CreatureStats& s = a->GetStats();
            if ((!a->IsBlocked() && a->CountBlockers() == 0 && s.power >= 3) || s.firstStrike || s.flyBlock ||
                s.noTapAttack || s.trample || s.isUnblockable || (s.flying && s.power >= 2))
                return a;
        }
    }
    const int attackers = CountAttackingCreatures(PLAYER_CPU);
    const int blockers = CountAbleBlockers(PLAYER_HUMAN);
    if (s_CpuTurn && s_HumanBlockStep == 0 && attackers > 0 && blockers > 0 && blockers <= attackers) {
        CardActor* weakest = nullptr;
        for (CardActor* c : GetCardActors())
            if (FindUnblockedAttacker(PLAYER_CPU, c) != nullptr &&
                (weakest == nullptr || c->GetStats().power < weakest->GetStats().power))
                weakest = c;
        int k = attackers - blockers + (attackers > 1 ? 1 : 0);
        if (k == 0)
            k = 1;
        const int divisor = weakest != nullptr ? weakest->GetStats().power * k : 0;
        // A weakest attacker of no power gives no ratio to weigh.
        if (divisor > 0 && HumanRecord().m_Life + HumanRecord().m_PreventDamage <= 2 * divisor) {
            const int bits = GetCombatFlags(weakest);
            CardActor* const t = WalkKillable(false, 20, PLAYER_HUMAN, true, [&](CardActor* c) {
                return IsAbleToBlock(c) && CanBlockWith(c, bits) && CanSpellTarget(c, card);
            });
            if (t != nullptr)
                return t;
        }
    }
    if (ctx.cpuState == 5 && s_CpuTurn && !s_PastCombat && CountAbleAttackers(PLAYER_CPU) > 0) {
        CardActor* const c = StrongestActingHumanCreature(card);
        if (c != nullptr && (c->GetStats().toughness >= 3 || c->GetStats().firstStrike) &&
            CanBlockWith(c, GetPlayerCombatFlags(PLAYER_CPU)))
            return c;
    }
    return nullptr;
}

CardActor* PraunrikTarget(const Context& ctx)
{
    if (ctx.cpuState != 7 || !(s_HumanBlockStep > 1 || CountAbleBlockers(PLAYER_HUMAN) == 0))
        return nullptr;
    const SpellStack& stack = GetSpellStack();
    for (CardActor* c : GetCardActors())
        if (FindUnblockedAttacker(PLAYER_CPU, c) != nullptr)
            return c;
    for (CardActor* c : GetCardActors()) {
        if (FindBlockedAttacker(PLAYER_CPU, c) == nullptr || Aimed(c, {CD_FALARSAR}))
            continue;
        c->SortBlockers(true, false);
        const CardActor* const blocker = c->GetBlocker(0);
        if (blocker == nullptr)
            continue;
        const int margin = blocker->GetRemainingToughness(false, true) + stack.GetPendingPump(blocker).toughness -
                           (c->GetStats().power + stack.GetPendingPump(c).power);
        if (margin == 2 || margin == 3)
            return c;
    }
    return nullptr;
}

void DecideInstant(const Context& ctx, CardActor* card, Decision& d)
{
    const SpellStack& stack = GetSpellStack();
    const PlayerState& human = HumanRecord();
    switch (card->GetId()) {
    case CD_WENORTH:
        if (s_CpuTurn && Cpu().m_Life <= 6 && ((ctx.cpuState == 5 && s_PastCombat) || ctx.cpuState == 18) &&
            FindCardActor(CD_ZOLOLRIK, PLAYER_CPU, nullptr) == nullptr) {
            d.targetPlayer = ctx.cpu;
            d.decided = true;
        }
        break;
    case CD_NESURGAST: {
        const int attackers = CountAttackingCreatures(PLAYER_HUMAN);
        const int life = Cpu().m_Life;
        // 3 * attackers / life >= 0.5, with no division by a life of 0 or below.
        if ((s_AttackStep == 2 || s_CpuBlockStep == 2) && life > 0 && 6 * attackers >= life) {
            d.targetPlayer = ctx.cpu;
            card->GetPaidMana().generic = attackers;
            d.decided = true;
        }
        break;
    }
    case CD_PRAUNRIK:
        d.targetCard = PraunrikTarget(ctx);
        d.decided = d.targetCard != nullptr;
        break;
    case CD_FALARSAR:
        d.targetCard = FalarsarTarget(ctx, card);
        d.decided = d.targetCard != nullptr;
        break;
    case CD_SAVOTNEL:
    case CD_VORENTON: {
        const int x = card->GetSpellEffect()->damageAmt;
        if (human.m_Life + human.m_PreventDamage <= x && (ctx.humanState == 5 || ctx.cpuState == 5)) {
            d.targetPlayer = ctx.human;
            d.decided = true;
            break;
        }
        d.targetCard = WalkKillable(false, x, PLAYER_HUMAN, true, [&](CardActor* c) {
            if (Aimed(c, {CD_FALARSAR}))
                return false;
            const CardActor* const blocked = c->GetBlockedAttacker();
            const bool attackThreat = s_AttackStep == 2 && c->IsAttacking() &&
                                      (c->GetStats().firstStrike || !CanPlayerBlockAttacker(PLAYER_CPU, c));
            const bool blockThreat = s_HumanBlockStep == 2 && blocked != nullptr && blocked->GetPumpCount() == 0;
            const bool wounded = c->GetDamage() != 0 && (s_PastCombat || LearnersLastMoments(ctx));
            return (attackThreat || blockThreat || wounded) && Accepts(card, c, false);
        });
        d.decided = d.targetCard != nullptr;
        break;
    }
    case CD_FENORTON:
        if (CountCpuHandCards() <= 4) {
            d.targetPlayer = ctx.cpu;
            d.decided = true;
        }
        break;
    case CD_ESKARMAR:
        d.targetCard = WalkKillable(false, 20, PLAYER_CPU, false, [](CardActor* c) {
            return Aimed(c, {CD_FALARSAR}) && StrongForEskarmar(c);
        });
        if (d.targetCard == nullptr && In(ctx.cpuState, {10, 12}))
            d.targetCard = WalkKillable(false, 20, PLAYER_CPU, false, [&stack](CardActor* c) {
                return (c->IsAttacking() || c->GetBlockedAttacker() != nullptr) &&
                       c->GetRemainingToughness(false, false) <= stack.GetPendingDamage(c, true) &&
                       StrongForEskarmar(c);
            });
        d.decided = d.targetCard != nullptr;
        break;
    default:
        break;
    }
}

bool TryInstants(const Context& ctx)
{
    for (CardActor* card : GetCardActors()) {
        if (card->GetOwner() != PLAYER_CPU || card->GetCardType() != CT_INSTANT || !card->IsHeld() ||
            !card->IsNotLeaving() || card->IsSummoningSick() || card->IsInLibrary() || card->IsOnStack() ||
            !CanPay(PLAYER_CPU, card->GetCost(), true))
            continue;
        Decision d;
        DecideInstant(ctx, card, d);
        if (!d.decided || Response().usedKeys.contains(d.targetCard))
            continue;
        Response().usedKeys.insert(d.targetCard);
        PayCpuCost(card->GetCost());
        Response().actingCard = card;
        SetCpuLastCastCard(card);
        GetSpellStack().CastSpell(card, d.targetCard, d.targetPlayer, true, false);
        return true;
    }
    return false;
}

} // namespace

bool CpuOnlineRespond()
{
    Context ctx;
    ctx.human = FindActorByName(u"player");
    ctx.cpu = FindActorByName(u"cpuplayer");
    ctx.humanState = ctx.human != nullptr ? ctx.human->GetState() : -1;
    ctx.cpuState = ctx.cpu != nullptr ? ctx.cpu->GetState() : -1;
    SpellStack& stack = GetSpellStack();
    if ((s_CpuTurn && (In(ctx.cpuState, {20, 0, 1, 22}) || (ctx.cpuState == 18 && s_CpuDiscardDone))) ||
        (s_HumanTurn && (In(ctx.humanState, {20, 0, 1, 22}) || (ctx.humanState == 18 && s_HumanEndOfTurn))) ||
        (Cpu().m_TurnFlag && (ctx.cpuState == 7 || ctx.humanState == 7) && CpuAttackStillOpen()) ||
        stack.m_ResolutionPaused ||
        stack.m_PausedWord != 0)
        return false;
    const StackEntry* const top = stack.GetCount() > 0 ? stack.GetTopEntry() : nullptr;
    const CardActor* const topCard = top != nullptr ? top->card : nullptr;
    ctx.pumpOnTop = topCard != nullptr && topCard->GetOwner() == PLAYER_CPU && top->isAbility &&
                    topCard->GetAbility()->effect.effectType == EFFECT_PTMOD_MANAPUMP;
    if (IsAnyCardMoving())
        return false;
    if (stack.GetCount() == 0 || (stack.GetCount() == 1 && top->combatDamageKind != 0))
        Response().usedKeys.clear();
    Response().actingCard = nullptr;
    if (TryAbilities(ctx))
        return true;
    if (ctx.pumpOnTop)
        return false;
    return TryInstants(ctx);
}

CardActor* GetCpuOnlineActingCard()
{
    return Response().actingCard;
}

bool IsOnlineResponseKeyUsed(const Actor* key)
{
    return Response().usedKeys.contains(key);
}

void BuildActionableCards()
{
    Response().actionable.clear();
    const TableSelection& selection = GetTableSelection();
    for (CardActor* card : {selection.pendingAbility, selection.pendingSpell, selection.xCostCard})
        if (card != nullptr && card->GetOwner() == PLAYER_HUMAN &&
            std::find(Response().actionable.begin(), Response().actionable.end(), card) == Response().actionable.end())
            Response().actionable.push_back(card);
}

const std::vector<CardActor*>& GetActionableCards()
{
    return Response().actionable;
}

bool ActionableCardsExist()
{
    return !Response().actionable.empty();
}
