// The physical lesson's advice state that the table and the rules ask about: whether advice blocks the table.
#pragma once

// True while a card waits on its payment, is unaffordable or mistimed, or a blocking lesson box is up.
bool IsAdviceBlocked();
// Placeholder until the lesson's advice exists: what IsAdviceBlocked answers.
void SetAdviceBlocked(bool blocked);
// The player's library glows while the display asks for it and no advice blocks the table.
bool IsLibraryHighlightWanted();
