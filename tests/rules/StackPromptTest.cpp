#include "engine/core/StringTable.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/RulesLessonCalls.h"
#include "rules/StackPrompts.h"
#include "tests/rules/RulesFixture.h"

#include <functional>

namespace {

// The lesson's advice as the stack sees it: answered or still up, and the learner's answer.
bool s_AdviceDone = true;
int s_AdviceAnswer = 0;

void SetStackAdviceAnswer(bool done, bool respond)
{
    s_AdviceDone = done;
    s_AdviceAnswer = respond ? 1 : 0;
}

bool ScriptedAdvice(int* answer)
{
    if (s_AdviceDone)
        *answer = s_AdviceAnswer;
    return s_AdviceDone;
}

class StackPromptTest : public rulestest::RulesTest {
protected:
    void SetUp() override
    {
        RulesTest::SetUp();
        SetMode(2);
        GetSpellStack().OpenWindow();
        m_Saved = g_RulesLessonCalls;
        g_RulesLessonCalls.ShowMultipleBlockersAdvice = [](int) { return s_AdviceDone; };
        g_RulesLessonCalls.ShowCombatDamageAdvice = [](int, int* answer) { return ScriptedAdvice(answer); };
        g_RulesLessonCalls.ShowOpponentSpellAdvice = [](const StackEntry*, int* answer) {
            return ScriptedAdvice(answer);
        };
    }

    void TearDown() override
    {
        g_RulesLessonCalls = m_Saved;
        SetStackAdviceAnswer(true, false);
        MouseState = MouseRecord();
        RulesTest::TearDown();
    }

    RulesLessonCalls m_Saved;

    static void Push(const StackEntry& entry)
    {
        SpellStack& stack = GetSpellStack();
        stack.m_Entries[stack.m_Count++] = entry;
    }
};

TEST_F(StackPromptTest, PhysicalConfirmationByPromptStateAndAdvice)
{
    CardActor& cpuSpell = OnTable(Creature(1, 1), PLAYER_CPU);
    CardActor& revealed = OnTable(Creature(1, 1), PLAYER_CPU);
    revealed.m_Flags |= ACTOR_FLAG_CPU_REVEALED;
    const StackEntry spell{&cpuSpell, nullptr, nullptr, false, 0};
    struct Case {
        const char* name;
        int promptState, state;
        std::function<void()> setup;
        bool confirmed;
    };
    const Case cases[] = {
        {"own ability may resolve", 2, STACK_HUMAN_ACTS, [] {}, true},
        {"cpu ability may resolve", 3, STACK_CPU_ACTS, [] {}, true},
        {"waiting for the player", 4, STACK_OPEN, [&] { Push(spell); }, false},
        {"waiting for the opponent", 5, STACK_OPEN, [&] { Push(spell); }, false},
        {"respond prompt, empty stack", 6, STACK_CPU_ACTS, [] {}, false},
        {"cpu spell, advice answered", 6, STACK_CPU_ACTS, [&] { Push(spell); }, true},
        {"cpu spell, learner responds", 6, STACK_CPU_ACTS,
         [&] {
             Push(spell);
             SetStackAdviceAnswer(true, true);
         },
         true},
        {"cpu spell, advice still up", 6, STACK_CPU_ACTS,
         [&] {
             Push(spell);
             SetStackAdviceAnswer(false, false);
         },
         false},
        {"cpu spell while the window runs", 6, STACK_OPEN, [&] { Push(spell); }, false},
        {"revealed card waits", 6, STACK_CPU_ACTS, [&] { Push(StackEntry{&revealed, nullptr, nullptr, false, 0}); },
         false},
        {"combat damage, advice answered", 6, STACK_OPEN, [] { Push(StackEntry{nullptr, nullptr, nullptr, false, 1}); },
         true},
        {"combat damage, advice still up", 6, STACK_HUMAN_ACTS,
         [] {
             Push(StackEntry{nullptr, nullptr, nullptr, false, 1});
             SetStackAdviceAnswer(false, false);
         },
         false},
    };
    for (const Case& c : cases) {
        SpellStack& stack = GetSpellStack();
        stack.Reset(1);
        SetStackAdviceAnswer(true, false);
        c.setup();
        stack.m_PromptState = c.promptState;
        stack.m_State = c.state;
        MouseState.leftClicked = 1;
        stack.ConfirmPrompt();
        EXPECT_EQ(stack.m_State == STACK_RESOLVE, c.confirmed) << c.name;
        EXPECT_EQ(stack.m_PromptState == 0, c.confirmed || c.promptState == 0) << c.name;
        EXPECT_EQ(MouseState.leftClicked == 0, c.confirmed) << c.name << ": the click is taken on confirming";
        if (c.confirmed) {
            EXPECT_EQ(stack.m_CpuHasNoEntry, !stack.HasEntryOfPlayer(PLAYER_CPU, false)) << c.name;
        }
    }
}

TEST_F(StackPromptTest, NothingConfirmsWhileTheStackIsInactiveOrOnlineWithoutAClick)
{
    SpellStack& stack = GetSpellStack();
    stack.m_PromptState = 2;
    stack.m_State = STACK_HUMAN_ACTS;
    stack.Shutdown();
    stack.ConfirmPrompt();
    EXPECT_EQ(stack.m_State, STACK_HUMAN_ACTS);

    SetMode(4);
    stack.OpenWindow();
    for (const int prompt : {2, 3, 4, 5, 6}) {
        stack.m_PromptState = prompt;
        stack.m_State = STACK_HUMAN_ACTS;
        stack.ConfirmPrompt();
        EXPECT_EQ(stack.m_State, STACK_HUMAN_ACTS) << "online waits for the field's button, prompt " << prompt;
    }
}

// On the learner's turn the stack's waiting notes (prompt states 4 and 5) would share the message field with the
// turn's own prompt and its button: they only stand by, and the frame's end shows them in a field left free.
TEST_F(StackPromptTest, OnlineWaitingNotesStandByInsteadOfTakingTheField)
{
    SetMode(4);
    SpellStack& stack = GetSpellStack();
    stack.OpenWindow();
    GameDisplay& display = *GetGameDisplay();
    display.DrawStandbyPrompt();
    const std::pair<int, const char16_t*> notes[] = {{4, u"STACK_WAITING_FOR_PLAYER"},
                                                     {5, u"STACK_WAITING_FOR_OPPONENT"}};
    for (const auto& [prompt, key] : notes) {
        stack.m_PromptState = prompt;
        stack.ConfirmPrompt();
        const char16_t* const text = GetString(key);
        EXPECT_EQ(display.m_StandbyPrompt, text != nullptr ? text : u"") << prompt;
        EXPECT_FALSE(display.m_MessageFieldTaken) << prompt;
        display.DrawStandbyPrompt();
        EXPECT_TRUE(display.m_StandbyPrompt.empty());
    }
    stack.m_PromptState = 6;
    stack.ConfirmPrompt();
    EXPECT_TRUE(display.m_StandbyPrompt.empty()) << "a prompt with a button takes the field itself";
    display.DrawStandbyPrompt();
}

TEST_F(StackPromptTest, ArrowColourFollowsTheFirstColouredCounter)
{
    struct Case {
        const char* name;
        ManaCost cost;
        int type, subType;
        StackArrowColour colour;
    };
    const Case cases[] = {
        {"black before all", ManaCost(0, 1, 1, 1, 1, 1), CT_INSTANT, 0, {128, 128, 128}},
        {"blue before green", ManaCost(2, 0, 1, 1, 0, 0), CT_INSTANT, 0, {64, 128, 255}},
        {"green before red", ManaCost(0, 1, 1, 0, 0, 0), CT_CREATURE, 0, {64, 255, 96}},
        {"red before white", ManaCost(0, 1, 0, 0, 0, 1), CT_SORCERY, 0, {255, 32, 32}},
        {"white", ManaCost(1, 0, 0, 0, 0, 1), CT_ENCHANT, 0, {255, 224, 208}},
        {"colourless artifact", ManaCost(3, 0, 0, 0, 0, 0), CT_ARTIFACT, 0, {223, 208, 128}},
        {"artifact creature", ManaCost(3, 0, 0, 0, 0, 0), CT_CREATURE, ARTIFACT_CREATURE, {223, 208, 128}},
        {"colourless other card", ManaCost(0, 0, 0, 0, 0, 0), CT_LAND, 0, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        CARD& card = Define(c.type, c.cost);
        card.m_SubType = c.subType;
        const StackArrowColour colour = GetStackArrowColour(&OnTable(card));
        EXPECT_EQ(colour.red, c.colour.red) << c.name;
        EXPECT_EQ(colour.green, c.colour.green) << c.name;
        EXPECT_EQ(colour.blue, c.colour.blue) << c.name;
    }
}

TEST_F(StackPromptTest, ArrowBendsMoreForLongerDrops)
{
    struct Case {
        int distance;
        float bend;
    };
    // A quarter of 600 is 150.
    const Case cases[] = {{0, 0.3f}, {149, 0.3f}, {-149, 0.3f}, {150, 0.6f}, {450, 0.6f}, {-300, 0.6f},
                          {451, 1.0f}, {-600, 1.0f}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(GetStackArrowBend(c.distance, 600), c.bend) << c.distance;
}

} // namespace
