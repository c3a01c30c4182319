// Placeholder until the mat's link marks exist: links between cards draw nothing.
#include "engine/scene/GameDisplay.h"

void GameDisplay::DrawLinkBetweenCards(const Actor* /*from*/, const Actor* /*to*/, float /*red*/, float /*green*/,
                                       float /*blue*/, int /*startHead*/, int /*endHead*/, int /*halfWidth*/,
                                       float /*depth*/) const
{
}
