// What the table's mouse handling shares with the cards, the lessons and the camera.
#pragma once

class CardActor;

// The card the mouse drags (CardActor::BeginDrag sets it); null when none.
CardActor* GetDraggedCard();
void SetDraggedCard(CardActor* card);
