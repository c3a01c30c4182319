// The coin toss: the dice, the real-game note, who begins by the dice and the learner's choice, the turn flags,
// the life globes, and the actor leaving.
#include "cards/TableEffects.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "lessons/ActorTypes.h"
#include "platform/Headless.h"
#include "screens/CoinToss.h"
#include "tests/lessons/LessonFixture.h"

#include <gtest/gtest.h>

namespace {

class CoinTossTest : public lessontest::LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        SetMode(3);
        GameDisplay& display = *GetGameDisplay();
        for (int& button : display.m_FixedButtons)
            button = Texture(20, 10);
        m_player = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_player->SetState(7);
        ResetPhysicalTurnState();
        ResetOnlineTurnState();
    }

    void TearDown() override
    {
        ResetPhysicalTurnState();
        ResetOnlineTurnState();
        LessonTest::TearDown();
    }

    int Texture(int width, int height)
    {
        m_pixels.emplace_back(static_cast<std::size_t>(width * height), std::uint16_t{0x1234});
        return GetGameDisplay()->CreateTextureFromPixels(m_pixels.back().data(), width, height, 0);
    }

    static void Frame()
    {
        plat::headless::AdvanceTime(60);
        MouseState.leftClicked = 0;
        MouseState.clickConsumed = 0;
        UpdateActors();
        PurgeRemovedActors();
    }

    // Plays a toss with the first seed whose dice give the wanted winner; -1 when none does.
    Actor* StartToss(bool humanWins)
    {
        for (std::uint32_t seed = 1; seed < 100; ++seed) {
            plat::SeedRand(seed);
            const int human = plat::Rand() % 5 + 1;
            const int cpu = plat::Rand() % 5 + 1;
            if ((human >= cpu) == humanWins) {
                plat::SeedRand(seed);
                return SpawnActor(u"cointoss", 0, FindBehaviour(u"cointoss"), 0, 0, 0, 0, 0, 0);
            }
        }
        return nullptr;
    }

    // Rolls until the result shows, then answers the real-game note.
    static void RollAndCloseNote(Actor* toss)
    {
        for (int i = 0; i < 40 && toss->GetState() != 2; ++i)
            Frame();
        ASSERT_EQ(toss->GetState(), 2);
        Frame();
        GameDisplay& display = *GetGameDisplay();
        display.m_LastReplyId = display.m_MessageRecords[0].messageId;
        display.m_LastReplyAnswer = 1;
        Frame();
        display.m_LastReplyId = -1;
        display.m_LastReplyAnswer = 0;
    }

    // A click on the message field's button that lies `fromRight` buttons in from its right edge.
    static void ClickFieldButton(int fromRight)
    {
        const RasterRect& field = GetGameDisplay()->GetZoneRectByIndex(15);
        plat::headless::AdvanceTime(60);
        UpdateActors();
        MouseState.x = field.right - 8 - fromRight * 23;
        MouseState.y = field.bottom - 8;
        MouseState.leftClicked = 1;
        UpdateActors();
        PurgeRemovedActors();
    }

    static int Globes()
    {
        int globes = 0;
        for (int i = 0; i < GetActorCount(); ++i)
            globes += std::u16string_view(GetActorAt(i)->GetName()) == u"lifeglobe" ? 1 : 0;
        return globes;
    }

    Actor* m_player = nullptr;
    std::vector<std::vector<std::uint16_t>> m_pixels;
};

TEST_F(CoinTossTest, DiceDecideWhoBeginsAndTheLearnerMayChoose)
{
    struct Case {
        const char* name;
        bool humanWins;
        int button;  // buttons in from the field's right edge
        bool humanBegins;
        int playerState;
    };
    const Case cases[] = {
        {"won, goes first", true, 1, true, 20},
        {"won, goes second", true, 0, false, 0},
        {"lost", false, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        Actor* const toss = StartToss(c.humanWins);
        ASSERT_NE(toss, nullptr);
        RollAndCloseNote(toss);
        ASSERT_EQ(FindActorByName(u"cointoss"), toss);
        EXPECT_EQ(GetHumanDieValue() > GetCpuDieValue(), c.humanWins);
        EXPECT_NE(GetHumanDieValue(), GetCpuDieValue());
        ClickFieldButton(c.button);
        EXPECT_EQ(FindActorByName(u"cointoss"), nullptr);
        EXPECT_NE(s_HumanTurn, s_CpuTurn);
        EXPECT_EQ(s_HumanTurn, c.humanBegins);
        EXPECT_EQ(s_CpuSkipNextDraw, !c.humanBegins);
        EXPECT_EQ(m_player->GetState(), c.playerState);
        // The globes ran in the frame of the answer and told the learner's opening to begin.
        EXPECT_EQ(GetGlobeSeenWord(), 1);
        EXPECT_TRUE(TakeLifeGlobesEnded());
        EXPECT_EQ(Globes(), 0);
    }
}

TEST_F(CoinTossTest, NoAnswerWhileTheNoteIsOpenAndNoChoiceInThePhysicalLesson)
{
    Actor* const toss = StartToss(true);
    for (int i = 0; i < 40 && toss->GetState() != 2; ++i)
        Frame();
    ASSERT_EQ(toss->GetState(), 2);
    ClickFieldButton(1);
    EXPECT_EQ(FindActorByName(u"cointoss"), toss);
    EXPECT_FALSE(s_HumanTurn || s_CpuTurn);

    SetMode(1);
    RollAndCloseNote(toss);
    ClickFieldButton(1);
    EXPECT_EQ(FindActorByName(u"cointoss"), toss);
    EXPECT_FALSE(s_HumanTurn || s_CpuTurn);
}

TEST_F(CoinTossTest, ATieGoesToTheLearnerAndTheCpuNeverRollsSix)
{
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        plat::SeedRand(seed);
        Actor* const toss = SpawnActor(u"cointoss", 0, FindBehaviour(u"cointoss"), 0, 0, 0, 0, 0, 0);
        Frame();
        Frame();
        EXPECT_GT(GetHumanDieValue(), 0);
        EXPECT_LE(GetHumanDieValue(), 6);
        EXPECT_LE(GetCpuDieValue(), 5);
        EXPECT_NE(GetHumanDieValue(), GetCpuDieValue());
        RemoveActor(toss);
        PurgeRemovedActors();
    }
}

} // namespace
