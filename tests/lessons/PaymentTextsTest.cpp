#include "cards/CardIds.h"
#include "engine/core/PrivateHeap.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "lessons/PaymentTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class PaymentTextsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreatePrivateHeap();
        ClearStringTables();
        ResetAbilityExplained();
        SetAdvisorFormattedRecord(nullptr);
    }
    void TearDown() override
    {
        ResetAbilityExplained();
        SetAdvisorFormattedRecord(nullptr);
        ClearStringTables();
        DestroyPrivateHeap();
    }

    // The record's segments one after another, symbol codes as they are.
    static std::u16string Flatten(const FormattedText* record)
    {
        std::u16string text;
        for (const FormattedSegment* s = record->m_pFirst.get(); s != nullptr; s = s->m_pNext.get())
            text += s->m_Text;
        return text;
    }

    static std::u16string Pick(int id, int audience, bool inPlay)
    {
        return PickAbilityExplanation(id, audience, inPlay).value_or(u"-");
    }
};

TEST_F(PaymentTextsTest, HashTextVectors)
{
    struct Case {
        std::u16string text;
        std::int32_t hash;
    };
    // A long run of 'x' with one last unit of 0xFFFF: its product passes 2^31, so the hash prints negative.
    const Case cases[] = {
        {u"", 0},
        {u"A", 65},
        {u"AB", 65 ^ (66 * 2)},
        {u"PHYS_PayforSpell_1C", 119},
        {u"\u00e9t\u00e9", 698},
        {std::u16string(39999, u'x') + u'\uffff', -1669571136},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HashText(c.text), c.hash) << c.text.size();
}

TEST_F(PaymentTextsTest, PaymentTextFillsThePlaceholdersAndIsBuiltOncePerNumbersAndText)
{
    AddString(u"STR_Forest", u"Forest");
    AddString(u"STR_Forests", u"Forests");
    AddString(u"STR_aForest", u"a Forest");
    const std::u16string text = u"Pay %1 and #%0~: %2 %4, %3 in all, %5 or %6.";
    FormattedText* record = nullptr;
    ASSERT_TRUE(BuildPaymentText(1, 2, 2, text, &record));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->m_Key, u"PAY_1_22_" + IntToWString(HashText(text)));
    const std::u16string symbols = {SYMBOL_GREEN, SYMBOL_GREEN};
    EXPECT_EQ(Flatten(record), u"Pay 1 and " + symbols + u": 2 Forests, 3 in all, a Forest or Forests.");

    // Asked again: the same record, not a new one.
    FormattedText* again = nullptr;
    ASSERT_TRUE(BuildPaymentText(1, 2, 2, text, &again));
    EXPECT_EQ(again, record);
    // Another text (another language) gets its own record; the first stays.
    ASSERT_TRUE(BuildPaymentText(1, 2, 2, u"Payez %1 et %4.", &again));
    EXPECT_NE(again, record);
    EXPECT_EQ(Flatten(again), u"Payez 1 et Forests.");
    EXPECT_EQ(GetFormattedText(record->m_Key), record);

    // One coloured mana takes the singular word; more than four symbols are cut to four.
    ASSERT_TRUE(BuildPaymentText(0, 2, 1, u"%4", &again));
    EXPECT_EQ(Flatten(again), u"Forest");
    ASSERT_TRUE(BuildPaymentText(0, 0, 6, u"#%0", &again));
    EXPECT_EQ(Flatten(again), std::u16string(4, SYMBOL_BLACK));
}

TEST_F(PaymentTextsTest, AbilityChainsGiveEachTopicOncePerAudience)
{
    for (const char16_t* key : {u"Draumber_Sorc_E", u"Galedton_Artifact_E", u"Galedton_ManaTapAct_P",
                                u"Galedton_ManaTapAct_O", u"Galedton_Stop1_P", u"Galedton_Stop2_P",
                                u"Casumwyn_TapAct_O", u"Casumwyn_PreventDmg_P", u"Casumwyn_TapAct_P",
                                u"Javinrik_Tougher_E", u"Nodurmar_Tougher_E"})
        AddString(key, key);

    EXPECT_EQ(Pick(CD_DRAUMBER, 2, false), u"Draumber_Sorc_E");
    EXPECT_EQ(Pick(CD_DRAUMBER, 1, true), u"-") << "a general topic is explained once for both audiences";

    // In the learner's hand: the general topic, then its own, never the stop topics.
    EXPECT_EQ(Pick(CD_GALEDTON, 1, false), u"Galedton_Artifact_E");
    EXPECT_EQ(Pick(CD_GALEDTON, 1, false), u"Galedton_ManaTapAct_P");
    EXPECT_EQ(Pick(CD_GALEDTON, 1, false), u"-");
    // The opponent's copy still has its own text; the stop topics are never the opponent's.
    EXPECT_EQ(Pick(CD_GALEDTON, 2, true), u"Galedton_ManaTapAct_O");
    EXPECT_EQ(Pick(CD_GALEDTON, 2, true), u"-");
    // In play, the learner's stop topics follow one by one.
    EXPECT_EQ(Pick(CD_GALEDTON, 1, true), u"Galedton_Stop1_P");
    EXPECT_EQ(Pick(CD_GALEDTON, 1, true), u"Galedton_Stop2_P");
    EXPECT_EQ(Pick(CD_GALEDTON, 1, true), u"-");

    // Damage prevention is the learner's only.
    EXPECT_EQ(Pick(CD_CASUMWYN, 2, true), u"Casumwyn_TapAct_O");
    EXPECT_EQ(Pick(CD_CASUMWYN, 2, true), u"-");
    EXPECT_EQ(Pick(CD_CASUMWYN, 1, false), u"Casumwyn_TapAct_P");
    EXPECT_EQ(Pick(CD_CASUMWYN, 1, false), u"Casumwyn_PreventDmg_P");

    // A general topic shown for one card is done for every card sharing it.
    EXPECT_EQ(Pick(CD_JAVINRIK, 1, true), u"Javinrik_Tougher_E");
    EXPECT_EQ(Pick(CD_NODURMAR, 2, true), u"-");

    // Cards without a chain and unknown audiences give nothing and mark nothing.
    EXPECT_EQ(Pick(CD_MOUNTAIN1, 1, true), u"-");
    EXPECT_EQ(Pick(CD_ZOLOLRIK, 3, true), u"-");
    EXPECT_TRUE(IsAbilityUnexplained(30, 7));

    ResetAbilityExplained();
    EXPECT_EQ(Pick(CD_NODURMAR, 2, true), u"Nodurmar_Tougher_E");
}

TEST_F(PaymentTextsTest, FormattedOnlyExplanationIsLeftForTheAdvisor)
{
    FormattedText* const record = AddFormattedText(u"FMT_Zololrik_Sorc_E", u"*Zololrik ~is a sorcery.");
    ASSERT_NE(record, nullptr);
    EXPECT_FALSE(PickAbilityExplanation(CD_ZOLOLRIK, 1, false).has_value());
    EXPECT_EQ(GetAdvisorFormattedRecord(), record);
    EXPECT_FALSE(IsAbilityUnexplained(26, 4));
    // The next pick clears the record; a key in neither table marks the topic and gives nothing.
    EXPECT_FALSE(PickAbilityExplanation(CD_ZOLOLRIK, 1, false).has_value());
    EXPECT_EQ(GetAdvisorFormattedRecord(), nullptr);
    EXPECT_FALSE(IsAbilityUnexplained(30, 1));
    EXPECT_TRUE(IsAbilityUnexplained(30, 2));
}

TEST_F(PaymentTextsTest, ExplainedFlagsKeepBitsApartAndIgnoreUnknownTopics)
{
    MarkAbilityExplained(5, 2);
    EXPECT_TRUE(IsAbilityUnexplained(5, 1));
    EXPECT_FALSE(IsAbilityUnexplained(5, 3));
    MarkAbilityExplained(32, 1);
    MarkAbilityExplained(-1, 1);
    EXPECT_FALSE(IsAbilityUnexplained(32, 1));
    EXPECT_FALSE(IsAbilityUnexplained(-1, 1));
}

} // namespace
