#include "rules/CombatDamage.h"

#include "cards/CardActor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/Actor.h"
#include "engine/sound/Wave.h"
#include "cards/LifeToken.h"
#include "cards/TableScene.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/TableSelection.h"

#include <algorithm>

namespace {

constexpr int FULL_VOLUME = 255;
std::vector<CombatDamageRecord> s_Records;

bool IsCreature(const CardActor& card)
{
    return card.GetCardType() == CT_CREATURE;
}

bool IsBlack(const CardActor& card)
{
    return card.GetManaCounters()->black != 0;
}

int BlockerBits(const CardActor& card)
{
    const CreatureStats& s = card.GetStats();
    int bits = COMBAT_PLAIN;
    if (s.flying)
        bits |= COMBAT_FLYING;
    if (s.flyBlock)
        bits |= COMBAT_FLYBLOCK;
    if (s.hasFearAttack)
        bits |= COMBAT_FEAR;
    if (s.isUnblockable)
        bits |= COMBAT_UNBLOCKABLE;
    return bits;
}

template <class Test>
int Count(Test test)
{
    int count = 0;
    for (const CardActor* const card : GetCardActors()) {
        if (test(*card))
            ++count;
    }
    return count;
}

CombatDamageRecord& RecordFor(CardActor* attacker)
{
    for (CombatDamageRecord& record : s_Records) {
        if (record.attacker == attacker)
            return record;
    }
    s_Records.push_back(CombatDamageRecord{attacker});
    return s_Records.back();
}

CombatDamageEntry* EntryFor(CombatDamageRecord& record, const CardActor* blocker)
{
    for (CombatDamageEntry& entry : record.entries) {
        if (entry.blocker == blocker)
            return &entry;
    }
    return nullptr;
}

// From the position on, the next card the test accepts; the position is left behind it.
template <class Test>
CardActor* FindFrom(int& position, Test test)
{
    const std::vector<CardActor*> cards = GetCardActors();
    while (position < static_cast<int>(cards.size())) {
        CardActor* const card = cards[static_cast<std::size_t>(position++)];
        if (test(*card))
            return card;
    }
    return nullptr;
}

} // namespace

bool IsAbleToAttack(const CardActor* card)
{
    return card != nullptr && IsCreature(*card) && card->CanAct() && !card->GetStats().cannotAttack &&
           (card->GetTapState() == TAP_READY || card->IsAttacking());
}

bool IsAbleToBlock(const CardActor* card)
{
    return card != nullptr && IsCreature(*card) && card->CanAct() && card->GetTapState() != TAP_TAPPED &&
           !card->GetStats().hasCannotBlock;
}

int GetCombatFlags(const CardActor* card)
{
    if (card == nullptr)
        return COMBAT_PLAIN;
    const CreatureStats& s = card->GetStats();
    int bits = 0;
    if (s.flying || card->IsFlyingUntilEndOfTurn())
        bits |= COMBAT_FLYING;
    if (s.hasFearAttack)
        bits |= COMBAT_FEAR;
    if (s.isUnblockable)
        bits |= COMBAT_UNBLOCKABLE;
    return bits != 0 ? bits : COMBAT_PLAIN;
}

int GetPlayerCombatFlags(int player)
{
    int bits = 0;
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetOwner() == player && IsAbleToAttack(card))
            bits |= GetCombatFlags(card);
    }
    return bits;
}

bool CanBlockWith(const CardActor* blocker, int bits)
{
    if (!IsAbleToBlock(blocker) || bits == COMBAT_UNBLOCKABLE)
        return false;
    if ((bits & COMBAT_PLAIN) != 0)
        return true;
    if ((bits & COMBAT_FLYING) != 0 && (blocker->GetStats().flying || blocker->GetStats().flyBlock))
        return true;
    if ((bits & COMBAT_FEAR) != 0)
        return CanBlockFearAttacker(blocker);
    return false;
}

bool CanBlockFearAttacker(const CardActor* card)
{
    return card != nullptr && IsCreature(*card) && !card->GetStats().hasCannotBlock &&
           (IsBlack(*card) || card->GetSubType() == ARTIFACT_CREATURE);
}

bool CanPlayerBlockAny(int player)
{
    const int bits = GetPlayerCombatFlags(1 - player);
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetOwner() == player && CanBlockWith(card, bits))
            return true;
    }
    return false;
}

bool CanPlayerBlockAttacker(int player, const CardActor* attacker)
{
    if (attacker == nullptr || attacker->GetStats().isUnblockable)
        return false;
    if (attacker->GetStats().hasFearAttack && CountFearBlockers(player) == 0)
        return false;
    if (attacker->GetStats().flying && CountCreaturesMatchingFlags(player, COMBAT_FLYING | COMBAT_FLYBLOCK, false) == 0)
        return false;
    return CountAbleBlockers(player) != 0;
}

int CountFearBlockers(int player)
{
    return Count([player](const CardActor& c) {
        return c.GetOwner() == player && c.GetTapState() != TAP_TAPPED && c.IsNotLeaving() && !c.IsHeld() &&
               !c.IsSummoningSick() && CanBlockFearAttacker(&c);
    });
}

int CountAbleBlockers(int player)
{
    return Count([player](const CardActor& c) { return c.GetOwner() == player && IsAbleToBlock(&c); });
}

int CountAbleAttackers(int player)
{
    return Count([player](const CardActor& c) { return c.GetOwner() == player && IsAbleToAttack(&c); });
}

int CountMustAttackCreatures(int player, CardActor** card)
{
    const int id = card != nullptr && *card != nullptr && s_GameMode != 2 ? (*card)->GetId() : 0;
    int count = 0;
    for (CardActor* const c : GetCardActors()) {
        if (c->GetOwner() != player || !IsCreature(*c) || !c->CanAct() || c->IsAttacking() ||
            c->GetTapState() != TAP_READY || !c->GetStats().mustAttack || c->GetStats().cannotAttack)
            continue;
        if (id != 0 && c->GetId() != id)
            continue;
        ++count;
        if (card != nullptr)
            *card = c;
    }
    return count;
}

int CountCreaturesMatchingFlags(int player, int mask, bool skipWalls)
{
    return Count([=](const CardActor& c) {
        return c.GetOwner() == player && IsCreature(c) && c.IsNotLeaving() && !c.IsHeld() && !c.IsSummoningSick() &&
               c.GetTapState() != TAP_TAPPED && !(skipWalls && c.GetStats().isWall) && (BlockerBits(c) & mask) != 0;
    });
}

int CountTappedCreaturesMatchingFlags(int player, int mask, bool skipWalls)
{
    return Count([=](const CardActor& c) {
        return c.GetOwner() == player && IsCreature(c) && c.IsNotLeaving() && !c.IsHeld() && !c.IsSummoningSick() &&
               c.GetTapState() == TAP_TAPPED && !(skipWalls && c.GetStats().isWall) && (BlockerBits(c) & mask) != 0;
    });
}

int CountCreaturesWithFlagsInCombat(int player, int mask, bool onlyAttacking, bool onlyBlocking)
{
    return Count([=](const CardActor& c) {
        return c.GetOwner() == player && IsCreature(c) && c.IsNotLeaving() && !c.IsHeld() && !c.IsSummoningSick() &&
               (!onlyAttacking || c.IsAttacking()) && (!onlyBlocking || c.GetBlockedAttacker() != nullptr) &&
               (BlockerBits(c) & mask) != 0;
    });
}

int CountSickCreatures(int player)
{
    return Count([player](const CardActor& c) {
        return c.GetOwner() == player && IsCreature(c) && c.GetTapState() == TAP_NEW && c.IsNotLeaving() &&
               !c.IsHeld();
    });
}

CardActor* FindNextSickHumanCreature(int& position)
{
    return FindFrom(position, [](const CardActor& c) {
        return c.GetOwner() == PLAYER_HUMAN && IsCreature(c) && c.GetTapState() == TAP_NEW && c.IsNotLeaving() &&
               !c.IsSummoningSick() && !c.IsHeld();
    });
}

CardActor* FindBlockedAttacker(int player, CardActor* card)
{
    if (card == nullptr || card->GetOwner() != player || !IsCreature(*card) || !card->IsAttacking() || !card->CanAct())
        return nullptr;
    return card->CountBlockers() != 0 || card->IsBlocked() ? card : nullptr;
}

CardActor* FindUnblockedAttacker(int player, CardActor* card)
{
    if (card == nullptr || card->GetOwner() != player || !IsCreature(*card) || !card->IsAttacking() || !card->CanAct())
        return nullptr;
    return card->CountBlockers() == 0 && !card->IsBlocked() ? card : nullptr;
}

CardActor* FindBlockingCreature(int player, CardActor* card)
{
    if (card == nullptr || card->GetOwner() != player || !IsCreature(*card) || card->GetBlockedAttacker() == nullptr ||
        card->IsHeldOrLeaving())
        return nullptr;
    return card;
}

CardActor* FindAttackerWithDamage(int player, int& position)
{
    return FindFrom(position, [player](CardActor& c) {
        return FindBlockedAttacker(player, &c) != nullptr && (c.GetDamage() != 0 || c.GetPendingDamage() != 0);
    });
}

CardActor* FindBlockerWithDamage(int player, int& position)
{
    return FindFrom(position, [player](CardActor& c) {
        return FindBlockingCreature(player, &c) != nullptr && (c.GetDamage() != 0 || c.GetPendingDamage() != 0);
    });
}

int SumBlockerPower(const CardActor* attacker)
{
    if (attacker == nullptr)
        return 0;
    int sum = 0;
    for (int slot = 0; slot < CARD_SLOT_COUNT; ++slot) {
        if (const CardActor* const blocker = attacker->GetBlocker(slot))
            sum += blocker->GetStats().power;
    }
    return sum;
}

int SumAttackingPower(int player)
{
    int sum = 0;
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetOwner() == player && IsCreature(*card) && card->IsAttacking() && card->CanAct())
            sum += card->GetStats().power;
    }
    return sum;
}

bool AnyFirstStrikeInCombat()
{
    for (const CardActor* const card : GetCardActors()) {
        if (card->CanAct() && (card->IsAttacking() || card->GetBlockedAttacker() != nullptr) &&
            card->GetStats().firstStrike)
            return true;
    }
    return false;
}

CardActor* GetSelectedAttackCandidate()
{
    if (MouseState.leftClicked == 0)
        return nullptr;
    CardActor* const card = GetTableSelection().selectedCard;
    if (card == nullptr || card->GetOwner() != PLAYER_HUMAN || !IsCreature(*card) || card->IsHeld() || card->IsSummoningSick() ||
        card->GetTapState() != TAP_READY || !card->IsNotLeaving())
        return nullptr;
    return card;
}

void SortByToughness(CardActor** cards, int count)
{
    if (cards == nullptr || count <= 0)
        return;
    std::vector<int> filled;
    std::vector<CardActor*> values;
    for (int i = 0; i < count; ++i) {
        if (cards[i] != nullptr) {
            filled.push_back(i);
            values.push_back(cards[i]);
        }
    }
    std::stable_sort(values.begin(), values.end(), [](const CardActor* a, const CardActor* b) {
        if (a->GetStats().toughness != b->GetStats().toughness)
            return a->GetStats().toughness > b->GetStats().toughness;
        return a->GetStats().flying && !b->GetStats().flying;
    });
    for (std::size_t i = 0; i < filled.size(); ++i)
        cards[filled[i]] = values[i];
}

void AssignBlocker(CardActor* attacker, CardActor* blocker)
{
    if (attacker == nullptr || blocker == nullptr)
        return;
    attacker->AddBlocker(blocker);
    attacker->SetBlocked(true);
    PlayStream(u"data\\sfx\\cs00025.wav");
    if (IsOnlineLesson())
        AddBlockLink(blocker);
}

bool RemoveBlockerAssignment(CardActor* blocker)
{
    if (blocker == nullptr || blocker->GetBlockedAttacker() == nullptr)
        return false;
    CardActor* const attacker = blocker->GetBlockedAttacker();
    attacker->RemoveBlocker(blocker);
    blocker->SetBlockedAttacker(nullptr);
    attacker->SetBlocked(attacker->CountBlockers() != 0);
    if (IsOnlineLesson())
        RemoveBlockLink(blocker);
    return true;
}

void ReturnAttackersToReady(int player)
{
    for (CardActor* const card : GetCardActors()) {
        if (card->GetOwner() == player && card->CanAct() && card->IsAttacking()) {
            card->SetAttacking(false);
            card->SetTapState(TAP_READY);
        }
    }
}

bool AssignCombatDamage(int p, bool firstStrikeStep)
{
    PlayerState& defender = *GetPlayerState(1 - p);
    GetPlayerState(0)->m_DamageThisTurn = 0;
    GetPlayerState(1)->m_DamageThisTurn = 0;
    ClearCombatDamageRecords();
    bool assigned = false;
    for (CardActor* const attacker : GetCardActors()) {
        if (!IsCreature(*attacker) || !attacker->IsAttacking() || attacker->GetOwner() != p || !attacker->CanAct())
            continue;
        attacker->UpdatePowerToughness(false);
        const int power = attacker->GetStats().power;
        const bool matches = attacker->GetStats().firstStrike == firstStrikeStep;
        int left = matches ? power : 0;
        if (!attacker->IsBlocked()) {
            if (!matches)
                continue;
            RecordFor(attacker).damageToPlayer = power;
            defender.m_DamageThisTurn += power;
            assigned = true;
            continue;
        }
        int total = 0;
        const bool several = attacker->CountBlockers() > 1;
        attacker->SortBlockers(true, false);
        // Several blockers are dealt damage lethal-first, by either side.
        int mark = -1;
        if (several) {
            int last = -1;
            for (int i = 0; i < CARD_SLOT_COUNT; ++i) {
                const CardActor* const b = attacker->GetBlocker(i);
                if (b == nullptr)
                    continue;
                last = i;
                if (mark < 0 && b->CanAct() && b->GetRemainingToughness(false, false) <= left)
                    mark = i;
            }
            if (mark < 0)
                mark = std::max(last, 0);
        }
        for (int i = 0; i < CARD_SLOT_COUNT; ++i) {
            CardActor* const b = attacker->GetBlocker(i);
            if (b == nullptr)
                continue;
            const bool blockerMatches = b->GetStats().firstStrike == firstStrikeStep;
            CombatDamageEntry* entry = nullptr;
            CombatDamageRecord* record = nullptr;
            if (matches || blockerMatches) {
                record = &RecordFor(attacker);
                record->blocked = true;
                record->several = several;
                record->entries.push_back(CombatDamageEntry{b});
                entry = &record->entries.back();
                assigned = true;
            }
            if (!b->CanAct())
                continue;
            b->UpdatePowerToughness(false);
            const int bt = b->GetRemainingToughness(false, false);
            total += bt;
            if (entry == nullptr)
                continue;
            if (blockerMatches) {
                const int blockerPower = b->GetStats().power;
                attacker->SetPendingDamage(attacker->GetPendingDamage() + blockerPower);
                entry->dealtToAttacker += blockerPower;
                record->damageTaken += blockerPower;
            }
            if (!matches)
                continue;
            if (!several) {
                b->SetPendingDamage(power);
                left = std::max(0, power - bt);
                entry->assigned = b->GetPendingDamage();
            } else if (left >= 1 && i >= mark) {
                if (left < bt && mark != 0)
                    continue;
                const int amount = std::min(bt, left);
                b->SetPendingDamage(amount);
                entry->assigned = amount;
                left -= amount;
            }
        }
        if (several && left >= 1) {
            for (int i = mark - 1; i >= 0; --i) {
                CardActor* const b = attacker->GetBlocker(i);
                if (b == nullptr || !b->CanAct())
                    continue;
                b->SetPendingDamage(b->GetPendingDamage() + left);
                if (CombatDamageEntry* const entry = EntryFor(RecordFor(attacker), b))
                    entry->assigned = left;
                left = 0;
                assigned = true;
                break;
            }
        }
        if (attacker->GetStats().trample && left >= 1 && power > total) {
            defender.m_DamageThisTurn += left;
            RecordFor(attacker).damageToPlayer = left;
            assigned = true;
        }
    }
    return assigned;
}

void DealCombatDamage(int p)
{
    const int d = 1 - p;
    PlayerState& defender = *GetPlayerState(d);
    if (defender.m_DamageThisTurn != 0) {
        const int previous = defender.GetLife();
        const int dealt = defender.TakeDamage(defender.m_DamageThisTurn, true);
        defender.m_DamageThisTurn = 0;
        if (p == PLAYER_HUMAN) {
            PlayEffect(59 + (plat::Rand() & 3), FULL_VOLUME, 0, 0, 0, nullptr);
        } else if (dealt > 0) {
            if (IsOnlineLesson())
                PlayStream(u"data\\sfx\\combatd.wav");
            else
                ShowHumanLifeChange(0, previous);
        }
    }
    for (CardActor* const card : GetCardActors()) {
        if (card->CanAct() && IsCreature(*card) && card->GetPendingDamage() != 0) {
            card->AddDamage(card->GetPendingDamage());
            card->SetPendingDamage(0);
            card->ResolveDamage();
        }
    }
}

void EndCombat()
{
    for (CardActor* const card : GetCardActors()) {
        for (int slot = CARD_SLOT_COUNT - 1; slot >= 0; --slot) {
            if (CardActor* const blocker = card->GetBlocker(slot)) {
                card->RemoveBlocker(blocker);
            }
        }
        card->SetBlocked(false);
        card->SetAttacking(false);
        card->SetBlockedAttacker(nullptr);
    }
    if (IsOnlineLesson())
        ClearBlockLinkMap();
}

void ResetCombatDamage(bool recompute)
{
    for (int player = 0; player < 2; ++player) {
        GetPlayerState(player)->m_PreventDamage = 0;
        GetPlayerState(player)->m_DamageThisTurn = 0;
    }
    for (CardActor* const card : GetCardActors()) {
        if (card->GetId() != 0)
            card->UpdatePowerToughness(recompute);
    }
    if (IsOnlineLesson())
        PutLeavingCardsIntoGraveyard();
}

void ApplyStaticAbilities()
{
    UpdateHumanAvailableMana();
    UpdateCpuAvailableMana();
    // Both bonuses are cleared before either is built: the human's enchantments also reach the CPU's creatures.
    GetPlayerState(0)->m_CreatureBonus = CreatureStats();
    GetPlayerState(1)->m_CreatureBonus = CreatureStats();
    for (int p = 0; p < 2; ++p) {
        for (const CardActor* const card : GetCardActors()) {
            if (card->GetOwner() != p || card->GetId() == 0 || card->IsSummoningSick() || !card->CanAct() ||
                !card->HasStaticAbility())
                continue;
            const CardAbility& ability = *card->GetAbility();
            if (!ability.effect.targetIsGroup || (ability.target.type & TT_CREATURE) == 0)
                continue;
            const int owner = ability.target.owner;
            for (const int side : {p, 1 - p}) {
                const bool applies = side == p ? (owner == OWNER_SELF || owner == OWNER_EITHER)
                                               : (owner == OWNER_OPPONENT || owner == OWNER_EITHER);
                if (!applies)
                    continue;
                CreatureStats& bonus = GetPlayerState(side)->m_CreatureBonus;
                if (ability.effect.effectType == EFFECT_PTMOD_STATIC) {
                    bonus.power += ability.effect.powerModAmt;
                    bonus.toughness += ability.effect.toughModAmt;
                } else if (ability.effect.effectType == EFFECT_MODCREATURE) {
                    const CreatureStats& own = *card->GetCreatureStats();
                    bonus.hasCannotBlock |= own.hasCannotBlock;
                    bonus.hasFearAttack |= own.hasFearAttack;
                    bonus.mustAttack |= own.mustAttack;
                    bonus.isUnblockable |= own.isUnblockable;
                    bonus.flying |= own.flying;
                    bonus.flyBlock |= own.flyBlock;
                    bonus.trample |= own.trample;
                    bonus.firstStrike |= own.firstStrike;
                    bonus.cannotAttack |= own.cannotAttack;
                    bonus.noTapAttack |= own.noTapAttack;
                    bonus.haste |= own.haste;
                    bonus.isWall |= own.isWall;
                }
            }
        }
    }
    // The player words wait for the hand-over: prevention cast this turn must survive the stack emptying.
    for (CardActor* const card : GetCardActors()) {
        if (card->GetId() != 0)
            card->UpdatePowerToughness(false);
    }
    if (IsOnlineLesson())
        PutLeavingCardsIntoGraveyard();
}

void ClearCombatDamageRecords()
{
    s_Records.clear();
}

int GetCombatDamageRecordCount()
{
    return static_cast<int>(s_Records.size());
}

const std::vector<CombatDamageRecord>& GetCombatDamageRecords()
{
    return s_Records;
}
