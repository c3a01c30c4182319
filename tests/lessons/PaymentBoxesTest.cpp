#include "cards/CardIds.h"
#include "engine/core/StringTable.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/VoiceQueue.h"
#include "gamestate/TableFlowState.h"
#include "gui/CardSpecificDialog.h"
#include "gui/DialogManager.h"
#include "lessons/PaymentAdvice.h"
#include "rules/ManaPool.h"
#include "tests/lessons/LessonBoxCases.h"
#include "tests/lessons/LessonFixture.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using lessontest::LessonTest;

constexpr int PAID_CARD_ID = 40;
constexpr int OTHER_CARD_ID = 41;

std::vector<std::pair<int, Actor*>> s_Events;

// Never due; it only notes the lesson events it is offered.
class EventRecorder : public CardSpecificDialog {
public:
    EventRecorder() : CardSpecificDialog(0, 0, nullptr, {}, -1) {}
    bool TestEvent(int event, Actor* card) override
    {
        s_Events.emplace_back(event, card);
        return false;
    }
    bool TestCardEvent(int, Actor*) override { return false; }
    bool IsModal() const override { return false; }
    bool IsExhausted() const override { return false; }
};

struct Shape {
    int generic;
    int colored;
    const char16_t* suffix;
};

// Green throughout (colour index 2): the colour only chooses symbols and land words.
constexpr Shape SHAPES[] = {
    {0, 0, u"N"},  {3, 0, u"N"},   {0, 1, u"C"},  {0, 2, u"CC"}, {1, 1, u"1C"},
    {1, 3, u"1CC"}, {2, 1, u"NC"}, {4, 2, u"NCC"},
};

class PaymentBoxesTest : public LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        SetMode(1);
        for (const char16_t* family : {u"PHYS_PayforSpell", u"PHYS_TappedNoLands", u"PHYS_TappedWrongLand",
                                       u"PHYS_PayforAbility_WrongLand"}) {
            for (const Shape& shape : SHAPES) {
                const std::u16string key = std::u16string(family) + u"_" + shape.suffix;
                AddString(key, key);
            }
        }
        lessontest::KeysAsTexts({u"PHYS_PayforAbility_WrongLand", u"PHYSDLG_PayforAbility_NotEnough_Draisnel",
                                 u"PHYSDLG_PayforAbility_TooMany_Draisnel"});
        AddString(u"PHYS_PayforAbility", u"PHYS_PayforAbility[%s]");
        AddString(u"PHYSDLG_BUTTON_DoneTappingLands", u"Done");
        AddString(u"STR_Cancel", u"Cancel");
        AddFormattedText(u"FMT_PHYSDLG_PayforAbility_Draisnel", u"FMT_Draisnel");
        AddArmedDialog(std::make_unique<EventRecorder>());
        s_Events.clear();
    }

    void TearDown() override
    {
        DestroyAllDialogs();
        GetTableFlow().castingCard = nullptr;
        ClearStringTables();
        LessonTest::TearDown();
    }

    // A card whose casting cost, or ability cost, has the shape; the casting cost is green either way.
    CardActor* PaidCard(int id, const Shape& shape, bool ability)
    {
        CARD& def = g_CardDefs[id];
        def.m_Cost = ability ? ManaCost(1, 0, 1, 0, 0, 0) : ManaCost(shape.generic, 0, shape.colored, 0, 0, 0);
        def.m_Ability.cost = ManaCost(shape.generic, 0, shape.colored, 0, 0, 0);
        return Card(id, PLAYER_HUMAN);
    }

    // A tapped Forest whose mana is in the pool: a wrong pool is settled by untapping it.
    CardActor* TappedForest()
    {
        CardActor* const forest = Card(CD_FOREST1, PLAYER_HUMAN);
        forest->SetTapState(TAP_TAPPED);
        Human().m_ManaPool = ManaCost(0, 0, 1, 0, 0, 0);
        s_Events.clear();
        return forest;
    }

    static std::u16string ShownBoxText()
    {
        if (!IsLessonBoxShowing())
            return u"<none>";
        Messagebox* const box = GetLessonBox();
        if (const FormattedText* const record = box->GetTextBlock()) {
            std::u16string text;
            for (const FormattedSegment* s = record->m_pFirst.get(); s != nullptr; s = s->m_pNext.get())
                text += s->m_Text;
            return text;
        }
        return box->GetText();
    }

    // The queue holds the box's one clip, the path as the voice queue resolved it.
    static bool Says(const char16_t* clip)
    {
        const std::u16string queued = GetQueuedVoicePath(0);
        const std::u16string_view wanted(clip);
        return VoiceQueueLength() == 1 && queued.size() >= wanted.size() &&
               queued.compare(queued.size() - wanted.size(), wanted.size(), wanted) == 0;
    }

    void Reset()
    {
        CloseLessonBox();
        DeleteLessonBox();
        ClearHintPlayCounts();
        ResetVoiceQueue();
        s_Events.clear();
    }

    lessontest::DialogScreen m_Screen;
};

struct StateRow {
    int state;
    int firstPrompt;
    const char16_t* family;
    const char16_t* voice;
    bool settles;
};

TEST_F(PaymentBoxesTest, SpellBoxByCostShapeStateAndFirstPrompt)
{
    const StateRow rows[] = {
        {1, 1, u"PHYS_PayforSpell", u"vo_phys\\PayForSpell.wav", false},
        {1, 0, u"PHYS_TappedNoLands", u"vo_phys\\PayForSpell_misclickdone.wav", false},
        {2, 1, u"PHYS_TappedWrongLand", u"vo_phys\\PayForSpell_TooFew.wav", true},
        {2, 0, u"PHYS_TappedWrongLand", u"vo_phys\\PayForSpell_TooFew.wav", true},
        {3, 0, u"PHYS_TappedWrongLand", u"vo_phys\\PayForSpell_TooMany.wav", true},
        {4, 1, u"PHYS_TappedWrongLand", u"vo_phys\\PayForSpell_WrongLand.wav", true},
    };
    CardActor* const casting = Card(OTHER_CARD_ID, PLAYER_HUMAN);
    GetTableFlow().castingCard = casting;
    for (const Shape& shape : SHAPES) {
        CardActor* const card = PaidCard(PAID_CARD_ID, shape, false);
        for (const StateRow& row : rows) {
            Reset();
            CardActor* const forest = TappedForest();
            const std::u16string where = std::u16string(shape.suffix) + u" " + row.family;
            SCOPED_TRACE(std::string(where.begin(), where.end()) + " state " + std::to_string(row.state));
            EXPECT_TRUE(ShowSpellPaymentBox(card, row.state, row.firstPrompt));
            EXPECT_EQ(lessontest::ShownKind(), PAYMENT_BOX_SPELL);
            EXPECT_EQ(ShownBoxText(), std::u16string(row.family) + u"_" + shape.suffix);
            EXPECT_TRUE(Says(row.voice));
            ASSERT_EQ(GetLessonBox()->GetButtonCount(), 2);
            EXPECT_EQ(GetLessonBox()->GetAnswer(), -1);
            // The event names the card the driver casts, not the card handed in.
            EXPECT_EQ(s_Events, (std::vector<std::pair<int, Actor*>>{{6, casting}}));
            EXPECT_EQ(forest->GetTapState() == TAP_READY, row.settles);
            EXPECT_EQ(Human().m_ManaPool.Total() == 0, row.settles);
            RemoveActor(forest);
            PurgeRemovedActors();
        }
    }
    // Paid, or a state the rules never give: no box, no voice, no event.
    Reset();
    CardActor* const card = PaidCard(PAID_CARD_ID, SHAPES[4], false);
    for (const int state : {0, 5, -1}) {
        EXPECT_FALSE(ShowSpellPaymentBox(card, state, 1)) << state;
        EXPECT_FALSE(ShowSpellPaymentBox(card, state, 0)) << state;
    }
    EXPECT_EQ(GetLessonBox(), nullptr);
    EXPECT_EQ(VoiceQueueLength(), 0u);
    EXPECT_TRUE(s_Events.empty());
}

TEST_F(PaymentBoxesTest, AbilityBoxByCostShapeStateAndFirstPrompt)
{
    const StateRow rows[] = {
        {1, 1, u"PHYS_PayforAbility", u"vo_phys\\adv_PayforAbility.wav", false},
        {1, 0, u"PHYS_PayforAbility_WrongLand_", u"vo_phys\\adv_PayforAbility_wronglands.wav", true},
        {3, 0, u"PHYS_PayforAbility_WrongLand_", u"vo_phys\\adv_PayforAbility_wronglands.wav", true},
        {4, 0, u"PHYS_PayforAbility_WrongLand_", u"vo_phys\\adv_PayforAbility_wronglands.wav", true},
        {2, 1, u"PHYS_PayforAbility_WrongLand", u"vo_phys\\adv_PayforAbility_wronglands_firsttime.wav", true},
        {4, 1, u"PHYS_PayforAbility_WrongLand", u"vo_phys\\adv_PayforAbility_wronglands_firsttime.wav", true},
    };
    GetTableFlow().castingCard = Card(OTHER_CARD_ID, PLAYER_HUMAN);
    for (const Shape& shape : SHAPES) {
        CardActor* const card = PaidCard(PAID_CARD_ID, shape, true);
        for (const StateRow& row : rows) {
            Reset();
            CardActor* const forest = TappedForest();
            std::u16string expected = row.family;
            if (row.state == 1 && row.firstPrompt == 1) {
                // The cost's sequence in place of the data's string placeholder: %1 the generic amount, %0 the
                // colour letters (a plain run, so they stay letters).
                const std::u16string g(1, static_cast<char16_t>(u'0' + shape.generic));
                const std::u16string symbols(static_cast<std::size_t>(shape.colored), u'G');
                expected += u"[" + (shape.colored == 0 ? g : (shape.generic == 0 ? symbols : g + symbols)) + u"]";
            } else if (expected.back() == u'_') {
                expected += shape.suffix;
            }
            SCOPED_TRACE(std::string(expected.begin(), expected.end()) + " state " + std::to_string(row.state));
            EXPECT_TRUE(ShowAbilityPaymentBox(card, row.state, row.firstPrompt));
            EXPECT_EQ(lessontest::ShownKind(), PAYMENT_BOX_ABILITY);
            EXPECT_EQ(ShownBoxText(), expected);
            EXPECT_TRUE(Says(row.voice));
            EXPECT_EQ(s_Events, (std::vector<std::pair<int, Actor*>>{{8, card}}));
            EXPECT_EQ(forest->GetTapState() == TAP_READY, row.settles);
            RemoveActor(forest);
            PurgeRemovedActors();
        }
    }
}

TEST_F(PaymentBoxesTest, DraisnelHasItsOwnTextsForStatesOneToThree)
{
    struct Row {
        int state;
        int firstPrompt;
        const char16_t* text;
        const char16_t* voice;
        bool settles;
    };
    const Row rows[] = {
        {1, 1, u"FMT_Draisnel", u"vo_phys\\adv_PayforAbility_draisnel_tap3.wav", false},
        {1, 0, u"FMT_Draisnel", u"vo_phys\\adv_PayforAbility_draisnel_tap3.wav", false},
        {2, 1, u"PHYSDLG_PayforAbility_NotEnough_Draisnel", u"vo_phys\\adv_PayforAbility_draisnel_TooLittle.wav", true},
        {2, 0, u"PHYSDLG_PayforAbility_NotEnough_Draisnel", u"vo_phys\\adv_PayforAbility_draisnel_TooLittle.wav", true},
        {3, 0, u"PHYSDLG_PayforAbility_TooMany_Draisnel", u"vo_phys\\adv_PayforAbility_draisnel_TooMuch.wav", true},
        // Wrong colours take the path of any other card.
        {4, 1, u"PHYS_PayforAbility_WrongLand", u"vo_phys\\adv_PayforAbility_wronglands_firsttime.wav", true},
        {4, 0, u"PHYS_PayforAbility_WrongLand_N", u"vo_phys\\adv_PayforAbility_wronglands.wav", true},
        {0, 0, nullptr, nullptr, false},
        {5, 1, nullptr, nullptr, false},
    };
    CardActor* const card = PaidCard(CD_DRAISNEL, {3, 0, u"N"}, true);
    for (const Row& row : rows) {
        Reset();
        CardActor* const forest = TappedForest();
        SCOPED_TRACE(row.state * 10 + row.firstPrompt);
        EXPECT_EQ(ShowAbilityPaymentBox(card, row.state, row.firstPrompt), row.text != nullptr);
        if (row.text != nullptr) {
            EXPECT_EQ(lessontest::ShownKind(), PAYMENT_BOX_ABILITY);
            EXPECT_EQ(ShownBoxText(), row.text);
            EXPECT_TRUE(Says(row.voice));
            EXPECT_EQ(s_Events, (std::vector<std::pair<int, Actor*>>{{8, card}}));
        } else {
            EXPECT_EQ(GetLessonBox(), nullptr);
            EXPECT_EQ(VoiceQueueLength(), 0u);
            EXPECT_TRUE(s_Events.empty());
        }
        EXPECT_EQ(forest->GetTapState() == TAP_READY, row.settles);
        RemoveActor(forest);
        PurgeRemovedActors();
    }
}

TEST_F(PaymentBoxesTest, AbilityPromptTemplateReplacesTheOneStringPlaceholder)
{
    struct Case {
        std::u16string_view text;
        int generic, colored;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"Pay #%s ~now", 3, 0, u"Pay #%1 ~now"},       {u"Pay #%ls ~now", 0, 2, u"Pay #%0 ~now"},
        {u"Pay #%S ~now", 2, 1, u"Pay #%1%0 ~now"},     {u"Pay #%s %s", 1, 1, u"Pay #%1%0 %s"},
        {u"100% sure: %s", 0, 1, u"100% sure: %0"},     {u"no placeholder", 1, 1, u"no placeholder"},
        {u"", 1, 0, u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AbilityPromptTemplate(c.text, c.generic, c.colored), c.expected);
}

TEST_F(PaymentBoxesTest, APaymentBoxKeepsItsPlaceAndAnotherKindIsMovedToTheAdvicePosition)
{
    CardActor* const card = PaidCard(PAID_CARD_ID, SHAPES[4], false);
    ForgetLessonBoxPlace();
    ASSERT_TRUE(ShowSpellPaymentBox(card, 1, 1));
    Messagebox* const box = GetLessonBox();
    EXPECT_TRUE(IsAtAdvicePosition(box));
    EXPECT_EQ(box->GetButton(0)->GetText(), u"Done");
    EXPECT_EQ(box->GetButton(1)->GetText(), u"Cancel");
    // Buttons in a column, the done button on top, both one width.
    EXPECT_LT(box->GetButton(0)->GetTop(), box->GetButton(1)->GetTop());
    EXPECT_EQ(box->GetButton(0)->GetWidth(), box->GetButton(1)->GetWidth());

    box->MoveTo(20, 30, true);
    ASSERT_TRUE(ShowSpellPaymentBox(card, 1, 0));
    EXPECT_EQ(GetLessonBox(), box) << "the one lesson box is reused";
    EXPECT_EQ(box->GetLeft(), 20);
    EXPECT_EQ(box->GetTop(), 30);

    // A box of another kind reused for payment goes to the advice position.
    box->SetKind(4);
    box->MoveTo(20, 30, true);
    ASSERT_TRUE(ShowSpellPaymentBox(card, 1, 0));
    EXPECT_TRUE(IsAtAdvicePosition(box));
    EXPECT_NE(box->GetLeft(), 20);
}

} // namespace
