// The intro actor without a concrete intro: it deals both decks on its first frame, then ends and opens the gates.
#include "cards/CardActor.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/Intro.h"
#include "lessons/ActorTypes.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"
#include "tests/lessons/LessonFixture.h"

#include <gtest/gtest.h>

namespace {

class IntroTest : public lessontest::LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        SetMode(3);
        SetChosenColours(0, 1, 2, 3, 4);
        DestroyIntro();
    }

    void TearDown() override
    {
        GetGameDisplay()->m_bQuitPromptOpen = false;
        LessonTest::TearDown();
    }

    static bool AllGates(bool open)
    {
        for (int gate = 7; gate <= 26; ++gate)
            if (IntroGate(gate) != open)
                return false;
        return IsIntroFinished() == open && !IsIntroRunning();
    }

    static int HeldLibraryActors()
    {
        int held = 0;
        for (int i = 0; i < LIBRARY_ACTOR_CAPACITY; ++i)
            if (const CardActor* card = GetLibraryActor(i); card != nullptr && card->IsHeld() && card->IsInLibrary())
                ++held;
        return held;
    }
};

TEST_F(IntroTest, GatesStayClosedUntilTheIntroActorHasRun)
{
    EXPECT_TRUE(AllGates(false));
    Actor* const intro = SpawnActor(u"intro", 0, FindBehaviour(u"intro"), 0, 0, 0, 0, 0, 0);
    ASSERT_NE(intro, nullptr);
    SetOpeningHandSize(4);
    UpdateActors();
    EXPECT_EQ(FindActorByName(u"intro"), nullptr);
    EXPECT_TRUE(AllGates(true));
    EXPECT_EQ(GetOpeningHandSize(), 7);
    EXPECT_EQ(HeldLibraryActors(), 7);
    EXPECT_GT(GetPlayerState(PLAYER_CPU)->m_LibraryCount, 0);

    // A mode switch destroys the intro: the gates close until the next intro has ended.
    DestroyIntro();
    EXPECT_TRUE(AllGates(false));
}

TEST_F(IntroTest, NothingHappensWhileTheQuitPromptIsOpen)
{
    SpawnActor(u"intro", 0, FindBehaviour(u"intro"), 0, 0, 0, 0, 0, 0);
    GetGameDisplay()->m_bQuitPromptOpen = true;
    UpdateActors();
    EXPECT_NE(FindActorByName(u"intro"), nullptr);
    EXPECT_TRUE(AllGates(false));
    EXPECT_EQ(HeldLibraryActors(), 0);
    GetGameDisplay()->m_bQuitPromptOpen = false;
    UpdateActors();
    EXPECT_EQ(FindActorByName(u"intro"), nullptr);
    EXPECT_TRUE(AllGates(true));
}

} // namespace
