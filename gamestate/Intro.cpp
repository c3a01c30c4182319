#include "gamestate/Intro.h"

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

bool IntroGate(int gate)
{
    CIntro* const intro = s_pCurrentIntro;
    if (intro == nullptr)
        return s_bNoIntroDefault;
    switch (gate) {
    case 7: return intro->IntroGate7();
    case 8: return intro->IntroGate8();
    case 9: return intro->IntroGate9();
    case 10: return intro->IntroGate10();
    case 11: return intro->IntroGate11();
    case 12: return intro->IntroGate12();
    case 13: return intro->IntroGate13();
    case 14: return intro->IntroGate14();
    case 15: return intro->IntroGate15();
    case 16: return intro->IntroGate16();
    case 17: return intro->IntroGate17();
    case 18: return intro->IntroGate18();
    case 19: return intro->IntroGate19();
    case 20: return intro->IntroGate20();
    case 21: return intro->IntroGate21();
    case 22: return intro->IntroGate22();
    case 23: return intro->IntroGate23();
    case 24: return intro->IntroGate24();
    case 25: return intro->IntroGate25();
    case 26: return intro->IntroGate26();
    default: return false;
    }
}

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
    s_bSkipIntro = false;
    s_bNoIntroDefault = false;
}

void MarkIntroEnded()
{
    s_bNoIntroDefault = true;
}
