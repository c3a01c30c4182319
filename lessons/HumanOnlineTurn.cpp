#include "lessons/HumanOnlineTurn.h"

#include "cards/CardActor.h"
#include "cards/CornerButtons.h"
#include "cards/GameLog.h"
#include "cards/HandLayout.h"
#include "cards/TableEffects.h"
#include "cards/TableInput.h"
#include "engine/core/TextHelpers.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "gamestate/Intro.h"
#include "gamestate/OnlineAdviceWords.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "lessons/ActorTypes.h"
#include "lessons/CardDrawing.h"
#include "lessons/CleanupReminder.h"
#include "lessons/CpuOnlineResponse.h"
#include "lessons/LessonFlow.h"
#include "lessons/OnlineTurnServices.h"
#include "lessons/TableFlow.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuPlayChoice.h"
#include "rules/Decks.h"
#include "rules/GameQueries.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/SelectedCard.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"
#include "rules/Targets.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int MESSAGE_FIELD_ZONE = 15;
constexpr int ARROW_RAISE = 16;
constexpr float ARROW_WIDTH = 70.0f;
constexpr float ARROW_ABOVE = 22.0f;
constexpr float ARROW_BELOW = 21.0f;
constexpr float ARROW_DEPTH = 20.0f;

struct HumanTurnWords {
    bool landPlayed = false;
    CardActor* casting = nullptr;
    bool castAllowed = false;
    bool attackEntered = false;
    CardActor* pickedBlocker = nullptr;
    int openingStep = 0;
    bool openingRunning = false;
    int mulligansLeft = 7;
    bool mulliganVoice = false;
    bool endPromptHandled = false;
    bool lostCounted = false;
    int drawWindow = -1;
    int handWindow = -1;
    int lostWindow = -1;
    int noButtonWindow = -1;
    int framesInTurn = 0;
    int turnsTaken = 0;
    std::u16string text;
};

HumanTurnWords s_Words;

PlayerState& Human()
{
    return *GetPlayerState(PLAYER_HUMAN);
}

CardActor* Pointed()
{
    return GetTableInput().pointedCard;
}

bool ClickPending()
{
    return MouseState.leftClicked != 0;
}

void ConsumeClick()
{
    MouseState.leftClicked = 0;
    MouseState.clickConsumed = 1;
}

void Log(std::u16string_view key, std::u16string_view arg)
{
    GameLog::Add(true, KeyText(key), {arg});
}

bool IsHumanHandCard(const CardActor* c)
{
    return c != nullptr && c->GetOwner() == PLAYER_HUMAN && c->IsHeld() && !c->IsInLibrary() && c->IsNotLeaving();
}

std::vector<CardActor*> HumanHand()
{
    std::vector<CardActor*> hand;
    for (CardActor* c : GetCardActors())
        if (IsHumanHandCard(c))
            hand.push_back(c);
    return hand;
}

void Explain(const char16_t* text)
{
    ShowOnlineWindow(s_Words.noButtonWindow, text, 320, 160, 0);
}

void Opening()
{
    s_Words.openingRunning = true;
    if (s_Words.openingStep < 2) {
        if (s_Words.openingStep == 0 && s_GameMode == 3)
            QueueVoice(u"data\\wavsonl\\b014a.wav", true);
        s_Words.openingStep = 1;
        PlaceDealtCardsInHand();
        if (ShowOnlineWindow(s_Words.drawWindow, KeyText(u"ONL_DrawCards"), 320, 180, 1)) {
            StopVoiceQueue();
            s_Words.openingStep = 2;
            s_Words.text.clear();
        }
        return;
    }
    if (s_Words.text.empty()) {
        static constexpr const char16_t* LANDS[] = {u"STR_Plains", u"STR_Islands", u"STR_Swamps", u"STR_Mountains",
                                                    u"STR_Forests"};
        static constexpr const char16_t* COLOURS[] = {u"STR_white", u"STR_blue", u"STR_black", u"STR_red",
                                                      u"STR_green"};
        const int h = std::clamp(GetDeckColour(PLAYER_HUMAN), 0, 4);
        const int c = std::clamp(GetDeckColour(PLAYER_CPU), 0, 4);
        s_Words.text = FormatString(KeyText(u"ONL_YOURHAND"),
                                    {KeyText(LANDS[h]), KeyText(COLOURS[h]), KeyText(LANDS[c]), KeyText(COLOURS[c])});
        if (s_GameMode == 3) {
            QueueVoice(u"data\\wavsonl\\b015.wav", true);
            const std::u16string own = u"data\\wavsonl\\b0" + IntToWString(16 + h) + u".wav";
            const std::u16string cpu = u"data\\wavsonl\\b0" + IntToWString(21 + c) + u".wav";
            QueueVoice(own.c_str(), false);
            QueueVoice(cpu.c_str(), false);
        }
    }
    if (ShowOnlineWindow(s_Words.handWindow, s_Words.text.c_str(), 320, 280, 1)) {
        StopVoiceQueue();
        s_Words.openingStep = 0;
        s_Words.openingRunning = false;
    }
}

void FirstFrame(Actor* actor)
{
    Log(u"ONL_GL_PlayerJoin", u"");
    if (FindActorByName(u"cointoss") == nullptr) {
        if (Actor* const toss = SpawnActor(u"cointoss", 0, FindBehaviour(u"cointoss"), 0, 0, 0, 0, 0, 0))
            toss->m_Flags |= ACTOR_FLAG_COIN_TOSS;
    }
    s_Words = HumanTurnWords{};
    SetOpeningHandSize(7);
    Human().SetLife(STARTING_LIFE, true);
    Human().m_CardsToDraw = 1;
    Human().m_GraveyardCount = 0;
    actor->m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
    actor->SetState(0);
    s_HumanBlockStep = 0;
    s_MulliganState = 0;
    ClearTurn();
    Human().m_DrewFromEmptyLibrary = false;
}

bool ShowLost()
{
    if (!s_Words.lostCounted) {
        s_Words.lostCounted = true;
        PlayEffect(23, 255, 0, 0, 0, nullptr);
        ConsumeClick();
        CountGamePlayed(false);
    }
    const char16_t* const text = KeyText(Human().m_DrewFromEmptyLibrary ? u"ONL_DeckYouText" : u"ONL_CPUWonGame");
    if (ShowOnlineWindow(s_Words.lostWindow, text, 240, 180, 1))
        ReturnToMenusAfterGame();
    return true;
}

// The basic game points at the question's buttons from their right: the arrow's tip 16 pixels above the corner of
// the message field they hang from.
void DrawMulliganArrow()
{
    Raster* const raster = GetRaster();
    const int texture = GetTextureByName(u"hintarrow_left");
    if (raster == nullptr || texture <= 0)
        return;
    const RasterRect& field = GetGameDisplay()->GetZoneRectByIndex(MESSAGE_FIELD_ZONE);
    const float x = static_cast<float>(field.right);
    const float y = static_cast<float>(field.bottom - ARROW_RAISE);
    raster->DrawTextureEx(texture, x, y - ARROW_ABOVE, x + ARROW_WIDTH, y + ARROW_BELOW, ARROW_DEPTH, PRIM_COLOR_KEY);
}

void Mulligan()
{
    if (!s_Words.mulliganVoice) {
        s_Words.mulliganVoice = true;
        QueueVoice(u"data\\wavsonl\\b026.wav", true);
        QueueVoice(u"data\\wavsonl\\b027.wav", false);
    }
    Explain(KeyText(s_Words.mulligansLeft > 6 ? u"ONL_MulliganExpText" : u"ONL_MulliganExpText2"));
    const int answer = ShowKeyPrompt(u"ONL_MulliganPrompt", 2);
    if (answer == 0) {
        if (s_GameMode == 3)
            DrawMulliganArrow();
        return;
    }
    ConsumeClick();
    StopVoiceQueue();
    AnswerMulligan(answer);
}

// True when the frame stops here.
bool Blocking()
{
    GameDisplay* const display = GetGameDisplay();
    if (!s_HumanBlockingEntered) {
        ConsumeClick();
        s_HumanBlockingEntered = true;
        if (display != nullptr)
            display->m_CurrentPhase = 7;
        return true;
    }
    if (s_Words.pickedBlocker == nullptr) {
        bool skipped = !OffersInstantWindow(1, 5);
        if (s_GameMode == 4 && CountAbleBlockers(PLAYER_HUMAN) == 0 && s_HumanBlockStep == 1)
            s_HumanBlockStep = 2;
        int answer = 1;
        if (s_HumanBlockStep == 1)
            answer = ShowKeyPrompt(u"ONL_DECL_BLOCK", 1);
        else if (!skipped)
            answer = ShowKeyPrompt(u"ONL_DECL_BLOCK_IA", 1);
        if (answer != 0) {
            if (skipped && CpuOnlineRespond())
                skipped = false;
            if (s_HumanBlockStep == 1 && !skipped) {
                s_HumanBlockStep = 2;
                ConsumeClick();
                s_DeclaringAttack = false;
            } else {
                ConsumeClick();
                s_HumanBlockStep = 3;
                s_Words.pickedBlocker = nullptr;
                return true;
            }
        }
        if (s_HumanBlockStep == 2) {
            s_Words.pickedBlocker = nullptr;
            return true;
        }
        CardActor* const c = Pointed();
        if (c != nullptr && c->GetOwner() == PLAYER_HUMAN && c->GetCardType() == CT_CREATURE && c->CanAct() &&
            c->GetTapState() != TAP_TAPPED) {
            if (c->GetStats().hasCannotBlock) {
                s_Words.text = std::u16string(KeyText(u"ONL_CantBlockText")) + u" " + c->GetNameField();
                Explain(s_Words.text.c_str());
                return true;
            }
            if (ClickPending()) {
                ConsumeClick();
                s_Words.pickedBlocker = c;
                if (c->GetBlockedAttacker() != nullptr) {
                    RemoveBlockerAssignment(c);
                    return true;
                }
            }
        }
        return false;
    }
    CardActor* const blocker = s_Words.pickedBlocker;
    if (ShowKeyPrompt(u"ONL_BLOCK_ATTACKER", 3) != 0) {
        s_Words.pickedBlocker = nullptr;
        return true;
    }
    DrawCardGlow(blocker);
    CardActor* const attacker = Pointed();
    if (attacker == nullptr || attacker->GetOwner() != PLAYER_CPU || !attacker->IsAttacking() ||
        attacker->GetBlockedAttacker() != nullptr)
        return !blocker->IsDragging() && blocker->GetBlockedAttacker() == nullptr;
    const CreatureStats& a = attacker->GetStats();
    const CreatureStats& b = blocker->GetStats();
    const char16_t* reason = nullptr;
    if (a.isUnblockable)
        reason = u"ONL_CantBlockUnblockableText";
    else if (a.flying && !b.flying && !b.flyBlock)
        reason = u"ONL_CantBlockFlyingText";
    else if (a.hasFearAttack && !CanBlockFearAttacker(blocker))
        reason = u"ONL_CantBlockFearText";
    else if (a.walk.Total() != 0 && CountCardsPayableWith(PLAYER_HUMAN, a.walk) != 0)
        reason = u"ONL_CantBlockWalkText";
    if (reason != nullptr)
        Explain(KeyText(reason));
    if (display != nullptr)
        display->DrawLinkBetweenCards(blocker, attacker, 1.0f, 1.0f, 0.0f, true, true, 12, 6.0f);
    if (ClickPending()) {
        ConsumeClick();
        if (reason == nullptr)
            AssignBlocker(attacker, blocker);
        s_Words.pickedBlocker = nullptr;
    }
    return false;
}

void PlayLand(CardActor* land)
{
    ConsumeClick();
    Log(u"ONL_GL_PlayerLand", KeyText(LandNameKey(land->GetColorIndex())));
    s_Words.landPlayed = true;
    land->SetHeld(false);
    land->SetTapState(TAP_READY);
    land->SetOwner(PLAYER_HUMAN);
    s_Words.castAllowed = false;
    ClearCpuChoiceTable();
    s_Words.casting = nullptr;
    ApplyStaticAbilities();
    PlayEffect(21, 255, 0, 0, 0, nullptr);
}

bool TryLandPlay()
{
    CardActor* const c = Pointed();
    if (s_Words.landPlayed || c == nullptr || c->IsInLibrary() || c->IsDragging() || !ClickPending() ||
        c->GetCardType() != CT_LAND || !IsHumanHandCard(c))
        return false;
    PlayLand(c);
    return true;
}

void MainPhase(Actor* actor)
{
    SpellStack& stack = GetSpellStack();
    if (!stack.IsPaused() && stack.GetTopController() == 0) {
        const bool land = !s_Words.landPlayed && HumanHasLandInHand();
        const char16_t* key = s_PastCombat ? (land ? u"ONL_POST_L" : u"ONL_POST_NL") : (land ? u"ONL_PRE_L" : u"ONL_PRE_NL");
        if (s_GameBegun && ShowKeyPrompt(key, 1) != 0) {
            if (!s_PastCombat) {
                s_Words.castAllowed = false;
                actor->SetState(7);
                s_Words.attackEntered = false;
                s_AttackStep = 0;
                s_CpuBlockStep = 0;
            } else {
                actor->SetState(18);
            }
            return;
        }
    }
    if (TryLandPlay() && stack.GetTopController() != 0)
        return;
    if (s_Words.casting == nullptr && !GetPaymentState().paying && stack.GetCount() == 0)
        s_Words.castAllowed = true;
    CardActor* const c = Pointed();
    if (s_Words.castAllowed && s_Words.casting == nullptr && IsHumanHandCard(c) && c->GetCardType() != CT_LAND &&
        c->GetCardType() != CT_INSTANT && ClickPending() && CanAffordCard(c, false, true)) {
        s_Words.casting = c;
        c->GetPaidMana().Clear();
        return;
    }
    CardActor* const card = s_Words.casting;
    if (card == nullptr || !(card->IsHeld() || card->GetPlayedMark() == 0))
        return;
    if (card->GetSpellEffect()->needsTarget && card->GetChosenTarget() == nullptr) {
        bool aborted = false;
        card->SetChosenTarget(ChooseTarget(card, c, false, false, true, &aborted));
        // Cancel gave the card up: without this its target prompt would come back every frame.
        if (aborted)
            s_Words.casting = nullptr;
        return;
    }
    if (card->GetCost().Total() != 0 && !BeginManaPayment(*card, false, GetClickedPoolRow()))
        return;
    card->SetPlayedMark(1);
    s_Words.castAllowed = false;
    if (card->IsXSpell() && PayXCost(card))
        return;
    if (!card->GetSpellEffect()->needsTarget)
        stack.CastSpell(card, nullptr, nullptr, true, false);
    else
        CastCardAtChosenTarget(card);
    s_Words.casting = nullptr;
}

void DeclareAttackers(Actor* actor)
{
    GameDisplay* const display = GetGameDisplay();
    if (s_CpuBlockStep != 0) {
        if (s_CpuBlockStep == 3) {
            s_CpuBlockStep = 0;
            actor->SetState(11);
        }
        return;
    }
    if (!s_Words.attackEntered) {
        if (CountAbleAttackers(PLAYER_HUMAN) == 0) {
            s_PastCombat = true;
            actor->SetState(5);
            return;
        }
        // Mode 3 waits for the learner to click a creature that could attack; that click then declares it.
        if (s_GameMode == 4)
            ConsumeClick();
        else if (GetSelectedAttackCandidate() == nullptr)
            return;
        if (display != nullptr)
            display->m_CurrentPhase = 6;
        s_Words.attackEntered = true;
        return;
    }
    if (GetPaymentState().paying)
        return;
    const bool skipped = !OffersInstantWindow(0, 4);
    int answer = 0;
    if (s_AttackStep < 2) {
        s_DeclaringAttack = true;
        answer = ShowKeyPrompt(u"ONL_DECL_ATT", 1);
    } else {
        s_DeclaringAttack = false;
        answer = skipped ? 1 : ShowKeyPrompt(u"ONL_DECL_ATT_IA", 1);
    }
    if (answer != 0) {
        ConsumeClick();
        if (CountAttackingCreatures(PLAYER_HUMAN) == 0) {
            s_PastCombat = true;
            actor->SetState(5);
        } else if (s_AttackStep == 2 || skipped) {
            s_CpuBlockStep = 1;
        } else {
            s_AttackStep = 2;
            s_DeclaringAttack = false;
            BuildActionableCards();
        }
        return;
    }
    CardActor* const c = Pointed();
    if (c == nullptr || c->GetOwner() != PLAYER_HUMAN || c->GetCardType() != CT_CREATURE || !ClickPending() ||
        s_AttackStep == 2)
        return;
    if (!c->IsAttacking() && c->GetTapState() == TAP_READY && IsAbleToAttack(c)) {
        ConsumeClick();
        s_AttackStep = 1;
        PlayEffect(27, 255, 0, 0, 0, nullptr);
        if (!c->GetStats().noTapAttack)
            c->SetTapState(TAP_TAPPED);
        c->SetAttacking(true);
        c->SetBlocked(false);
        Human().SetAttackDeclared(true);
    } else if (c->IsAttacking() && c->CanAct()) {
        ConsumeClick();
        c->SetAttacking(false);
        if (CountAttackingCreatures(PLAYER_HUMAN) == 0) {
            Human().SetAttackDeclared(false);
            s_AttackStep = 0;
        }
        PlayEffect(27, 255, 0, 0, 0, nullptr);
        if (c->GetTapState() == TAP_TAPPED)
            c->SetTapState(TAP_READY);
    }
}

void EndOfTurn(Actor* actor)
{
    if (!s_Words.endPromptHandled) {
        BuildActionableCards();
        if (ActionableCardsExist())
            return;
        if (OffersInstantWindow(0, 9) && ShowKeyPrompt(u"ONL_EOT_IA_PROMPT", 1) == 0)
            return;
        s_Words.endPromptHandled = true;
        // The CPU's answers to the learner's last moments end with the prompt.
        s_HumanEndOfTurn = true;
    }
    if (HumanMustDiscard()) {
        Explain(KeyText(u"ONL_YouDiscardText"));
        ShowKeyPrompt(u"STACK_WAITING_FOR_PLAYER", 0);
        if (ClickPending() && DiscardHumanCard(Pointed()))
            ConsumeClick();
        if (HumanMustDiscard())
            return;
    }
    if (ShowCleanupReminder())
        return;
    ResetOnlineLesson(0);
    s_HumanEndOfTurn = false;
    ConsumeClick();
    ApplyManaBurn(PLAYER_HUMAN);
    actor->SetState(0);
    HandTurnTo(PLAYER_CPU);
    ResetCombatDamage(true);
    ++s_Words.turnsTaken;
    ++s_CompletedTurns;
    ++s_TurnNumber;
    Log(u"ONL_GL_OppTurn", IntToWString(s_TurnNumber));
}

void RunState(Actor* actor)
{
    SpellStack& stack = GetSpellStack();
    switch (actor->GetState()) {
    case 20:
        s_Words.landPlayed = false;
        s_PastCombat = false;
        ClearCpuChoiceTable();
        Human().m_CardsToDraw = 0;
        actor->SetState(22);
        break;
    case 0:
        Human().SetAttackDeclared(false);
        GetPlayerState(PLAYER_CPU)->SetAttackDeclared(false);
        actor->SetState(1);
        [[fallthrough]];
    case 1: {
        s_Words.landPlayed = false;
        s_PastCombat = false;
        s_Words.endPromptHandled = false;
        ClearCpuChoiceTable();
        ReadySickNonLands(PLAYER_HUMAN);
        int lands = 0;
        int creatures = 0;
        CountTappedLandsAndCreatures(PLAYER_HUMAN, &lands, &creatures);
        if (lands + creatures > 0) {
            UntapHumanCards();
            break;
        }
        Human().m_CardsToDraw = 1;
        actor->SetState(22);
        break;
    }
    case 22:
        ShowKeyPrompt(u"STACK_WAITING_FOR_PLAYER", 0);
        if (DrawPendingCards() > 0 || GetTableFlow().pendingDrawCard != nullptr)
            break;
        if (!Human().HasLost()) {
            s_Words.casting = nullptr;
            s_Words.castAllowed = false;
            actor->SetState(5);
        }
        break;
    case 5:
        MainPhase(actor);
        break;
    case 7:
        DeclareAttackers(actor);
        break;
    case 11:
        if (!AnyFirstStrikeInCombat()) {
            actor->SetState(9);
        } else {
            if (AssignCombatDamage(PLAYER_HUMAN, true))
                stack.PushCombatDamage(0, 2);
            actor->SetState(12);
        }
        break;
    case 12:
        if (stack.GetCount() == 0) {
            s_CombatDamageWord = 5;
            PlayEffect(59 + plat::Rand() % 4, 255, 0, 0, 0, nullptr);
            actor->SetState(9);
        }
        break;
    case 9:
        if (AssignCombatDamage(PLAYER_HUMAN, false))
            stack.PushCombatDamage(0, 1);
        else
            EndCombat();
        actor->SetState(10);
        break;
    case 10:
        if (stack.GetCount() == 0) {
            s_CombatDamageWord = 5;
            PlayEffect(41 + plat::Rand() % 4, 255, 0, 0, 0, nullptr);
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

} // namespace

void HumanOnlineTurn(Actor* actor)
{
    SetHumanPlayerActor(actor);
    GameDisplay* const display = GetGameDisplay();
    if (display != nullptr && display->m_bQuitPromptOpen)
        return;
    if (display != nullptr && display->m_bQuitConfirmed) {
        s_Words.openingStep = 0;
        return;
    }
    if (TakeLifeGlobesEnded())
        s_Words.openingRunning = true;
    if (s_Words.openingRunning || s_Words.openingStep != 0) {
        Opening();
        return;
    }
    if (GetTableInput().pickingReady == 0)
        return;
    if (actor->m_Flags & ACTOR_FLAG_FIRST_FRAME) {
        if (!IntroGate(15))
            return;
        FirstFrame(actor);
    }
    SpellStack& stack = GetSpellStack();
    if (stack.GetTopController() != 0) {
        if (actor->GetState() == 5 && s_HumanTurn && !s_Words.landPlayed)
            TryLandPlay();
        return;
    }
    if (FindActorByName(u"cointoss") != nullptr || GetGlobeRunningWord() != 0 || stack.IsPaused() ||
        stack.m_ResolutionPaused || GetTableSelection().settingsMenuOpen || GetPlayerState(PLAYER_CPU)->HasLost())
        return;
    if (Human().HasLost()) {
        actor->SetState(0);
        ShowLost();
        return;
    }
    if (s_MulliganState == 0 && s_GameMode > 1) {
        Mulligan();
        return;
    }
    if ((s_HumanBlockStep == 1 || s_HumanBlockStep == 2) && Blocking())
        return;
    if (!s_HumanTurn)
        return;
    ++s_Words.framesInTurn;
    RunState(actor);
}

void ResetHumanOnlineTurn()
{
    s_Words = HumanTurnWords{};
}

void AnswerMulligan(int answer)
{
    if (answer == 1 && s_Words.mulligansLeft <= 0)
        answer = 2;
    if (answer == 1) {
        s_MulliganState = 2;
        // The old hand leaves the table altogether; the new deal may bring the same cards back.
        for (CardActor* c : HumanHand())
            RemoveActor(c);
        Log(u"ONL_GL_PlayerMulligan", u"");
        --s_Words.mulligansLeft;
        SetOpeningHandSize(GetOpeningHandSize() - 1);
        SetupDecks();
        PlaceDealtCardsInHand();
        s_MulliganState = 0;
        return;
    }
    s_MulliganState = 1;
    Log(u"ONL_GL_PlayerKeepsHand", u"");
    ++s_TurnNumber;
    Log(s_HumanTurn ? u"ONL_GL_PlayerTurn" : u"ONL_GL_OppTurn", IntToWString(s_TurnNumber));
    s_GameBegun = true;
    s_bAdvisorOn = true;
    // The camera's game steps (mana clicks, the selected card, the CPU's answers) run only once the game started.
    GetTableFlow().gameStarted = true;
}

int GetMulligansLeft()
{
    return s_Words.mulligansLeft;
}

void SetMulligansLeft(int left)
{
    s_Words.mulligansLeft = left;
}

bool HumanMustDiscard()
{
    return HumanHand().size() > 7;
}

bool DiscardHumanCard(CardActor* card)
{
    if (!HumanMustDiscard() || !IsHumanHandCard(card))
        return false;
    QueueVoice(u"data\\sfx\\discard.wav", false);
    card->SetHeld(false);
    card->LeavePlay(LEAVE_DISCARD);
    return true;
}

CardActor* GetHumanCastingCard()
{
    return s_Words.casting;
}

void ForgetHumanCastingCard()
{
    s_Words.casting = nullptr;
}
