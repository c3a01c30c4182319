// The two busy tests the resolution prompts wait on.
#pragma once

// Steps the drawing hand once, then true unless it is at rest.
bool IsHandAnimationBusy();
bool IsHandDemoBusy();
