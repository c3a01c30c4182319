// Which intro a lesson game opens with.
#pragma once

class CIntro;

// The lesson's own intros, or an intro that ends on its first frame with every gate open, for runs that look only
// at what follows the intro.
enum class IntroChoice { LessonIntros, EndAtOnce };
void SetIntroChoice(IntroChoice choice);

// The online tour in an online lesson, else the physical intro (unless the choice says otherwise); the caller owns
// it.
CIntro* NewLessonIntro();
