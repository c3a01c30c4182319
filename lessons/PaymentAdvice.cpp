// Placeholder until the payment advice exists: no box is shown; the payment is complete when it is exact.
#include "lessons/PaymentAdvice.h"

#include "rules/ManaPool.h"

bool ShowSpellPaymentBox(CardActor* /*card*/, int paymentState, int /*paying*/)
{
    return paymentState != PAY_EXACT;
}

bool ShowAbilityPaymentBox(CardActor* /*card*/, int paymentState, int /*paying*/)
{
    return paymentState != PAY_EXACT;
}
