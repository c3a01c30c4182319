#include "lessons/CpuOnlineTurn.h"

#include "cards/CardActor.h"
#include "cards/CornerButtons.h"
#include "cards/GameLog.h"
#include "cards/TableEffects.h"
#include "cards/TableReset.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/Wave.h"
#include "gamestate/Intro.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "lessons/CleanupReminder.h"
#include "lessons/CpuBlockDecision.h"
#include "lessons/CpuOnlineResponse.h"
#include "lessons/LessonFlow.h"
#include "lessons/OnlineTurnServices.h"
#include "lessons/TableFlow.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuAttack.h"
#include "rules/CpuPayment.h"
#include "rules/CpuPlayChoice.h"
#include "rules/CpuResponse.h"
#include "rules/Decks.h"
#include "rules/GameQueries.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SelectedCard.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"

#include <algorithm>
#include <vector>

namespace {

struct CpuTurnWords {
    int thinkDelay = 0;
    bool landPlayed = false;
    float untapPause = 0.0f;
    int combatStep = 0;
    int framesInTurn = 0;
    int turnsTaken = 0;
    int endWindow = -1;
    bool endCounted = false;
    bool endPromptHandled = false;
};

CpuTurnWords s_Words;

// A discard of k = 0 draws again; enough tries for any hand, so a generator stuck on 0 cannot hang the game.
constexpr int MAX_DISCARD_DRAWS = 1000;

PlayerState& Cpu()
{
    return *GetPlayerState(PLAYER_CPU);
}

void Log(std::u16string_view key, std::u16string_view arg)
{
    GameLog::Add(true, KeyText(key), {arg});
}

void Think(int frames)
{
    s_Words.thinkDelay = frames;
}

std::vector<CardActor*> CpuHand()
{
    std::vector<CardActor*> hand;
    for (CardActor* c : GetCardActors())
        if (c->GetOwner() == PLAYER_CPU && c->IsHeld() && !c->IsInLibrary() && c->IsNotLeaving())
            hand.push_back(c);
    return hand;
}

void NoAttack(Actor* actor)
{
    s_PastCombat = true;
    actor->SetState(5);
    Cpu().m_TurnFlag = false;
    s_HumanBlockStep = 0;
    Think(FramesPerSecond());
    s_DeclaringAttack = false;
}

void Draw(Actor* actor)
{
    PlayerState& cpu = Cpu();
    while (cpu.m_CardsToDraw > 0) {
        --cpu.m_CardsToDraw;
        if (cpu.m_NextDrawIndex >= cpu.m_LibraryCount) {
            cpu.SetDrewFromEmptyLibrary(true);
            cpu.m_CardsToDraw = 0;
            return;
        }
        if (s_CpuSkipNextDraw) {
            s_CpuSkipNextDraw = false;
            continue;
        }
        if (s_CompletedTurns <= 0)
            continue;
        const int id = cpu.m_Library[static_cast<std::size_t>(cpu.m_NextDrawIndex)];
        CardActor* const card = CreateCardActor(id, PLAYER_CPU);
        ++cpu.m_NextDrawIndex;
        if (card != nullptr) {
            card->SetInLibrary(false);
            card->SetHeld(true);
            GameDisplay* const display = GetGameDisplay();
            if (display != nullptr) {
                RasterRect pile;
                display->GetOpponentLibraryRect(pile, false);
                card->m_Position.x = static_cast<float>(pile.left);
                card->m_Position.y = static_cast<float>(pile.top);
            }
        }
        Think(FramesPerSecond());
        return;
    }
    Think(FramesPerSecond() / 5);
    actor->SetState(5);
}

void Main(Actor* actor)
{
    if (!s_Words.landPlayed) {
        if (CardActor* const land = CpuChooseLandToPlay()) {
            Log(u"ONL_GL_OppLand", KeyText(LandNameKey(land->GetColorIndex())));
            PlayEffect(21, 255, 0, 0, 0, nullptr);
            s_Words.landPlayed = true;
            land->SetHeld(false);
            land->SetTapState(TAP_READY);
            land->SetOwner(PLAYER_CPU);
            Think(FramesPerSecond());
            ApplyStaticAbilities();
            return;
        }
    }
    const int count = CollectCpuPlayableCards();
    if (count > 0) {
        CardActor* card = nullptr;
        CardActor* targetCard = nullptr;
        Actor* targetPlayer = nullptr;
        if (!CpuChoosePlay(count, card, targetCard, targetPlayer) && card != nullptr) {
            ManaCost cost = card->GetCost();
            if (card->IsXSpell())
                cost.generic += card->GetPaidMana().generic;
            PayCpuCost(cost);
            SetCpuLastCastCard(card);
            GetSpellStack().CastSpell(card, targetCard, targetPlayer, true, false);
            return;
        }
    }
    Cpu().m_TurnFlag = false;
    s_HumanBlockStep = 0;
    if (s_PastCombat) {
        actor->SetState(18);
        Think(FramesPerSecond() / 3);
    } else if (CountAbleAttackers(PLAYER_CPU) == 0) {
        s_PastCombat = true;
        Think(FramesPerSecond());
    } else {
        s_Words.combatStep = 0;
        actor->SetState(7);
    }
}

void Attack(Actor* actor)
{
    GameDisplay* const display = GetGameDisplay();
    if (!Cpu().m_TurnFlag && s_Words.combatStep == 0 && CountCreaturesReadyToAttack(PLAYER_CPU) > 0 &&
        OffersInstantWindow(1, 3)) {
        s_DeclaringAttack = false;
        if (display != nullptr)
            display->m_CurrentPhase = 5;
        if (ShowKeyPrompt(u"ONL_BEGIN_COMBAT_IA", 1) == 0)
            return;
        BuildActionableCards();
        if (ActionableCardsExist())
            return;
    }
    if (s_HumanBlockStep != 0 && s_HumanBlockStep != 3)
        return;
    const bool attack = Cpu().m_TurnFlag;
    switch (s_Words.combatStep) {
    case 0:
        s_DeclaringAttack = true;
        Cpu().m_TurnFlag = CpuDeclareAttackers();
        if (!Cpu().m_TurnFlag) {
            NoAttack(actor);
            return;
        }
        if (display != nullptr)
            display->m_CurrentPhase = 6;
        break;
    case 1:
        if (!attack) {
            NoAttack(actor);
            return;
        }
        s_DeclaringAttack = false;
        break;
    case 2:
        if (!attack) {
            NoAttack(actor);
            return;
        }
        if (OffersInstantWindow(1, 4) && ShowKeyPrompt(u"ONL_OPP_DECL_ATT_IA", 1) == 0)
            return;
        BuildActionableCards();
        if (ActionableCardsExist())
            return;
        s_DeclaringAttack = true;
        if (display != nullptr)
            display->m_CurrentPhase = 7;
        s_HumanBlockStep = 1;
        s_HumanBlockingEntered = false;
        break;
    case 5:
        if (attack)
            actor->SetState(AnyFirstStrikeInCombat() ? 11 : 9);
        break;
    default:
        break;
    }
    ++s_Words.combatStep;
}

void EndOfTurn(Actor* actor)
{
    if (!s_Words.endPromptHandled) {
        if (OffersInstantWindow(1, 9) && ShowKeyPrompt(u"ONL_EOT_IA_PROMPT", 1) == 0)
            return;
        DiscardCpuHandToSeven();
        s_Words.endPromptHandled = true;
        s_CpuDiscardDone = true;
        return;
    }
    if (ShowCleanupReminder())
        return;
    ResetOnlineLesson(0);
    ApplyManaBurn(PLAYER_HUMAN);
    actor->SetState(0);
    HandTurnTo(PLAYER_HUMAN);
    ResetCombatDamage(true);
    if (s_CombatDamageWord == 4)
        s_CombatDamageWord = 7;
    Think(FramesPerSecond());
    ++s_TurnNumber;
    ++s_Words.turnsTaken;
    Log(u"ONL_GL_PlayerTurn", IntToWString(s_TurnNumber));
}

void RunState(Actor* actor)
{
    SpellStack& stack = GetSpellStack();
    switch (actor->GetState()) {
    case 0:
        GetPlayerState(PLAYER_HUMAN)->SetAttackDeclared(false);
        Cpu().SetAttackDeclared(false);
        actor->SetState(1);
        [[fallthrough]];
    case 1:
        s_Words.landPlayed = false;
        s_PastCombat = false;
        Cpu().m_ShownMana.Clear();
        ReadySickNonLands(PLAYER_CPU);
        s_CpuBlockStep = 0;
        s_CpuDiscardDone = false;
        s_Words.endPromptHandled = false;
        UntapCpuCards();
        Cpu().m_CardsToDraw = 1;
        Think(FramesPerSecond());
        s_Words.untapPause = static_cast<float>(3 * FramesPerSecond());
        actor->SetState(21);
        break;
    case 21:
        if (s_Words.untapPause > 0.0f) {
            s_Words.untapPause -= static_cast<float>(std::max(s_FrameStepInt, 1));
            return;
        }
        s_Words.untapPause = 0.0f;
        s_Words.combatStep = 0;
        actor->SetState(22);
        break;
    case 22:
        Draw(actor);
        break;
    case 5:
        Main(actor);
        break;
    case 7:
        Attack(actor);
        break;
    case 11:
        if (!AnyFirstStrikeInCombat()) {
            actor->SetState(9);
        } else {
            if (AssignCombatDamage(PLAYER_CPU, true)) {
                Think(FramesPerSecond() / 3);
                stack.PushCombatDamage(1, 2);
            }
            actor->SetState(12);
        }
        break;
    case 12:
        if (stack.GetCount() == 0)
            actor->SetState(9);
        break;
    case 9:
        if (AssignCombatDamage(PLAYER_CPU, false)) {
            stack.PushCombatDamage(1, 1);
            Think(FramesPerSecond() / 3);
        } else {
            EndCombat();
        }
        actor->SetState(10);
        break;
    case 10:
        if (stack.GetCount() == 0) {
            Cpu().m_TurnFlag = false;
            s_HumanBlockStep = 0;
            Think(FramesPerSecond());
            s_PastCombat = true;
            actor->SetState(5);
        }
        break;
    case 18:
        EndOfTurn(actor);
        break;
    default:
        break;
    }
}

bool ShowGameEnd()
{
    const bool humanLost = GetPlayerState(PLAYER_HUMAN)->HasLost();
    if (humanLost) {
        ShowOnlineWindow(s_Words.endWindow, KeyText(u"DrawGameText"), 240, 180, 0);
        return true;
    }
    if (!s_Words.endCounted) {
        s_Words.endCounted = true;
        PlayEffect(24, 255, 0, 0, 0, nullptr);
        MouseState.leftClicked = 0;
        CountGamePlayed(true);
    }
    const char16_t* const text =
        KeyText(Cpu().m_DrewFromEmptyLibrary ? u"ONL_DeckOpponentText" : u"ONL_PlayerWonGame");
    if (ShowOnlineWindow(s_Words.endWindow, text, 240, 180, 1)) {
        ReturnToMenusAfterGame();
        return true;
    }
    if (Actor* const cpu = FindActorByName(u"cpuplayer"))
        cpu->SetState(0);
    return true;
}

bool HumanIsBusy()
{
    const TableSelection& selection = GetTableSelection();
    return GetPaymentState().paying || selection.abilityStep != ABILITY_IDLE || selection.xCostCollecting ||
           selection.pendingAbility != nullptr || selection.pendingSpell != nullptr;
}

} // namespace

void CpuOnlineTurn(Actor* actor)
{
    SetCpuPlayerActor(actor);
    GameDisplay* const display = GetGameDisplay();
    if (display != nullptr && display->m_bQuitConfirmed)
        return;
    if (s_MulliganState == 0 && FindActorByName(u"cointoss") == nullptr && !(actor->m_Flags & ACTOR_FLAG_FIRST_FRAME))
        return;
    if (actor->m_Flags & ACTOR_FLAG_FIRST_FRAME) {
        if (!IntroGate(15))
            return;
        Log(u"ONL_GL_OppJoin", u"");
        s_Words = CpuTurnWords{};
        Think(FramesPerSecond());
        PlayerState& cpu = Cpu();
        cpu.m_GraveyardCount = 0;
        cpu.m_NextDrawIndex = 7;
        cpu.SetLife(STARTING_LIFE, true);
        cpu.m_CardsToDraw = 1;
        actor->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
        s_CpuBlockStep = 0;
        actor->SetState(0);
        // A game played before this one in the same run leaves its turn count and any payment it broke off.
        s_TurnNumber = 0;
        GetPaymentState().paying = false;
        GetTableFlow().paymentInProgress = false;
        cpu.m_DrewFromEmptyLibrary = false;
        return;
    }
    const SpellStack& stack = GetSpellStack();
    if (FindActorByName(u"cointoss") != nullptr || GetGlobeRunningWord() != 0 || stack.GetTopController() != 0 ||
        stack.m_ResolutionPaused || stack.m_PausedWord != 0 || HumanIsBusy() || GetTableSelection().settingsMenuOpen)
        return;
    if (s_Words.thinkDelay > 0) {
        --s_Words.thinkDelay;
        return;
    }
    if (IsAnyCardMoving())
        return;
    if (Cpu().HasLost()) {
        ShowGameEnd();
        return;
    }
    if (s_CpuBlockStep == 1 || s_CpuBlockStep == 2) {
        ChooseCpuBlockers();
        return;
    }
    if (!s_CpuTurn)
        return;
    ++s_Words.framesInTurn;
    RunState(actor);
}

int DiscardCpuHandToSeven()
{
    int discarded = 0;
    for (int tries = 0; tries < MAX_DISCARD_DRAWS; ++tries) {
        const std::vector<CardActor*> hand = CpuHand();
        if (hand.size() <= 7)
            break;
        const int k = plat::Rand() % static_cast<int>(hand.size());
        if (k == 0)
            continue;
        hand[static_cast<std::size_t>(k - 1)]->LeavePlay(LEAVE_DISCARD);
        ++discarded;
    }
    return discarded;
}

void ResetCpuOnlineTurn()
{
    s_Words = CpuTurnWords{};
}

int GetCpuCombatStep()
{
    return s_Words.combatStep;
}

void SetCpuCombatStep(int step)
{
    s_Words.combatStep = step;
}

int GetCpuThinkDelay()
{
    return s_Words.thinkDelay;
}

void ChooseCpuBlockers()
{
    if (s_CpuBlockStep == 2) {
        if (CountAttackingCreatures(PLAYER_HUMAN) == 0) {
            s_CpuBlockStep = GetPlayerState(PLAYER_HUMAN)->IsAttackDeclared() ? 3 : 0;
            return;
        }
        if (OffersInstantWindow(0, 5) && ShowKeyPrompt(u"ONL_OPP_DECL_BLOCK_IA", 1) == 0)
            return;
        s_DeclaringAttack = false;
        BuildActionableCards();
        if (!ActionableCardsExist())
            s_CpuBlockStep = 3;
        return;
    }
    ChooseCpuBlocks(AttackerPower::AboveZero);
    s_CpuBlockStep = 2;
}
