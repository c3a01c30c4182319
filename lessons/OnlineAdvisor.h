// The online lesson's coach. Until the full advisor is built it asks only what the game cannot go on without:
// whether the learner's Wenorth gains life or prevents damage.
#pragma once

class Messagebox;

// Once per frame from the camera.
void OnlineAdvisor();
// The advice box on the screen, or null.
Messagebox* GetOnlineAdviceBox();
// The advice number on the screen, 0 when none.
int GetOnlineAdvice();
// At a scene reset and at shutdown: the box goes, unregistered.
void DeleteOnlineAdviceBox();
