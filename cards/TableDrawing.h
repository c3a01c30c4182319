// The cards on the table: each frame they are counted, placed and drawn with their marks, by lesson flavour.
#pragma once

#include <vector>

class CardActor;
struct MatSlot;

// Whether the online stack row is shown yet: the intro opens it at its step, and it stays once the intro ends.
bool IsStackRowShown();

// Called by the camera once a frame, one per lesson flavour.
void DrawPhysicalTable();
void DrawOnlineTable();

// The next position of a card on the table; each call takes the card's place in this frame's count.
void PlaceLandPhysical(MatSlot& out, const CardActor* card);
void PlaceOtherPhysical(MatSlot& out, const CardActor* card);
void PlaceCardOnline(MatSlot& out, const CardActor* card);

// One card as the table drew it: where, how deep, and whether turned.
struct TableCardDraw {
    CardActor* card = nullptr;
    float x = 0.0f;
    float y = 0.0f;
    float depth = 0.0f;
    bool turned = false;
};
// The cards the last table drawing drew, in drawing order (front first).
const std::vector<TableCardDraw>& GetTableCardsDrawn();
// A scene load starts the counts afresh, so the next frame lays the cards out again.
void ResetTableDrawing();
