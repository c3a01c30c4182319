#include "cards/LifeToken.h"
#include "engine/core/StringTable.h"
#include "engine/scene/Actor.h"
#include "gui/GUI_Manager.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"
#include "lessons/PlayerActors.h"
#include "rules/PlayerState.h"
#include "tests/cards/TableDrawFixture.h"

#include <gtest/gtest.h>

namespace {

TEST(WrapLifeToTrackTest, WrapsOntoTwentyCells)
{
    const std::pair<int, int> cases[] = {{-5, 1}, {0, 1}, {1, 1}, {20, 20}, {21, 1}, {25, 5}, {40, 20}, {41, 1}};
    for (const auto& [life, cell] : cases)
        EXPECT_EQ(WrapLifeToTrack(life), cell) << life;
}

// The human's mat (zone 1) at (300, 400)-(583, 516), the CPU's (zone 0) at (300, 40)-(583, 156).
class LifeTokenTest : public tabletest::TableDrawFixture {
protected:
    void SetUp() override
    {
        TableDrawFixture::SetUp();
        GameDisplay& display = *GetGameDisplay();
        display.m_Zones[1].rect = RasterRect{300, 400, 583, 516};
        display.m_Zones[0].rect = RasterRect{300, 40, 583, 156};
        ResetPlayerStates();
        CreateLifeTokens();
        m_Human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_Cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SetPlayerActors(m_Human, m_Cpu);
    }

    void TearDown() override
    {
        SetPlayerActors(nullptr, nullptr);
        DestroyLifeTokens();
        // The texts live in the private heap that the fixture frees.
        ClearStringTables();
        TableDrawFixture::TearDown();
    }

    // Sets the human's life as the rules would, then shows the change.
    void Change(int reason, int from, int to)
    {
        PlayerState::SetLife(PLAYER_HUMAN, to, 0);
        ChangeLifeTotal(GetLifeToken(PLAYER_HUMAN), reason, from);
    }

    Actor* m_Human = nullptr;
    Actor* m_Cpu = nullptr;
};

TEST_F(LifeTokenTest, EveryLifeTargetsTheCellThatShowsIt)
{
    for (int player = 0; player < 2; ++player) {
        for (int life = 1; life <= LIFE_TRACK_CELLS; ++life) {
            int x = 0;
            int y = 0;
            GetLifeTokenTarget(player, life, x, y);
            const RasterRect token{x, y, x + LIFE_TOKEN_SIZE, y + LIFE_TOKEN_SIZE};
            EXPECT_EQ(GetLifeAtTokenRect(player, token), life) << "player " << player;
            const RasterRect cell = GetLifeTrackCell(player, life);
            EXPECT_LE(std::abs(cell.left - x), 2) << player << " " << life;
            EXPECT_LE(std::abs(cell.top - y), 2) << player << " " << life;
        }
    }
    // 20 is the first cell of the first row, 1 the last of the last.
    EXPECT_EQ(GetLifeTrackCell(PLAYER_HUMAN, 20).left, 306);
    EXPECT_EQ(GetLifeTrackCell(PLAYER_HUMAN, 20).top, 411);
    EXPECT_EQ(GetLifeTrackCell(PLAYER_HUMAN, 1).left, 306 + 4 * 25);
}

TEST_F(LifeTokenTest, ChangeLifeTotalPicksKeyVoiceAndBox)
{
    struct Case {
        int reason;
        int from;
        int to;
        const char16_t* key;
        const char16_t* voice;
        bool okButton;
    };
    const Case cases[] = {
        {0, 20, 17, u"PHYS_TakingDamage", u"vo_phys\\LifeToken_TakingDamage.wav", false},
        {1, 20, 40, u"PHYS_GainingLife_NoChange_Above20", u"vo_phys\\LifeToken_GainingLife_Above20.wav", true},
        {1, 20, 25, u"PHYS_GainingLife_Above20", u"vo_phys\\LifeToken_GainingLife_Above20.wav", false},
        {1, 10, 7, u"PHYS_LossOfLife", u"vo_phys\\LifeToken_LossOfLife.wav", false},
        {0, 41, 21, u"PHYS_TakingDamage_NoChange_Above20", u"vo_phys\\LifeToken_TakingDamage.wav", true},
    };
    LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    ASSERT_NE(token, nullptr);
    for (const Case& c : cases) {
        token->actor->SetState(TOKEN_SETTLED);
        Change(c.reason, c.from, c.to);
        ASSERT_NE(token->box, nullptr);
        EXPECT_EQ(token->boxKey, c.key);
        EXPECT_EQ(token->voiceName, c.voice);
        EXPECT_EQ(token->box->GetButtonCount() == 1, c.okButton) << c.from << "->" << c.to;
        EXPECT_TRUE(token->IsBoxShown());
        EXPECT_EQ(token->actor->GetState(), c.okButton ? TOKEN_SETTLED : TOKEN_MISPLACED) << c.from << "->" << c.to;
    }
}

TEST_F(LifeTokenTest, TheBoxIsFormattedAndReusedAndNoneShowsAtZero)
{
    ASSERT_TRUE(AddString(u"PHYS_TakingDamage", u"%0 %5: %1 -> %2 (%3 to %4)"));
    ASSERT_TRUE(AddString(u"STR_damage", u"point"));
    ASSERT_TRUE(AddString(u"STR_damage_plural", u"points"));
    LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    Change(0, 20, 17);
    const Messagebox* const first = token->box.get();
    EXPECT_EQ(token->box->GetText(), u"3 points: 20 -> 17 (20 to 17)");
    Change(0, 17, 16);
    EXPECT_EQ(token->box.get(), first) << "a second change reuses the box";
    EXPECT_EQ(token->box->GetText(), u"1 point: 17 -> 16 (17 to 16)");

    token->DeleteBox();
    Change(0, 16, 0);
    EXPECT_EQ(token->box, nullptr) << "a change to 0 shows no box";
    Change(0, 5, 5);
    EXPECT_EQ(token->box, nullptr);
}

TEST_F(LifeTokenTest, WithoutBothPlayersTheBoxWaits)
{
    SetPlayerActors(m_Human, nullptr);
    Change(0, 20, 18);
    ASSERT_NE(GetLifeToken(PLAYER_HUMAN)->box, nullptr);
    EXPECT_FALSE(GetLifeToken(PLAYER_HUMAN)->IsBoxShown());
}

TEST_F(LifeTokenTest, AnsweredOrSettledBoxesLeaveTheDisplay)
{
    LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    const auto registeredBoxes = [] {
        int count = 0;
        for (GUI_Window* const window : GetGUIManager()->GetWindows()) {
            count += WindowCast<Messagebox>(window) != nullptr ? 1 : 0;
        }
        return count;
    };
    // Two changes in a row show one box, not two.
    Change(0, 20, 17);
    Change(0, 17, 15);
    EXPECT_EQ(registeredBoxes(), 1);
    // Without a button it goes once the token is settled.
    token->actor->SetState(TOKEN_SETTLED);
    token->actor->m_Behaviour(token->actor);
    EXPECT_EQ(token->box, nullptr);
    EXPECT_EQ(registeredBoxes(), 0);
    EXPECT_TRUE(token->IsReady());

    // With its OK button it goes once answered.
    Change(1, 20, 40);
    ASSERT_EQ(token->box->GetButtonCount(), 1);
    token->actor->m_Behaviour(token->actor);
    EXPECT_TRUE(token->IsBoxShown());
    EXPECT_FALSE(token->IsReady());
    GUI_InputEvent click;
    click.type = GUI_EVENT_COMMAND;
    click.sender = token->box->GetButton(0);
    token->box->HandleInput(click);
    token->actor->m_Behaviour(token->actor);
    EXPECT_EQ(token->box, nullptr);
    EXPECT_EQ(registeredBoxes(), 0);

    // A box still shown at the end goes with the tokens.
    Change(0, 20, 18);
    DestroyLifeTokens();
    EXPECT_EQ(registeredBoxes(), 0);
}

} // namespace
