#include "cards/CardKeys.h"

#include "cards/CardEnums.h"
#include "engine/core/TextHelpers.h"

namespace {

const char16_t* const CARD_KEY_NAMES[CARD_KEY_SLOTS] = {
    u"SmallCard",
    u"LargeArt",
    u"Name",
    u"Cost",
    u"IsXSpell",
    u"Type",
    u"Artist",
    u"Rarity",
    u"EffectText",
    u"FlavorText",
    u"Text",
    u"CardType",
    u"Power",
    u"Toughness",
    u"HasCannotBlock",
    u"HasFearAttack",
    u"MustAttack",
    u"Flying",
    u"Trample",
    u"Haste",
    u"RegenCost",
    u"FirstStrike",
    u"Walk",
    u"Protection",
    u"IsWall",
    u"NoTapAttack",
    u"FlyBlock",
    u"PumpCost",
    u"PumpLimit",
    u"PumpAmtPower",
    u"PumpAmtTough",
    u"CannotAttack",
    u"IsUnblockable",
    u"MaxBlockers",
    u"MinBlockers",
    u"ArtifactCreature",
    u"CardSubType",
    u"EnchantDuration",
    u"EnchantAddRemAbility",
    u"EnchantIsOffensive",
    u"SpellTargetColor",
    u"SpellTargetState",
    u"SpellTargetOwner",
    u"SpellTargetType",
    u"SpellTargetCaster",
    u"SpellTargetOpponent",
    u"SpellEffectType",
    u"SpellEffectDuration",
    u"SpellEffectDamageAmt",
    u"SpellEffectPowerModAmt",
    u"SpellEffectToughModAmt",
    u"SpellEffectPTModLandColor",
    u"SpellEffectModLifeAmt",
    u"SpellEffectDrainLifeAmt",
    u"SpellEffectDrainIsDamage",
    u"SpellEffectDrawAmt",
    u"SpellEffectDiscardAmt",
    u"SpellEffectRaiseTutorAmt",
    u"SpellEffectRaiseTutorType",
    u"SpellEffectSpyAmt",
    u"SpellEffectSpyRearrange",
    u"SpellEffectCounterManaSink",
    u"SpellEffectManaProduced",
    u"SpellEffectNoRegen",
    u"SpellEffectPreventDmgAmt",
    u"SpellNeedsTarget",
    u"SpellTargetOnResolve",
    u"SpellTargetIsGroup",
    u"AbilityCost",
    u"AbilityCostType",
    u"AbilityTargetColor",
    u"AbilityTargetState",
    u"AbilityTargetOwner",
    u"AbilityTargetType",
    u"AbilityTargetCaster",
    u"AbilityTargetOpponent",
    u"AbilityEffectType",
    u"AbilityEffectDuration",
    u"AbilityEffectDamageAmt",
    u"AbilityEffectPowerModAmt",
    u"AbilityEffectToughModAmt",
    u"AbilityEffectPTModLandColor",
    u"AbilityEffectModLifeAmt",
    u"AbilityEffectDrainLifeAmt",
    u"AbilityEffectDrainIsDamage",
    u"AbilityEffectDrawAmt",
    u"AbilityEffectDiscardAmt",
    u"AbilityEffectRaiseTutorAmt",
    u"AbilityEffectRaiseTutorType",
    u"AbilityEffectSpyAmt",
    u"AbilityEffectSpyRearrange",
    u"AbilityEffectCounterManaSink",
    u"AbilityEffectManaProduced",
    u"AbilityEffectNoRegen",
    u"AbilityEffectPreventDmgAmt",
    u"AbilityNeedsTarget",
    u"AbilityTargetOnResolve",
    u"AbilityTargetIsGroup",
    nullptr,
    nullptr,
};

struct KeyReading {
    CardKeyKind kind;
    int family;
};

const KeyReading CARD_KEY_READINGS[CARD_KEY_COUNT] = {
    {CardKeyKind::Text, -1},
    {CardKeyKind::Text, -1},
    {CardKeyKind::Text, -1},
    {CardKeyKind::Mana, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Text, -1},
    {CardKeyKind::Text, -1},
    {CardKeyKind::Enum, 0},
    {CardKeyKind::Text, -1},
    {CardKeyKind::Text, -1},
    {CardKeyKind::Text, -1},
    {CardKeyKind::Enum, 1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Ignored, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Mana, -1},
    {CardKeyKind::Mana, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Ignored, -1},
    {CardKeyKind::Ignored, -1},
    {CardKeyKind::Ignored, -1},
    {CardKeyKind::Ignored, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Ignored, -1},
    {CardKeyKind::Enum, 2},
    {CardKeyKind::Ignored, -1},
    {CardKeyKind::Ignored, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Mana, -1},
    {CardKeyKind::Enum, 3},
    {CardKeyKind::Enum, 4},
    {CardKeyKind::TypeBits, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Enum, 7},
    {CardKeyKind::Enum, 8},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Mana, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Enum, 9},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Mana, -1},
    {CardKeyKind::Mana, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Mana, -1},
    {CardKeyKind::Enum, 5},
    {CardKeyKind::Mana, -1},
    {CardKeyKind::Enum, 3},
    {CardKeyKind::Enum, 4},
    {CardKeyKind::TypeBits, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Enum, 7},
    {CardKeyKind::Enum, 8},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Mana, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Enum, 9},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Mana, -1},
    {CardKeyKind::Mana, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Integer, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Flag, -1},
    {CardKeyKind::Flag, -1},
};

} // namespace

const char16_t* GetCardKeyName(int slot)
{
    if (slot < 0 || slot >= CARD_KEY_SLOTS)
        return nullptr;
    return CARD_KEY_NAMES[slot];
}

int LookupCardKey(std::u16string_view name)
{
    for (int slot = 0; slot < CARD_KEY_SLOTS; ++slot) {
        if (CARD_KEY_NAMES[slot] != nullptr && EqualsAsciiNoCase(name, CARD_KEY_NAMES[slot]))
            return slot;
    }
    return -1;
}

CardKeyKind GetCardKeyKind(int slot)
{
    if (slot < 0 || slot >= CARD_KEY_COUNT)
        return CardKeyKind::None;
    return CARD_KEY_READINGS[slot].kind;
}

int GetCardKeyFamily(int slot)
{
    const CardKeyKind kind = GetCardKeyKind(slot);
    if (kind == CardKeyKind::TypeBits)
        return FAMILY_TARGET_TYPE;
    return kind == CardKeyKind::Enum ? CARD_KEY_READINGS[slot].family : -1;
}
