// The physical lesson's quit button in the mat's bottom strip; it opens the quit box.
#pragma once

class QuitButton;

// Made with the mat's images when a physical lesson's scene loads; any earlier one goes first.
void CreatePhysQuitButton();
void DestroyPhysQuitButton();
// At the left of the bottom strip, vertically centred, the size of its image; registered with the toolkit.
void PlacePhysQuitButton();
QuitButton* GetPhysQuitButton();
