// The intro protocol: the free gates and their answers with and without an intro, and the intro actor, which deals
// both decks on its first frame and drives the intro until it ends.
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
        // The advanced online game: its intro ends on its first frame.
        SetMode(4);
        SetChosenColours(0, 1, 2, 3, 4);
        DestroyIntro();
    }

    void TearDown() override
    {
        GetGameDisplay()->m_bQuitPromptOpen = false;
        LessonTest::TearDown();
    }

    // Gates 10, 18 and 19 answer only while an intro exists; the test runs an online lesson.
    static bool AllGates(bool open)
    {
        for (int gate = 7; gate <= 26; ++gate)
            if (IntroGate(gate) != (open && gate != 10 && gate != 18 && gate != 19))
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

// An intro whose state and gates answer what the case sets, and which records the calls the protocol makes.
class ScriptedIntro : public CIntro {
public:
    explicit ScriptedIntro(int* resets) : m_Resets(resets) {}
    ~ScriptedIntro() override { ++*m_Resets; }
    bool Advance() override { return advance; }
    void DrawStepHighlight() override { ++highlights; }
    bool IsRunning() override { return running; }
    bool IsFinished() override { return finished; }
    void LayoutStep() override { ++layouts; }
    void Reset() override { ++*m_Resets; }
    bool Gate(int gate) const { return (openGates >> gate & 1u) != 0; }
    bool IntroGate7() override { return Gate(7); }
    bool IntroGate8() override { return Gate(8); }
    bool IntroGate9() override { return Gate(9); }
    bool IntroGate10() override { return Gate(10); }
    bool IntroGate11() override { return Gate(11); }
    bool IntroGate12() override { return Gate(12); }
    bool IntroGate13() override { return Gate(13); }
    bool IntroGate14() override { return Gate(14); }
    bool IntroGate15() override { return Gate(15); }
    bool IntroGate16() override { return Gate(16); }
    bool IntroGate17() override { return Gate(17); }
    bool IntroGate18() override { return Gate(18); }
    bool IntroGate19() override { return Gate(19); }
    bool IntroGate20() override { return Gate(20); }
    bool IntroGate21() override { return Gate(21); }
    bool IntroGate22() override { return Gate(22); }
    bool IntroGate23() override { return Gate(23); }
    bool IntroGate24() override { return Gate(24); }
    bool IntroGate25() override { return Gate(25); }
    bool IntroGate26() override { return Gate(26); }

    bool advance = true;
    bool running = true;
    bool finished = false;
    std::uint32_t openGates = 0;
    int highlights = 0;
    int layouts = 0;

private:
    int* m_Resets;
};

// The named gates, in order from 7 to 26.
constexpr bool (*NAMED_GATES[])() = {
    IntroGate7,  IntroGate8,  IntroGate9,  IntroGate10, IntroGate11, IntroGate12, IntroGate13,
    IntroGate14, IntroGate15, IntroGate16, IntroGate17, IntroGate18, IntroGate19, IntroGate20,
    IntroGate21, IntroGate22, IntroGate23, IntroGate24, IntroGate25, IntroGate26,
};

// The open gates as a bit mask over 7..26, read through the named functions.
std::uint32_t OpenGates()
{
    std::uint32_t mask = 0;
    for (int gate = 7; gate <= 26; ++gate)
        if (NAMED_GATES[gate - 7]())
            mask |= 1u << gate;
    return mask;
}

constexpr std::uint32_t ALL_GATES = ((1u << 27) - 1) & ~((1u << 7) - 1);
constexpr std::uint32_t INTRO_ONLY = (1u << 10) | (1u << 18) | (1u << 19);
constexpr std::uint32_t ONLINE_ONLY = ((1u << 27) - 1) & ~((1u << 20) - 1);

TEST_F(IntroTest, GatesWithoutAnIntroFollowTheByteAndTheLesson)
{
    struct Case {
        const char* name;
        int mode;
        bool ended;
        std::uint32_t open;
        bool finished;
    };
    const Case cases[] = {
        {"menus, physical mode", 1, false, 0, false},
        {"menus, online mode", 3, false, 0, false},
        {"ended by itself, physical", 1, true, ALL_GATES & ~INTRO_ONLY & ~ONLINE_ONLY, true},
        {"ended by itself, advanced physical", 2, true, ALL_GATES & ~INTRO_ONLY & ~ONLINE_ONLY, true},
        {"ended by itself, online", 3, true, ALL_GATES & ~INTRO_ONLY, true},
        {"ended by itself, advanced online", 4, true, ALL_GATES & ~INTRO_ONLY, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetMode(c.mode);
        DestroyIntro();
        if (c.ended)
            MarkIntroEnded();
        EXPECT_EQ(OpenGates(), c.open);
        EXPECT_EQ(IsIntroFinished(), c.finished);
        EXPECT_FALSE(IsIntroRunning());
        EXPECT_FALSE(IntroGate(6));
        EXPECT_FALSE(IntroGate(27));
    }
}

TEST_F(IntroTest, ARunningIntroAnswersEveryGateAndStateItself)
{
    for (const int mode : {1, 3}) {
        SCOPED_TRACE(mode);
        SetMode(mode);
        MarkIntroEnded();
        int resets = 0;
        auto* intro = new ScriptedIntro(&resets);
        s_pCurrentIntro = intro;
        // Gates the byte would close (10, 18, 19, the online ones) open, and byte-default ones close.
        intro->openGates = INTRO_ONLY | (1u << 20) | (1u << 26) | (1u << 8);
        EXPECT_EQ(OpenGates(), intro->openGates);
        EXPECT_TRUE(IsIntroRunning());
        EXPECT_FALSE(IsIntroFinished());
        intro->running = false;
        intro->finished = true;
        EXPECT_FALSE(IsIntroRunning());
        EXPECT_TRUE(IsIntroFinished());
        UpdateIntro();
        UpdateIntro();
        EXPECT_EQ(intro->layouts, 2);

        // Destroyed: reset, deleted, the byte-default gates closed; the console's skip byte stays.
        s_bSkipIntro = true;
        DestroyIntro();
        EXPECT_EQ(resets, 2);
        EXPECT_EQ(s_pCurrentIntro, nullptr);
        EXPECT_EQ(OpenGates(), 0u);
        EXPECT_FALSE(IsIntroFinished());
        EXPECT_TRUE(s_bSkipIntro);
        s_bSkipIntro = false;
        UpdateIntro();
    }
}

TEST_F(IntroTest, TheIntroActorDrivesTheIntroUntilItsAdvanceFails)
{
    SetMode(1);
    Actor* const actor = SpawnActor(u"intro", 0, FindBehaviour(u"intro"), 0, 0, 0, 0, 0, 0);
    ASSERT_NE(actor, nullptr);
    actor->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
    int resets = 0;
    auto* intro = new ScriptedIntro(&resets);
    s_pCurrentIntro = intro;
    UpdateActors();
    UpdateActors();
    EXPECT_EQ(intro->highlights, 2);
    EXPECT_NE(FindActorByName(u"intro"), nullptr);
    EXPECT_FALSE(IsIntroFinished());

    // Ended by itself: the actor and the intro go (deleted without its Reset), the byte-default gates open.
    intro->advance = false;
    UpdateActors();
    EXPECT_EQ(FindActorByName(u"intro"), nullptr);
    EXPECT_EQ(s_pCurrentIntro, nullptr);
    EXPECT_EQ(resets, 1);
    EXPECT_TRUE(IsIntroFinished());
    EXPECT_EQ(OpenGates(), ALL_GATES & ~INTRO_ONLY & ~ONLINE_ONLY);
}

} // namespace
