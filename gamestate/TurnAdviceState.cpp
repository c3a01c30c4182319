#include "gamestate/TurnAdviceState.h"

namespace {

TurnAdviceState s_TurnAdvice;

} // namespace

TurnAdviceState& GetTurnAdviceState()
{
    return s_TurnAdvice;
}

void ResetTurnAdviceState()
{
    s_TurnAdvice = TurnAdviceState();
}

void SetHighlightedCardType(int cardType)
{
    s_TurnAdvice.highlightedCardType = cardType;
}

int GetHighlightedCardType()
{
    return s_TurnAdvice.highlightedCardType;
}
