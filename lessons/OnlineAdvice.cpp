#include "lessons/OnlineAdvice.h"

#include "cards/CardActor.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "lessons/OnlineAdviceFamilies.h"
#include "lessons/OnlineSentences.h"
#include "rules/GameQueries.h"
#include "rules/PlayerState.h"

#include <span>

std::u16string AdviceText(const Advice& advice)
{
    if (!advice.text.empty())
        return advice.text;
    const char16_t* const format = GetString(advice.key);
    if (format == nullptr)
        return {};
    std::vector<std::u16string_view> args(advice.args.begin(), advice.args.end());
    return FormatStringV(format, std::span<const std::u16string_view>(args));
}

bool IsSameAdvice(const Advice& a, const Advice& b)
{
    return a.number == b.number && a.key == b.key && a.args == b.args && a.text == b.text && a.record == b.record &&
           a.ok == b.ok && a.cancel == b.cancel && a.choice == b.choice;
}

bool IsNewAdvice(const OnlineAdvisorState& m, int number)
{
    return number != m.lastAdvice;
}

AdviceChoice KeepShown(const OnlineAdvisorState& m)
{
    Advice a = m.shown;
    a.voice.clear();
    a.costGeneric = -1;
    a.burnsPool = false;
    a.skipsBlocking = false;
    a.explainsAttack = false;
    return a;
}

CardActor* AffordableLearnerCard(int id)
{
    CardActor* const card = FindCardActor(id, PLAYER_HUMAN, nullptr);
    return card != nullptr && CanAffordCard(card, false, true) ? card : nullptr;
}

std::u16string ActorName(const Actor* actor)
{
    const auto* const card = dynamic_cast<const CardActor*>(actor);
    if (card == nullptr || card->GetNameField() == nullptr)
        return {};
    return card->GetNameField();
}

std::u16string KeyString(std::u16string_view key)
{
    const char16_t* const text = GetString(key);
    return text != nullptr ? std::u16string(text) : std::u16string();
}

std::u16string OnlineClip(std::u16string_view stem)
{
    return u"data\\wavsonl\\" + std::u16string(stem) + u".wav";
}

void AddCardClip(Advice& advice, int cardId, std::u16string_view suffix)
{
    if (const auto clip = CardClipPath(cardId, suffix))
        advice.voice.push_back(*clip);
}

void AddNumberClip(Advice& advice, int n, std::u16string_view suffix)
{
    if (const auto clip = NumberClipPath(n, suffix))
        advice.voice.push_back(*clip);
}
