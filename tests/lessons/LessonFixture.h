// A lesson table: the 800 x 600 table scene with the mat laid out, synthetic definitions for every card
// identifier, and every rules and flow record reset before and after each case.
#pragma once

#include "gui/GUI_Event.h"
#include "gui/GUI_TextButton.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"
#include "lessons/LessonBox.h"
#include "lessons/TableSceneReset.h"
#include "rules/GameGlobals.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "tests/cards/DealtCard.h"
#include "tests/cards/TableBehaviourFixture.h"
#include "tests/rules/RulesGame.h"

namespace lessontest {

class LessonTest : public tabletest::TableBehaviourTest {
protected:
    void SetUp() override
    {
        TableBehaviourTest::SetUp();
        rulesgame::DefineSyntheticCards();
        GetGameDisplay()->LayoutPlayMat();
        GetGameDisplay()->m_TableLaidOut = true;
        // The display outlives each case: no step is highlighted until a driver picks one.
        GetGameDisplay()->m_CurrentPhase = -1;
        m_savedFramesPerSecond = s_FramesPerSecond;
        s_FramesPerSecond = 60.0f;
        ResetTableScene();
        PurgeRemovedActors();
    }

    void TearDown() override
    {
        ResetTableScene();
        PurgeRemovedActors();
        for (CARD& card : g_CardDefs)
            card = CARD();
        // Later suites count their waits in frames of the rate they expect.
        s_FramesPerSecond = m_savedFramesPerSecond;
        TableBehaviourTest::TearDown();
    }

    // A card of that identifier registered in the actor list: on the table and ready, or held.
    static CardActor* Card(int id, int owner, bool held = false)
    {
        return test::DealCard(id, owner, held);
    }

    // The human's library of count cards, all the same creature unless given.
    static void FillHumanLibrary(int count, int id = 30)
    {
        PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
        for (int i = 0; i < count; ++i)
            human.m_Library[static_cast<std::size_t>(i)] = id;
        human.m_LibraryCount = count;
        human.m_NextDrawIndex = 0;
    }

    // A registered lesson box of that kind with two buttons, standing for the advice's box.
    static Messagebox* ShowBox(int kind)
    {
        auto* box = new Messagebox();
        SetLessonBox(box);
        box->SetKind(kind);
        box->CreateButtons(2);
        GetGameDisplay()->RegisterWindow(box);
        return box;
    }

    // No lesson box, and none closed before: a new box goes to the advice position right of the play area.
    static void ForgetLessonBoxPlace()
    {
        DeleteLessonBox();
        GetGameDisplay()->m_LastLessonBoxX = -1;
        GetGameDisplay()->m_LastLessonBoxY = -1;
    }

    // An error box with two buttons and an explanation link, as an earlier step leaves it up.
    static Messagebox* ShowErrorBoxWithLink()
    {
        Messagebox* const box = ShowBox(11);
        box->CreateTextButton(u"Flying", PackColour(0, 192, 255), PackColour(255, 96, 0), PackColour(0, 64, 192), 7,
                              -1)
            ->SetTag(3);
        return box;
    }

    // The box stands where the advice position puts a box of its size.
    static bool IsAtAdvicePosition(Messagebox* box)
    {
        const int left = box->GetLeft();
        const int top = box->GetTop();
        GetGameDisplay()->PlaceAdviceWindow(box);
        return box->GetLeft() == left && box->GetTop() == top;
    }

    static void Click(Messagebox* box, int button)
    {
        GUI_InputEvent event;
        event.type = GUI_EVENT_COMMAND;
        event.sender = box->GetButton(button);
        box->HandleInput(event);
    }

    static PlayerState& Human() { return *GetPlayerState(PLAYER_HUMAN); }
    static PlayerState& Cpu() { return *GetPlayerState(PLAYER_CPU); }

private:
    float m_savedFramesPerSecond = 0.0f;
};

} // namespace lessontest
