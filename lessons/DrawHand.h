// The drawing hand that deals the CPU's drawn cards in the physical lesson: its step (0 start to 5 at rest) and
// the number of cards to deal in this run.
#pragma once

struct DrawHandState {
    int state = 5;
    int toDeal = 0;
};

DrawHandState& GetDrawHand();
