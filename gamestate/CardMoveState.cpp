#include "gamestate/CardMoveState.h"

#include "gamestate/PhysicalTurnState.h"

namespace {

CardMoveState s_CardMoves;
int s_NonTrampleExplained = 0;

} // namespace

CardMoveState& GetCardMoveState()
{
    return s_CardMoves;
}

void ResetCardMoveState()
{
    s_CardMoves = CardMoveState();
}

bool IsLandPlayedThisTurn()
{
    return s_CardMoves.landPlayedTurn == s_HumanTurnCount;
}

void MarkLandPlayed()
{
    s_CardMoves.landPlayedTurn = s_HumanTurnCount;
}

int GetNonTrampleExplained()
{
    return s_NonTrampleExplained;
}

void CountNonTrampleExplained()
{
    ++s_NonTrampleExplained;
}
