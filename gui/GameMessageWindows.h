// The display's in-game message windows, requested anew every frame. Until the toolkit exists none is shown.
#pragma once

// Per frame, before the draw queue is rendered.
void UpdateMessageDialogs();
// Per frame, after rendering: answers a click on a message window's button.
void CheckMessageButtonClick();
