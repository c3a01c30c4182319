// Placeholder until the card marks exist: attachments, damage, power and toughness and labels draw nothing.
#include "cards/CardMarks.h"

void DrawAttachments(CardActor* /*card*/, float /*x*/, float /*y*/, float /*depth*/)
{
}

void DrawDamageMarks(CardActor* /*card*/, bool /*turned*/, float /*depth*/)
{
}

void DrawPowerToughness(CardActor* /*card*/, int /*width*/, int /*height*/, float /*depth*/)
{
}

void DrawCardStateLabels(CardActor* /*card*/, int /*width*/, int /*height*/, float /*depth*/)
{
}
