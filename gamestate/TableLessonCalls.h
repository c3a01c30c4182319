// The lesson operations the card table's code calls: the drop and tap handlers of the lesson game, the per-frame
// lesson steps the camera runs and the scene reset. The lessons fill it once at start-up (FillLessonCalls); a null
// field gives the no-lesson answer (nothing, false).
#pragma once

class CardActor;

struct TableLessonCalls {
    // CardActor::EndDrag, for every drag that ends.
    void (*HandleCardDropPhysical)(CardActor* card) = nullptr;
    // The card behaviour, once per click on a card.
    void (*HandleCardTapPhysical)(CardActor* card) = nullptr;
    // The physical table's drawing: the basic game's step explains a card on the table.
    bool (*IsBasicLessonStep)(int state) = nullptr;
    // The camera's per-frame lesson steps, in the camera's order.
    void (*BuildActionableCards)() = nullptr;
    bool (*CpuOnlineRespond)() = nullptr;
    void (*UpdatePhysicalPayment)() = nullptr;
    void (*OnlineAdvisor)() = nullptr;
    bool (*DetectSituationChange)(bool pending) = nullptr;
    // The table reset on every change of game mode.
    void (*ResetTableScene)() = nullptr;
};
extern TableLessonCalls g_TableLessonCalls;
