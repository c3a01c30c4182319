// The intro that opens every lesson game and the gates through which the table asks what it may show. No
// concrete intro exists yet: the intro actor builds both decks on its first frame and ends at once.
#pragma once

class Actor;

// Ends the current intro (none exists) and closes every gate until the next intro has ended; clears the skip byte.
void DestroyIntro();
bool GetIntroSkip();
void SetIntroSkip(bool skip);

// The intro's state and reveal gates. Without an intro they give the no-intro default: closed until an intro
// has ended by itself, then open.
bool IsIntroRunning();
bool IsIntroFinished();
bool IntroGate(int gate);

// The intro has ended by itself: every gate opens until the next DestroyIntro.
void MarkIntroEnded();

// The behaviour of the actor type "intro": deals both decks on its first frame, then ends and opens the gates.
void IntroBehaviour(Actor* actor);
