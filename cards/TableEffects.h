// Small effects of the table: falling sparks on a spell being cast, the two-image flash, the life globe and the
// little card frame. Each is the behaviour of its actor type.
#pragma once

class Actor;

void SparkleBehaviour(Actor* actor);
void BigSparkBehaviour(Actor* actor);
void LifeGlobeBehaviour(Actor* actor);
void LilCardFrameBehaviour(Actor* actor);

// Set while a life globe runs, and once one has been seen; the lesson flows and the scene load read them.
int GetGlobeRunningWord();
int GetGlobeSeenWord();
// True once after the globes have ended: the learner's opening (the deal and the hand explained) begins then.
bool TakeLifeGlobesEnded();
int GetFrameRequestWord();
void SetFrameRequestWord(int value);
