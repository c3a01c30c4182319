// The key table of the card file: 100 slots, the first 98 holding the key names, the last two empty. A key's
// slot number selects how its value is read.
#pragma once

#include <string_view>

enum CardKey : int {
    KEY_SMALL_CARD = 0,
    KEY_LARGE_ART = 1,
    KEY_NAME = 2,
    KEY_COST = 3,
    KEY_IS_XSPELL = 4,
    KEY_TYPE = 5,
    KEY_ARTIST = 6,
    KEY_RARITY = 7,
    KEY_EFFECT_TEXT = 8,
    KEY_FLAVOR_TEXT = 9,
    KEY_TEXT = 10,
    KEY_CARD_TYPE = 11,
    KEY_POWER = 12,
    KEY_TOUGHNESS = 13,
    KEY_HAS_CANNOT_BLOCK = 14,
    KEY_HAS_FEAR_ATTACK = 15,
    KEY_MUST_ATTACK = 16,
    KEY_FLYING = 17,
    KEY_TRAMPLE = 18,
    KEY_HASTE = 19,
    KEY_REGEN_COST = 20,
    KEY_FIRST_STRIKE = 21,
    KEY_WALK = 22,
    KEY_PROTECTION = 23,
    KEY_IS_WALL = 24,
    KEY_NO_TAP_ATTACK = 25,
    KEY_FLY_BLOCK = 26,
    KEY_PUMP_COST = 27,
    KEY_PUMP_LIMIT = 28,
    KEY_PUMP_AMT_POWER = 29,
    KEY_PUMP_AMT_TOUGH = 30,
    KEY_CANNOT_ATTACK = 31,
    KEY_IS_UNBLOCKABLE = 32,
    KEY_MAX_BLOCKERS = 33,
    KEY_MIN_BLOCKERS = 34,
    KEY_ARTIFACT_CREATURE = 35,
    KEY_CARD_SUB_TYPE = 36,
    KEY_ENCHANT_DURATION = 37,
    KEY_ENCHANT_ADD_REM_ABILITY = 38,
    KEY_ENCHANT_IS_OFFENSIVE = 39,
    KEY_SPELL_TARGET_COLOR = 40,
    KEY_SPELL_TARGET_STATE = 41,
    KEY_SPELL_TARGET_OWNER = 42,
    KEY_SPELL_TARGET_TYPE = 43,
    KEY_SPELL_TARGET_CASTER = 44,
    KEY_SPELL_TARGET_OPPONENT = 45,
    KEY_SPELL_EFFECT_TYPE = 46,
    KEY_SPELL_EFFECT_DURATION = 47,
    KEY_SPELL_EFFECT_DAMAGE_AMT = 48,
    KEY_SPELL_EFFECT_POWER_MOD_AMT = 49,
    KEY_SPELL_EFFECT_TOUGH_MOD_AMT = 50,
    KEY_SPELL_EFFECT_PTMOD_LAND_COLOR = 51,
    KEY_SPELL_EFFECT_MOD_LIFE_AMT = 52,
    KEY_SPELL_EFFECT_DRAIN_LIFE_AMT = 53,
    KEY_SPELL_EFFECT_DRAIN_IS_DAMAGE = 54,
    KEY_SPELL_EFFECT_DRAW_AMT = 55,
    KEY_SPELL_EFFECT_DISCARD_AMT = 56,
    KEY_SPELL_EFFECT_RAISE_TUTOR_AMT = 57,
    KEY_SPELL_EFFECT_RAISE_TUTOR_TYPE = 58,
    KEY_SPELL_EFFECT_SPY_AMT = 59,
    KEY_SPELL_EFFECT_SPY_REARRANGE = 60,
    KEY_SPELL_EFFECT_COUNTER_MANA_SINK = 61,
    KEY_SPELL_EFFECT_MANA_PRODUCED = 62,
    KEY_SPELL_EFFECT_NO_REGEN = 63,
    KEY_SPELL_EFFECT_PREVENT_DMG_AMT = 64,
    KEY_SPELL_NEEDS_TARGET = 65,
    KEY_SPELL_TARGET_ON_RESOLVE = 66,
    KEY_SPELL_TARGET_IS_GROUP = 67,
    KEY_ABILITY_COST = 68,
    KEY_ABILITY_COST_TYPE = 69,
    KEY_ABILITY_TARGET_COLOR = 70,
    KEY_ABILITY_TARGET_STATE = 71,
    KEY_ABILITY_TARGET_OWNER = 72,
    KEY_ABILITY_TARGET_TYPE = 73,
    KEY_ABILITY_TARGET_CASTER = 74,
    KEY_ABILITY_TARGET_OPPONENT = 75,
    KEY_ABILITY_EFFECT_TYPE = 76,
    KEY_ABILITY_EFFECT_DURATION = 77,
    KEY_ABILITY_EFFECT_DAMAGE_AMT = 78,
    KEY_ABILITY_EFFECT_POWER_MOD_AMT = 79,
    KEY_ABILITY_EFFECT_TOUGH_MOD_AMT = 80,
    KEY_ABILITY_EFFECT_PTMOD_LAND_COLOR = 81,
    KEY_ABILITY_EFFECT_MOD_LIFE_AMT = 82,
    KEY_ABILITY_EFFECT_DRAIN_LIFE_AMT = 83,
    KEY_ABILITY_EFFECT_DRAIN_IS_DAMAGE = 84,
    KEY_ABILITY_EFFECT_DRAW_AMT = 85,
    KEY_ABILITY_EFFECT_DISCARD_AMT = 86,
    KEY_ABILITY_EFFECT_RAISE_TUTOR_AMT = 87,
    KEY_ABILITY_EFFECT_RAISE_TUTOR_TYPE = 88,
    KEY_ABILITY_EFFECT_SPY_AMT = 89,
    KEY_ABILITY_EFFECT_SPY_REARRANGE = 90,
    KEY_ABILITY_EFFECT_COUNTER_MANA_SINK = 91,
    KEY_ABILITY_EFFECT_MANA_PRODUCED = 92,
    KEY_ABILITY_EFFECT_NO_REGEN = 93,
    KEY_ABILITY_EFFECT_PREVENT_DMG_AMT = 94,
    KEY_ABILITY_NEEDS_TARGET = 95,
    KEY_ABILITY_TARGET_ON_RESOLVE = 96,
    KEY_ABILITY_TARGET_IS_GROUP = 97,
};

constexpr int CARD_KEY_COUNT = 98;
constexpr int CARD_KEY_SLOTS = 100;
// The Ability twin of a Spell key lies this many slots further on.
constexpr int CARD_KEY_ABILITY_OFFSET = KEY_ABILITY_TARGET_COLOR - KEY_SPELL_TARGET_COLOR;

// How a key's value is read: text as written, a decimal integer, a flag (integer, non-zero is 1), a cost text
// (ParseManaCost), a name of one enum family, TT_ names joined by "|", or accepted and ignored.
enum class CardKeyKind { None, Text, Integer, Flag, Mana, Enum, TypeBits, Ignored };

// The name in a slot; null for an empty slot or a number outside the table.
const char16_t* GetCardKeyName(int slot);
// The slot of a key name, compared without regard to ASCII case; -1 when it is not a key.
int LookupCardKey(std::u16string_view name);
// The kind of a slot's value (None for an empty slot or a number outside the table).
CardKeyKind GetCardKeyKind(int slot);
// The enum family of an Enum slot (FAMILY_TARGET_TYPE for TypeBits); -1 for other kinds.
int GetCardKeyFamily(int slot);
