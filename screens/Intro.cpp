#include "screens/Intro.h"

#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "rules/Decks.h"

namespace {

bool s_bIntroSkip = false;
// What the gates answer while no intro exists: true once an intro has ended by itself.
bool s_bNoIntroDefault = false;

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

} // namespace

void DestroyIntro()
{
    s_bIntroSkip = false;
    s_bNoIntroDefault = false;
}

bool GetIntroSkip()
{
    return s_bIntroSkip;
}

void SetIntroSkip(bool skip)
{
    s_bIntroSkip = skip;
}

bool IsIntroRunning()
{
    return false;
}

bool IsIntroFinished()
{
    return s_bNoIntroDefault;
}

bool IntroGate(int /*gate*/)
{
    return s_bNoIntroDefault;
}

void MarkIntroEnded()
{
    s_bNoIntroDefault = true;
}

void IntroBehaviour(Actor* actor)
{
    const GameDisplay* const display = GetGameDisplay();
    if (display != nullptr && (display->m_bQuitPromptOpen || display->m_bQuitConfirmed))
        return;
    if ((actor->m_Flags & ACTOR_FLAG_FIRST_FRAME) != 0) {
        actor->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
        DealBothDecks();
        s_bNoIntroDefault = false;
    }
    // Without a concrete intro there is nothing to advance: the intro has ended.
    RemoveActor(actor);
    MarkIntroEnded();
}
