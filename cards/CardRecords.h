// The records a card definition is made of: creature statistics, a target and an effect (one pair for the card's
// spell, one for its ability) and the ability itself. Plain values, copied freely; every field 0 when built.
#pragma once

#include "rules/ManaCost.h"

#include <cstdint>

// Shared with the card actors and with the bonuses a player's global enchantments give.
struct CreatureStats {
    std::int32_t power = 0;
    std::int32_t toughness = 0;
    bool hasCannotBlock = false;
    bool hasFearAttack = false;
    bool mustAttack = false;
    bool isUnblockable = false;
    bool flying = false;
    bool flyBlock = false;
    bool trample = false;
    bool firstStrike = false;
    bool cannotAttack = false;
    bool noTapAttack = false;
    bool haste = false;
    bool isWall = false;
    std::int32_t minBlockers = 0;
    std::int32_t maxBlockers = 0;
    ManaCost walk;        // landwalk colours
    ManaCost protection;  // protection colours

    bool operator==(const CreatureStats&) const = default;
};

struct TargetSpec {
    bool caster = false;
    bool opponent = false;
    ManaCost color;            // colour set
    std::int32_t state = 0;    // TargetState
    std::int32_t owner = 0;    // TargetOwner
    std::int32_t type = 0;     // OR of TargetTypeBits

    bool operator==(const TargetSpec&) const = default;
};

struct EffectSpec {
    std::int32_t effectType = 0;  // EffectType
    std::int32_t duration = 0;    // EffectDuration
    std::int32_t damageAmt = 0;
    std::int32_t powerModAmt = 0;
    std::int32_t toughModAmt = 0;
    ManaCost ptModLandColor;      // colour set of the lands that scale the change
    std::int32_t modLifeAmt = 0;
    std::int32_t preventDmgAmt = 0;
    std::int32_t drainLifeAmt = 0;
    bool drainIsDamage = false;
    std::int32_t drawAmt = 0;
    std::int32_t discardAmt = 0;
    std::int32_t raiseTutorAmt = 0;
    std::int32_t raiseTutorType = 0;  // RaiseTutorType
    std::int32_t spyAmt = 0;
    bool spyRearrange = false;
    ManaCost counterManaSink;
    ManaCost manaProduced;
    bool noRegen = false;
    bool needsTarget = false;
    bool targetOnResolve = false;
    bool targetIsGroup = false;

    bool operator==(const EffectSpec&) const = default;
};

struct CardAbility {
    std::int32_t costType = 0;  // AbilityCostType
    ManaCost cost;
    EffectSpec effect;
    TargetSpec target;

    bool operator==(const CardAbility&) const = default;
};
