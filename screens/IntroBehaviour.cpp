#include "screens/IntroBehaviour.h"

#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "rules/Decks.h"
#include "screens/IntroChoice.h"

namespace {

constexpr int OPENING_HAND = 7;

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
    s_pCurrentIntro = NewLessonIntro();
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
