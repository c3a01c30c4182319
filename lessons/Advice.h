// The physical lesson's advice state that the table asks about.
#pragma once

// True while a card waits on its payment, is unaffordable or mistimed, or a blocking lesson box is up.
bool IsAdviceBlocked();
// Placeholder until the lesson's advice exists: what IsAdviceBlocked answers.
void SetAdviceBlocked(bool blocked);
