// The advice about the card the learner is playing: its target prompt, how to pay for it, and the mana burn that
// comes before any other advice.
#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/core/TextHelpers.h"
#include "lessons/OnlineAdviceFamilies.h"
#include "lessons/PaymentTexts.h"
#include "rules/GameQueries.h"
#include "rules/PlayerState.h"

#include <array>

namespace {

constexpr int ADVICE_MANA_BURN = 1010;

// Land words by colour index 0 black ... 4 white.
constexpr std::array<const char16_t*, 5> A_LAND = {u"STR_aSwamp", u"STR_aMountain", u"STR_aForest", u"STR_anIsland",
                                                   u"STR_aPlains"};
constexpr std::array<const char16_t*, 5> LANDS = {u"STR_Swamps", u"STR_Mountains", u"STR_Forests", u"STR_Islands",
                                                  u"STR_Plains"};

struct PaymentPattern {
    int number;
    const char16_t* shortKey;
    const char16_t* key;
    int budget;
};

// By generic 0, 1, 2+ and coloured 1, 2+.
constexpr PaymentPattern PATTERNS[3][2] = {
    {{31, u"ONL_PayforSpell_C", u"ONL_PayforSpell_01", 0}, {32, u"ONL_PayforSpell_CC", u"ONL_PayforSpell_0N", 1}},
    {{33, u"ONL_PayforSpell_1C", u"ONL_PayforSpell_11", 0}, {34, u"ONL_PayforSpell_1CC", u"ONL_PayforSpell_1N", 1}},
    {{35, u"ONL_PayforSpell_NC", u"ONL_PayforSpell_N1", 2}, {36, u"ONL_PayforSpell_NCC", u"ONL_PayforSpell_NN", 2}},
};

Advice TargetAdvice(int number, std::u16string_view key)
{
    Advice a;
    a.number = number;
    a.key = key;
    a.ok = false;
    a.cancel = true;
    return a;
}

bool CardWantsAdvice(const AdviceSituation& s)
{
    return s.advisedCard != nullptr && s.advisedCard->GetLessonTag() == 0 && s.promptCode == 0;
}

bool WaitsForTarget(const CardActor& card)
{
    return card.GetSpellEffect() != nullptr && card.GetSpellEffect()->needsTarget && card.GetChosenTarget() == nullptr;
}

const char16_t* TargetExtension(int id)
{
    switch (id) {
    case CD_PRAUNRIK:
        return u"ONL_PraunrikTarget_EXT";
    case CD_ESKARMAR:
        return u"ONL_EskarmarTarget_EXT";
    default:
        return u"ONL_FalarsarTarget_EXT";
    }
}

std::u16string LandWord(const std::array<const char16_t*, 5>& words, int colour)
{
    return colour >= 0 && colour < 5 ? KeyString(words[static_cast<std::size_t>(colour)]) : std::u16string();
}

} // namespace

AdviceChoice AdviseManaBurn(const AdviceSituation& s, OnlineAdvisorState& m)
{
    const int pool = GetPlayerState(PLAYER_HUMAN)->m_ManaPool.Total();
    const bool stored = m.pendingManaBurn > 0;
    const bool stepChanged = s.activeStep != m.lastActiveStep;
    const bool burnStep = s.activeStep == STEP_MAIN || s.activeStep == STEP_COMBAT || s.activeStep == STEP_DAMAGE;
    if (!stored && !(stepChanged && burnStep && m.redraw && pool > 0))
        return std::nullopt;
    const int amount = stored ? m.pendingManaBurn : pool;
    Advice a;
    a.number = ADVICE_MANA_BURN;
    a.key = u"ONL_ManaBurn";
    a.args = {IntToWString(amount)};
    a.width = 352;
    a.height = 265;
    a.busy = true;
    if (s.mode == 3) {
        a.voice.push_back(OnlineClip(u"b940"));
        AddNumberClip(a, amount, u"a");
        a.voice.push_back(OnlineClip(u"b941"));
    }
    a.burnsPool = !stored;
    return a;
}

AdviceChoice AdviseTargetPrompt(const AdviceSituation& s, OnlineAdvisorState& m)
{
    if (!CardWantsAdvice(s) || !WaitsForTarget(*s.advisedCard))
        return std::nullopt;
    const CardActor& card = *s.advisedCard;
    const std::u16string name = ActorName(&card);
    switch (card.GetId()) {
    case CD_SAVOTNEL:
    case CD_VORENTON: {
        if (CountReadyCreatures(PLAYER_HUMAN) + CountReadyCreatures(PLAYER_CPU) == 0) {
            Advice a = TargetAdvice(151, u"ONL_DamageTargetPlayer");
            a.args = {name};
            return a;
        }
        Advice a = TargetAdvice(150, u"ONL_DamageTargetEither");
        a.args = {name};
        if (IsNewAdvice(m, a.number)) {
            a.voice.push_back(OnlineClip(u"b610"));
            AddCardClip(a, card.GetId(), u"b");
            a.voice.push_back(OnlineClip(u"b611"));
        }
        return a;
    }
    case CD_PRAUNRIK:
    case CD_ESKARMAR:
    case CD_FALARSAR: {
        Advice a = TargetAdvice(152, u"ONL_SpellTargetCreature");
        a.args = {name, KeyString(TargetExtension(card.GetId()))};
        return a;
    }
    case CD_WENORTH: {
        if (card.GetState() == 0) {
            Advice a = TargetAdvice(153, u"ONL_WenorthMode");
            a.cancel = false;
            a.choice = true;
            a.height = 200;
            return a;
        }
        if (card.GetState() == 1)
            return TargetAdvice(154, u"ONL_Wenorth_Life");
        if (card.GetState() == 2)
            return TargetAdvice(155, u"ONL_Wenorth_Prevent");
        return std::nullopt;
    }
    case CD_FENORTON: {
        Advice a = TargetAdvice(156, u"ONL_FenortonTarget");
        if (IsNewAdvice(m, a.number))
            a.voice.push_back(OnlineClip(u"b620"));
        return a;
    }
    default:
        return std::nullopt;
    }
}

AdviceChoice AdvisePayment(const AdviceSituation& s, OnlineAdvisorState& m)
{
    if (!CardWantsAdvice(s) || WaitsForTarget(*s.advisedCard))
        return std::nullopt;
    const CardActor& card = *s.advisedCard;
    const int colored = card.GetColoredAmount(false);
    if (colored <= 0)
        return std::nullopt;
    const int generic = card.GetCost().generic;
    const int colour = card.GetColorIndex();
    const PaymentPattern& p = PATTERNS[generic >= 2 ? 2 : generic][colored >= 2 ? 1 : 0];
    int& budget = m.paymentBudgets[static_cast<std::size_t>(p.budget)];
    const bool isNew = IsNewAdvice(m, p.number);
    if (!isNew && m.shown.number == p.number)
        return KeepShown(m);
    Advice a;
    a.number = p.number;
    a.ok = false;
    a.cancel = true;
    if (budget >= 4) {
        if (isNew) {
            --budget;
            a.costGeneric = generic;
            a.costColored = colored;
            a.costColour = colour;
        }
        a.key = p.shortKey;
        FormattedText* record = nullptr;
        if (BuildPaymentText(generic, colour, colored, KeyString(p.shortKey), &record))
            a.record = record;
        return a;
    }
    a.height = 160;
    if (budget == 0) {
        a.key = u"ONL_Generic_PayForSpell";
        return a;
    }
    if (isNew)
        --budget;
    a.key = p.key;
    if (colored == 1)
        a.args = {LandWord(A_LAND, colour)};
    else
        a.args = {IntToWString(colored), LandWord(LANDS, colour)};
    if (generic >= 2)
        a.args.push_back(IntToWString(generic));
    return a;
}
