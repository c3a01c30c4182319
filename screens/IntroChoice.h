// Which intro a lesson game opens with.
#pragma once

class CIntro;

// The lesson's own intros, or one that leaves the table at once as their last step does (the opening hands dealt,
// the first player chosen), for runs that look only at what follows the intro.
enum class IntroChoice { LessonIntros, EndAtOnce };
void SetIntroChoice(IntroChoice choice);

// The online tour in an online lesson, else the physical intro (unless the choice says otherwise); the caller owns
// it.
CIntro* NewLessonIntro();
