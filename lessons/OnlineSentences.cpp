// Stand-in: the sentences come with the payment texts.
#include "lessons/OnlineSentences.h"

std::optional<std::u16string> NumberClipPath(int /*n*/, std::u16string_view /*suffix*/)
{
    return std::nullopt;
}

std::optional<std::u16string> CardClipPath(int /*cardId*/, std::u16string_view /*suffix*/)
{
    return std::nullopt;
}

void ExplainManaCostOnce(int /*g*/, int /*c*/, int /*colorIndex*/) {}

bool MayCloseAdvice()
{
    return true;
}

void ResetOnlineSentences() {}
