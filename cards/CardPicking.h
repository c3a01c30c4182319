// Which window and card lie under the mouse, how long the mouse rests on a card, the zoom that follows, and the
// card shown in the table's preview rectangle. UpdateCardUnderCursor, UpdateCardZoom and DrawCardPreview are
// declared with the frame tick's table steps.
#pragma once

#include <cstdint>

class Actor;
class CardActor;
class Messagebox;

constexpr std::uint32_t ZOOM_DELAY_MS = 500;
constexpr std::uint32_t POPUP_DELAY_MS = 1000;
constexpr std::uint32_t HOVER_PIN_MS = 10000;
constexpr std::uint32_t HOVER_PINNED_MS = 1001;
constexpr std::uint32_t PREVIEW_REQUEST_MS = 3000;

// A lesson shows a card in the preview rectangle for a while, whatever the mouse points at.
void RequestCardPreview(CardActor* card, std::uint32_t durationMs);
// True only in the physical lesson for lesson tags 56-57 (mode 1) or 56-59 (mode 2) while a card-specific dialog
// is shown or queued or advice holds play. A box's tag is its kind number.
bool IsTaggedActorBusy(const Actor* actor);
bool IsTaggedActorBusy(const Messagebox* balloon);
// The still copy of the focused card that the close-up shows; never registered.
CardActor& GetPreviewCopy();
