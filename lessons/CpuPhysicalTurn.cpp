#include "lessons/CpuPhysicalTurn.h"

#include "cards/CardActor.h"
#include "cards/LifeToken.h"
#include "cards/TableEffects.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/Intro.h"
#include "gamestate/PhysicalAdviceState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gui/DialogManager.h"
#include "gui/Messagebox.h"
#include "gui/WordBalloon.h"
#include "lessons/Advice.h"
#include "lessons/CpuBlockDecision.h"
#include "lessons/DrawingHand.h"
#include "lessons/HandDemos.h"
#include "lessons/LessonBox.h"
#include "lessons/LessonFlow.h"
#include "lessons/OnlineTurnServices.h"
#include "lessons/PlayerResponse.h"
#include "lessons/TableFlow.h"
#include "lessons/TurnAdvice.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuAttack.h"
#include "rules/CpuPayment.h"
#include "rules/CpuPlayChoice.h"
#include "rules/CpuResponse.h"
#include "rules/GameGlobals.h"
#include "rules/GameQueries.h"
#include "rules/ManaPool.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"
#include "rules/Targets.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int BOX_ERROR = 11;
constexpr int STATE_WAITING = 13;
constexpr int MAX_HAND = 7;
// A draw that hits no card is drawn again; this many tries end the discard even if the generator never helps.
constexpr int MAX_DISCARD_DRAWS = 1000;
constexpr int DIALOG_EVENT_CPU_ATTACKS = 12;
constexpr int DIALOG_EVENT_CPU_BLOCKS = 13;
constexpr int PHASE_DECLARE_ATTACKERS = 6;
constexpr std::uint32_t BALLOON_TEXT = 0xFFFFFF;
constexpr std::uint32_t BALLOON_HIGHLIGHT = 0xE0FFFF;
constexpr std::uint32_t BALLOON_PRESSED = 0x4040;
constexpr int BALLOON_FONT = 8;

std::unique_ptr<WordBalloon> s_Balloon;

PlayerState& Cpu()
{
    return *GetPlayerState(PLAYER_CPU);
}

PlayerState& Human()
{
    return *GetPlayerState(PLAYER_HUMAN);
}

PhysicalAdviceState& Advice()
{
    return GetPhysicalAdviceState();
}

void Delay(int frames)
{
    GetCpuPhysicalTurnWords().delay = frames;
}

int Seconds(int count)
{
    return count * static_cast<int>(s_FramesPerSecond);
}

int ThirdOfASecond()
{
    return static_cast<int>(s_FramesPerSecond) / 3;
}

// The combat sub-step lives in the actor, where the turn advice reads it.
int SubStep(const Actor* actor)
{
    return static_cast<int>(actor->m_BehaviourData);
}

void SetSubStep(Actor* actor, int step)
{
    actor->m_BehaviourData = step;
}

void StopVoices()
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->StopVoices();
}

bool IsRegistered(const GUI_Window* window)
{
    const GameDisplay* const display = GetGameDisplay();
    return window != nullptr && display != nullptr && display->IsWindowRegistered(window);
}

void Unregister(GUI_Window* window)
{
    if (IsRegistered(window))
        GetGameDisplay()->UnregisterWindow(window);
}

// An existing balloon that is not registered is left alone, as the lesson box is.
void CloseTurnBalloon()
{
    if (!IsRegistered(s_Balloon.get()))
        return;
    GetGameDisplay()->UnregisterWindow(s_Balloon.get());
    s_Balloon.reset();
}

bool LifeTokenReady(int player)
{
    const LifeToken* const token = GetLifeToken(player);
    return token == nullptr || token->IsReady();
}

bool LifeTokenIdle(int player)
{
    const LifeToken* const token = GetLifeToken(player);
    return token == nullptr || token->IsIdle();
}

bool AnyPlayerWaiting()
{
    const Actor* const human = GetHumanPlayerActor();
    const Actor* const cpu = GetCpuPlayerActor();
    return (human != nullptr && human->GetState() == STATE_WAITING) ||
           (cpu != nullptr && cpu->GetState() == STATE_WAITING);
}

// False while the first-frame bit must stay set (the intro has not opened gate 15).
bool StartGame(Actor* actor)
{
    PlayerState& cpu = Cpu();
    // An intro that dealt the CPU's opening hand at once leaves the drawing hand nothing to deal.
    if (CountCpuHandCards() == 0) {
        cpu.m_NextDrawIndex = 0;
        ResetHandAnimationState();
    }
    SetCpuPlayerActor(actor);
    if (!IntroGate(15))
        return false;
    ResetCpuHandAnimation();
    ResetHandDemos();
    Delay(Seconds(2));
    cpu.m_GraveyardCount = 0;
    cpu.SetLife(STARTING_LIFE, true);
    cpu.SetDisplayedLife(STARTING_LIFE);
    cpu.m_CardsToDraw = 1;
    ClearPlayerManaPool(PLAYER_CPU);

    actor->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
    actor->SetState(CPU_STEP_TURN_START);
    actor->m_Countdown = 0;
    s_CpuBlockStep = 0;
    PhysicalAdviceState& advice = Advice();
    advice.onceGameAdvice = {};
    GetCpuPhysicalTurnWords().turnNumber = 0;
    GetPaymentState().paying = false;
    cpu.SetDrewFromEmptyLibrary(false);
    advice.lastAdvisedOpponentSpell = nullptr;
    advice.combatMap.clear();
    advice.combatSet.clear();
    return true;
}

void SavePendingSets()
{
    PhysicalAdviceState& advice = Advice();
    if (!advice.savedSetsPending)
        return;
    for (int player = PLAYER_HUMAN; player <= PLAYER_CPU; ++player)
        advice.savedPending[static_cast<std::size_t>(player)] = TakePendingCards(player);
    advice.savedSetsPending = false;
}

// True when the frame ends here: the table is still settling after cards left play.
bool WaitForTable()
{
    if (AnyPlayerWaiting())
        return false;
    if (CountPendingCards(PLAYER_HUMAN) > 0 || CountPendingCards(PLAYER_CPU) > 0 || !CpuListEmpty())
        return true;
    if (LifeTokenReady(PLAYER_HUMAN) && LifeTokenIdle(PLAYER_CPU))
        return false;
    CloseLessonBox();
    CloseTurnBalloon();
    return true;
}

// True when the frame ends here: an error box waits for its answer.
bool WaitForErrorBox(const Actor* actor)
{
    Messagebox* const box = GetShownLessonBox(BOX_ERROR);
    if (box == nullptr)
        return false;
    if (box->GetAnswer() < 0) {
        const int link = box->GetPressedButton();
        if (link >= 0) {
            SetWindowColor(box->FindExtraWindowByTag(link), 0, 0xA0, 0xE0, 0xFF);
            box->ClearPressedButton();
            box->OpenExplanation(link);
        }
        if (actor->GetState() == CPU_STEP_DRAW)
            UpdateDrawHand();
        HideCurrentDialog();
        return true;
    }
    StopVoices();
    GetGameDisplay()->UnregisterWindow(box);
    return false;
}

bool IsHumanPlayingACard()
{
    const TableSelection& selection = GetTableSelection();
    return GetCardBeingPaid() != nullptr || IsSpellPaymentUnderWay() || selection.abilityStep != ABILITY_IDLE ||
           IsLandTargetPending() || selection.xCostCollecting || GetPaymentState().paying;
}

bool IsStackHeld()
{
    const SpellStack& stack = GetSpellStack();
    return stack.m_ResolutionPaused || stack.m_PausedWord != 0 || stack.GetTopController() != 0;
}

// Frame gates in their order; true when the frame ends before the blocking decision and the state step.
bool GatesHold(Actor* actor)
{
    if (GetQuitWarningBox() != nullptr)
        return true;
    if ((actor->m_Flags & ACTOR_FLAG_FIRST_FRAME) != 0 && !StartGame(actor))
        return true;
    if (!IsIntroFinished()) {
        UpdateDrawHand();
        return true;
    }
    SavePendingSets();
    StepHandDemos();
    if (!AreHandDemosIdle())
        return true;
    if (IsPriorityDialogShown())
        return true;
    if (CountPendingCards(PLAYER_HUMAN) > 0 || !LifeTokenReady(PLAYER_HUMAN))
        HideCurrentDialog();
    StepCpuHandAnimation();
    if (WaitForTable() || WaitForErrorBox(actor))
        return true;
    if (!UpdatePhysicalTurnAdvice(PLAYER_CPU))
        return true;
    if (GetGlobeRunningWord() != 0 || IsHumanPlayingACard() || IsStackHeld())
        return true;
    if (GetCpuPhysicalTurnWords().delay > 0) {
        --GetCpuPhysicalTurnWords().delay;
        return true;
    }
    return IsAnyCardMoving() || Human().HasLost() || Cpu().HasLost();
}

void ManaBurn()
{
    StopVoices();
    ApplyManaBurn(PLAYER_HUMAN);
}

void SetAfterCombat(bool after)
{
    s_PastCombat = after;
}

void SetCpuAttacking(bool attacking)
{
    GetTableFlow().cpuAttackDecision = attacking;
}

void TurnStart(Actor* actor)
{
    ++GetCpuPhysicalTurnWords().turnNumber;
    PhysicalAdviceState& advice = Advice();
    advice.combatAdviceAnswer = false;
    advice.opponentSpellAdvice = false;
    actor->SetState(CPU_STEP_UNTAP);
    Human().SetAttackDeclared(false);
    Cpu().SetAttackDeclared(false);
    advice.perTurnAdvice = {};
}

void Untap(Actor* actor)
{
    if (CountTappedLandsAndCreatures(PLAYER_CPU, nullptr, nullptr) > 0)
        return;
    ReadySickNonLands(PLAYER_CPU);
    s_CpuBlockStep = 0;
    Cpu().m_CardsToDraw = 1;
    actor->SetState(CPU_STEP_DRAW);
}

void Draw(Actor* actor)
{
    UpdateDrawHand();
    if (!IsDrawHandAtRest())
        return;
    SetSubStep(actor, 0);
    SetDrawHandStopped(false);
    GetCpuPhysicalTurnWords().landPlayed = false;
    Cpu().m_ShownMana.Clear();
    ResetCpuTappedMana();
    actor->SetState(CPU_STEP_MAIN1);
}

// True when the land went down this frame.
bool PlayLand()
{
    GetCpuPhysicalTurnWords().chosenCard = CpuChooseLandToPlay();
    CardActor* const land = GetCpuPhysicalTurnWords().chosenCard;
    if (land == nullptr)
        return false;
    GetCpuPhysicalTurnWords().landPlayed = true;
    land->SetHeld(false);
    land->SetTapState(TAP_READY);
    land->SetOwner(PLAYER_CPU);
    Delay(Seconds(1));
    ApplyStaticAbilities();
    return true;
}

// True when a spell went on the stack.
bool CastSpell()
{
    const int count = CollectCpuPlayableCards();
    if (count == 0)
        return false;
    CardActor* card = nullptr;
    CardActor* targetCard = nullptr;
    Actor* targetPlayer = nullptr;
    const bool pass = CpuChoosePlay(count, card, targetCard, targetPlayer);
    GetCpuPhysicalTurnWords().chosenCard = card;
    if (card == nullptr || pass)
        return false;
    ManaCost cost = card->GetCost();
    if (card->IsXSpell())
        cost.generic += card->GetPaidMana().generic;
    PayCpuCost(cost);
    SetCpuLastCastCard(card);
    GetSpellStack().CastSpell(card, targetCard, targetPlayer, false, false);
    return true;
}

void MainPhase(Actor* actor)
{
    if (!GetCpuPhysicalTurnWords().landPlayed && PlayLand())
        return;
    if (CastSpell())
        return;
    if (s_PastCombat) {
        if (!CpuRespond(false)) {
            actor->SetState(CPU_STEP_END_BURN);
            Advice().combatAdviceAnswer = false;
        }
        return;
    }
    const bool noAttack = s_GameMode == 1 && CountAbleAttackers(PLAYER_CPU) == 0;
    actor->SetState(noAttack ? CPU_STEP_END_BURN : CPU_STEP_PRE_COMBAT_BURN);
    Advice().combatAdviceAnswer = false;
}

void PreCombatManaBurn(Actor* actor)
{
    if (Advice().respondRequest || ShowManaBurnWarning(u"PRE_PHYSDLG_PreCombatManaBurn_CPU"))
        return;
    ManaBurn();
    SetSubStep(actor, 0);
    Cpu().m_TurnFlag = false;
    s_HumanBlockStep = 0;
    Delay(static_cast<int>(s_FramesPerSecond / 3.0f));
    actor->SetState(CPU_STEP_ATTACK);
}

void DeclareAttackers(Actor* actor)
{
    if (s_HumanBlockStep != 0 && s_HumanBlockStep != 3)
        return;
    const int step = SubStep(actor);
    const bool declared = Cpu().m_TurnFlag;
    if (step == 0) {
        SetCpuAttacking(true);
        Cpu().m_TurnFlag = CpuDeclareAttackers();
        if (!Cpu().m_TurnFlag) {
            actor->SetState(CPU_STEP_POST_COMBAT_BURN);
            return;
        }
        if (GameDisplay* const display = GetGameDisplay())
            display->m_CurrentPhase = PHASE_DECLARE_ATTACKERS;
        PostDialogEvent(DIALOG_EVENT_CPU_ATTACKS, nullptr);
    } else if (step <= 2 || step == 5) {
        if (!declared) {
            actor->SetState(CPU_STEP_POST_COMBAT_BURN);
            return;
        }
        if (step == 1) {
            SetCpuAttacking(false);
            Advice().combatAdviceAnswer = false;
        } else if (step == 2) {
            // The turn advice moves the sub-step on once the learner has blocked.
            return;
        } else {
            actor->SetState(AnyFirstStrikeInCombat() ? CPU_STEP_FIRST_STRIKE : CPU_STEP_DAMAGE);
        }
    }
    SetSubStep(actor, step + 1);
}

void FirstStrikeDamage(Actor* actor)
{
    if (!AnyFirstStrikeInCombat()) {
        actor->SetState(CPU_STEP_DAMAGE);
        return;
    }
    if (AssignCombatDamage(PLAYER_CPU, true)) {
        Delay(ThirdOfASecond());
        GetSpellStack().PushCombatDamage(PLAYER_CPU, 2);
    }
    actor->SetState(CPU_STEP_FIRST_STRIKE_STACK);
}

void RegularDamage(Actor* actor)
{
    if (AssignCombatDamage(PLAYER_CPU, false)) {
        GetSpellStack().PushCombatDamage(PLAYER_CPU, 1);
        Delay(ThirdOfASecond());
    } else {
        EndCombat();
    }
    actor->SetState(CPU_STEP_DAMAGE_STACK);
}

void PostCombatManaBurn(Actor* actor)
{
    if (ShowManaBurnWarning(u"PRE_PHYSDLG_PostCombatManaBurn_CPU"))
        return;
    ManaBurn();
    Cpu().m_TurnFlag = false;
    s_HumanBlockStep = 0;
    Delay(Seconds(1));
    SetCpuAttacking(false);
    actor->SetState(CPU_STEP_MAIN2);
}

void ShowTurnBalloon()
{
    if (s_Balloon == nullptr)
        s_Balloon = std::make_unique<WordBalloon>();
    WordBalloon& balloon = *s_Balloon;
    balloon.SetKind(CPU_TURN_BALLOON_TAG);
    balloon.SetPointerSide(POINTER_TOP_LEFT);
    balloon.Reset();
    balloon.SetScaledSize(200, 200);
    balloon.CopyText(KeyText(u"PHYSDLG_YourTurn"));
    balloon.AddButton(KeyText(u"STR_OK"), BALLOON_TEXT, BALLOON_HIGHLIGHT, BALLOON_PRESSED, BALLOON_FONT, -1, -1);
    if (s_GameMode == 2) {
        balloon.AddButton(KeyText(u"PHYSDLG_BUTTON_Respond"), BALLOON_TEXT, BALLOON_HIGHLIGHT, BALLOON_PRESSED,
                          BALLOON_FONT, -1, -1);
        if (!CanPlayerRespond(PLAYER_HUMAN))
            balloon.SetButtonDisabled(1, true);
    }
    balloon.AutoSize();
    PositionLessonBox(&balloon);
    if (GameDisplay* const display = GetGameDisplay())
        display->RegisterWindow(&balloon);
    const bool dialogUp =
        IsPriorityDialogShown() || IsNormalDialogShown() || HasPriorityDialogQueued() || HasNormalDialogQueued();
    if (HintRegistry* const hints = GetHintRegistry(); hints != nullptr && !dialogUp)
        hints->PlayVoiceLimited(u"vo_phys\\opp_yourturn.wav", 1, true);
}

void TurnOver(Actor* actor)
{
    PhysicalAdviceState& advice = Advice();
    if (advice.respondRequest)
        return;
    if (advice.combatAdviceAnswer) {
        actor->SetState(CPU_STEP_END_STEP_BURN);
        return;
    }
    WordBalloon* const balloon = s_Balloon.get();
    if (balloon != nullptr && IsRegistered(balloon) && balloon->GetPointerSide() == POINTER_TOP_LEFT &&
        balloon->GetKindNumber() == CPU_TURN_BALLOON_TAG) {
        const int answer = balloon->GetAnswer();
        if (answer < 0)
            return;
        StopVoices();
        GetGameDisplay()->UnregisterWindow(balloon);
        balloon->ClearClickedButton();
        if (answer == 0) {
            actor->SetState(CPU_STEP_END_STEP_BURN);
        } else {
            advice.respondRequest = true;
            advice.combatAdviceAnswer = false;
        }
        return;
    }
    ShowTurnBalloon();
}

void EndStepManaBurn(Actor* actor)
{
    if (ShowManaBurnWarning(u"PRE_PHYSDLG_EndOfTurnManaBurn_CPU"))
        return;
    ManaBurn();
    actor->SetState(CPU_STEP_DISCARD);
}

void HandOver(Actor* actor)
{
    ResetOnlineLesson(0);
    ApplyManaBurn(PLAYER_HUMAN);
    actor->SetState(CPU_STEP_TURN_START);
    HandTurnTo(PLAYER_HUMAN);
    ResetCombatDamage(true);
    Delay(Seconds(1));
}

void RunState(Actor* actor)
{
    const SpellStack& stack = GetSpellStack();
    switch (actor->GetState()) {
    case CPU_STEP_TURN_START:
        TurnStart(actor);
        break;
    case CPU_STEP_UNTAP:
        Untap(actor);
        break;
    case CPU_STEP_DRAW:
        Draw(actor);
        break;
    case CPU_STEP_MAIN1:
        SetAfterCombat(false);
        actor->SetState(CPU_STEP_MAIN);
        break;
    case CPU_STEP_MAIN2:
        Advice().cardSpecificAdvice = false;
        SetAfterCombat(true);
        actor->SetState(CPU_STEP_MAIN);
        break;
    case CPU_STEP_MAIN:
        MainPhase(actor);
        break;
    case CPU_STEP_PRE_COMBAT_BURN:
        PreCombatManaBurn(actor);
        break;
    case CPU_STEP_ATTACK:
        DeclareAttackers(actor);
        break;
    case CPU_STEP_FIRST_STRIKE:
        FirstStrikeDamage(actor);
        break;
    case CPU_STEP_FIRST_STRIKE_STACK:
        if (stack.GetCount() == 0)
            actor->SetState(CPU_STEP_DAMAGE);
        break;
    case CPU_STEP_DAMAGE:
        RegularDamage(actor);
        break;
    case CPU_STEP_DAMAGE_STACK:
        if (stack.GetCount() == 0)
            actor->SetState(CPU_STEP_END_COMBAT);
        break;
    case CPU_STEP_END_COMBAT:
        actor->SetState(CPU_STEP_POST_COMBAT_BURN);
        Advice().combatMap.clear();
        Advice().combatSet.clear();
        break;
    case CPU_STEP_POST_COMBAT_BURN:
        PostCombatManaBurn(actor);
        break;
    case CPU_STEP_END_BURN:
        if (ShowManaBurnWarning(u"PRE_PHYSDLG_EndOfTurnManaBurn_CPU"))
            break;
        ManaBurn();
        actor->SetState(CPU_STEP_TURN_OVER);
        Advice().combatAdviceAnswer = false;
        break;
    case CPU_STEP_TURN_OVER:
        TurnOver(actor);
        break;
    case CPU_STEP_END_STEP_BURN:
        EndStepManaBurn(actor);
        break;
    case CPU_STEP_DISCARD:
        if (s_CpuDiscardDone) {
            actor->SetState(CPU_STEP_HAND_OVER);
            break;
        }
        DiscardCpuPhysicalHand();
        s_CpuDiscardDone = true;
        break;
    case CPU_STEP_HAND_OVER:
        HandOver(actor);
        break;
    default:
        break;
    }
}

// The CPU's cards in its hand as they stand now: held, out of the library and not on their way out.
std::vector<CardActor*> CpuHand()
{
    std::vector<CardActor*> hand;
    for (CardActor* c : GetCardActors())
        if (c->GetOwner() == PLAYER_CPU && c->IsHeld() && !c->IsInLibrary() && c->IsNotLeaving())
            hand.push_back(c);
    return hand;
}

void BlocksDecided()
{
    s_CpuBlockStep = 2;
    Advice().combatAdviceAnswer = false;
    PostDialogEvent(DIALOG_EVENT_CPU_BLOCKS, nullptr);
}

} // namespace

void CpuPhysicalTurn(Actor* actor)
{
    if (GatesHold(actor))
        return;
    if (s_CpuBlockStep == 1 || s_CpuBlockStep == 2) {
        DecideCpuPhysicalBlocks();
        return;
    }
    if (!s_CpuTurn)
        return;
    ++actor->m_Countdown;
    RunState(actor);
}

void DecideCpuPhysicalBlocks()
{
    if (s_CpuBlockStep == 2) {
        if (CountAttackingCreatures(PLAYER_HUMAN) == 0)
            s_CpuBlockStep = Human().IsAttackDeclared() ? 3 : 0;
        return;
    }
    ChooseCpuBlocks(AttackerPower::NotZero);
    BlocksDecided();
}

int DiscardCpuPhysicalHand()
{
    int discarded = 0;
    for (int draw = 0; draw < MAX_DISCARD_DRAWS; ++draw) {
        const std::vector<CardActor*> hand = CpuHand();
        const int held = static_cast<int>(hand.size());
        if (held <= MAX_HAND)
            break;
        // The draw counts from 1, so 0 finds no card and is drawn again.
        const int r = plat::Rand() % held;
        if (r == 0)
            continue;
        if (hand[static_cast<std::size_t>(r - 1)]->LeavePlay(LEAVE_DISCARD))
            ++discarded;
    }
    return discarded;
}

WordBalloon* GetCpuTurnBalloon()
{
    return s_Balloon.get();
}

WordBalloon* MakeCpuTurnBalloon()
{
    if (s_Balloon == nullptr)
        s_Balloon = std::make_unique<WordBalloon>();
    return s_Balloon.get();
}

void DeleteCpuTurnBalloon()
{
    if (s_Balloon != nullptr)
        Unregister(s_Balloon.get());
    s_Balloon.reset();
}

void ResetCpuPhysicalTurn()
{
    GetCpuPhysicalTurnWords() = CpuPhysicalTurnWords();
    DeleteCpuTurnBalloon();
    ResetPhysicalAdviceState();
}
