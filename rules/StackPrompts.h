// The stack's window and its prompts. Until they exist nothing is drawn.
#pragma once

void DrawStackWindow();

// The stack area of the display (a left x, a right x and a top y in screen pixels).
struct StackArea {
    int left = 0;
    int right = 0;
    int top = 0;
};
StackArea GetStackArea();
// Places the stack's prompt window again after the table's layout changed.
void PlaceStackWindow();
