#include "rules/CpuPlayChoice.h"

#include "cards/Card.h"
#include "cards/CardActor.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "gamestate/PhysicalTurnState.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuAttack.h"
#include "rules/GameQueries.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/Targets.h"

#include <algorithm>
#include <array>

namespace {

std::array<CardActor*, CPU_PLAYABLE_CAPACITY> s_Playable{};
int s_PlayableCount = 0;
CardActor* s_LastCreature = nullptr;

constexpr int MAX_LIFE = 20;
constexpr int CREATURE_BITS = TT_CREATURE | TT_ARTIFACT_CREATURE;

Actor* HumanActor()
{
    return FindActorByName(u"player");
}

Actor* CpuActor()
{
    return FindActorByName(u"cpuplayer");
}

PlayerState& Human()
{
    return *GetPlayerState(PLAYER_HUMAN);
}

PlayerState& Cpu()
{
    return *GetPlayerState(PLAYER_CPU);
}

int HumanHandSize()
{
    const std::vector<CardActor*> cards = GetCardActors();
    return static_cast<int>(std::count_if(cards.begin(), cards.end(), [](const CardActor* c) {
        return c->GetOwner() == PLAYER_HUMAN && c->IsHeld() && !c->IsInLibrary() && c->IsNotLeaving();
    }));
}

bool QuietlyAccepts(CardActor* source, CardActor* candidate)
{
    return ChooseTarget(source, candidate, false, true, false, nullptr) == candidate;
}

bool CpuHasReadyCreature()
{
    return CountReadyCreatures(PLAYER_CPU) > 0;
}

// The ranking walk with shields counted and only creatures still alive.
template <typename Accept>
CardActor* WalkKillable(bool ignoreShields, int amount, int owner, Accept accept)
{
    for (CardActor* c = FindKillableCreature(ignoreShields, amount, owner, nullptr, true); c != nullptr;
         c = FindKillableCreature(ignoreShields, amount, owner, c, true))
        if (accept(c))
            return c;
    return nullptr;
}

bool IsPump(const CardActor* creature)
{
    return creature->GetAbility()->effect.effectType == EFFECT_PTMOD_MANAPUMP;
}

bool FitsFriendlyAura(const CardActor* aura, const CardActor* c)
{
    const EffectSpec& effect = aura->GetAbility()->effect;
    const CreatureStats& grants = *aura->GetCreatureStats();
    const CreatureStats& s = c->GetStats();
    switch (effect.effectType) {
    case EFFECT_PTMOD_LANDGROWTH:
        return !IsPump(c) && s.power < 3 && !s.cannotAttack;
    case EFFECT_MODCREATURE:
        if (grants.flying)
            return s.power >= 2 && !s.flying && !s.cannotAttack && !s.isUnblockable && !s.hasFearAttack;
        if (grants.firstStrike)
            return !s.firstStrike && !s.isUnblockable && (!s.hasCannotBlock || s.power > 2);
        return false;
    case EFFECT_PTMOD_STATIC:
    case EFFECT_PTMOD_MANAPUMP:
        if (effect.toughModAmt < effect.powerModAmt)
            return (!s.cannotAttack && (s.hasFearAttack || s.isUnblockable)) ||
                   (s.toughness > 1 && (s.hasCannotBlock || s.firstStrike || s.flying));
        return !s.hasCannotBlock && s.toughness < 4;
    case EFFECT_REGENERATE:
        return !s.hasCannotBlock && c->GetAbility()->effect.effectType != EFFECT_REGENERATE;
    default:
        return false;
    }
}

bool FitsHostileAura(const CardActor* aura, const CardActor* c)
{
    const EffectSpec& effect = aura->GetAbility()->effect;
    const CreatureStats& s = c->GetStats();
    if (effect.effectType == EFFECT_MODCREATURE && aura->GetCreatureStats()->cannotAttack)
        return s.power >= 3 || IsPump(c) || s.isUnblockable || (s.flying && s.power >= 2);
    if (effect.effectType == EFFECT_PTMOD_STATIC)
        return s.toughness + effect.toughModAmt <= 0 && !(IsPump(c) && c->GetAbility()->effect.powerModAmt > 0);
    return false;
}

CardActor* ChooseAuraTarget(const CardActor* aura)
{
    if (!aura->IsEnchantOffensive())
        return WalkKillable(false, 20, PLAYER_CPU, [aura](const CardActor* c) {
            return !c->HasAttachedAura(false) && !c->HasActivatedAbility() && FitsFriendlyAura(aura, c);
        });
    return WalkKillable(false, 20, PLAYER_HUMAN, [aura](const CardActor* c) {
        const int costType = c->GetAbility()->costType;
        return !c->GetStats().cannotAttack && costType != COSTTYPE_TAP && costType != COSTTYPE_SACRIFICE &&
               costType != COSTTYPE_TAPSAC && !c->HasAttachedAura(false) && FitsHostileAura(aura, c);
    });
}

struct Choice {
    CardActor* card = nullptr;
    int free = 0;
    CardActor* targetCard = nullptr;
    Actor* targetPlayer = nullptr;

    const EffectSpec& Effect() const { return *card->GetSpellEffect(); }
    const TargetSpec& Target() const { return *card->GetSpellTarget(); }
    bool IsX() const { return card->IsXSpell(); }
    void SetX(int x) { card->GetPaidMana() = ManaCost(x, 0, 0, 0, 0, 0); }
};

bool ChooseDamage(Choice& ch)
{
    const EffectSpec& e = ch.Effect();
    const TargetSpec& t = ch.Target();
    const int damage = e.damageAmt * (ch.IsX() ? ch.free : 1);
    const int humanLife = Human().m_Life + Human().m_PreventDamage;
    const int cpuLife = Cpu().m_Life;
    if (!ch.IsX() && t.opponent && t.type == TT_NONE) {
        ch.targetPlayer = HumanActor();
    } else if ((!t.opponent || damage < humanLife) && (t.type & CREATURE_BITS) != 0) {
        int threat = 0;
        for (const CardActor* c : GetCardActors())
            if (c->GetOwner() == PLAYER_HUMAN && c->GetCardType() == CT_CREATURE && c->CanAct() && !c->GetStats().cannotAttack &&
                !CanPlayerBlockAttacker(PLAYER_CPU, c))
                threat += c->GetStats().power;
        if (Cpu().m_Life + Cpu().m_PreventDamage <= threat) {
            const int cpuGuard = Cpu().m_Life + Cpu().m_PreventDamage;
            ch.targetCard = WalkKillable(false, damage, PLAYER_HUMAN, [&](CardActor* c) {
                const int power = c->GetStats().power;
                return !CanPlayerBlockAttacker(PLAYER_CPU, c) && threat - power < cpuGuard && power >= cpuLife &&
                       QuietlyAccepts(ch.card, c);
            });
            if (ch.targetCard != nullptr && ch.IsX())
                ch.SetX(DivideRoundUp(ch.targetCard->GetRemainingToughness(false, false), e.damageAmt));
        }
        if (ch.targetCard == nullptr && !ch.IsX()) {
            const bool canAttack = CountAbleAttackers(PLAYER_CPU) > 0;
            ch.targetCard = WalkKillable(false, damage, PLAYER_HUMAN, [&](CardActor* c) {
                const CreatureStats& s = c->GetStats();
                if (s.cannotAttack)
                    return false;
                const bool worth = damage <= s.power ||
                                   (damage - c->GetRemainingToughness(false, true) < 2 &&
                                    c->GetTapState() != TAP_TAPPED && canAttack) ||
                                   s.power >= cpuLife / 6 || (s.flying && s.power >= cpuLife / 8) ||
                                   s.isUnblockable || c->HasAttachedAura(false);
                return worth && QuietlyAccepts(ch.card, c);
            });
        }
    } else if (t.opponent && damage >= humanLife) {
        ch.targetPlayer = HumanActor();
        if (ch.IsX())
            ch.SetX(DivideRoundUp(humanLife, e.damageAmt));
    }
    return ch.targetCard != nullptr || ch.targetPlayer != nullptr || e.targetIsGroup;
}

// The life test shared by gains and drains: a big or open-ended gain waits while the CPU is healthy.
bool GainWaits(bool isX, int amount)
{
    return (isX || Cpu().m_Life + amount > MAX_LIFE) && Cpu().m_Life > 13;
}

int SizedGain(const Choice& ch, int perX)
{
    return perX > 0 ? std::min(ch.free, 8 / perX) : 0;
}

bool ChooseLife(Choice& ch)
{
    if (!s_PastCombat && CpuHasReadyCreature())
        return false;
    const EffectSpec& e = ch.Effect();
    const int times = ch.IsX() ? ch.free : 1;
    if (e.effectType == EFFECT_MODLIFE) {
        const int amount = e.modLifeAmt * times;
        if (amount < 0) {
            ch.targetPlayer = HumanActor();
            return true;
        }
        if (amount == 0 || GainWaits(ch.IsX(), amount))
            return false;
        ch.targetPlayer = CpuActor();
        if (ch.IsX())
            ch.SetX(SizedGain(ch, e.modLifeAmt));
        return true;
    }
    // X is sized by dividing by the drain per X: nothing to divide by, nothing to play.
    if (ch.IsX() && e.drainLifeAmt <= 0)
        return false;
    const int amount = e.drainLifeAmt * times;
    const int humanLife = Human().m_Life + (e.drainIsDamage ? Human().m_PreventDamage : 0);
    if (amount < humanLife) {
        if (GainWaits(ch.IsX(), amount))
            return false;
        ch.targetPlayer = HumanActor();
        if (ch.IsX())
            ch.SetX(SizedGain(ch, e.drainLifeAmt));
        return true;
    }
    ch.targetPlayer = HumanActor();
    if (ch.IsX())
        ch.SetX(DivideRoundUp(humanLife, e.drainLifeAmt));
    return true;
}

bool ChooseDrawDiscard(Choice& ch)
{
    const EffectSpec& e = ch.Effect();
    const bool holdBack = !s_PastCombat && CpuHasReadyCreature();
    if (e.drawAmt > 0 && !holdBack) {
        if (CountCpuHandCards() + e.drawAmt >= 9)
            return false;
        ch.targetPlayer = CpuActor();
        return true;
    }
    if (e.discardAmt <= 0 || (holdBack && s_GameMode != 2) || e.discardAmt > HumanHandSize())
        return false;
    ch.targetPlayer = HumanActor();
    return true;
}

bool InCpuGraveyard(const CardActor* card)
{
    const PlayerState& cpu = Cpu();
    return std::find(cpu.m_Graveyard.begin(), cpu.m_Graveyard.begin() + cpu.m_GraveyardCount, card) !=
           cpu.m_Graveyard.begin() + cpu.m_GraveyardCount;
}

bool ChooseRaise(Choice& ch)
{
    for (CardActor* c : GetCardActors()) {
        if (c->GetOwner() != PLAYER_CPU || c->GetCardType() != CT_CREATURE || c->IsHeld() ||
            !(c->IsExitMoveForward() || InCpuGraveyard(c)))
            continue;
        if (ch.targetCard == nullptr || c->GetStats().power > ch.targetCard->GetStats().power)
            ch.targetCard = c;
    }
    return ch.targetCard != nullptr;
}

bool ChooseTutor(const Choice& ch)
{
    const EffectSpec& e = ch.Effect();
    const PlayerState& cpu = Cpu();
    if ((e.raiseTutorType != RAISETUTOR_TOPLAY && e.raiseTutorType != RAISETUTOR_TOPLAYTAPPED) ||
        (ch.Target().type & TT_LAND) == 0 || cpu.m_NextDrawIndex + e.raiseTutorAmt >= cpu.m_LibraryCount ||
        CountCpuHandCards() >= e.raiseTutorAmt + 7)
        return false;
    for (int i = std::max(cpu.m_NextDrawIndex, 0); i < cpu.m_LibraryCount && i < LIBRARY_CAPACITY; ++i) {
        const int id = cpu.m_Library[static_cast<std::size_t>(i)];
        if (id > 0 && id < CD_NUMBER_OF_CARD_DEFS && g_CardDefs[id].GetCardType() == CT_LAND &&
            KeepCoveredColours(*g_CardDefs[id].GetManaCounters(), ch.Target().color).HasColour())
            return true;
    }
    return false;
}

bool ChooseDestroy(Choice& ch)
{
    const EffectSpec& e = ch.Effect();
    const TargetSpec& t = ch.Target();
    if (!e.needsTarget && e.targetIsGroup)
        return true;
    if ((t.type & TT_LAND) != 0) {
        if (!s_PastCombat && CpuHasReadyCreature())
            return false;
        static constexpr int kColourOrder[] = {1, 4, 2, 3, 5};  // red, black, green, blue, white
        for (int count = 1; count <= 8; ++count) {
            for (const int colour : kColourOrder) {
                if (Human().m_LandColours.At(colour) != count)
                    continue;
                ManaCost wanted;
                wanted.At(colour) = 1;
                ch.targetCard = FindLandForCost(PLAYER_HUMAN, wanted);
                return ch.targetCard != nullptr;
            }
        }
        return false;
    }
    if ((t.type & CREATURE_BITS) == 0)
        return false;
    const int life = Cpu().m_Life;
    ch.targetCard = WalkKillable(true, 20, PLAYER_HUMAN, [&](CardActor* c) {
        return !CanPlayerBlockAttacker(PLAYER_CPU, c) && c->GetStats().power >= life && QuietlyAccepts(ch.card, c);
    });
    if (ch.targetCard == nullptr) {
        const bool ready = CpuHasReadyCreature();
        ch.targetCard = WalkKillable(true, 20, PLAYER_HUMAN, [&](CardActor* c) {
            const CreatureStats& s = c->GetStats();
            const int costType = c->GetAbility()->costType;
            if (s.cannotAttack || costType == COSTTYPE_SACRIFICE || costType == COSTTYPE_TAPSAC)
                return false;
            const bool minor = s.power < life / 6 && !(s.flying && s.power >= life / 8) &&
                               (CanPlayerBlockAttacker(PLAYER_CPU, c) || ready) && s.toughness < 3 &&
                               !s.isUnblockable && !s.firstStrike && !s.hasFearAttack && !s.flyBlock &&
                               !c->HasAttachedAura(false);
            return !minor && QuietlyAccepts(ch.card, c);
        });
    }
    return ch.targetCard != nullptr;
}

bool ChoosePump(Choice& ch)
{
    const EffectSpec& e = ch.Effect();
    // Lowering toughness is left alone: the ranking search finds nothing for a negative amount.
    if (e.toughModAmt < 0)
        return false;
    if (e.targetIsGroup)
        return true;
    if (s_PastCombat || (e.powerModAmt <= 0 && e.toughModAmt == 0))
        return false;
    ch.targetCard = WalkKillable(false, 20, PLAYER_CPU, [&](CardActor* c) { return QuietlyAccepts(ch.card, c); });
    return ch.targetCard != nullptr;
}

bool ChooseSorcery(Choice& ch)
{
    switch (ch.Effect().effectType) {
    case EFFECT_DAMAGE:
        return ChooseDamage(ch);
    case EFFECT_PTMOD_STATIC:
        return ChoosePump(ch);
    case EFFECT_MODLIFE:
    case EFFECT_DRAINLIFE:
        return ChooseLife(ch);
    case EFFECT_DRAWDISCARD:
        return ChooseDrawDiscard(ch);
    case EFFECT_RAISE:
        return ChooseRaise(ch);
    case EFFECT_TUTOR:
        return ChooseTutor(ch);
    case EFFECT_DESTROY:
        return ChooseDestroy(ch);
    default:
        return false;
    }
}

bool ChooseCreature(const Choice& ch)
{
    const EffectSpec& e = ch.Effect();
    if (e.effectType != EFFECT_MODLIFE || e.needsTarget || !ch.Target().caster)
        return true;
    const int life = Cpu().m_Life + e.modLifeAmt;
    return life >= 1 && life <= MAX_LIFE;
}

bool HeldBackForCombat(const CardActor* card, int free)
{
    const int type = card->GetCardType();
    if (s_PastCombat || (type != CT_CREATURE && type != CT_ARTIFACT) || card->GetStats().haste)
        return false;
    if (IsPhysicalLesson())
        return CountAbleAttackers(PLAYER_CPU) > 0;
    const bool keepsMana = (FindCardActorByState(PLAYER_CPU) & 16) != 0 || HasUsableAbility(PLAYER_CPU);
    return free < 4 && keepsMana;
}

bool Choose(Choice& ch)
{
    switch (ch.card->GetCardType()) {
    case CT_CREATURE:
        return ChooseCreature(ch);
    case CT_ARTIFACT:
        return true;
    case CT_ENCHANT:
        if (ch.card->GetSubType() != ENCH_CREATURE)
            return true;
        ch.targetCard = ChooseAuraTarget(ch.card);
        return ch.targetCard != nullptr;
    case CT_SORCERY:
        return ChooseSorcery(ch);
    default:
        return false;
    }
}

} // namespace

CardActor* FindHeldCpuLandForCost(const ManaCost& colours)
{
    for (CardActor* c : GetCardActors())
        if (c->GetOwner() == PLAYER_CPU && c->IsHeld() && c->IsNotLeaving() && c->GetCardType() == CT_LAND &&
            KeepCoveredColours(GetManaProduction(*c), colours).HasColour())
            return c;
    return nullptr;
}

CardActor* CpuChooseLandToPlay()
{
    UpdateCpuAvailableMana();
    const int available = GetAvailableMana(PLAYER_CPU).Total();
    ManaCost demand;
    for (const CardActor* c : GetCardActors()) {
        if (c->GetOwner() != PLAYER_CPU || !c->IsHeld() || c->GetCardType() != CT_CREATURE ||
            c->GetManaCounters()->generic > available)
            continue;
        for (int colour = 1; colour < 6; ++colour)
            if (c->GetManaCounters()->At(colour) != 0)
                ++demand.At(colour);
    }
    // The most demanded colours, then the next most demanded.
    ManaCost sets[2];
    for (ManaCost& set : sets) {
        int most = 0;
        for (int colour = 1; colour < 6; ++colour)
            most = std::max(most, demand.At(colour));
        if (most <= 0)
            break;
        for (int colour = 1; colour < 6; ++colour) {
            if (demand.At(colour) == most) {
                set.At(colour) = 1;
                demand.At(colour) = 0;
            }
        }
    }
    CardActor* land = sets[0].HasColour() ? FindHeldCpuLandForCost(sets[0]) : nullptr;
    if (land == nullptr) {
        land = sets[1].HasColour() ? FindHeldCpuLandForCost(sets[1]) : nullptr;
    } else if (sets[1].HasColour() && CountCardsPayableWith(PLAYER_CPU, sets[0]) > 0) {
        // The first colour is already served: a land of the second, else the first held land below.
        land = FindHeldCpuLandForCost(sets[1]);
    }
    if (land != nullptr)
        return land;
    for (CardActor* c : GetCardActors())
        if (c->GetOwner() == PLAYER_CPU && c->IsHeld() && c->GetCardType() == CT_LAND)
            return c;
    return nullptr;
}

int CollectCpuPlayableCards()
{
    s_PlayableCount = 0;
    const std::vector<CardActor*> cards = GetCardActors();
    for (const bool creatures : {true, false}) {
        for (CardActor* c : cards) {
            if (c->GetOwner() != PLAYER_CPU || !c->IsHeld() || !c->IsNotLeaving())
                continue;
            const int type = c->GetCardType();
            const bool listed =
                creatures ? type == CT_CREATURE : type == CT_ARTIFACT || type == CT_ENCHANT || type == CT_SORCERY;
            if (listed && s_PlayableCount < CPU_PLAYABLE_CAPACITY)
                s_Playable[static_cast<std::size_t>(s_PlayableCount++)] = c;
        }
    }
    return s_PlayableCount;
}

CardActor* GetCpuPlayableCard(int index)
{
    return index >= 0 && index < s_PlayableCount ? s_Playable[static_cast<std::size_t>(index)] : nullptr;
}

void ClearCpuChoiceTable()
{
    s_PlayableCount = 0;
    s_LastCreature = nullptr;
}

bool CpuChoosePlay(int count, CardActor*& card, CardActor*& targetCard, Actor*& targetPlayer)
{
    UpdateCpuAvailableMana();
    s_LastCreature = nullptr;
    count = std::min(count, s_PlayableCount);
    for (int i = 0; i < count; ++i) {
        targetCard = nullptr;
        targetPlayer = nullptr;
        card = s_Playable[static_cast<std::size_t>(i)];
        if (card == nullptr || card->GetCardType() == CT_INSTANT)
            continue;
        Choice ch{card, GetAvailableMana(PLAYER_CPU).Total() - card->GetManaCounters()->Total()};
        if (HeldBackForCombat(card, ch.free) || !CanAffordCard(card, false, true) || !Choose(ch))
            continue;
        targetCard = ch.targetCard;
        targetPlayer = ch.targetPlayer;
        card->SetChosenTarget(targetPlayer != nullptr ? targetPlayer : targetCard);
        if (card->GetCardType() == CT_CREATURE)
            s_LastCreature = card;
        return false;
    }
    return true;
}

CardActor* CpuChooseCreatureToCast()
{
    return s_LastCreature;
}

void OnCpuChoiceCardRemoved(const CardActor* card)
{
    std::replace(s_Playable.begin(), s_Playable.end(), const_cast<CardActor*>(card), static_cast<CardActor*>(nullptr));
    if (s_LastCreature == card)
        s_LastCreature = nullptr;
}
