#include "rules/CpuPayment.h"

#include "cards/CardActor.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "rules/BoardQueries.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"

#include <algorithm>

namespace {

ManaCost s_Tally;
std::vector<CardActor*> s_TappedSources;

constexpr int ANY_COLOUR = 0;

bool QualifiesAsSource(const CardActor& card, int colour)
{
    const CardAbility& ability = *card.GetAbility();
    return card.GetOwner() == PLAYER_CPU && card.CanAct() && ability.effect.effectType == EFFECT_PRODUCEMANA &&
           (colour == ANY_COLOUR || ability.effect.manaProduced.At(colour) > 0) &&
           ability.costType == COSTTYPE_TAP && ability.cost.Total() == 0 && card.GetTapState() == TAP_READY;
}

// Taps one source and books what it gave; returns the amount it takes off the payer's debt.
int TapAndCount(CardActor* card, int colour)
{
    TapManaSource(card, true);
    ManaCost& shown = GetPlayerState(PLAYER_CPU)->m_ShownMana;
    const ManaCost& produced = GetManaProduction(*card);
    if (colour == ANY_COLOUR) {
        s_Tally.Add(produced);
        shown.Add(produced);
        return produced.Total();
    }
    const int amount = produced.At(colour);
    s_Tally.At(colour) += amount;
    shown.At(colour) += amount;
    return amount;
}

int PayCpuAmount(int amount, int colour)
{
    if (amount <= 0)
        return 0;
    int tapped = 0;
    std::vector<CardActor*> others;
    const std::vector<CardActor*> cards = GetCardActors();
    // Newest first: lands at once, other sources only when the lands fall short.
    for (auto it = cards.rbegin(); it != cards.rend() && amount >= 1; ++it) {
        CardActor* const card = *it;
        if (!QualifiesAsSource(*card, colour))
            continue;
        if (!card->IsLand()) {
            others.push_back(card);
            continue;
        }
        amount -= TapAndCount(card, colour);
        ++tapped;
    }
    for (auto it = others.rbegin(); it != others.rend() && amount >= 1; ++it) {
        amount -= TapAndCount(*it, colour);
        ++tapped;
    }
    UpdateCpuAvailableMana();
    return tapped;
}

} // namespace

int PayCpuRed(int amount)
{
    return PayCpuAmount(amount, 1);
}

int PayCpuGreen(int amount)
{
    return PayCpuAmount(amount, 2);
}

int PayCpuBlue(int amount)
{
    return PayCpuAmount(amount, 3);
}

int PayCpuBlack(int amount)
{
    return PayCpuAmount(amount, 4);
}

int PayCpuWhite(int amount)
{
    return PayCpuAmount(amount, 5);
}

int PayCpuGeneric(int amount)
{
    return PayCpuAmount(amount, ANY_COLOUR);
}

int PayCpuCost(const ManaCost& cost)
{
    int tapped = PayCpuRed(cost.red);
    tapped += PayCpuGreen(cost.green);
    tapped += PayCpuBlue(cost.blue);
    tapped += PayCpuBlack(cost.black);
    tapped += PayCpuWhite(cost.white);
    tapped += PayCpuGeneric(cost.generic);
    // The table shows the colours only until they are spent.
    ManaCost& shown = GetPlayerState(PLAYER_CPU)->m_ShownMana;
    for (int colour = 1; colour < 6; ++colour) {
        shown.At(colour) -= s_Tally.At(colour);
        s_Tally.At(colour) = 0;
    }
    return tapped;
}

void ResetCpuTappedMana()
{
    ManaCost& shown = GetPlayerState(PLAYER_CPU)->m_ShownMana;
    for (int colour = 1; colour < 6; ++colour) {
        shown.At(colour) = 0;
        s_Tally.At(colour) = 0;
    }
}

ManaCost& GetCpuPaymentTally()
{
    return s_Tally;
}

void TapManaSource(CardActor* card, bool manaReady)
{
    if (card == nullptr)
        return;
    card->SetTapState(TAP_TAPPED);
    if (manaReady && card->GetCardType() != CT_LAND)
        card->SetManaReady(true);
    if (!IsPhysicalLesson())
        return;
    // The hand animation turns the card when it plays the tap back.
    card->m_Flags |= ACTOR_FLAG_KEEP_UPRIGHT;
    if (std::find(s_TappedSources.begin(), s_TappedSources.end(), card) != s_TappedSources.end())
        return;
    const auto at = std::find_if(s_TappedSources.begin(), s_TappedSources.end(),
                                 [card](const CardActor* other) { return TappedSourceBefore(card, other); });
    s_TappedSources.insert(at, card);
}

bool TappedSourceBefore(const CardActor* a, const CardActor* b)
{
    const auto sourceClass = [](const CardActor* card) {
        return card->GetCardType() == CT_LAND || card->IsTappedManaSource() ? 1 : 0;
    };
    const int classA = sourceClass(a);
    const int classB = sourceClass(b);
    if (classA != classB)
        return classA == 0;
    const float distanceA = a->m_Position.x * a->m_Position.x + a->m_Position.y * a->m_Position.y;
    const float distanceB = b->m_Position.x * b->m_Position.x + b->m_Position.y * b->m_Position.y;
    if (distanceA != distanceB)
        return distanceA < distanceB;
    return a->GetSerial() < b->GetSerial();
}

const std::vector<CardActor*>& GetCpuTappedSources()
{
    return s_TappedSources;
}

void ClearCpuTappedSources()
{
    s_TappedSources.clear();
}

void ForgetCpuTappedSource(const CardActor* card)
{
    std::erase(s_TappedSources, card);
}

void ResetCpuPaymentState()
{
    s_Tally.Clear();
    s_TappedSources.clear();
    GetPlayerState(PLAYER_CPU)->m_ShownMana.Clear();
}
