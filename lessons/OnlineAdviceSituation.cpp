#include "lessons/OnlineAdviceSituation.h"

#include "cards/CardActor.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "gamestate/OnlineAdviceWords.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhaseStops.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "lessons/HumanOnlineTurn.h"
#include "lessons/OnlineAdviceState.h"
#include "lessons/OnlineAdvisor.h"
#include "lessons/CpuOnlineTurn.h"
#include "rules/BoardQueries.h"
#include "rules/CpuPlayChoice.h"
#include "rules/GameQueries.h"
#include "rules/ManaPool.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"

namespace {

// Blocks against the learner's attack: the CPU's block step 2 (blocks made, instants may follow) and 3 (final).
int BlocksAgainstLearner()
{
    return s_CpuBlockStep >= 2 ? s_CpuBlockStep - 1 : 0;
}

int LearnerBlocking()
{
    return s_HumanBlockStep > 2 ? 2 : s_HumanBlockStep;
}

CardActor* FirstLearnerAttacker()
{
    for (CardActor* c : GetCardActors())
        if (c->GetOwner() == 0 && c->IsAttacking() && c->IsNotLeaving())
            return c;
    return nullptr;
}

} // namespace

CardActor* GetAdvisedCard()
{
    const TableSelection& selection = GetTableSelection();
    if (selection.pendingSpell != nullptr)
        return selection.pendingSpell;
    return GetHumanCastingCard();
}

AdviceSituation TakeAdviceSituation()
{
    AdviceSituation s;
    const OnlineAdvisorState& m = GetOnlineAdvisorState();
    const Actor* const human = FindPlayerActor(0);
    const Actor* const cpu = FindPlayerActor(1);
    s.mode = s_GameMode;
    s.humanTurn = s_HumanTurn;
    s.cpuTurn = s_CpuTurn;
    const Actor* const active = s.humanTurn ? human : cpu;
    s.activeStep = active != nullptr ? active->GetState() : 0;
    s.turnNumber = s_TurnNumber;
    s.postCombat = s_PastCombat;
    s.landPlayed = CountLandsInPlay(0) > m.landsAtTurnStart;
    s.attackStep = s_AttackStep;
    s.blocksAgainstLearner = BlocksAgainstLearner();
    s.learnerBlocking = LearnerBlocking();
    s.cpuCombatStep = GetCpuCombatStep();
    s.advisedCard = GetAdvisedCard();
    s.paying = GetPaymentState().paying;
    SpellStack& stack = GetSpellStack();
    s.stackCount = stack.GetCount();
    s.promptCode = stack.m_PromptCode;
    s.topController = stack.GetTopController();
    if (const StackEntry* const top = stack.GetCount() > 0 ? stack.GetTopEntry() : nullptr) {
        s.topCard = top->card;
        s.topTargetCard = top->targetCard;
        s.topTargetPlayer = top->targetPlayer;
    }
    s.resolvingCard = stack.GetResolvingCard();
    s.resolvingAbility = stack.IsResolvingAbility();
    s.watchedCard = m.watchedCard;
    s.singledOutAttacker = FirstLearnerAttacker();
    s.attackExplained = s_bAttackExplained;
    s.untapSummary = m.untapSummary;
    for (int side = 0; side < 2; ++side)
        for (int step = 0; step < PHASE_STOP_COUNT; ++step)
            s.stops[static_cast<std::size_t>(side)][static_cast<std::size_t>(step)] = PhaseStop::Get(side, step);
    return s;
}

const Actor* FindPlayerActor(int side)
{
    const Actor* actor = side == 0 ? GetHumanPlayerActor() : GetCpuPlayerActor();
    if (actor == nullptr || (actor->m_Flags & ACTOR_FLAG_REMOVE) != 0)
        actor = FindActorByName(side == 0 ? u"player" : u"cpuplayer");
    return actor;
}

bool DetectSituationChange(bool force)
{
    const Actor* const human = FindPlayerActor(0);
    const Actor* const cpu = FindPlayerActor(1);
    OnlineAdvisorState& m = GetOnlineAdvisorState();
    if (human == nullptr || cpu == nullptr)
        return force;
    SituationSignature now;
    now.valid = true;
    now.learnerWord = human->GetState() + 16 * s_PastCombat + 32 * s_AttackStep + 64 * LearnerBlocking();
    now.opponentWord = cpu->GetState() + 16 * s_PastCombat + 32 * GetCpuCombatStep() + 64 * BlocksAgainstLearner();
    now.turnSide = s_CpuTurn;
    SpellStack& stack = GetSpellStack();
    now.stackState = stack.m_ResolutionPaused ? 1 : 0;
    now.stackCount = stack.GetCount();
    now.advisedCard = GetAdvisedCard();
    if (now.advisedCard != nullptr) {
        now.advisedTarget = now.advisedCard->GetChosenTarget();
        now.advisedState = now.advisedCard->GetState();
    }
    now.opponentChoice = CpuChooseCreatureToCast();
    CountTappedReadyCards(&now.humanTapped, &now.cpuTapped);
    now.lands = CountLandsInPlay(0);
    now.watchedState = m.watchedCard != nullptr ? m.watchedCard->GetState() : 0;

    const SituationSignature& was = m.signature;
    bool changed = !was.valid;
    if (was.valid) {
        if (now.learnerWord != was.learnerWord) {
            changed = true;
            // The step moved on under a spell the learner was preparing online: its payment is undone.
            if (was.advisedCard != nullptr && IsOnlineLesson())
                CancelAdvisedPayment();
        }
        if (now.turnSide != was.turnSide) {
            changed = true;
            m.busy = false;
            m.dirty = false;
        }
        const bool landRise = now.lands > was.lands;
        if (now.stackCount != was.stackCount || now.advisedCard != was.advisedCard || landRise) {
            changed = true;
            if (m.busy)
                m.dirty = true;
        }
        if (landRise && s_PastCombat)
            m.bestCreatureAfter = nullptr;
        if (now.opponentWord != was.opponentWord || now.stackState != was.stackState ||
            now.opponentChoice != was.opponentChoice || now.humanTapped != was.humanTapped ||
            now.cpuTapped != was.cpuTapped || now.lands != was.lands || now.advisedTarget != was.advisedTarget ||
            now.advisedState != was.advisedState)
            changed = true;
        if (now.stackState == was.stackState && m.watchedCard != nullptr) {
            if (now.watchedState > 0 && now.watchedState != was.watchedState)
                changed = true;
        }
    }
    if (stack.m_PromptCode == STACK_PROMPT_OTHER && !m.prompt1112Seen) {
        m.prompt1112Seen = true;
        changed = true;
    }
    m.signature = now;
    if (force && m.busy)
        m.dirty = true;
    return changed || force;
}
