// The online lesson's coach: once per frame it looks at the game and, whenever the situation has changed, shows
// at most one piece of advice in its own box, with a spoken sentence. The basic online game gets the whole advice
// set, the advanced one the explanations of the cards' abilities.
#pragma once

class Actor;
class CardActor;
class Messagebox;

// Once per frame from the camera.
void OnlineAdvisor();
// The advice box on the screen, or null.
Messagebox* GetOnlineAdviceBox();
// The advice number on the screen, 0 when none.
int GetOnlineAdvice();
// At a scene reset, when every actor goes, and at shutdown: the box goes, unregistered.
void DeleteOnlineAdviceBox();
// Full at the lesson start; otherwise the per-turn part (each end of turn, and a new turn number).
void ResetOnlineAdvisor(bool full);
// Cancels the payment of the card the advice is about and forgets the card.
void CancelAdvisedPayment();
// An actor left the actor list: the advisor lets go of it.
void ForgetAdvisedActor(const Actor* actor);
// A land carrying Brailmel auras was tapped: the learner chooses the colour of that much extra mana.
void BeginChooseMana(const CardActor* land);
