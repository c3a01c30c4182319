// Stand-in: the builders come with the payment texts.
#include "lessons/PaymentTexts.h"

namespace {

FormattedText* s_AdvisorRecord = nullptr;

} // namespace

std::int32_t HashText(std::u16string_view /*text*/)
{
    return 0;
}

bool BuildPaymentText(int /*generic*/, int /*colorIndex*/, int /*colored*/, std::u16string_view /*text*/,
                      FormattedText** out)
{
    if (out != nullptr)
        *out = nullptr;
    return false;
}

std::optional<std::u16string> PickAbilityExplanation(int /*cardId*/, int /*audience*/, bool /*inPlay*/)
{
    s_AdvisorRecord = nullptr;
    return std::nullopt;
}

bool IsAbilityUnexplained(int /*topic*/, int /*bits*/)
{
    return false;
}

void MarkAbilityExplained(int /*topic*/, int /*bits*/) {}

void ResetAbilityExplained() {}

FormattedText* GetAdvisorFormattedRecord()
{
    return s_AdvisorRecord;
}

void SetAdvisorFormattedRecord(FormattedText* record)
{
    s_AdvisorRecord = record;
}
