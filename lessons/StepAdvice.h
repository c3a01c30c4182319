// The advice of the learner's own steps outside combat in the physical lesson: the first-turn draw box, the untap
// hints, the draw-step prompt, the land, creature and main-phase boxes, and the discard box.
#pragma once

class Actor;

// One frame of the step advice for the "player" actor's step; false while the learner must answer.
bool RunStepAdvice(Actor* human);
