// What the table's mouse handling shares with the cards, the lessons and the camera.
#pragma once

#include <cstdint>
#include <vector>

class CardActor;
class GUI_Window;

// The card the mouse drags (CardActor::BeginDrag sets it); null when none.
CardActor* GetDraggedCard();
void SetDraggedCard(CardActor* card);

// Picking, hover timing, preview and hand state, one set for the program.
struct TableInputState {
    // Picking results of the frame.
    GUI_Window* windowUnderMouse = nullptr;
    CardActor* hoveredCard = nullptr;
    CardActor* pointedCard = nullptr;
    CardActor* lastPointedCard = nullptr;  // never cleared by picking
    int hoverReaction = 0;
    int pickingReady = 0;  // 0 after a table reset: the first frame picks nothing
    // Hover timer.
    CardActor* timedCard = nullptr;
    std::uint32_t hoverLast = 0;
    std::uint32_t hoverElapsed = 0;
    bool zoomShown = false;
    bool fixedZoom = false;
    int zoomX = 0;
    int zoomY = 0;
    bool popupShown = false;  // the hover text box was drawn this frame
    // The card in the preview rectangle, and a lesson's request to show one for a while.
    CardActor* focusedCard = nullptr;
    bool previewRequested = false;
    CardActor* requestedCard = nullptr;
    bool previewTimerRunning = false;
    std::uint32_t previewStart = 0;
    std::uint32_t previewDuration = 3000;
    int forcedPreviewId = 0;
    // The hand.
    std::vector<CardActor*> handList;
    int handCount = 0;
    int humanHeldCount = 0;
    int cpuHandCount = 0;
    int cpuNotAnimating = 0;
    CardActor* insertingCard = nullptr;
    CardActor* raisedCard = nullptr;
    std::uint32_t raiseStart = 0;
    int raisedIndex = -1;
    bool handRaised = false;
    int handSizeAtRaise = 0;
    // Drawing switches the lessons and the window set.
    bool faceDownDrag = false;
    bool relayout = false;
    int pointedOutCardType = -1;
};
TableInputState& GetTableInput();
// A table reset: the next frame picks nothing.
void ResetTableInput();
// A removed card actor leaves every picking, hover and hand reference.
void ForgetTableCard(const CardActor* card);
