// The online lesson's spoken sentences: number and card clips, the once-only explanations of a mana cost, and
// whether the advice on screen may be answered while its sentence plays.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The clip of number n (1 to 20) with suffix "a" or "b"; none for any other n.
std::optional<std::u16string> NumberClipPath(int n, std::u16string_view suffix);
// The clip of a card with a suffix; none when the card has no clip.
std::optional<std::u16string> CardClipPath(int cardId, std::u16string_view suffix);
// Queues at most one explanation of a cost of g generic and c coloured mana of the colour index.
void ExplainManaCostOnce(int g, int c, int colorIndex);
// True when the advisor may take the answer to the advice on screen and close it.
bool MayCloseAdvice();
// Every once-only sentence unsaid again (a new game).
void ResetOnlineSentences();
