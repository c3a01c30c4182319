// Combat over the card actors: who may attack and block, evasion, blocker assignment, the division of combat
// damage in the first-strike and the regular step, dealing it, ending combat and the bonuses of global
// enchantments.
#pragma once

#include <vector>

class CardActor;

// Evasion bits of an attacker; 16 marks a blocker that may block flyers.
constexpr int COMBAT_PLAIN = 1;
constexpr int COMBAT_FLYING = 2;
constexpr int COMBAT_FEAR = 4;
constexpr int COMBAT_UNBLOCKABLE = 8;
constexpr int COMBAT_FLYBLOCK = 16;

bool IsAbleToAttack(const CardActor* card);
bool IsAbleToBlock(const CardActor* card);
int GetCombatFlags(const CardActor* card);
int GetPlayerCombatFlags(int player);
bool CanBlockWith(const CardActor* blocker, int bits);
bool CanBlockFearAttacker(const CardActor* card);
bool CanPlayerBlockAny(int player);
bool CanPlayerBlockAttacker(int player, const CardActor* attacker);
int CountFearBlockers(int player);
int CountAbleBlockers(int player);
int CountAbleAttackers(int player);
int CountMustAttackCreatures(int player, CardActor** card);
int CountCreaturesMatchingFlags(int player, int mask, bool skipWalls);
int CountTappedCreaturesMatchingFlags(int player, int mask, bool skipWalls);
int CountCreaturesWithFlagsInCombat(int player, int mask, bool onlyAttacking, bool onlyBlocking);
int CountSickCreatures(int player);
CardActor* FindNextSickHumanCreature(int& position);
CardActor* FindBlockedAttacker(int player, CardActor* card);
CardActor* FindUnblockedAttacker(int player, CardActor* card);
CardActor* FindBlockingCreature(int player, CardActor* card);
CardActor* FindAttackerWithDamage(int player, int& position);
CardActor* FindBlockerWithDamage(int player, int& position);
int SumBlockerPower(const CardActor* attacker);
int SumAttackingPower(int player);
bool AnyFirstStrikeInCombat();
// The learner's ready creature it has just clicked, or null.
CardActor* GetSelectedAttackCandidate();
// Highest toughness first, a flyer before a non-flyer of equal toughness; empty entries stay in place.
void SortByToughness(CardActor** cards, int count);

void AssignBlocker(CardActor* attacker, CardActor* blocker);
bool RemoveBlockerAssignment(CardActor* blocker);
void ReturnAttackersToReady(int player);
// Writes pending damage and the players' damage this turn; true when any damage was assigned.
bool AssignCombatDamage(int attackingPlayer, bool firstStrikeStep);
void DealCombatDamage(int attackingPlayer);
void EndCombat();
void ResetCombatDamage(bool recompute);
void ApplyStaticAbilities();

// One record per attacker that deals or takes damage in a step.
struct CombatDamageEntry {
    CardActor* blocker = nullptr;
    int assigned = 0;
    int dealtToAttacker = 0;
};
struct CombatDamageRecord {
    CardActor* attacker = nullptr;
    int damageTaken = 0;
    int damageToPlayer = 0;
    bool blocked = false;
    bool several = false;
    std::vector<CombatDamageEntry> entries;
};
// Frees every record and its entries (shutdown, and the assignment's start).
void ClearCombatDamageRecords();
int GetCombatDamageRecordCount();
const std::vector<CombatDamageRecord>& GetCombatDamageRecords();
