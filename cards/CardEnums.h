// The ten numbered enum families whose names the card file uses, and the lookup of a name in its family.
#pragma once

#include <string_view>

enum CardRarity : int { FREQ_NONE = -1, FREQ_COMMON = 0, FREQ_UNCOMMON = 1, FREQ_RARE = 2, FREQ_COUNT = 3 };

enum CardType : int {
    CT_NONE = -1,
    CT_LAND = 0,
    CT_CREATURE = 1,
    CT_ARTIFACT = 2,
    CT_ENCHANT = 3,
    CT_SORCERY = 4,
    CT_INSTANT = 5,
    CT_NUMTYPES = 6,
};

enum CardSubType : int {
    SUBTYPE_NONE = 0,
    ARTIFACT_CREATURE = 1,
    ENCH_CREATURE = 2,
    ENCH_ARTIFACT = 3,
    ENCH_LAND = 4,
    ENCH_ENCHANTMENT = 5,
    ENCH_SELF = 6,
    ENCH_GLOBAL = 7,
    ENCH_OPPONENT = 8,
};

enum TargetState : int {
    NULL_STATE = 0,
    INPLAY = 1,
    HAND = 2,
    GRAVEYARD = 3,
    LIBRARY = 4,
    TAPPED = 5,
    UNTAPPED = 6,
    ATTACKING = 7,
    BLOCKING = 8,
    ATTACKING_OR_BLOCKING = 9,
    ATTACKING_UNBLOCKED = 10,
    ENCHANTED = 11,
    SUMMONING_SICKNESS = 12,
    ON_STACK = 13,
    TARGET_STATE_COUNT = 14,
};

enum TargetOwner : int { OWNER_NULL = 0, OWNER_SELF = 1, OWNER_OPPONENT = 2, OWNER_EITHER = 3, TARGET_OWNER_COUNT = 4 };

enum AbilityCostType : int {
    COSTTYPE_NONE = 0,
    COSTTYPE_TAP = 1,
    COSTTYPE_NOTAP = 2,
    COSTTYPE_SACRIFICE = 3,
    COSTTYPE_TAPSAC = 4,
    COSTTYPE_SACTARGET = 5,
};

// Bits; a target type is the OR of several.
enum TargetTypeBits : int {
    TT_NONE = 0,
    TT_LAND = 1,
    TT_CREATURE = 2,
    TT_ARTIFACT = 4,
    TT_ARTIFACT_CREATURE = 8,
    TT_ENCHANTMENT = 16,
    TT_ENCHANT_CREATURE = 32,
    TT_SORCERY = 64,
    TT_COUNTER = 128,
    TT_INSTANT = 256,
    TT_SPELL = 510,
    TT_SELF = 512,
    TT_ENCHANTEE = 1024,
};

enum EffectType : int {
    EFFECT_NONE = 0,
    EFFECT_ENCHANT = 1,
    EFFECT_DAMAGE = 2,
    EFFECT_PTMOD_STATIC = 3,
    EFFECT_PTMOD_MANAPUMP = 4,
    EFFECT_PTMOD_LANDGROWTH = 5,
    EFFECT_MODLIFE = 6,
    EFFECT_MODLIFE_XATTACKERS = 7,
    EFFECT_DRAINLIFE = 8,
    EFFECT_PREVENTDAMAGE = 9,
    EFFECT_GAINLIFEORPREVENTDAMAGE = 10,
    EFFECT_DRAWDISCARD = 11,
    EFFECT_OPPONENTDISCARD = 12,
    EFFECT_RAISE = 13,
    EFFECT_TUTOR = 14,
    EFFECT_SPY = 15,
    EFFECT_COUNTER = 16,
    EFFECT_DESTROY = 17,
    EFFECT_DESTROY_GAINLIFE_P = 18,
    EFFECT_DESTROY_GAINLIFE_T = 19,
    EFFECT_REMOVEFROMGAME = 20,
    EFFECT_UNSUMMON = 21,
    EFFECT_TAP = 22,
    EFFECT_UNTAP = 23,
    EFFECT_REGENERATE = 24,
    EFFECT_PRODUCEMANA = 25,
    EFFECT_CHOOSEMANA = 26,
    EFFECT_MODCREATURE = 27,
    EFFECT_ADDFLYING = 28,
    EFFECT_ADDABILITYTOSTACK = 29,
};

enum EffectDuration : int { DURATION_NONE = 0, DURATION_TURN = 1, DURATION_PERMANENT = 2 };

enum RaiseTutorType : int {
    RAISETUTOR_NONE = 0,
    RAISETUTOR_TOHAND = 1,
    RAISETUTOR_TOPLAY = 2,
    RAISETUTOR_TOPLAYTAPPED = 3,
    RAISETUTOR_LIBTOP_TARGETTOPLAY = 4,
};

// The family numbers, as the card-file keys name them.
enum CardEnumFamily : int {
    FAMILY_RARITY = 0,
    FAMILY_CARD_TYPE = 1,
    FAMILY_CARD_SUBTYPE = 2,
    FAMILY_TARGET_STATE = 3,
    FAMILY_TARGET_OWNER = 4,
    FAMILY_COST_TYPE = 5,
    FAMILY_TARGET_TYPE = 6,
    FAMILY_EFFECT_TYPE = 7,
    FAMILY_DURATION = 8,
    FAMILY_RAISE_TUTOR = 9,
};
constexpr int CARD_ENUM_FAMILY_COUNT = 10;

// Empties the family maps and fills them afresh from the fixed table.
void BuildCardEnumMaps();
// The value of a name in family 0-9, compared exactly (case matters); -1 for a family outside 0-9, a name that
// is not in the family, or before the maps are built. FREQ_NONE and CT_NONE are -1 too.
int LookupEnumValue(int family, std::u16string_view name);
// As LookupEnumValue, telling a name that is not in its family (false) from one whose value is -1.
bool FindEnumValue(int family, std::u16string_view name, int& value);
