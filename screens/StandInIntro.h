// The intro of the runs that look only at what follows the intro: in the physical lesson it leaves the table at
// once as the full intro's last step does: the learner's opening hand held, the CPU's hand dealt, the first player
// chosen (the CPU in the basic game, a die roll in the advanced one) and the first-appearance tips raised. In the
// online lesson it ends at once and the coin toss decides.
#pragma once

#include "gamestate/Intro.h"

// A new stand-in intro (owned by the caller).
CIntro* CreateStandInIntro();
// The die faces (1-6) of the advanced game's roll, drawn again until they differ.
struct StandInDice {
    int human = 0;
    int cpu = 0;
};
StandInDice RollStandInDice();
