#include "lessons/StepAdvice.h"

#include "cards/CardActor.h"
#include "cards/LifeToken.h"
#include "cards/TableInput.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/LessonState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gamestate/TurnAdviceState.h"
#include "gui/DialogManager.h"
#include "gui/Messagebox.h"
#include "lessons/LessonBox.h"
#include "lessons/LessonQueries.h"
#include "lessons/PhysicalCombatAdvice.h"
#include "lessons/PhysicalTurnAdvice.h"
#include "lessons/TableFlow.h"
#include "lessons/UntapDrawPrompts.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/GameQueries.h"
#include "rules/ManaPool.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <string>

namespace {

constexpr int KIND_MAIN1 = 4;
constexpr int KIND_MAIN2 = 6;
constexpr int KIND_PAYMENT = 8;
constexpr int KIND_TOO_MANY_CARDS = 17;
constexpr int KIND_CREATURE = 21;
constexpr int KIND_ATTACK_ERROR = 34;
constexpr int KIND_UNTAP_LANDS = 36;
constexpr int KIND_UNTAP_CREATURES = 37;
constexpr int KIND_UNTAP_BOTH = 38;
constexpr int KIND_UNTAP_HINT = 39;
constexpr int KIND_FIRST_DRAW = 41;
constexpr int KIND_FIRST_TURN = 44;
constexpr int KIND_LAND = 45;
constexpr int KIND_NO_LAND_LEFT_1 = 5;
constexpr int KIND_NO_LAND_LEFT_2 = 7;
constexpr int MAX_HAND = 7;
constexpr int SILENT_AFTER_TURNS = 6;
constexpr std::uint32_t DRAW_PROMPT_DELAY_AFTER = 6000;

TurnAdviceState& Advice()
{
    return GetTurnAdviceState();
}

int& Count(int kind)
{
    return Advice().adviceCount[static_cast<std::size_t>(kind)];
}

void StopVoices()
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->StopVoices();
}

void PlayVoice(const char16_t* voice)
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(voice, 1, true);
}

Messagebox* ShownBoxOfKind(int kind)
{
    return GetShownLessonBox(kind);
}

bool BoxShows(int kind)
{
    const Messagebox* const box = GetLessonBox();
    return box != nullptr && box->GetKindNumber() == kind;
}

bool IsAnswered(int kind)
{
    const Messagebox* const box = ShownBoxOfKind(kind);
    return box != nullptr && box->GetAnswer() >= 0;
}

void DeleteBox()
{
    Messagebox* const box = GetLessonBox();
    if (box == nullptr)
        return;
    if (GameDisplay* const display = GetGameDisplay(); display != nullptr && display->IsWindowRegistered(box))
        display->UnregisterWindow(box);
    DeleteLessonBox();
}

void UnregisterBox()
{
    Messagebox* const box = GetLessonBox();
    if (GameDisplay* const display = GetGameDisplay();
        box != nullptr && display != nullptr && display->IsWindowRegistered(box))
        display->UnregisterWindow(box);
}

Messagebox* Show(int kind, int width, const char16_t* key, std::vector<const char16_t*> buttons = {})
{
    LessonBoxContent content;
    content.kind = kind;
    content.width = width;
    content.height = 200;
    content.textKey = key;
    content.buttons = std::move(buttons);
    return ShowLessonBox(content);
}

bool IsBasic()
{
    return s_GameMode == 1;
}

bool IsStackIdle()
{
    const SpellStack& stack = GetSpellStack();
    return stack.GetTopController() == 0 && stack.m_PromptCode == 0 && !stack.IsPaused();
}

int HumanHandSize()
{
    int count = 0;
    for (const CardActor* const card : GetCardActors())
        if (card->GetOwner() == PLAYER_HUMAN && card->IsHeld() && !card->IsInLibrary() && card->IsNotLeaving())
            ++count;
    return count;
}

bool HasAvailableMana()
{
    ManaCost mana;
    return GetAvailableMana(mana, PLAYER_HUMAN).Total() > 0;
}

// The per-turn words start again with each of the learner's turns.
void BeginAdviceTurn()
{
    TurnAdviceState& advice = Advice();
    if (advice.adviceTurn == s_HumanTurnCount)
        return;
    advice.adviceTurn = s_HumanTurnCount;
    advice.landAdviceAnswered = false;
    advice.lastSuggestedCreature = nullptr;
    advice.landPlayedThisTurn = false;
}

// ---- Step 0 -----------------------------------------------------------------------------------------------------

bool AdviseTurnStart()
{
    if (!IsBasic() || s_bCpuStarted != 0 || Count(KIND_FIRST_DRAW) != 0)
        return true;
    if (BoxShows(KIND_FIRST_DRAW) && IsLessonBoxShowing()) {
        if (!IsAnswered(KIND_FIRST_DRAW))
            return false;
        StopVoices();
        DeleteBox();
        ++Count(KIND_FIRST_DRAW);
        return true;
    }
    Show(KIND_FIRST_DRAW, 240, u"PHYSDLG_BASIC_FirstTurnDrawStep", {u"STR_OK"});
    PlayVoice(u"vo_phys\\basic_draw1st.wav");
    return false;
}

// ---- Step 1 -----------------------------------------------------------------------------------------------------

struct UntapHint {
    int kind;
    const char16_t* key;
    int limit;
    const char16_t* voice;
};

constexpr UntapHint UNTAP_HINTS[] = {
    {KIND_UNTAP_BOTH, u"PHYSDLG_BASIC_UntapLandsAndCreatures", 1, u"vo_phys\\basic_untapLC.wav"},
    {KIND_UNTAP_LANDS, u"PHYSDLG_BASIC_UntapLands", 2, u"vo_phys\\basic_untapL.wav"},
    {KIND_UNTAP_CREATURES, u"PHYSDLG_BASIC_UntapCreatures", 1, u"vo_phys\\basic_untapC.wav"},
    {KIND_UNTAP_HINT, u"PHYSDLG_BASIC_UntapHint", 1, u"vo_phys\\basic_UntapHint.wav"},
};

const UntapHint& HintOfKind(int kind)
{
    for (const UntapHint& hint : UNTAP_HINTS)
        if (hint.kind == kind)
            return hint;
    return UNTAP_HINTS[3];
}

void ShowUntapHint(int lands, int creatures)
{
    const int chosen = lands > 0 && creatures > 0 ? KIND_UNTAP_BOTH : lands > 0 ? KIND_UNTAP_LANDS : KIND_UNTAP_CREATURES;
    const UntapHint* hint = &HintOfKind(chosen);
    if (Count(hint->kind) >= hint->limit)
        hint = &HintOfKind(KIND_UNTAP_HINT);
    if (Count(hint->kind) >= hint->limit)
        return;
    ++Count(hint->kind);
    Show(hint->kind, 300, hint->key);
    PlayVoice(hint->voice);
}

bool AdviseUntap()
{
    Advice().untapStepFlag = true;
    int lands = 0;
    int creatures = 0;
    CountTappedLandsAndCreatures(PLAYER_HUMAN, &lands, &creatures);
    const bool tapped = lands > 0 || creatures > 0;
    const Messagebox* const box = GetLessonBox();
    const int kind = IsLessonBoxShowing() ? box->GetKindNumber() : -2;
    if (IsBasic()) {
        if (kind != -2 && IsUntapKind(kind) && !tapped) {
            StoreAdviceDelayForLanguage();
            StopVoices();
            DeleteBox();
        } else if (tapped && !(kind != -2 && IsUntapKind(kind))) {
            ShowUntapHint(lands, creatures);
        }
    }
    const int shown = IsLessonBoxShowing() ? GetLessonBox()->GetKindNumber() : -2;
    if (tapped && (shown == -2 || shown == KIND_UNTAP_HINT) &&
        plat::TimeGetTime() - GetLessonTime() >= GetAdviceDelay())
        ShowUntapPrompt();
    if (!tapped && (shown == KIND_UNTAP_PROMPT || shown == KIND_SKIPPED_UNTAP)) {
        if (shown == KIND_UNTAP_PROMPT) {
            StoreAdviceDelayForLanguage();
            StampLessonTime();
        }
        StopVoices();
        DeleteBox();
    }
    return true;
}

// ---- Step 2 -----------------------------------------------------------------------------------------------------

bool IsDraggingLibraryCard()
{
    const CardActor* const dragged = GetDraggedCard();
    return dragged != nullptr && dragged->IsInLibrary();
}

bool AdviseDraw(Actor* human)
{
    // The human "may act" in this step while the gate is closed.
    const bool mayAct = !IsHumanAllowedToAct();
    if (IsBasic() && BoxShows(KIND_SKIPPED_DRAW) && IsLessonBoxShowing()) {
        if (mayAct)
            return false;
        StopVoices();
        DeleteBox();
        return true;
    }
    const bool promptUp = ShownBoxOfKind(KIND_DRAW_STEP) != nullptr || ShownBoxOfKind(2) != nullptr;
    if (mayAct && !promptUp) {
        const bool due = IsEarlyBasicTurn() ||
                         plat::TimeGetTime() - human->GetStateTime() >= Advice().drawPromptDelay;
        if (due && !IsDraggingLibraryCard()) {
            Advice().drawPromptDelay = DRAW_PROMPT_DELAY_AFTER;
            ShowDrawStepPrompt();
        }
    }
    if (ShownBoxOfKind(KIND_DRAW_STEP) != nullptr && (!mayAct || IsAnswered(KIND_DRAW_STEP))) {
        StopVoices();
        DeleteBox();
        human->SetState(human->GetState());
    }
    return true;
}

// ---- Step 5 -----------------------------------------------------------------------------------------------------

bool IsMainPhaseQuiet()
{
    const TableFlowState& flow = GetTableFlow();
    return GetPlayerState(PLAYER_HUMAN)->m_CardsToDraw <= 0 && !IsHumanAllowedToAct() && !IsAdviceBlocked() &&
           GetCardBeingPaid() == nullptr && !GetPaymentState().paying && !IsSpellPaymentUnderWay() &&
           flow.castingCard == nullptr && GetDraggedCard() == nullptr && IsStackIdle() && IsLifeTokenReady();
}

// True when the land advice decided the frame (result true).
bool AdviseLand()
{
    TurnAdviceState& advice = Advice();
    if (!IsBasic() || advice.landPlayedThisTurn || advice.landAdviceAnswered || !HumanHasLandInHand() ||
        Count(KIND_LAND) > 2)
        return false;
    if (BoxShows(KIND_LAND)) {
        if (!IsAnswered(KIND_LAND))
            return true;
        StopVoices();
        DeleteBox();
        ++Count(KIND_LAND);
        advice.landAdviceAnswered = true;
        return false;
    }
    const bool first = Count(KIND_LAND) == 0;
    Show(KIND_LAND, 300, first ? u"PHYSDLG_BASIC_PlayLand1" : u"PHYSDLG_BASIC_PlayLand2");
    PlayVoice(first ? u"vo_phys\\basic_land1st.wav" : u"vo_phys\\basic_land2-3.wav");
    return true;
}

void ShowCreatureAdvice(CardActor* creature)
{
    const char16_t* const format = GetString(u"PHYSDLG_BASIC_PlayCreature");
    LessonBoxContent content;
    content.kind = KIND_CREATURE;
    content.width = 300;
    content.height = 200;
    content.builtText = FormatString(format != nullptr ? format : u"", {creature->GetNameField()});
    content.buttons = {u"STR_OK"};
    Messagebox* const box = ShowLessonBox(content);
    AddCardExplanationLink(box, creature);
    box->AutoSize();
    Advice().suggestedCreature = creature;
    PlayVoice(u"vo_phys\\basic_playcreature.wav");
}

// True when the creature advice decided the frame (result true).
bool AdviseCreature()
{
    if (!IsBasic())
        return false;
    TurnAdviceState& advice = Advice();
    const int given = Count(KIND_CREATURE);
    const bool wanted = s_PastCombat ? given < 2 : (CountAbleAttackers(PLAYER_HUMAN) == 0 && given <= 0);
    if (!wanted)
        return false;
    if (IsLessonBoxShowing() && (BoxShows(KIND_LAND) || BoxShows(KIND_PAYMENT) || BoxShows(KIND_CREATURE) ||
                                 BoxShows(KIND_FIRST_TURN))) {
        if (!BoxShows(KIND_CREATURE))
            return false;
        if (IsAnswered(KIND_CREATURE)) {
            if (Count(KIND_CREATURE) > 0)
                ++Count(KIND_CREATURE);
            StopVoices();
            Messagebox* const box = GetLessonBox();
            box->CloseExplanation();
            UnregisterBox();
            const CardActor* const just = advice.suggestedCreature;
            if (CardActor* const next = FindBestCreatureToPlay(PLAYER_HUMAN, just))
                advice.lastSuggestedCreature = next;
        }
        return true;
    }
    CardActor* const suggestion =
        FindBestCreatureToPlay(PLAYER_HUMAN, advice.lastSuggestedCreature);
    if (suggestion == nullptr)
        return false;
    ShowCreatureAdvice(suggestion);
    return true;
}

// Sets result and returns true when the first-turn box decided the frame.
bool AdviseFirstTurn(Actor* human, bool& result)
{
    if (!IsBasic() || s_PastCombat || s_HumanTurnCount != 1 || Count(KIND_FIRST_TURN) != 0 ||
        FindCardActorByState(PLAYER_HUMAN) != 0 || !Advice().landPlayedThisTurn)
        return false;
    if (BoxShows(KIND_FIRST_TURN) && IsLessonBoxShowing()) {
        if (IsAnswered(KIND_FIRST_TURN)) {
            StopVoices();
            DeleteBox();
            ++Count(KIND_FIRST_TURN);
            s_PastCombat = true;
            human->SetState(15);
        }
        result = true;
        return true;
    }
    Show(KIND_FIRST_TURN, 400, u"PHYSDLG_BASIC_PreCombatMainPhase_FirstTurn", {u"PHYSDLG_BUTTON_EndTurn"});
    PlayVoice(u"vo_phys\\basic_PreCombatMain_FirstTurn.wav");
    result = false;
    return true;
}

struct MainBoxText {
    const char16_t* key;
    const char16_t* voice;
};

MainBoxText PreCombatText()
{
    const bool talk = s_CompletedTurns <= SILENT_AFTER_TURNS;
    if (!IsBasic())
        return {u"PRE_PHYSDLG_ADV_PreCombatMainPhase", talk ? u"vo_phys\\adv_precombatmain.wav" : nullptr};
    if (Advice().landPlayedThisTurn && !HasAvailableMana() && Count(KIND_NO_LAND_LEFT_1) < 3)
        return {u"PRE_PHYSDLG_BASIC_PreCombatMainPhase_NoLandLeft", u"vo_phys\\basic_PreCombatMain_NoLandLeft.wav"};
    return {u"PRE_PHYSDLG_BASIC_PreCombatMainPhase", talk ? u"vo_phys\\basic_precombatmain.wav" : nullptr};
}

MainBoxText PostCombatText()
{
    const bool talk = s_CompletedTurns <= SILENT_AFTER_TURNS;
    if (IsBasic()) {
        if (Advice().landPlayedThisTurn && !HasAvailableMana() && Count(KIND_NO_LAND_LEFT_2) < 3)
            return {u"PHYSDLG_BASIC_PostCombatMainPhase_NoLandLeft",
                    u"vo_phys\\basic_PostCombatMain_NoLandLeft.wav"};
        if ((!HumanHasLandInHand() && FindCardActorByState(PLAYER_HUMAN) == 0) || GetTableInput().handCount == 0)
            return {u"PHYSDLG_BASIC_PostCombatMainPhase_CantPlayAnything",
                    talk ? u"vo_phys\\basic_PostCombatMain_CantPlayAnything.wav" : nullptr};
    }
    return {u"PRE_PHYSDLG_PostCombatMainPhase", talk ? u"vo_phys\\prompt_postcombatmain.wav" : nullptr};
}

void AdviseMainPhaseBox()
{
    const int wanted = s_PastCombat ? KIND_MAIN2 : KIND_MAIN1;
    if (BoxShows(KIND_LAND) || BoxShows(KIND_PAYMENT))
        return;
    if (BoxShows(wanted) && IsLessonBoxShowing() && !DetectSituationChange(false))
        return;
    LessonBoxContent content;
    content.kind = wanted;
    content.width = 320;
    content.height = 200;
    MainBoxText text;
    if (wanted == KIND_MAIN1) {
        if (IsBasic())
            content.width = 340;
        text = PreCombatText();
        content.buttons = {u"PHYSDLG_BUTTON_Attack", u"PHYSDLG_BUTTON_EndTurn"};
        if (CountMustAttackCreatures(PLAYER_HUMAN, nullptr) > 0)
            content.disabled = {1};
    } else {
        text = PostCombatText();
        content.buttons = {u"PHYSDLG_BUTTON_EndTurn"};
    }
    content.textKey = text.key;
    ShowLessonBox(content);
    if (text.voice != nullptr)
        PlayVoice(text.voice);
}

bool AdviseMainPhase(Actor* human)
{
    if (!IsMainPhaseQuiet())
        return true;
    if (IsNormalDialogShown() || HasNormalDialogQueued()) {
        UnregisterBox();
        return true;
    }
    if (AdviseLand())
        return true;
    if (AdviseCreature())
        return true;
    bool result = true;
    if (AdviseFirstTurn(human, result))
        return result;
    AdviseMainPhaseBox();
    return true;
}

// ---- Step 6 and 16 ----------------------------------------------------------------------------------------------

bool AdviseBeginCombat(Actor* human)
{
    if (!BoxShows(KIND_ATTACK_ERROR) || !IsLessonBoxShowing())
        return true;
    if (IsAnswered(KIND_ATTACK_ERROR)) {
        UnregisterBox();
        human->SetState(human->GetState());
    }
    return false;
}

std::u16string TooManyCardsText(int excess)
{
    const char16_t* const key = excess > 1 ? u"PHYSDLG_TooManyCards_MoreThanOneCard" : u"PHYSDLG_TooManyCards_OneCard";
    const char16_t* const format = GetString(key);
    std::u16string text = format != nullptr ? format : u"";
    const std::u16string number = IntToWString(excess);
    // The one integer placeholder is replaced literally.
    for (const std::u16string_view mark : {std::u16string_view(u"%d"), std::u16string_view(u"%0")}) {
        if (const std::size_t at = text.find(mark); at != std::u16string::npos) {
            text.replace(at, mark.size(), number);
            break;
        }
    }
    return text;
}

bool AdviseDiscard()
{
    if (GetCanPlayNowFlag() != 0 || !IsStackIdle())
        return false;
    const int hand = HumanHandSize();
    TurnAdviceState& advice = Advice();
    if (hand <= MAX_HAND) {
        if (BoxShows(KIND_TOO_MANY_CARDS))
            DeleteBox();
        return true;
    }
    if (ShownBoxOfKind(KIND_TOO_MANY_CARDS) != nullptr && advice.discardHandSize == hand)
        return false;
    LessonBoxContent content;
    content.kind = KIND_TOO_MANY_CARDS;
    content.width = 200;
    content.height = 200;
    content.builtText = TooManyCardsText(hand - MAX_HAND);
    ShowLessonBox(content);
    advice.discardHandSize = hand;
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(u"vo_phys\\EOT_TooManyCards.wav", -1, true);
    return false;
}

} // namespace

bool RunStepAdvice(Actor* human)
{
    if (human == nullptr)
        return true;
    BeginAdviceTurn();
    const int step = human->GetState();
    if (step != 1)
        Advice().untapStepFlag = false;
    switch (step) {
    case 0:
        return AdviseTurnStart();
    case 1:
        return AdviseUntap();
    case 2:
        return AdviseDraw(human);
    case 5:
        return AdviseMainPhase(human);
    case 6:
        return AdviseBeginCombat(human);
    case 7:
        return AdviseHumanAttack(human);
    case 13:
        return AdviseCombatDamage(PLAYER_HUMAN);
    case 16:
        return AdviseDiscard();
    default:
        return true;
    }
}
