// What the CPU's demonstration hands share with the rules and the table: the CPU cards that came out of its hand
// and wait for the acting hand, the CPU cards the bury hand is taking to the graveyard, and the card a hand
// carries, which the table draws under the hand.
#pragma once

#include <vector>

class CardActor;

// The card a hand carries, where it was when picked up and the size it was drawn at then; no card while the hand
// carries none.
struct DemoCarry {
    CardActor* card = nullptr;
    int startX = 0;
    int startY = 0;
    int width = 0;
    int height = 0;
};
DemoCarry& GetDemoCarry();
// The carried card grows from its carried size where it was picked up to its full size at its place; a card
// picked up at its place keeps its full size.
void GetCarriedDrawSize(int x, int y, int placeX, int placeY, int fullWidth, int fullHeight, int& width,
                        int& height);

// The CPU's played cards in the order they left its hand; the acting hand empties it.
std::vector<CardActor*>& GetCpuPlayedCards();
// The cards the bury hand has taken on: the table keeps their places while the hand works.
std::vector<CardActor*>& GetBuriedCards();
bool IsCardBeingBuried(const CardActor* card);
