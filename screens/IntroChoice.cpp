#include "screens/IntroChoice.h"

#include "engine/scene/Actor.h"
#include "screens/OnlineIntro.h"
#include "screens/PhysicalIntro.h"

namespace {

IntroChoice s_IntroChoice = IntroChoice::LessonIntros;

// Nothing to show: it ends on its first frame, and the gates answer as after an intro that has ended.
class EndAtOnceIntro : public CIntro {
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

} // namespace

void SetIntroChoice(IntroChoice choice)
{
    s_IntroChoice = choice;
}

CIntro* NewLessonIntro()
{
    if (s_IntroChoice == IntroChoice::EndAtOnce)
        return new EndAtOnceIntro();
    if (IsOnlineLesson())
        return new Intro_Online();
    return new Intro_Physical();
}
