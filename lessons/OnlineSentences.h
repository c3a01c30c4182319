// The online lesson's spoken sentences: number and card clips, the once-only explanations of a mana cost, and
// whether the advice on screen may be answered while its sentence plays.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The clip of number n (1 to 20) with suffix "a" or "b"; none for any other n.
std::optional<std::u16string> NumberClipPath(int n, std::u16string_view suffix);
// The clip of a card with a suffix (the named cards, then the basic land kinds by definition); none when the
// card has no clip.
std::optional<std::u16string> CardClipPath(int cardId, std::u16string_view suffix);
// Queues at most one explanation of a cost of g generic and c coloured mana of the colour index.
void ExplainManaCostOnce(int g, int c, int colorIndex);
// True when the advisor may take the answer to the advice on screen and close it.
bool MayCloseAdvice();
// The same for a given advice number.
bool MayCloseAdviceNumber(int advice);
// Every once-only sentence unsaid again (a new game).
void ResetOnlineSentences();
// Raised by the online driver in a frame step that shows a can't-block explanation, cleared at the start of each
// of its steps; while raised, the block advices stay on screen.
bool IsCloseBlockRaised();
void SetCloseBlock(bool raised);
