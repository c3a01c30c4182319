#include "screens/Intro.h"

namespace {

bool s_bIntroSkip = false;

} // namespace

void DestroyIntro()
{
    s_bIntroSkip = false;
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
    return true;
}

bool IntroGate(int /*gate*/)
{
    return true;
}
