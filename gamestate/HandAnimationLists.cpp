#include "gamestate/HandAnimationLists.h"

#include <algorithm>
#include <cmath>

namespace {

DemoCarry s_Carry;
std::vector<CardActor*> s_Played;
std::vector<CardActor*> s_Buried;

} // namespace

DemoCarry& GetDemoCarry()
{
    return s_Carry;
}

void GetCarriedDrawSize(int x, int y, int placeX, int placeY, int fullWidth, int fullHeight, int& width,
                        int& height)
{
    const double whole = std::hypot(placeX - s_Carry.startX, placeY - s_Carry.startY);
    const double left = std::hypot(placeX - x, placeY - y);
    const double ratio = whole > 0.0 ? std::min(left / whole, 1.0) : 0.0;
    width = fullWidth + static_cast<int>((s_Carry.width - fullWidth) * ratio);
    height = fullHeight + static_cast<int>((s_Carry.height - fullHeight) * ratio);
}

std::vector<CardActor*>& GetCpuPlayedCards()
{
    return s_Played;
}

std::vector<CardActor*>& GetBuriedCards()
{
    return s_Buried;
}

bool IsCardBeingBuried(const CardActor* card)
{
    return card != nullptr && std::find(s_Buried.begin(), s_Buried.end(), card) != s_Buried.end();
}

BuryHandWords& GetBuryHandWords()
{
    static BuryHandWords words;
    return words;
}

ActingHandWords& GetActingHandWords()
{
    static ActingHandWords words;
    return words;
}
