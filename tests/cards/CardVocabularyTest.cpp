// The vocabularies the card file and the rules share: identifier texts, enum families, cost text, key table,
// and the questions every card definition answers from its fields.
#include "cards/Card.h"
#include "cards/CardDatabase.h"
#include "cards/CardEnums.h"
#include "cards/CardIds.h"
#include "cards/CardKeys.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CardVocabularyTest : public ::testing::Test {
protected:
    void SetUp() override { BuildCardVocabulary(); }
};

TEST_F(CardVocabularyTest, IdentifierTextsCoverOneTo271Only)
{
    struct Case {
        int id;
        const char16_t* text;
    };
    const Case cases[] = {
        {-1, nullptr}, {-272, nullptr}, {0, nullptr}, {1, u"CD_MOUNTAIN1"}, {5, u"CD_ISLAND1"}, {9, u"CD_PLAINS1"},
        {13, u"CD_FOREST1"}, {20, u"CD_SWAMP4"}, {21, u"CD_NODOTRIC"}, {208, u"CD_SELOLBER"},
        {271, u"CD_BRAANDRE"}, {272, nullptr}, {273, nullptr},
    };
    for (const Case& c : cases) {
        const char16_t* const text = GetCardIdName(c.id);
        if (c.text == nullptr) {
            EXPECT_EQ(text, nullptr) << c.id;
        } else {
            ASSERT_NE(text, nullptr) << c.id;
            EXPECT_EQ(std::u16string(text), c.text) << c.id;
        }
    }
}

TEST_F(CardVocabularyTest, NameMapRoundTripsEveryCardAndRefusesTheRest)
{
    for (int id = FIRST_CARD_ID; id <= LAST_CARD_ID; ++id)
        EXPECT_EQ(GetCardIdByName(GetCardIdName(id)), id);
    for (const char16_t* text : {u"CD_INVALID", u"CD_NUMBER_OF_CARD_DEFS", u"cd_selolber", u"", u"CD_SELOLBER "})
        EXPECT_EQ(GetCardIdByName(text), 0);
    // Every identifier text fits its field.
    for (int id = FIRST_CARD_ID; id <= LAST_CARD_ID; ++id)
        EXPECT_LE(std::u16string(GetCardIdName(id)).size(), static_cast<std::size_t>(CARD_ID_NAME_LENGTH));
}

TEST_F(CardVocabularyTest, EnumNamesAreFoundOnlyInTheirFamilyAndExactCase)
{
    struct Case {
        int family;
        const char16_t* name;
        int value;
    };
    const Case cases[] = {
        {FAMILY_CARD_TYPE, u"CT_LAND", CT_LAND},
        {FAMILY_CARD_TYPE, u"CT_INSTANT", 5},
        {FAMILY_CARD_TYPE, u"CT_NONE", -1},
        {FAMILY_CARD_TYPE, u"ct_land", -1},
        {FAMILY_CARD_TYPE, u"CT_LAND ", -1},
        {10, u"CT_LAND", -1},
        {-1, u"CT_LAND", -1},
        {FAMILY_RARITY, u"CT_LAND", -1},
        {FAMILY_RARITY, u"FREQ_RARE", 2},
        {FAMILY_RARITY, u"FREQ_NONE", -1},
        {FAMILY_RARITY, u"FREQ_SOMETIMES", -1},
        {FAMILY_CARD_SUBTYPE, u"ENCH_OPPONENT", 8},
        {FAMILY_TARGET_STATE, u"ON_STACK", 13},
        {FAMILY_TARGET_OWNER, u"OWNER_EITHER", 3},
        {FAMILY_COST_TYPE, u"COSTTYPE_SACTARGET", 5},
        {FAMILY_TARGET_TYPE, u"TT_SPELL", 510},
        {FAMILY_TARGET_TYPE, u"TT_ENCHANTEE", 1024},
        {FAMILY_EFFECT_TYPE, u"EFFECT_ADDABILITYTOSTACK", 29},
        {FAMILY_EFFECT_TYPE, u"TT_LAND", -1},
        {FAMILY_DURATION, u"DURATION_PERMANENT", 2},
        {FAMILY_RAISE_TUTOR, u"RAISETUTOR_LIBTOP_TARGETTOPLAY", 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LookupEnumValue(c.family, c.name), c.value) << c.family;

    int value = 0;
    EXPECT_TRUE(FindEnumValue(FAMILY_RARITY, u"FREQ_NONE", value));
    EXPECT_EQ(value, -1);
    EXPECT_FALSE(FindEnumValue(FAMILY_RARITY, u"FREQ_NEVER", value));
    EXPECT_EQ(TT_SPELL, TT_CREATURE | TT_ARTIFACT | TT_ARTIFACT_CREATURE | TT_ENCHANTMENT | TT_ENCHANT_CREATURE |
                            TT_SORCERY | TT_COUNTER | TT_INSTANT);
}

TEST_F(CardVocabularyTest, CostTextGivesCountersInGenericRedGreenBlueBlackWhiteOrder)
{
    struct Case {
        const char16_t* text;
        ManaCost cost;
    };
    const Case cases[] = {
        {u"ANY", ManaCost(1, 1, 1, 1, 1, 1)},
        {u"any", ManaCost()},
        {u"9", ManaCost()},
        {u"", ManaCost()},
        {u"2wu", ManaCost(2, 0, 0, 1, 0, 1)},
        {u"3RR", ManaCost(3, 2, 0, 0, 0, 0)},
        {u"11", ManaCost(2, 0, 0, 0, 0, 0)},
        {u"X2R", ManaCost(2, 1, 0, 0, 0, 0)},
        {u"XX", ManaCost()},
        {u"1RGUW", ManaCost(1, 1, 1, 1, 0, 1)},
        {u"BbGg8", ManaCost(8, 0, 2, 0, 2, 0)},
        {u" ANY", ManaCost(0, 0, 0, 0, 0, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseManaCost(c.text), c.cost) << std::string(c.text, c.text + std::u16string(c.text).size());
}

TEST_F(CardVocabularyTest, KeyTableIsCaseInsensitiveWithAbilityTwinsOffsetBy30)
{
    EXPECT_EQ(LookupCardKey(u"SmallCard"), 0);
    EXPECT_EQ(LookupCardKey(u"flying"), KEY_FLYING);
    EXPECT_EQ(LookupCardKey(u"FLYING"), KEY_FLYING);
    EXPECT_EQ(LookupCardKey(u"EnchantIsOffensive"), 39);
    EXPECT_EQ(LookupCardKey(u"SpellTargetColor"), 40);
    EXPECT_EQ(LookupCardKey(u"SpellTargetIsGroup"), 67);
    EXPECT_EQ(LookupCardKey(u"AbilityCost"), 68);
    EXPECT_EQ(LookupCardKey(u"AbilityCostType"), 69);
    EXPECT_EQ(LookupCardKey(u"AbilityTargetColor"), 70);
    EXPECT_EQ(LookupCardKey(u"AbilityTargetIsGroup"), 97);
    EXPECT_EQ(CARD_KEY_ABILITY_OFFSET, 30);
    for (const char16_t* name : {u"", u"Flyin", u"Flying ", u"Spell", u"_end", u"="})
        EXPECT_EQ(LookupCardKey(name), -1);
    EXPECT_EQ(GetCardKeyName(98), nullptr);
    EXPECT_EQ(GetCardKeyName(99), nullptr);
    EXPECT_EQ(GetCardKeyName(100), nullptr);
    for (int slot = 0; slot < CARD_KEY_COUNT; ++slot)
        EXPECT_EQ(LookupCardKey(GetCardKeyName(slot)), slot);
    EXPECT_EQ(GetCardKeyKind(KEY_SPELL_TARGET_TYPE), CardKeyKind::TypeBits);
    EXPECT_EQ(GetCardKeyFamily(KEY_ABILITY_COST_TYPE), FAMILY_COST_TYPE);
    EXPECT_EQ(GetCardKeyFamily(KEY_ABILITY_EFFECT_RAISE_TUTOR_TYPE), FAMILY_RAISE_TUTOR);
    EXPECT_EQ(GetCardKeyKind(KEY_PUMP_COST), CardKeyKind::Ignored);
}

CARD CardWith(int id, ManaCost cost, int cardType = CT_CREATURE)
{
    CARD card;
    card.m_Id = id;
    card.m_Cost = cost;
    card.m_CardType = cardType;
    return card;
}

TEST(CardQueriesTest, ColourIndexAndColouredAmountReadTheCostInTheirOwnOrders)
{
    struct Case {
        ManaCost cost;
        int colorIndex;
        int coloredAmount;
    };
    const Case cases[] = {
        {ManaCost(), -1, 0},
        {ManaCost(3, 0, 0, 0, 0, 0), 5, 0},
        {ManaCost(0, 0, 0, 0, 2, 0), 0, 2},
        {ManaCost(1, 2, 0, 0, 0, 0), 1, 2},
        {ManaCost(0, 0, 3, 0, 0, 0), 2, 3},
        {ManaCost(2, 0, 0, 1, 0, 0), 3, 1},
        {ManaCost(0, 0, 0, 0, 0, 2), 4, 2},
        // Mixed colours: the index takes red before blue, the amount blue before red.
        {ManaCost(0, 1, 0, 2, 0, 0), 1, 2},
    };
    for (const Case& c : cases) {
        const CARD card = CardWith(30, c.cost);
        EXPECT_EQ(card.GetColorIndex(), c.colorIndex);
        EXPECT_EQ(card.GetColoredAmount(false), c.coloredAmount);
    }
    CARD pump = CardWith(235, ManaCost(1, 0, 0, 0, 1, 0));
    pump.m_Ability.cost = ManaCost(0, 0, 0, 0, 0, 3);
    EXPECT_EQ(pump.GetColoredAmount(true), 3);
    EXPECT_EQ(pump.GetColoredAmount(false), 1);
}

TEST(CardQueriesTest, BasicLandKindsGoByIdentifierRangeOnly)
{
    struct Case {
        int id;
        int kind;
    };
    const Case cases[] = {
        {0, -1}, {1, 3}, {4, 3}, {5, 1}, {8, 1}, {9, 0}, {12, 0}, {13, 4}, {16, 4}, {17, 2}, {20, 2}, {21, -1},
        {271, -1},
    };
    for (const Case& c : cases) {
        // Card type does not matter: a "land" outside 1-20 is no basic land, an id in range always is.
        const CARD card = CardWith(c.id, ManaCost(), c.id % 2 == 0 ? CT_LAND : CT_CREATURE);
        EXPECT_EQ(card.GetBasicLandKind(), c.kind) << c.id;
        const bool tests[] = {card.IsBasicLand0(), card.IsBasicLand1(), card.IsBasicLand2(), card.IsBasicLand3(),
                              card.IsBasicLand4()};
        for (int kind = 0; kind < 5; ++kind)
            EXPECT_EQ(tests[kind], kind == c.kind) << c.id << " kind " << kind;
    }
}

TEST(CardQueriesTest, TypeTestsTreatAMissingTypeAsAPermanent)
{
    const CARD fresh;
    EXPECT_EQ(fresh.GetCardType(), CT_NONE);
    EXPECT_FALSE(fresh.IsLand());
    EXPECT_TRUE(fresh.IsPermanentType());
    EXPECT_TRUE(CardWith(1, ManaCost(), CT_LAND).IsLand());
    EXPECT_FALSE(CardWith(40, ManaCost(), CT_SORCERY).IsPermanentType());
    EXPECT_FALSE(CardWith(40, ManaCost(), CT_INSTANT).IsPermanentType());
    EXPECT_TRUE(CardWith(40, ManaCost(), CT_ENCHANT).IsPermanentType());
}

TEST(CardQueriesTest, ActivatedAndStaticAbilitiesFollowCostTypeDurationAndTheSpellEffect)
{
    struct Case {
        int costType;
        int abilityEffect;
        int duration;
        int spellEffect;
        bool activated;
        bool isStatic;
    };
    const Case cases[] = {
        {COSTTYPE_NONE, EFFECT_NONE, DURATION_NONE, EFFECT_NONE, false, false},
        {COSTTYPE_TAP, EFFECT_PRODUCEMANA, DURATION_NONE, EFFECT_NONE, true, false},
        {COSTTYPE_TAP, EFFECT_NONE, DURATION_NONE, EFFECT_NONE, false, false},
        {COSTTYPE_NOTAP, EFFECT_PTMOD_MANAPUMP, DURATION_TURN, EFFECT_NONE, true, false},
        {COSTTYPE_NONE, EFFECT_PTMOD_STATIC, DURATION_PERMANENT, EFFECT_NONE, false, true},
        {COSTTYPE_NONE, EFFECT_PTMOD_STATIC, DURATION_TURN, EFFECT_NONE, false, false},
        {COSTTYPE_NONE, EFFECT_MODCREATURE, DURATION_PERMANENT, EFFECT_ENCHANT, false, true},
        // A comes-into-play ability is neither.
        {COSTTYPE_TAP, EFFECT_DAMAGE, DURATION_NONE, EFFECT_ADDABILITYTOSTACK, false, false},
        {COSTTYPE_NONE, EFFECT_MODLIFE, DURATION_PERMANENT, EFFECT_ADDABILITYTOSTACK, false, false},
    };
    for (const Case& c : cases) {
        CARD card = CardWith(30, ManaCost());
        card.m_Ability.costType = c.costType;
        card.m_Ability.effect.effectType = c.abilityEffect;
        card.m_Ability.effect.duration = c.duration;
        card.m_SpellEffect.effectType = c.spellEffect;
        EXPECT_EQ(card.HasActivatedAbility(), c.activated) << c.costType << "/" << c.abilityEffect;
        EXPECT_EQ(card.HasStaticAbility(), c.isStatic) << c.costType << "/" << c.abilityEffect;
    }
}

TEST(CardQueriesTest, PluralNamesAreExactlyTheFiveCards)
{
    int plurals = 0;
    for (int id = -1; id <= CD_NUMBER_OF_CARD_DEFS; ++id)
        plurals += HasPluralName(id) ? 1 : 0;
    EXPECT_EQ(plurals, 5);
    for (const int id : {22, 154, 190, 218, 236})
        EXPECT_TRUE(HasPluralName(id)) << id;
}

} // namespace
