#include "cards/CardActor.h"
#include "cards/LifeToken.h"
#include "cards/TableReset.h"
#include "engine/core/Easing.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/raster/RasterTypes.h"
#include "engine/scene/Actor.h"
#include "gamestate/GameBlock.h"
#include "gamestate/PlayerActors.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Window.h"
#include "gui/Messagebox.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"
#include "gui/TextButton.h"
#include "platform/Headless.h"
#include "rules/CombatDamage.h"
#include "rules/Decks.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "rules/RulesStateWord.h"
#include "tests/cards/TableDrawFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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
        PlayerState::SetLife(PLAYER_HUMAN, 20, 1);
        PlayerState::SetLife(PLAYER_CPU, 20, 1);
        CreateLifeTokens();
        m_Human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_Cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SetPlayerActors(m_Human, m_Cpu);
        s_ClientWidth = 800;
        s_ClientHeight = 600;
        s_FramesPerSecond = 60.0f;
        display.m_SceneTag = 1;
        plat::headless::SetTime(10000);
        g_FrameMilliseconds = 16.0f;
    }

    void TearDown() override
    {
        SetPlayerActors(nullptr, nullptr);
        DestroyLifeTokens();
        // The texts live in the private heap that the fixture frees.
        ClearStringTables();
        ClearPendingCards();
        s_FramesPerSecond = 0.0f;
        g_FrameMilliseconds = 0.0f;
        TableDrawFixture::TearDown();
    }

    // The table's camera, past its first frame: the tokens wait for it.
    static void SpawnCamera()
    {
        Actor* const camera = SpawnActor(u"camera", 0, nullptr, 0, 0, 0, 0, 0, 0);
        camera->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
    }

    static void Frame()
    {
        UpdateActors();
        GetSpriteList()->UpdateAll();
        plat::headless::AdvanceTime(16);
    }

    // Runs frames until done() holds; false when it never does.
    template <typename Done>
    static bool RunUntil(Done done, int maxFrames = 3000)
    {
        for (int i = 0; i < maxFrames; ++i) {
            if (done())
                return true;
            Frame();
        }
        return done();
    }

    // Picks the human token up, drops it on the cell of life and lets it glide.
    void DragHumanTokenTo(int life)
    {
        LifeToken& token = *GetLifeToken(PLAYER_HUMAN);
        MouseState.x = token.rect.left + 5;
        MouseState.y = token.rect.top + 7;
        MouseState.leftClicked = 1;
        MouseState.leftHeld = 1;
        Frame();
        MouseState.leftClicked = 0;
        ASSERT_EQ(token.dragState, 1);
        const RasterRect cell = GetLifeTrackCell(PLAYER_HUMAN, life);
        MouseState.x = cell.left + 5;
        MouseState.y = cell.top + 7;
        Frame();
        MouseState.leftHeld = 0;
        Frame();
        ASSERT_TRUE(RunUntil([&] { return token.dragState == 0; }));
    }

    // Both tokens through their first frames until the CPU's is settled and the human's asks to be placed.
    void StartTokens()
    {
        SpawnCamera();
        ASSERT_TRUE(RunUntil([] { return GetLifeToken(PLAYER_CPU)->actor->GetState() == TOKEN_SETTLED; }));
        ASSERT_EQ(GetLifeToken(PLAYER_HUMAN)->actor->GetState(), TOKEN_PLACING);
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

// Combat damage from the CPU reaches the learner's token in the physical lesson only.
TEST_F(LifeTokenTest, CombatDamageToTheLearnerIsShownOnThePhysicalToken)
{
    const int savedMode = s_GameMode;
    for (const int mode : {1, 2, 3}) {
        SCOPED_TRACE(mode);
        s_GameMode = mode;
        LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
        token->DeleteBox();
        token->actor->SetState(TOKEN_SETTLED);
        PlayerState::SetLife(PLAYER_HUMAN, 20, 1);
        GetPlayerState(PLAYER_HUMAN)->m_DamageThisTurn = 3;
        DealCombatDamage(PLAYER_CPU);
        EXPECT_EQ(PlayerState::GetLife(PLAYER_HUMAN), 17);
        if (mode == 3) {
            EXPECT_EQ(token->box, nullptr);
            continue;
        }
        ASSERT_NE(token->box, nullptr);
        EXPECT_EQ(token->boxKey, u"PHYS_TakingDamage");
        EXPECT_EQ(token->actor->GetState(), TOKEN_MISPLACED);
    }
    s_GameMode = savedMode;
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

// The life-change and bad-life boxes open where lesson boxes open, and leave that place to the next lesson box.
TEST_F(LifeTokenTest, LifeBoxesOpenAtTheAdvicePlaceAndLeaveItToTheNextBox)
{
    ASSERT_TRUE(AddString(u"PHYS_Error_BadLife", u"Put it on %0"));
    // Boxes are kept inside the screen.
    const RasterRect savedScreen = s_ScreenRect;
    s_ScreenRect = RasterRect{0, 0, 800, 600};
    GameDisplay& display = *GetGameDisplay();
    display.m_Zones[12].rect = RasterRect{210, 40, 790, 300};  // the opponent's half
    display.m_Zones[0].rect = RasterRect{507, 40, 790, 156};   // its mat
    display.ClearWindows();
    RasterRect area;
    display.GetOpponentPlayArea(area);
    StartTokens();
    DragHumanTokenTo(20);
    LifeToken& token = *GetLifeToken(PLAYER_HUMAN);
    // The advice place: at the top of the opponent's play area, by its right edge.
    const auto expectPlaced = [&](const GUI_Window& box, const char* what) {
        EXPECT_EQ(box.GetTop(), area.top) << what;
        EXPECT_GT(box.GetLeft(), area.left) << what;
        EXPECT_NEAR(box.GetRight(), area.right - 5, 10) << what;
        EXPECT_EQ(box.GetLeft(), display.m_LastLessonBoxX) << what;
    };

    Change(0, 20, 17);
    ASSERT_NE(token.box, nullptr);
    expectPlaced(*token.box, "life change");
    DragHumanTokenTo(17);
    Frame();
    ASSERT_EQ(token.box, nullptr);
    Messagebox next(DIALOG_KIND_MESSAGEBOX);
    next.SetScaledSize(300, 200);
    display.PlaceAdviceWindow(&next);
    expectPlaced(next, "the next lesson box");

    // A token dropped off its cell while no box is up gets a new, placed, bad-life box.
    display.ClearWindows();
    PlayerState::SetLife(PLAYER_HUMAN, 15, 0);
    token.actor->SetState(TOKEN_MISPLACED);
    DragHumanTokenTo(16);
    ASSERT_NE(token.box, nullptr);
    EXPECT_EQ(token.boxKey, u"PHYS_Error_BadLife");
    expectPlaced(*token.box, "bad life");
    s_ScreenRect = savedScreen;
}

// The token images stand on a black key: drawn unkeyed, each token is a square with black corners.
TEST_F(LifeTokenTest, TokensAreDrawnWithTheColourKey)
{
    StartTokens();
    const int images[2] = {Image(LIFE_TOKEN_SIZE, LIFE_TOKEN_SIZE), Image(LIFE_TOKEN_SIZE, LIFE_TOKEN_SIZE)};
    for (int player = 0; player < 2; ++player)
        GetLifeToken(player)->texture = images[player];
    Raster& raster = *GetRaster();
    raster.BeginFrame();
    Frame();
    raster.EndFrame();
    int drawn = 0;
    for (const DrawPrimitive& record : raster.GetFramePrimitives()) {
        if ((record.flags & (PRIM_FILL | PRIM_TEXT | PRIM_TRIANGLE)) != 0 ||
            (record.item != images[0] && record.item != images[1]))
            continue;
        ++drawn;
        EXPECT_NE(record.flags & PRIM_COLOR_KEY, 0u) << "token texture " << record.item;
    }
    EXPECT_EQ(drawn, 2);
    raster.BeginFrame();
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
    StartTokens();
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
    // Without a button it goes once the token is settled on the new life.
    DragHumanTokenTo(15);
    Frame();
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

TEST_F(LifeTokenTest, TokensWaitForTheCameraThenTheCpuHandPlacesItsToken)
{
    Frame();
    LifeToken& cpu = *GetLifeToken(PLAYER_CPU);
    EXPECT_NE(cpu.actor->m_Flags & ACTOR_FLAG_FIRST_FRAME, 0u) << "no camera yet";
    StartTokens();
    int x = 0;
    int y = 0;
    GetLifeTokenTarget(PLAYER_CPU, 20, x, y);
    EXPECT_EQ(cpu.rect.left, x);
    EXPECT_EQ(cpu.rect.top, y);
    EXPECT_TRUE(cpu.IsIdle());
    EXPECT_FALSE(cpu.hand->IsListed()) << "the hand leaves the screen";
    EXPECT_EQ(GetLifeToken(PLAYER_HUMAN)->rect.top, 400 - 116);
}

TEST_F(LifeTokenTest, CpuHandCarriesTheTokenWhenLifeChanges)
{
    StartTokens();
    LifeToken& cpu = *GetLifeToken(PLAYER_CPU);
    PlayerState::SetLife(PLAYER_CPU, 17, 0);
    Frame();
    EXPECT_EQ(cpu.shownLife, 17);
    EXPECT_EQ(cpu.handStep, 2) << "the hand starts at once";
    EXPECT_TRUE(cpu.hand->IsListed());
    bool carried = false;
    ASSERT_TRUE(RunUntil([&] {
        carried = carried || cpu.handStep == 3;
        return cpu.IsIdle();
    }));
    EXPECT_TRUE(carried);
    EXPECT_EQ(GetLifeAtTokenRect(PLAYER_CPU, cpu.rect), 17);
    EXPECT_FALSE(cpu.hand->IsListed());

    // 25 stands on the cell of 5.
    PlayerState::SetLife(PLAYER_CPU, 25, 0);
    ASSERT_TRUE(RunUntil([&] { return cpu.IsIdle() && cpu.shownLife == 25; }));
    EXPECT_EQ(GetLifeAtTokenRect(PLAYER_CPU, cpu.rect), 5);
}

TEST_F(LifeTokenTest, CpuHandLeavesWhenTheCpuLosesWhileItCarriesTheToken)
{
    StartTokens();
    LifeToken& cpu = *GetLifeToken(PLAYER_CPU);
    PlayerState::SetLife(PLAYER_CPU, 5, 0);
    ASSERT_TRUE(RunUntil([&] { return cpu.handStep == 3; }));
    PlayerState::SetLife(PLAYER_CPU, 0, 0);
    Frame();
    EXPECT_FALSE(cpu.hand->IsListed());
    const std::vector<Sprite*>& shown = GetSpriteList()->GetSprites();
    EXPECT_EQ(std::find(shown.begin(), shown.end(), cpu.hand.get()), shown.end());
    EXPECT_TRUE(cpu.IsIdle());
}

TEST_F(LifeTokenTest, HumanTokenIsPlacedDraggedSnappedAndCorrected)
{
    ASSERT_TRUE(AddString(u"PHYS_Error_BadLife", u"Put it on %0"));
    StartTokens();
    LifeToken& token = *GetLifeToken(PLAYER_HUMAN);
    Actor& actor = *token.actor;

    // Placing on a wrong cell, then on the start cell.
    DragHumanTokenTo(18);
    EXPECT_EQ(actor.GetState(), TOKEN_PLACED_WRONG);
    DragHumanTokenTo(20);
    EXPECT_EQ(actor.GetState(), TOKEN_SETTLED);
    int x = 0;
    int y = 0;
    GetLifeTokenTarget(PLAYER_HUMAN, 20, x, y);
    EXPECT_EQ(token.rect.left, x);
    EXPECT_EQ(token.rect.top, y);

    // A settled token cannot be picked up.
    MouseState.x = token.rect.left + 3;
    MouseState.y = token.rect.top + 3;
    MouseState.leftClicked = 1;
    Frame();
    EXPECT_EQ(token.dragState, 0);
    MouseState.leftClicked = 0;

    Change(0, 20, 17);
    EXPECT_EQ(actor.GetState(), TOKEN_MISPLACED);
    DragHumanTokenTo(18);
    EXPECT_EQ(actor.GetState(), TOKEN_MISPLACED) << "one cell off";
    ASSERT_NE(token.box, nullptr);
    EXPECT_EQ(token.box->GetText(), u"Put it on 17");
    EXPECT_TRUE(token.boxPending);
    EXPECT_EQ(token.voiceName, u"vo_phys\\Error_BadLife.wav");
    EXPECT_EQ(GetLifeAtTokenRect(PLAYER_HUMAN, token.rect), 18) << "snapped onto the cell under it";

    DragHumanTokenTo(17);
    EXPECT_EQ(actor.GetState(), TOKEN_SETTLED);
    EXPECT_TRUE(token.IsReady());
    EXPECT_EQ(token.box, nullptr);
    EXPECT_FALSE(token.boxPending);
}

TEST_F(LifeTokenTest, TokenAndBoxWaitWhileTheHumanHasPendingCards)
{
    StartTokens();
    LifeToken& token = *GetLifeToken(PLAYER_HUMAN);
    CardActor* const card = AsCardActor(CreateActor(ACTOR_TYPE_CARD));
    card->SetOwner(PLAYER_HUMAN);
    RegisterActor(card);
    AddPendingCard(card);
    ASSERT_EQ(CountPendingCards(PLAYER_HUMAN), 1);
    Change(0, 20, 17);
    ASSERT_NE(token.box, nullptr);
    EXPECT_FALSE(token.IsBoxShown());
    MouseState.x = token.rect.left + 3;
    MouseState.y = token.rect.top + 3;
    MouseState.leftClicked = 1;
    Frame();
    EXPECT_EQ(token.dragState, 0) << "no drag while a card is pending";

    ClearPendingCards();
    Frame();
    EXPECT_TRUE(token.IsBoxShown()) << "shown once the cards are resolved";
}

TEST_F(LifeTokenTest, MoveByShiftsTokenAndHand)
{
    StartTokens();
    LifeToken& human = *GetLifeToken(PLAYER_HUMAN);
    const RasterRect before = human.rect;
    human.MoveBy(10, -4);
    EXPECT_EQ(human.rect.left, before.left + 10);
    EXPECT_EQ(human.rect.top, before.top - 4);
    EXPECT_EQ(static_cast<int>(human.actor->m_Position.x), before.left + 10);

    LifeToken& cpu = *GetLifeToken(PLAYER_CPU);
    PlayerState::SetLife(PLAYER_CPU, 15, 0);
    ASSERT_TRUE(RunUntil([&] { return cpu.handStep == 3; }));
    Frame();
    const int handX = cpu.hand->GetX();
    const RasterRect token = cpu.rect;
    const float targetX = cpu.actor->m_TargetPoint.x;
    cpu.MoveBy(7, 3);
    EXPECT_EQ(cpu.hand->GetX(), handX + 7);
    EXPECT_EQ(cpu.rect.left, token.left + 7);
    EXPECT_EQ(cpu.actor->m_TargetPoint.x, targetX + 7.0f);
}

// A resized window moves the mats; the tokens go with them and stay on their cells, so the learner's token never
// counts as misplaced because of it.
TEST_F(LifeTokenTest, TokensStayOnTheirCellsWhenAResizeMovesTheMats)
{
    GameDisplay& display = *GetGameDisplay();
    s_GameMode = 1;
    display.LayoutPlayMat();
    StartTokens();
    DragHumanTokenTo(20);
    PlayerState::SetLife(PLAYER_CPU, 13, 0);
    LifeToken& human = *GetLifeToken(PLAYER_HUMAN);
    LifeToken& cpu = *GetLifeToken(PLAYER_CPU);
    ASSERT_TRUE(RunUntil([&] { return cpu.IsIdle() && cpu.shownLife == 13; }));
    const std::pair<int, int> sizes[] = {{1024, 768}, {1280, 1024}, {800, 600}, {640, 480}};
    for (const auto& [width, height] : sizes) {
        s_ClientWidth = width;
        s_ClientHeight = height;
        display.LayoutPlayMat();
        for (int i = 0; i < 5; ++i)
            Frame();
        for (const auto& [player, life] : {std::pair{PLAYER_HUMAN, 20}, std::pair{PLAYER_CPU, 13}}) {
            const LifeToken& token = *GetLifeToken(player);
            int x = 0;
            int y = 0;
            GetLifeTokenTarget(player, life, x, y);
            EXPECT_EQ(token.rect.left, x) << width << "x" << height << " player " << player;
            EXPECT_EQ(token.rect.top, y) << width << "x" << height << " player " << player;
        }
        EXPECT_EQ(human.actor->GetState(), TOKEN_SETTLED) << width << "x" << height;
        EXPECT_TRUE(human.IsReady()) << width << "x" << height;
    }

    // The hand carrying the CPU's token when the window changes keeps it in its grip and still ends on the cell.
    PlayerState::SetLife(PLAYER_CPU, 9, 0);
    ASSERT_TRUE(RunUntil([&] { return cpu.handStep == 3; }));
    s_ClientWidth = 1024;
    s_ClientHeight = 768;
    display.LayoutPlayMat();
    ASSERT_TRUE(RunUntil([&] { return cpu.IsIdle(); }));
    int x = 0;
    int y = 0;
    GetLifeTokenTarget(PLAYER_CPU, 9, x, y);
    EXPECT_EQ(cpu.rect.left, x);
    EXPECT_EQ(cpu.rect.top, y);
}

TEST_F(LifeTokenTest, ResetTableTearsDownAndPutsWordsBack)
{
    struct Case {
        int mode;
        int forcedCard;
        int expectedMenuWord;
    };
    const Case cases[] = {{0, 0, -1}, {0, 12, 5}, {2, 0, 5}};
    for (const Case& c : cases) {
        CreateLifeTokens();
        GameBlock& block = GetGameBlock();
        block.menuWords.fill(5);
        block.flowWords.fill(3);
        block.resetWord = 4;
        SetRulesStateWord(9);
        SetForcedFirstCard(PLAYER_HUMAN, c.forcedCard);
        s_FramesPerSecond = 12.0f;
        GUI_Window window(0, 0, 10, 10);
        GetGameDisplay()->RegisterWindow(&window);
        s_GameMode = 1;

        ResetTable(c.mode);
        EXPECT_EQ(block.menuWords[4], c.expectedMenuWord) << c.mode << " " << c.forcedCard;
        EXPECT_EQ(block.flowWords[0], 0);
        EXPECT_EQ(block.resetWord, 0);
        EXPECT_EQ(GetRulesStateWord(), 0);
        EXPECT_EQ(s_FramesPerSecond, s_MaxFramesPerSecond);
        EXPECT_TRUE(GetGameDisplay()->GetGameWindows().empty());
        EXPECT_EQ(GetLifeToken(PLAYER_HUMAN), nullptr);
        EXPECT_EQ(s_GameMode, -1);
        EXPECT_EQ(s_RequestedGameMode, c.mode);
        EXPECT_EQ(GetPreviousGameMode(), 1);
    }
    SetForcedFirstCard(PLAYER_HUMAN, 0);
    GetGameBlock() = GameBlock();
    SetPlayerActors(nullptr, nullptr);
}

} // namespace
