// The card windows bound to card actors.
#pragma once

#include <cstdint>

class Actor;
class CardActor;
class GUI_Window;

// GUI_Window::GetKind of a window that shows a card.
constexpr std::uint32_t CARD_WINDOW_KIND = 7;

// Removes and deletes every card window that shows the actor (card actors only); the registry calls it when it
// removes an actor.
void ReleaseActorCardWindow(Actor* actor);
// The card a card window shows; null for other windows and for a window without a card.
CardActor* GetCardWindowActor(const GUI_Window* window);
void BindCardWindow(GUI_Window* window, CardActor* card);
// A window of that size over the card, found by the picking until the camera rebuilds the windows.
void CreateCardWindowForActor(CardActor* card, int width, int height);
