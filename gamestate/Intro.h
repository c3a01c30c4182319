// The intro every lesson game opens with, as the rest of the game reaches it: the abstract intro, the one current
// intro, the words the intros share (opening hand size, layout changed, skip) and the gates through which the
// table, the input handlers and the turn drivers ask what they may show. The concrete intros and the intro actor's
// behaviour sit above, with the screens.
#pragma once

// The intro's table of operations, in this order; the gates are numbered 7 to 26 by their place in it.
class CIntro {
public:
    virtual ~CIntro() = default;
    // One frame of the step machine; false once the intro has ended and must be deleted.
    virtual bool Advance() = 0;
    // Drawing for the current step, after a true Advance.
    virtual void DrawStepHighlight() = 0;
    virtual bool IsRunning() = 0;
    virtual bool IsFinished() = 0;
    // Placement work the play-mat layout asks for through UpdateIntro.
    virtual void LayoutStep() = 0;
    // Called by DestroyIntro before deletion.
    virtual void Reset() = 0;
    virtual bool IntroGate7() = 0;
    virtual bool IntroGate8() = 0;
    virtual bool IntroGate9() = 0;
    virtual bool IntroGate10() = 0;
    virtual bool IntroGate11() = 0;
    virtual bool IntroGate12() = 0;
    virtual bool IntroGate13() = 0;
    virtual bool IntroGate14() = 0;
    virtual bool IntroGate15() = 0;
    virtual bool IntroGate16() = 0;
    virtual bool IntroGate17() = 0;
    virtual bool IntroGate18() = 0;
    virtual bool IntroGate19() = 0;
    virtual bool IntroGate20() = 0;
    virtual bool IntroGate21() = 0;
    virtual bool IntroGate22() = 0;
    virtual bool IntroGate23() = 0;
    virtual bool IntroGate24() = 0;
    virtual bool IntroGate25() = 0;
    virtual bool IntroGate26() = 0;
};

// The current intro (owned; none at program start).
extern CIntro* s_pCurrentIntro;
// What the intro's state and gates answer while no intro exists: true once an intro has ended by itself.
extern bool s_bNoIntroDefault;
// The cards the human draws for the opening hand: 7 when an intro starts, lowered by the mulligan.
extern int s_OpeningHandSize;
// Set when positions must be computed again (the camera's first frame, some intro steps).
extern bool s_bLayoutChanged;
// The console's "skipintro": every wait of the intros passes at once.
extern bool s_bSkipIntro;

// Each asks the current intro; without one they give the no-intro default (IsIntroRunning: false).
bool IsIntroRunning();
bool IsIntroFinished();
// Gate 7 to 26 of the current intro. Without an intro: gates 10, 18 and 19 are closed, gates 20 to 26 give the
// no-intro default byte only in an online lesson, the others give the byte. Other numbers are closed.
bool IntroGate(int gate);
bool IntroGate7();
bool IntroGate8();
bool IntroGate9();
bool IntroGate10();
bool IntroGate11();
bool IntroGate12();
bool IntroGate13();
bool IntroGate14();
bool IntroGate15();
bool IntroGate16();
bool IntroGate17();
bool IntroGate18();
bool IntroGate19();
bool IntroGate20();
bool IntroGate21();
bool IntroGate22();
bool IntroGate23();
bool IntroGate24();
bool IntroGate25();
bool IntroGate26();
// The current intro's layout step; nothing without an intro.
void UpdateIntro();
// Resets and deletes the current intro; the byte-default gates stay closed until the next intro has ended. The
// skip byte belongs to the console and is left alone.
void DestroyIntro();
// The intro has ended by itself: the byte-default gates open until the next DestroyIntro.
void MarkIntroEnded();
