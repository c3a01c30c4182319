// The intro sequences. Until they exist there is never an intro; only the skip byte is kept.
#pragma once

// Ends and deletes the current intro and clears the skip byte.
void DestroyIntro();
bool GetIntroSkip();
void SetIntroSkip(bool skip);

// The intro's state and reveal gates. Without an intro nothing runs and every gate is open, as after an intro
// that has ended.
bool IsIntroRunning();
bool IsIntroFinished();
bool IntroGate(int gate);
