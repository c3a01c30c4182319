#include "lessons/HandAnimationBusy.h"

#include "lessons/DrawingHand.h"
#include "lessons/HandDemos.h"

bool IsHandAnimationBusy()
{
    UpdateDrawHand();
    return !IsDrawHandAtRest();
}

bool IsHandDemoBusy()
{
    return !AreHandDemosIdle();
}
