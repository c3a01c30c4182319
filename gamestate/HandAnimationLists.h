// What the CPU's demonstration hands share with the rules and the table: the CPU cards that came out of its hand
// and wait for the acting hand, the CPU cards the bury hand is taking to the graveyard, and the card a hand
// carries, which the table draws under the hand.
#pragma once

#include <cstddef>
#include <cstdint>
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

// The bury hand: its step, the cards it takes to the graveyard in order, and those thrown and still flying there
// (with the time each was let go).
struct BuryHandFlight {
    CardActor* card = nullptr;
    std::uint32_t grabbed = 0;
};
struct BuryHandWords {
    int state = 0;
    std::size_t index = 0;
    std::uint32_t mark = 0;
    bool grabbed = false;
    bool held = false;
    std::vector<CardActor*> work;
    std::vector<BuryHandFlight> inFlight;
};
BuryHandWords& GetBuryHandWords();

// The acting hand: its step and mode (untap, play, show tap), the CPU cards it works on in order, and the cards
// it set down that have yet to arrive (with the time each was let go).
struct ActingHandArrival {
    CardActor* card = nullptr;
    std::uint32_t since = 0;
};
struct ActingHandWords {
    int state = 0;
    int mode = 0;
    std::size_t index = 0;
    std::uint32_t mark = 0;
    std::uint32_t carryStart = 0;
    bool touched = false;
    std::vector<CardActor*> work;
    std::vector<ActingHandArrival> arrivals;
};
ActingHandWords& GetActingHandWords();
