// Which card-specific advice dialog of the lesson is on screen: the armed dialogs wait for their events, due
// ones queue (priority before normal, each first in first out), one is shown at a time and hidden while the
// table is busy. Nothing happens in the online lesson.
#pragma once

#include <memory>

class Actor;
class CardSpecificDialog;

// What the manager asks of the game; app/ fills it at start-up. A null entry counts as "nothing pending".
struct DialogGameQueries {
    int (*CountPendingCards)(int player) = nullptr;
    bool (*IsLifeTokenReady)() = nullptr;
};
void SetDialogGameQueries(const DialogGameQueries& queries);

// The lesson's set-up hands each dialog over; the manager owns it until DestroyAllDialogs.
void AddArmedDialog(std::unique_ptr<CardSpecificDialog> dialog);
// Feeds one lesson event (with its card, or null) to the lesson's dialogs.
void PostDialogEvent(int event, Actor* card);
// The per-frame step; true while a dialog is being handled.
bool UpdateDialogQueue();
// Deletes every dialog, unregistering a shown one first.
void DestroyAllDialogs();
bool IsPriorityDialogShown();
bool IsNormalDialogShown();
bool HasPriorityDialogQueued();
bool HasNormalDialogQueued();
void HideCurrentDialog();
CardSpecificDialog* GetCurrentDialog();
// The dialogs that may still fire, in the order they are asked.
int CountArmedDialogs();
CardSpecificDialog* GetArmedDialog(int index);
