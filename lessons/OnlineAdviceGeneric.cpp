// The advice that fills the quiet moments: what the hand allows in the main phase, the wait for instants at a
// phase stop, and in the advanced game the explanations of the abilities of cards on the table.
#include "cards/CardActor.h"
#include "lessons/OnlineAdviceFamilies.h"
#include "lessons/PaymentTexts.h"
#include "rules/BoardQueries.h"
#include "rules/GameQueries.h"
#include "rules/PlayerState.h"

namespace {

constexpr int INSTANT_BIT = 16;
constexpr int ABILITY_BOX_WIDTH = 400;
constexpr int ABILITY_RECORD_HEIGHT = 250;

const CardActor* UsefulAffordableInstant()
{
    for (const CardActor* c : GetCardActors())
        if (c->GetOwner() == PLAYER_HUMAN && c->IsHeld() && !c->IsInLibrary() && c->IsNotLeaving() &&
            c->GetCardType() == CT_INSTANT && CanAffordCard(c, false, true) && IsInstantUsefulNow(c, false, false))
            return c;
    return nullptr;
}

bool WaitsForInstants(const AdviceSituation& s, int side)
{
    const int step = s.activeStep;
    const bool beforeBlocks = side == 0 ? s.blocksAgainstLearner == 0 : s.learnerBlocking == 0;
    if (step == STEP_MAIN)
        return s.topController == 1 || s.topController == 2;
    if (step == STEP_COMBAT)
        return s.Stop(side, beforeBlocks ? 4 : 5);
    if (step == STEP_DAMAGE || step == STEP_FIRST_STRIKE_DAMAGE)
        return s.Stop(side, 6);
    if (step == STEP_END)
        return s.Stop(side, 9);
    return false;
}

bool IsTableType(int type)
{
    return type == CT_ARTIFACT || type == CT_CREATURE || type == CT_ENCHANT;
}

bool IsSpellType(int type)
{
    return type == CT_INSTANT || type == CT_SORCERY;
}

bool OnTable(const CardActor& c)
{
    return !c.IsHeld() && c.GetTapState() != TAP_OFF_TABLE;
}

// The explanation of the card, or none; a formatted-only explanation leaves its record with the payment texts.
AdviceChoice Explanation(const CardActor& c, int audience, bool inPlay)
{
    const std::optional<std::u16string> text = PickAbilityExplanation(c.GetId(), audience, inPlay);
    FormattedText* const record = GetAdvisorFormattedRecord();
    if (!text && record == nullptr)
        return std::nullopt;
    Advice a;
    a.number = audience == 1 ? 1001 : 1002;
    a.busy = true;
    a.width = ABILITY_BOX_WIDTH;
    if (text) {
        a.text = *text;
        a.height = std::max(static_cast<int>(text->size()) / 80 * 40 + 100, 160);
    } else {
        a.record = record;
        a.height = ABILITY_RECORD_HEIGHT;
    }
    return a;
}

} // namespace

AdviceChoice AdviseGeneric(const AdviceSituation& s, OnlineAdvisorState& /*m*/)
{
    if (s.activeStep != STEP_MAIN || s.advisedCard != nullptr || s.paying)
        return std::nullopt;
    const int mask = FindCardActorByState(PLAYER_HUMAN);
    Advice a;
    if (mask == INSTANT_BIT && UsefulAffordableInstant() != nullptr) {
        a.number = 29;
        a.key = u"ONL_Generic_PlayInstants";
    } else if (mask == 0 || mask == INSTANT_BIT) {
        a.number = 30;
        a.key = u"ONL_Generic_SpellPass";
        a.arrow = true;
    } else {
        a.number = 20;
        a.key = u"ONL_Generic_PlaySpells";
    }
    a.args = {KeyString(s.postCombat ? u"ONL_ENDTURN_SUFX" : u"ONL_MOVEALONG_SUFX")};
    a.height = 160;
    a.ok = false;
    return a;
}

AdviceChoice AdviseWaiting(const AdviceSituation& s, OnlineAdvisorState& m)
{
    const int side = s.humanTurn ? 0 : 1;
    if (!WaitsForInstants(s, side))
        return std::nullopt;
    const bool instant = (FindCardActorByState(PLAYER_HUMAN) & INSTANT_BIT) != 0;
    bool& shown = m.waitingShown[static_cast<std::size_t>(side * 2 + (instant ? 0 : 1))];
    const bool isNew = IsNewAdvice(m, 105);
    if (shown && isNew)
        return std::nullopt;
    Advice a;
    a.number = 105;
    a.key = instant ? u"ONL_WaitingForInstants1" : u"ONL_WaitingForInstants2";
    a.arrow = !instant;
    a.height = 200;
    a.ok = false;
    if (isNew)
        shown = true;
    return a;
}

AdviceChoice AdviseAbilities(const AdviceSituation& s, OnlineAdvisorState& /*m*/)
{
    const std::vector<CardActor*> cards = GetCardActors();
    if (s.humanTurn && s.activeStep == STEP_MAIN) {
        if (s.advisedCard != nullptr || s.paying || s.stackCount != 0)
            return std::nullopt;
        for (const CardActor* c : cards) {
            const int type = c->GetCardType();
            if (c->GetOwner() != PLAYER_HUMAN || !c->IsNotLeaving() || !(IsTableType(type) || IsSpellType(type)))
                continue;
            AdviceChoice a;
            if (OnTable(*c) && !c->IsSummoningSick() && !c->IsOnStack())
                a = Explanation(*c, 1, true);
            else if (c->IsHeld() && !c->IsInLibrary())
                a = Explanation(*c, 1, false);
            if (a)
                return a;
        }
    }
    for (const CardActor* c : cards) {
        if (c->GetOwner() != PLAYER_CPU || !OnTable(*c) || !c->IsNotLeaving())
            continue;
        const int type = c->GetCardType();
        const bool settled = !c->IsSummoningSick() && !c->IsOnStack() && IsTableType(type);
        const bool justCast = c->IsSummoningSick() && IsSpellType(type);
        if (!settled && !justCast)
            continue;
        if (AdviceChoice a = Explanation(*c, 2, true))
            return a;
    }
    return std::nullopt;
}

AdviceChoice ChooseAdvice(const AdviceSituation& s, OnlineAdvisorState& m)
{
    if (s.mode == 4) {
        // The question of a spell with two modes is asked in both games: unanswered, the spell could not be aimed.
        if (AdviceChoice a = AdviseTargetPrompt(s, m); a && a->choice)
            return a;
        return AdviseAbilities(s, m);
    }
    if (AdviceChoice a = AdviseTargetPrompt(s, m))
        return a;
    if (AdviceChoice a = AdvisePayment(s, m))
        return a;
    if (AdviceChoice a = AdviseOpponentInstant(s, m))
        return a;
    if (s.humanTurn) {
        if (s.activeStep == STEP_END)
            return std::nullopt;
        for (auto* family : {AdviseUntap, AdviseLearnerAttack, AdviseCombatDamage, AdviseLearnerMain})
            if (AdviceChoice a = family(s, m))
                return a;
        if (AdviceChoice a = AdviseGeneric(s, m))
            return a;
        return AdviseWaiting(s, m);
    }
    if (!s.cpuTurn)
        return std::nullopt;
    if (AdviceChoice a = AdviseOpponentTurn(s, m))
        return a;
    return AdviseWaiting(s, m);
}
