// The dialog manager's entry for lesson events.
#pragma once

class Actor;

// Feeds one lesson event (with its card, or null) to the lesson's dialogs.
void PostDialogEvent(int event, Actor* card);
