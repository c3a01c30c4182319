#include "gamestate/Intro.h"

#include "engine/scene/Actor.h"

CIntro* s_pCurrentIntro = nullptr;
bool s_bNoIntroDefault = false;
int s_OpeningHandSize = 7;
bool s_bLayoutChanged = false;
bool s_bSkipIntro = false;

bool IsIntroRunning()
{
    return s_pCurrentIntro != nullptr && s_pCurrentIntro->IsRunning();
}

bool IsIntroFinished()
{
    return s_pCurrentIntro != nullptr ? s_pCurrentIntro->IsFinished() : s_bNoIntroDefault;
}

namespace {

using GateCall = bool (CIntro::*)();

// The intro's gate operations in their table order, gate 7 first.
constexpr GateCall GATE_CALLS[] = {
    &CIntro::IntroGate7,  &CIntro::IntroGate8,  &CIntro::IntroGate9,  &CIntro::IntroGate10, &CIntro::IntroGate11,
    &CIntro::IntroGate12, &CIntro::IntroGate13, &CIntro::IntroGate14, &CIntro::IntroGate15, &CIntro::IntroGate16,
    &CIntro::IntroGate17, &CIntro::IntroGate18, &CIntro::IntroGate19, &CIntro::IntroGate20, &CIntro::IntroGate21,
    &CIntro::IntroGate22, &CIntro::IntroGate23, &CIntro::IntroGate24, &CIntro::IntroGate25, &CIntro::IntroGate26,
};
constexpr int FIRST_GATE = 7;
constexpr int LAST_GATE = 26;
constexpr int FIRST_ONLINE_GATE = 20;

// What a gate answers while no intro exists.
bool NoIntroAnswer(int gate)
{
    if (gate == 10 || gate == 18 || gate == 19)
        return false;
    if (gate >= FIRST_ONLINE_GATE)
        return IsOnlineLesson() && s_bNoIntroDefault;
    return s_bNoIntroDefault;
}

} // namespace

bool IntroGate(int gate)
{
    if (gate < FIRST_GATE || gate > LAST_GATE)
        return false;
    CIntro* const intro = s_pCurrentIntro;
    if (intro == nullptr)
        return NoIntroAnswer(gate);
    return (intro->*GATE_CALLS[gate - FIRST_GATE])();
}

bool IntroGate7() { return IntroGate(7); }
bool IntroGate8() { return IntroGate(8); }
bool IntroGate9() { return IntroGate(9); }
bool IntroGate10() { return IntroGate(10); }
bool IntroGate11() { return IntroGate(11); }
bool IntroGate12() { return IntroGate(12); }
bool IntroGate13() { return IntroGate(13); }
bool IntroGate14() { return IntroGate(14); }
bool IntroGate15() { return IntroGate(15); }
bool IntroGate16() { return IntroGate(16); }
bool IntroGate17() { return IntroGate(17); }
bool IntroGate18() { return IntroGate(18); }
bool IntroGate19() { return IntroGate(19); }
bool IntroGate20() { return IntroGate(20); }
bool IntroGate21() { return IntroGate(21); }
bool IntroGate22() { return IntroGate(22); }
bool IntroGate23() { return IntroGate(23); }
bool IntroGate24() { return IntroGate(24); }
bool IntroGate25() { return IntroGate(25); }
bool IntroGate26() { return IntroGate(26); }

void UpdateIntro()
{
    if (s_pCurrentIntro != nullptr)
        s_pCurrentIntro->LayoutStep();
}

void DestroyIntro()
{
    if (s_pCurrentIntro != nullptr) {
        s_pCurrentIntro->Reset();
        delete s_pCurrentIntro;
        s_pCurrentIntro = nullptr;
    }
    s_bNoIntroDefault = false;
}

void MarkIntroEnded()
{
    s_bNoIntroDefault = true;
}
