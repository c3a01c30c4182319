#include "lessons/DrawHand.h"

namespace {

DrawHandState s_DrawHand;

} // namespace

DrawHandState& GetDrawHand()
{
    return s_DrawHand;
}
