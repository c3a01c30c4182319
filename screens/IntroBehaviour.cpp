#include "screens/IntroBehaviour.h"

#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "rules/Decks.h"

namespace {

constexpr int OPENING_HAND = 7;

// Placeholder for the physical and online intros: it has nothing to show, so it ends on its first frame with
// every gate open.
class StandInIntro : public CIntro {
public:
    bool Advance() override { return false; }
    void DrawStepHighlight() override {}
    bool IsRunning() override { return false; }
    bool IsFinished() override { return true; }
    void LayoutStep() override {}
    void Reset() override {}
    bool IntroGate7() override { return true; }
    bool IntroGate8() override { return true; }
    bool IntroGate9() override { return true; }
    bool IntroGate10() override { return true; }
    bool IntroGate11() override { return true; }
    bool IntroGate12() override { return true; }
    bool IntroGate13() override { return true; }
    bool IntroGate14() override { return true; }
    bool IntroGate15() override { return true; }
    bool IntroGate16() override { return true; }
    bool IntroGate17() override { return true; }
    bool IntroGate18() override { return false; }
    bool IntroGate19() override { return false; }
    bool IntroGate20() override { return IsOnlineLesson(); }
    bool IntroGate21() override { return IsOnlineLesson(); }
    bool IntroGate22() override { return IsOnlineLesson(); }
    bool IntroGate23() override { return IsOnlineLesson(); }
    bool IntroGate24() override { return IsOnlineLesson(); }
    bool IntroGate25() override { return IsOnlineLesson(); }
    bool IntroGate26() override { return IsOnlineLesson(); }
};

void DealBothDecks()
{
    SetOpeningHandSize(OPENING_HAND);
    SetupDecks();
    SetupCpuDeck();
    // An empty request only places channel 0's dialog in the middle of the screen for the messages to come.
    if (GameDisplay* const display = GetGameDisplay())
        display->AddMessageWindow(0, 100, u"", 0, 0, nullptr, true, display->m_Width / 2, display->m_Height / 2, 0,
                                  nullptr, nullptr, nullptr, 30, 0, 0);
}

void StartIntro()
{
    delete s_pCurrentIntro;
    s_pCurrentIntro = new StandInIntro();
    s_bNoIntroDefault = false;
}

// The intro has ended by itself: it and its actor go, and the byte-default gates open.
void EndIntro(Actor* actor)
{
    RemoveActor(actor);
    delete s_pCurrentIntro;
    s_pCurrentIntro = nullptr;
    MarkIntroEnded();
}

} // namespace

void IntroBehaviour(Actor* actor)
{
    const GameDisplay* const display = GetGameDisplay();
    if (display != nullptr && (display->m_bQuitPromptOpen || display->m_bQuitConfirmed))
        return;
    if ((actor->m_Flags & ACTOR_FLAG_FIRST_FRAME) != 0) {
        actor->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
        DealBothDecks();
        StartIntro();
    }
    if (s_pCurrentIntro == nullptr || !s_pCurrentIntro->Advance()) {
        EndIntro(actor);
        return;
    }
    s_pCurrentIntro->DrawStepHighlight();
}
