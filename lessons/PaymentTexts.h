// The online lesson's two text builders: the payment advice with its mana symbols, cached in the formatted-text
// table, and the next unseen explanation of a card's abilities for the advanced online game.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct FormattedText;

// The signed 32-bit hash that keys a payment text's cache entry.
std::int32_t HashText(std::u16string_view text);
// The formatted record for a payment advice (generic amount, colour index, coloured amount, the advice's
// localized text), built once per (numbers, text); also stored through out when given. False when none.
bool BuildPaymentText(int generic, int colorIndex, int colored, std::u16string_view text,
                      FormattedText** out = nullptr);
// Audience 1 the learner's card, 2 the opponent's; inPlay false for a card in hand. The plain text, or none; a
// formatted-only explanation is left in the advisor's formatted record instead.
std::optional<std::u16string> PickAbilityExplanation(int cardId, int audience, bool inPlay);
bool IsAbilityUnexplained(int topic, int bits);
void MarkAbilityExplained(int topic, int bits);
// Every topic unexplained again (a new game).
void ResetAbilityExplained();
// The advisor's formatted record: a payment text or a formatted-only explanation, null when none.
FormattedText* GetAdvisorFormattedRecord();
void SetAdvisorFormattedRecord(FormattedText* record);
