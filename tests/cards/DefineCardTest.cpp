// The definecard and loadcard commands as the card file runs them: value kinds, how case, blanks and
// unknown names are taken, and what a damaged block leaves in the table.
#include "cards/Card.h"
#include "cards/CardCommands.h"
#include "cards/CardDatabase.h"
#include "engine/core/LanguageManager.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Platform.h"
#include "tests/cards/CardTableFixture.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

class DefineCardTest : public cardtest::CardTableTest {
protected:
    static void Run(const std::u16string& text) { RunScriptFile(text.c_str()); }

};

TEST_F(DefineCardTest, BlockFillsEveryKindOfValue)
{
    Run(u"definecard CD_SAVEVNEL\r\n"
        u"Name = Savevnel\r\n"
        u"Cost = 1UU\r\n"
        u"Type = Instant\r\n"
        u"CardType = CT_INSTANT\r\n"
        u"Rarity = FREQ_UNCOMMON\r\n"
        u"SmallCard = cards\\CD_SAVEVNEL.bmp\r\n"
        u"LargeArt = data\\cardart\\CD_SAVEVNEL.bmp\r\n"
        u"Text = %0|\\^%1\r\n"
        u"EffectText = Counter target spell unless its controller pays #3 ~.\r\n"
        u"SpellEffectType = EFFECT_COUNTER\r\n"
        u"SpellEffectCounterManaSink = 3\r\n"
        u"SpellTargetType = TT_CREATURE | TT_LAND\r\n"
        u"SpellTargetState = ON_STACK\r\n"
        u"SpellNeedsTarget = 5\r\n"
        u"AbilityCostType = COSTTYPE_TAP\r\n"
        u"AbilityEffectManaProduced = G\r\n"
        u"Power = -2\r\n"
        u"PumpCost = 9\r\n"
        u"_end\r\n");
    const CARD& card = g_CardDefs[CD_SAVEVNEL];
    EXPECT_EQ(card.GetId(), CD_SAVEVNEL);
    EXPECT_EQ(std::u16string(card.GetIdName()), u"CD_SAVEVNEL");
    EXPECT_EQ(std::u16string(card.GetNameField()), u"Savevnel");
    EXPECT_EQ(*card.GetManaCounters(), ManaCost(1, 0, 0, 2, 0, 0));
    EXPECT_EQ(card.GetCostText(), u"1UU");
    EXPECT_EQ(std::u16string(card.GetTypeLine()), u"Instant");
    EXPECT_EQ(card.GetTypeText(), u"Instant");
    EXPECT_EQ(card.GetCardType(), CT_INSTANT);
    EXPECT_EQ(card.GetRarity(), FREQ_UNCOMMON);
    EXPECT_EQ(card.GetSmallCardPath(), u"data_en\\cards\\CD_SAVEVNEL.bmp");
    EXPECT_EQ(card.GetLargeArt(), u"data\\cardart\\CD_SAVEVNEL.bmp");
    EXPECT_EQ(card.GetText(), u"%0|\\^%1");
    EXPECT_EQ(card.GetEffectText(), u"Counter target spell unless its controller pays #3 ~.");
    EXPECT_EQ(card.GetSpellEffect()->effectType, EFFECT_COUNTER);
    EXPECT_EQ(card.GetSpellEffect()->counterManaSink, ManaCost(3, 0, 0, 0, 0, 0));
    EXPECT_EQ(card.GetSpellTarget()->type, TT_CREATURE | TT_LAND);
    EXPECT_EQ(card.GetSpellTarget()->state, ON_STACK);
    EXPECT_TRUE(card.GetSpellEffect()->needsTarget);
    EXPECT_EQ(card.GetAbility()->costType, COSTTYPE_TAP);
    EXPECT_EQ(card.GetAbility()->effect.manaProduced, ManaCost(0, 0, 1, 0, 0, 0));
    EXPECT_EQ(card.GetAbility()->target, TargetSpec());
    EXPECT_EQ(card.GetCreatureStats()->power, -2);
    EXPECT_EQ(card.GetSubType(), SUBTYPE_NONE);
    EXPECT_TRUE(cardtest::Log().empty()) << cardtest::Log();
}

TEST_F(DefineCardTest, KeysIgnoreCaseAndValuesLoseTrailingBlanks)
{
    struct Case {
        const char16_t* line;
        bool flying;
        int cardType;
        int targetType;
    };
    const Case cases[] = {
        {u"flying = 5", true, CT_NONE, 0},
        {u"FLYING=1", true, CT_NONE, 0},
        {u"Flying = 0", false, CT_NONE, 0},
        {u"  Flying ,= 1", true, CT_NONE, 0},
        {u"Flying 1", false, CT_NONE, 0},
        {u"Flyingg = 1", false, CT_NONE, 0},
        {u"CardType = CT_LAND   \t", false, CT_LAND, 0},
        {u"cardtype = ct_land", false, -1, 0},
        {u"CardType = NULL", false, -1, 0},
        {u"SpellTargetType = ", false, CT_NONE, 0},
        {u"SpellTargetType = NULL", false, CT_NONE, 0},
        {u"SpellTargetType = TT_CREATURE|TT_LAND ", false, CT_NONE, 3},
        // An unknown piece adds nothing instead of setting every bit.
        {u"SpellTargetType = TT_CREATURE | TT_PLANET", false, CT_NONE, TT_CREATURE},
        {u"SpellTargetType = TT_SPELL", false, CT_NONE, 510},
    };
    for (const Case& c : cases) {
        g_CardDefs[CD_SELOLBER] = CARD();
        Run(u"definecard CD_SELOLBER\n" + std::u16string(c.line) + u"\n_end\n");
        const CARD& card = g_CardDefs[CD_SELOLBER];
        const std::string line = plat::ToUtf8(c.line);
        EXPECT_EQ(card.GetId(), CD_SELOLBER) << line;
        EXPECT_EQ(card.GetCreatureStats()->flying, c.flying) << line;
        EXPECT_EQ(card.GetCardType(), c.cardType) << line;
        EXPECT_EQ(card.GetSpellTarget()->type, c.targetType) << line;
    }
    // Names outside their family were reported; valid ones were not.
    EXPECT_NE(cardtest::Log().find("ct_land"), std::string::npos) << cardtest::Log();
    EXPECT_NE(cardtest::Log().find("TT_PLANET"), std::string::npos) << cardtest::Log();
    EXPECT_EQ(cardtest::Log().find("TT_CREATURE"), std::string::npos) << cardtest::Log();
}

TEST_F(DefineCardTest, NullTextValuesAreEmptyAndLongNamesAreCut)
{
    const std::u16string longName(80, u'N');
    Run(u"definecard CD_KAVORVIN\n"
        u"Name = " + longName + u"\n"
        u"Type = " + longName + u"\n"
        u"Cost = null\n"
        u"FlavorText = NULL\n"
        u"Text = Null \n"
        u"_END of the block\n");
    const CARD& card = g_CardDefs[CD_KAVORVIN];
    EXPECT_EQ(card.GetId(), CD_KAVORVIN);
    EXPECT_EQ(std::u16string(card.GetNameField()), longName.substr(0, CARD_NAME_LENGTH));
    EXPECT_EQ(std::u16string(card.GetTypeLine()), longName.substr(0, CARD_TYPE_LINE_LENGTH));
    EXPECT_TRUE(card.GetCostText().empty());
    EXPECT_EQ(*card.GetManaCounters(), ManaCost());
    EXPECT_TRUE(card.GetFlavorText().empty());
    EXPECT_TRUE(card.GetText().empty());
}

TEST_F(DefineCardTest, OnlyCompleteBlocksOfKnownCardsAreStored)
{
    Run(u"definecard CD_NOSUCHCARD\nName = Nobody\nCardType = CT_CREATURE\n_end\n"
        u"definecard CD_INVALID\nName = Nobody\n_end\n"
        u"; a comment line between blocks\n"
        u"definecard CD_WENORTH\nName = Wenorth\nCardType = CT_INSTANT\n_end\n"
        u"definecard CD_SELOLBER\nName = Selolber\nCardType = CT_CREATURE\n"
        u"definecard CD_WENUNMEL\nName = Wenunmel\nPower = 2\n_end\n"
        u"definecard CD_TORUMMAR\nName = Torummar\nCardType = CT_CREATURE\n");
    EXPECT_NE(cardtest::Log().find("Parse_DefineCard() : Invalid card key: CD_NOSUCHCARD\n"), std::string::npos) << cardtest::Log();
    EXPECT_NE(cardtest::Log().find("Parse_DefineCard() : Invalid card key: CD_INVALID\n"), std::string::npos) << cardtest::Log();
    EXPECT_EQ(g_CardDefs[0].GetId(), 0);
    EXPECT_EQ(g_CardDefs[0].GetCardType(), CT_NONE);
    EXPECT_EQ(std::u16string(g_CardDefs[CD_WENORTH].GetNameField()), u"Wenorth");
    // A block without "_end" ends at the next definecard: it stores nothing and the next block runs whole.
    EXPECT_NE(cardtest::Log().find("Parse_DefineCard() : Missing _end: CD_SELOLBER\n"), std::string::npos) << cardtest::Log();
    EXPECT_EQ(g_CardDefs[CD_SELOLBER].GetId(), 0);
    EXPECT_EQ(std::u16string(g_CardDefs[CD_WENUNMEL].GetNameField()), u"Wenunmel");
    EXPECT_EQ(g_CardDefs[CD_WENUNMEL].GetCreatureStats()->power, 2);
    EXPECT_EQ(g_CardDefs[CD_WENUNMEL].GetCardType(), CT_NONE);
    // The last block has no "_end": nothing of it is stored.
    EXPECT_EQ(g_CardDefs[CD_TORUMMAR].GetId(), 0);
    EXPECT_EQ(g_CardDefs[CD_TORUMMAR].GetCardType(), CT_NONE);
}

TEST_F(DefineCardTest, ABlockRewritesTheWholeRecordAndKeepsTheLastOfARepeatedKey)
{
    Run(u"definecard CD_ISTUMRIC\nName = First\nPower = 4\nFlying = 1\n_end\n");
    Run(u"definecard CD_ISTUMRIC\nName = Second\nPower = 2\nPower = 3\n_end\n");
    const CARD& card = g_CardDefs[CD_ISTUMRIC];
    EXPECT_EQ(std::u16string(card.GetNameField()), u"Second");
    EXPECT_EQ(card.GetCreatureStats()->power, 3);
    EXPECT_FALSE(card.GetCreatureStats()->flying);
}

TEST_F(DefineCardTest, LoadCardConsumesOnlyItsIdentifier)
{
    Run(u"loadcard CD_SELOLBER\ndefinecard CD_SELOLBER\nName = Selolber\n_end\nloadcard CD_NOBODY\n");
    EXPECT_EQ(std::u16string(g_CardDefs[CD_SELOLBER].GetNameField()), u"Selolber");
    EXPECT_NE(cardtest::Log().find("Parse_LoadCard() : Invalid card key: CD_NOBODY\n"), std::string::npos) << cardtest::Log();
    EXPECT_EQ(cardtest::Log().find("CD_SELOLBER"), std::string::npos) << cardtest::Log();
}

// Random and damaged texts never read outside their buffer (the sanitizers watch) and never store a block
// that has no "_end".
TEST_F(DefineCardTest, DamagedTextsAreReadSafely)
{
    std::mt19937 random(7);
    const std::u16string pieces[] = {
        u"definecard ", u"CD_SELOLBER", u"CD_", u"_end", u"_e", u"\n", u"\r", u" = ", u"=", u"Name", u"Cost",
        u"SpellTargetType", u"TT_LAND|", u"|", u"NULL", u",", u";", u"#", u"*", u"loadcard ", u"\t", u"9X",
        std::u16string(300, u'x'), std::u16string(1, u'\0'), std::u16string(1, char16_t(0xD800)),
    };
    for (int round = 0; round < 300; ++round) {
        std::u16string text;
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i)
            text += pieces[random() % std::size(pieces)];
        Run(text);
        // Whatever was stored came from a block that ended.
        const CARD& card = g_CardDefs[CD_SELOLBER];
        if (card.GetId() != 0) {
            EXPECT_EQ(card.GetId(), CD_SELOLBER);
            EXPECT_NE(text.find(u"_e"), std::u16string::npos);
        }
        g_CardDefs[CD_SELOLBER] = CARD();
    }
}

} // namespace
