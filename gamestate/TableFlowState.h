// The lesson flows' words the card table reads and writes each frame: the special card slots, the highlighted
// cards, the marked actors and links, and the online flow's frame words.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <vector>

class Actor;
class CardActor;

struct ActorLink {
    Actor* from = nullptr;
    Actor* to = nullptr;
    int style1 = 0;
    int style2 = 0;
};

struct TableFlowState {
    bool gameStarted = false;
    bool phaseSkip = false;
    int onlineAttackWord = 0;
    int onlineDrawWord = 0;
    std::array<int, 3> onlineFrameWords{};
    bool paymentInProgress = false;
    bool advisorPending = false;
    bool instantGlowSuppress = false;
    bool cpuAttackDecision = false;
    // Three pending-card slots, then the card the learner drags off the library.
    std::array<CardActor*, 3> pendingSlots{};
    CardActor* cardDrawnByHand = nullptr;
    // A card that follows its partner at a fraction of the card size.
    std::array<CardActor*, 2> followSlots{};
    std::array<float, 2> followFactors{};
    CardActor* onlineChosenCard = nullptr;
    CardActor* awaitingPayment = nullptr;
    CardActor* focusCard = nullptr;
    CardActor* markedCard = nullptr;  // orange frame while dragged face down
    CardActor* currentCard = nullptr;
    CardActor* pendingDrawCard = nullptr;  // the card DrawPendingCards moves
    CardActor* demoHand = nullptr;
    int demoHandIndex = 0;
    // The card the human's physical turn driver is casting in its main phase.
    CardActor* castingCard = nullptr;
    int onlineHumanSubState = 0;
    bool physicalPending = false;
    bool lessonBoxShown = false;
    int lessonTag = 0;
    std::vector<Actor*> pendingRemovals;
    std::set<Actor*> markedActors;
    std::vector<ActorLink> actorLinks;
    std::set<CardActor*> stepCards;
};
TableFlowState& GetTableFlow();
