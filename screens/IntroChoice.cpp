#include "screens/IntroChoice.h"

#include "engine/scene/Actor.h"
#include "screens/OnlineIntro.h"
#include "screens/PhysicalIntro.h"
#include "screens/StandInIntro.h"

namespace {

IntroChoice s_IntroChoice = IntroChoice::LessonIntros;

} // namespace

void SetIntroChoice(IntroChoice choice)
{
    s_IntroChoice = choice;
}

CIntro* NewLessonIntro()
{
    if (s_IntroChoice == IntroChoice::EndAtOnce)
        return CreateStandInIntro();
    if (IsOnlineLesson())
        return new Intro_Online();
    return new Intro_Physical();
}
