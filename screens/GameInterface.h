// The menu screens and the colour-selection screen as the display shows them. Until the screens exist, showing
// one only records its id in the display.
#pragma once

// Shows the screen of that id; keepReturn keeps the current one as the screen to return to.
void SetScreen(int screenId, bool keepReturn);
void SetReturnScreen(int screenId);
// The id of the screen the display holds.
int GetShownScreen();
// Every scene load marks the colour-selection screen not set up; mode 0 loads its images.
void ResetColorSelect();
void LoadColorSelectImages();
bool IsColorSelectSetUp();
