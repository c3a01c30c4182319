// The frame's card windows, which let the toolkit find the card under the mouse, and the graveyard lists: a
// dialog per player in the physical lesson, a cascade of cards on the table in the online lesson.
#pragma once

class Actor;
class CardActor;
class CardWindow;
class GraveyardDialog;
class GUI_Window;

// A card window over the actor at its position (truncated) and the size; null for a null actor.
CardWindow* CreateCardWindowForActor(CardActor* actor, int width, int height);
CardWindow* CreateCardWindowAt(CardActor* actor, int x, int y, int width, int height);
// Empties the toolkit's window lists and deletes every card window.
void DestroyAllCardWindows();
// Each frame, before the table makes its card windows again.
void RebuildCardWindows();
// Removes and deletes every card window that shows the actor (card actors only).
void RemoveCardWindowForActor(Actor* actor);
// The registry calls it when it removes an actor.
void ReleaseActorCardWindow(Actor* actor);
// The card a card window shows; null for other windows and for a window without a card.
CardActor* GetCardWindowActor(const GUI_Window* window);
int GetCardWindowCount();
// The window over the zoomed card; it lives for the whole run.
CardWindow* GetCloseUpWindow();
// Each frame: while the zoom may show (gate 15 or 9 open) and picking is ready, the close-up window lies over
// the close-up rectangle, bound to the preview copy.
void UpdateCloseUpWindow(CardActor* previewCopy, bool pickingReady);
// Each frame, after the card windows: the message dialogs above them.
void UpdateWindowBindings();

// Player 0 the human, 1 the CPU. Opening one player's list closes the other's.
void OpenGraveyardDialog(int player);
void CloseGraveyardDialog(int player);
bool IsGraveyardDialogOpen(int player);
// Unregisters and deletes both players' lists, human first (shutdown).
void DeleteGraveyardDialogs();
// The physical lesson's list of that player while it is open, else null.
const GraveyardDialog* GetOpenGraveyardDialog(int player);
// The open list of that player again from its graveyard; nothing while it is closed.
void RefillGraveyardDialog(int player);
// Closing always works; opening waits while the physical lesson blocks advice.
void ToggleGraveyardDialog(int player);
// Online lesson: the open lists' cards as a cascade 12 px apart, each with its card window.
void LayOutOnlineGraveyards();
