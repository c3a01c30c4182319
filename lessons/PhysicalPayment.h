// The physical lesson's payment driver: target, lands tapped into the pool and, for some abilities, a sacrifice,
// one frame at a time until the card or ability goes on the stack or the learner cancels.
#pragma once

void UpdatePhysicalPayment();
