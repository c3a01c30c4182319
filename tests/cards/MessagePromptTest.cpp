#include "cards/MessagePrompts.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "cards/Card.h"
#include "cards/CardActor.h"
#include "rules/GameGlobals.h"
#include "rules/ManaPool.h"
#include "rules/SelectedCard.h"
#include "rules/PlayerState.h"
#include "rules/TableSelection.h"
#include "tests/cards/TableDrawFixture.h"

#include <gtest/gtest.h>

namespace {

// The field is zone 15 (10, 400)-(310, 460); every fixed button is 40 by 20, so OK and No lie at
// (267, 437)-(307, 457) and Yes at (224, 437)-(264, 457).
class MessagePromptTest : public tabletest::TableDrawFixture {
protected:
    void SetUp() override
    {
        TableDrawFixture::SetUp();
        GameDisplay& display = *GetGameDisplay();
        display.m_Zones[15].rect = RasterRect{10, 400, 310, 460};
        for (int& button : display.m_FixedButtons)
            button = Image(40, 20);
        display.m_SickImage = Image(8, 8);
        GetPaymentState().paying = false;
        OnlinePromptOwner().clear();
    }

    void TearDown() override
    {
        GetPaymentState().paying = false;
        OnlinePromptOwner().clear();
        TableDrawFixture::TearDown();
    }
};

TEST_F(MessagePromptTest, ButtonsOfEachKindAnswerTheirClick)
{
    struct Case {
        int kind;
        int x;
        int y;
        int result;
    };
    const Case cases[] = {
        {1, 267, 437, 1}, {1, 307, 457, 1}, {1, 266, 437, 0},  // OK, edges count
        {3, 290, 450, 1},                                      // Cancel in the same place
        {2, 230, 445, 1}, {2, 290, 445, 2}, {2, 265, 445, 0},  // Yes, No, the gap
        {4, 290, 445, 0},                                      // the text alone
    };
    for (const Case& c : cases) {
        Click(c.x, c.y);
        EXPECT_EQ(GetGameDisplay()->ShowMessagePrompt(u"Pick", c.kind), c.result) << c.kind << " " << c.x;
        EXPECT_EQ(MouseState.leftClicked == 0, c.result != 0) << "only an answered click is consumed";
        EXPECT_EQ(MouseState.clickConsumed != 0, c.result != 0);
        MouseState = MouseRecord();
    }
    Raster& raster = *GetRaster();
    const int before = raster.GetQueuedCount();
    EXPECT_EQ(GetGameDisplay()->ShowMessagePrompt(u"Pick", 2), 0) << "no click, no answer";
    EXPECT_GT(raster.GetQueuedCount(), before);
}

TEST_F(MessagePromptTest, BlockedInputHatchesTheButtonsAndTakesNoClick)
{
    GameDisplay& display = *GetGameDisplay();
    Raster& raster = *GetRaster();
    const int open = raster.GetQueuedCount();
    display.ShowMessagePromptInRect(u"Wait", 2, display.GetZoneRectByIndex(15), false, 500.0f);
    const int plainCount = raster.GetQueuedCount() - open;
    Click(230, 445);
    const int before = raster.GetQueuedCount();
    EXPECT_EQ(display.ShowMessagePromptInRect(u"Wait", 2, display.GetZoneRectByIndex(15), true, 500.0f), 0);
    EXPECT_GT(raster.GetQueuedCount() - before, plainCount) << "the hatch tiles over the buttons";
    EXPECT_NE(MouseState.leftClicked, 0);
}

TEST_F(MessagePromptTest, AnotherOwnerOrARunningPaymentHidesThePrompt)
{
    GameDisplay& display = *GetGameDisplay();
    Raster& raster = *GetRaster();
    const int before = raster.GetQueuedCount();
    OnlinePromptOwner() = u"Other";
    Click(290, 450);
    EXPECT_EQ(display.ShowMessagePrompt(u"Mine", 1), 0);
    OnlinePromptOwner().clear();
    GetPaymentState().paying = true;
    EXPECT_EQ(display.ShowMessagePrompt(u"Mine", 1), 0);
    EXPECT_EQ(raster.GetQueuedCount(), before);
    GetPaymentState().paying = false;
    OnlinePromptOwner() = u"Mine";
    EXPECT_EQ(display.ShowMessagePrompt(u"Mine", 1), 1);
    EXPECT_TRUE(OnlinePromptOwner().empty()) << "an answer frees the field";
}

TEST_F(MessagePromptTest, AStandbyTextYieldsToAnyPromptOfTheSameFrameInEitherOrder)
{
    GameDisplay& display = *GetGameDisplay();
    Raster& raster = *GetRaster();
    for (const bool standbyFirst : {true, false}) {
        if (standbyFirst)
            display.ShowStandbyPrompt(u"Waiting");
        display.ShowMessagePrompt(u"Pick", 1);
        if (!standbyFirst)
            display.ShowStandbyPrompt(u"Waiting");
        const int before = raster.GetQueuedCount();
        display.DrawStandbyPrompt();
        EXPECT_EQ(raster.GetQueuedCount(), before) << (standbyFirst ? "standby first" : "standby last");
    }
    // A prompt in a rectangle of its own leaves the field free; the standby text lasts one frame.
    display.ShowMessagePromptInRect(u"Elsewhere", 0, RasterRect{400, 10, 600, 60}, false, 500.0f);
    display.ShowStandbyPrompt(u"Waiting");
    int before = raster.GetQueuedCount();
    display.DrawStandbyPrompt();
    EXPECT_GT(raster.GetQueuedCount(), before);
    before = raster.GetQueuedCount();
    display.DrawStandbyPrompt();
    EXPECT_EQ(raster.GetQueuedCount(), before);
}

TEST_F(MessagePromptTest, SymbolPromptDrawsItsSlotsAndAnswersItsButton)
{
    GameDisplay& display = *GetGameDisplay();
    for (std::size_t i = 1; i < display.m_LargeSymbols.size(); ++i)
        display.m_LargeSymbols[i] = Image(12, 12);
    const int slots[15] = {1, 10, 20, 0, 0, 0, 6, 30, 20, 0, 0, 0, 0, 0, 0};
    Raster& raster = *GetRaster();
    const int before = raster.GetQueuedCount();
    EXPECT_EQ(display.ShowSymbolPrompt(u"Pay", 5, slots), 0);
    EXPECT_EQ(raster.GetQueuedCount() - before, 4) << "text, two symbols, the button";
    Click(290, 450);
    EXPECT_EQ(display.ShowSymbolPrompt(u"Pay", 6, nullptr), 1);
    EXPECT_EQ(display.ShowSymbolPrompt(u"Pay", 7, nullptr), 1) << "another kind answers at once";
}

TEST_F(MessagePromptTest, PaymentPromptCancelGivesTheSpellBackBeforeAnyManaIsTaken)
{
    s_GameMode = 3;
    CARD bolt;
    bolt.m_CardType = CT_INSTANT;
    bolt.m_Cost = ManaCost(0, 1, 0, 0, 0, 0);
    auto* card = new CardActor();
    card->SetCard(&bolt);
    card->SetOwner(PLAYER_HUMAN);
    RegisterActor(card);
    PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    const ManaCost red(0, 1, 0, 0, 0, 0);

    // The cancel button clicked: the payment is given up and the red mana stays in the pool.
    human.m_ManaPool = red;
    card->m_GenericOwed = -1;
    GetTableSelection().pendingSpell = card;
    Click(290, 450);
    EXPECT_FALSE(BeginManaPayment(*card, false));
    EXPECT_EQ(human.m_ManaPool, red);
    EXPECT_EQ(GetTableSelection().pendingSpell, nullptr);
    EXPECT_TRUE(card->IsHeld());

    // No click: the prompt waits and the payment goes on.
    MouseState = MouseRecord();
    card->m_GenericOwed = -1;
    EXPECT_TRUE(BeginManaPayment(*card, false));
    EXPECT_EQ(human.m_ManaPool.Total(), 0);
    ResetRulesState();
}

TEST_F(MessagePromptTest, XCostQuestionEndsOnItsOwnButtonOnly)
{
    ASSERT_TRUE(AddString(u"ONL_PAY_X_COST", u"Tap mana for X."));
    CARD fireball;
    fireball.m_CardType = CT_SORCERY;
    fireball.m_IsXSpell = true;
    auto* card = new CardActor();
    card->SetCard(&fireball);
    card->SetOwner(PLAYER_HUMAN);
    RegisterActor(card);
    GameDisplay& display = *GetGameDisplay();

    // Physical: a message window with one OK button; an answer to another message does not end it.
    s_GameMode = 1;
    EXPECT_TRUE(PayXCost(card));
    const MessageRecord& record = display.m_MessageRecords.at(0);
    EXPECT_EQ(record.text, u"Tap mana for X.");
    EXPECT_EQ(record.buttonMode, 1);
    EXPECT_EQ(record.normalImage, u"psok");
    display.m_LastReplyId = record.messageId + 100;
    display.m_LastReplyAnswer = 1;
    EXPECT_TRUE(PayXCost(card));
    display.m_LastReplyId = display.m_MessageRecords.at(0).messageId;
    EXPECT_FALSE(PayXCost(card));
    EXPECT_FALSE(GetTableSelection().xCostCollecting);

    // Online: the message field holds the question until its OK button is clicked.
    s_GameMode = 3;
    display.m_LastReplyId = -1;
    EXPECT_TRUE(PayXCost(card));
    EXPECT_EQ(OnlinePromptOwner(), u"Tap mana for X.");
    Click(290, 450);
    EXPECT_FALSE(PayXCost(card));
    EXPECT_TRUE(OnlinePromptOwner().empty());
    ResetRulesState();
}

TEST(PaymentPromptKeyTest, NamesLandsOnlyWhenThePoolFallsShort)
{
    struct Case {
        ManaCost pool;
        int generic;
        std::u16string_view key;
    };
    const Case cases[] = {
        {ManaCost(), 2, u"ONL_PAY_Land"},
        {ManaCost(0, 1, 0, 0, 0, 0), 2, u"ONL_PAY_LandAndPool"},
        {ManaCost(0, 1, 1, 0, 0, 0), 2, u"ONL_PAY_Pool"},
        {ManaCost(0, 0, 0, 3, 0, 0), 2, u"ONL_PAY_Pool"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::u16string_view(PaymentPromptKey(c.pool, c.generic)), c.key) << c.pool.Total();
}

} // namespace
