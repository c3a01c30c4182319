// Whether the learner could answer the CPU now: the advice offers its "respond" button only then.
#pragma once

// True as soon as one card of the player is an instant in hand or has an activated ability, other than making
// mana, whose cost the player could start paying now.
bool CanPlayerRespond(int player);
