// The stack shown to the learner: the per-frame prompt step that hands a waiting entry to resolution, and the
// arrow from the entry under the mouse to its target.
#pragma once

class CardActor;

// The stack area of the display (a left x, a right x and a top y in screen pixels).
struct StackArea {
    int left = 0;
    int right = 0;
    int top = 0;
};
StackArea GetStackArea();
// Places the stack's prompt window again after the table's layout changed.
void PlaceStackWindow();

// The per-frame prompt step: the response countdown, confirmation and the resolution prompts.
void UpdateStackPrompt();

struct StackArrowColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};
// By the source card's first coloured cost counter (black, blue, green, red, white); artifacts gold, others black.
StackArrowColour GetStackArrowColour(const CardActor* source);
// The arrow's bend for a vertical distance between its ends on a screen of that height.
float GetStackArrowBend(int verticalDistance, int screenHeight);
