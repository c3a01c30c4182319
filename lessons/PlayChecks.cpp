#include "lessons/PlayChecks.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "cards/HandLayout.h"
#include "cards/LifeToken.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/LessonState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gamestate/TurnFlags.h"
#include "gui/DialogManager.h"
#include "gui/Messagebox.h"
#include "gui/WordBalloon.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/LessonBox.h"
#include "rules/CombatLinks.h"
#include "rules/CpuPlayChoice.h"
#include "rules/GameQueries.h"
#include "rules/ManaPool.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"
#include "rules/TargetPrompt.h"
#include "rules/Usability.h"

namespace {

constexpr int KIND_ABILITY_COST_ERROR = 12;
constexpr int MAIN_PHASE = 5;
constexpr int COMBAT_DAMAGE_STEP = 13;
constexpr int TAPPED_CREATURE = 2;
constexpr int SIDE_PANEL_ZONE = 14;

struct ErrorText {
    const char16_t* key;
    const char16_t* clip;
};

// The payment and choice state of the rules: a card in payment, a pending choice or target choice.
bool IsPaymentOrChoiceOpen()
{
    const TableSelection& selection = GetTableSelection();
    return GetPaymentState().paying || selection.pendingSpell != nullptr || selection.pendingAbility != nullptr ||
           selection.abilityStep != ABILITY_IDLE || selection.xCostCollecting || IsTargetPromptOpen();
}

bool IsStackBusy()
{
    const SpellStack& stack = GetSpellStack();
    return stack.m_ResolutionPaused || stack.m_PausedWord != 0;
}

void PlayClip(const char16_t* clip)
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(clip, -1, true);
}

// A play error beside its card: placed at the advice position only when the box is new.
void ShowPlayError(int width, int height, const ErrorText& text, const CardActor* card)
{
    LessonBoxContent content;
    content.kind = KIND_PLAY_ERROR;
    content.width = width;
    content.height = height;
    content.textKey = text.key;
    content.placing = LessonBoxPlacing::OnlyNew;
    content.avoidCard = card;
    ShowLessonBox(content);
}

// The card goes back onto the table where it lies now, kept inside the table.
void ParkOnTable(CardActor* card)
{
    card->SetHeld(false);
    card->m_TargetPoint = card->m_Position;
    ClampCardActorToTable(card, false);
}

void RefuseUnaffordable(CardActor* card)
{
    const PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    const bool notEnough = GetAvailableMana(PLAYER_HUMAN).Total() < card->GetCost().Total();
    const bool tapped = human.m_ManaPool.Total() > 0;
    static constexpr ErrorText TEXTS[2][2] = {
        {{u"PRE_PHYS_WrongUntappedLand", u"vo_phys\\PayForSpell_WrongUntappedLand.wav"},
         {u"PRE_PHYS_WrongUntappedLand_Tapped", u"vo_phys\\PayForSpell_WrongUntappedLand_Tapped.wav"}},
        {{u"PRE_PHYS_NotEnoughUntappedLand", u"vo_phys\\PayForSpell_NotEnoughUntapped.wav"},
         {u"PRE_PHYS_NotEnoughUntappedLand_Tapped", u"vo_phys\\PayForSpell_NotEnoughUntapped_Tapped.wav"}},
    };
    const ErrorText& text = TEXTS[notEnough ? 1 : 0][tapped ? 1 : 0];
    SetUnaffordableCard(card);
    SetCardBeingPaid(nullptr);
    card->SetHeld(false);
    if (tapped)
        SettleTappedSources();
    PlayClip(text.clip);
    ShowPlayError(300, 140, text, card);
}

void RefuseWithoutTarget(CardActor* card, bool noGoodTarget)
{
    SettleTappedSources();
    SetUnaffordableCard(card);
    SetCardBeingPaid(nullptr);
    card->SetHeld(false);
    const ErrorText text = noGoodTarget ? ErrorText{u"PRE_PHYSDLG_ERROR_NoGoodNodumberTarget",
                                                    u"vo_phys\\ERROR_NoGoodNodumberTarget.wav"}
                                        : ErrorText{u"PRE_PHYSDLG_ERROR_NoTargets", u"vo_phys\\ERROR_NoTargets.wav"};
    ShowPlayError(300, 140, text, card);
    PlayClip(text.clip);
}

ErrorText WrongPlaceText(int cardType)
{
    switch (cardType) {
    case CT_CREATURE:
        return {u"PHYSDLG_Error_CreatureInWrongPlace", u"vo_phys\\Error_CreatureInWrongPlace.wav"};
    case CT_ARTIFACT:
        return {u"PHYSDLG_Error_ArtifactInWrongPlace", u"vo_phys\\Error_ArtifactInWrongPlace.wav"};
    case CT_ENCHANT:
        return {u"PHYSDLG_Error_EnchantmentInWrongPlace", u"vo_phys\\Error_EnchantmentInWrongPlace.wav"};
    case CT_SORCERY:
        return {u"PHYSDLG_Error_SorceryInWrongPlace", u"vo_phys\\Error_SorceryInWrongPlace.wav"};
    default:
        return {u"PHYSDLG_Error_InstantInWrongPlace", u"vo_phys\\Error_InstantInWrongPlace.wav"};
    }
}

bool Overlap(const RasterRect& a, const RasterRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool IsInPlayArea(const CardActor* card)
{
    const GameDisplay* const display = GetGameDisplay();
    if (display == nullptr)
        return false;
    RasterRect cardRect;
    RasterRect area;
    display->GetCardRect(card, cardRect, false);
    display->GetPlayAreaRect(area);
    return Overlap(cardRect, area);
}

bool RefuseWrongPlace(CardActor* card)
{
    if (GetCardBeingPaid() != nullptr)
        return false;
    SetCardBeingPaid(card);
    ParkOnTable(card);
    const GameDisplay* const display = GetGameDisplay();
    const int width = display != nullptr ? display->GetZoneRectByIndex(SIDE_PANEL_ZONE).Width() : 300;
    const ErrorText text = WrongPlaceText(card->GetCardType());
    ShowPlayError(width, 200, text, card);
    PlayClip(text.clip);
    return false;
}

bool IsSilentlyRefused(const CardActor* card)
{
    if (GetLessonPendingCard() != nullptr || IsPaymentOrChoiceOpen() || CountPendingCards(PLAYER_HUMAN) > 0)
        return true;
    const bool instantAnswer = GetCanPlayNowFlag() != 0 && card->GetCardType() == CT_INSTANT;
    if (GetSpellStack().GetCount() > 0 && !instantAnswer)
        return true;
    if (!card->IsHeld() && card != GetCardBeingPaid())
        return true;
    return card->GetOwner() != PLAYER_HUMAN || card->IsLand();
}

ErrorText MistimedText(const CardActor& card)
{
    const int type = card.GetCardType();
    if (s_HumanTurn) {
        if (type == CT_LAND)
            return {u"PHYSDLG_ERROR_MistimeLand", u"vo_phys\\ERROR_MistimeLand.wav"};
        if (type == CT_CREATURE && IsPlayerInCombatStep(PLAYER_HUMAN))
            return {u"PHYSDLG_ERROR_MistimeCreature_Combat", u"vo_phys\\ERROR_MistimeCreature_Combat.wav"};
        return {u"PHYSDLG_ERROR_MistimeSpell", u"vo_phys\\ERROR_MistimeSpell.wav"};
    }
    if (type == CT_INSTANT)
        return {u"PHYSDLG_ERROR_MistimeInstant_OppTurn", u"vo_phys\\ERROR_MistimeInstant_OppTurn.wav"};
    if (type == CT_CREATURE && IsPlayerInCombatStep(PLAYER_CPU))
        return {u"PHYSDLG_ERROR_MistimeCreature_Combat", u"vo_phys\\ERROR_MistimeCreature_Combat.wav"};
    return {u"PHYSDLG_ERROR_MistimeCard_OppTurn", u"vo_phys\\ERROR_MistimeCard_OppTurn.wav"};
}

bool IsMistimedErrorHeldBack(const CardActor* card)
{
    const PlayerState* const human = GetPlayerState(PLAYER_HUMAN);
    const PlayerState* const cpu = GetPlayerState(PLAYER_CPU);
    if (human->HasLost() || cpu->HasLost())
        return true;
    const Actor* const humanActor = GetHumanPlayerActor();
    const Actor* const cpuActor = GetCpuPlayerActor();
    if ((humanActor != nullptr && humanActor->GetState() == COMBAT_DAMAGE_STEP) ||
        (cpuActor != nullptr && cpuActor->GetState() == COMBAT_DAMAGE_STEP))
        return true;
    if (!card->IsHeld() || card->IsInLibrary())
        return true;
    if (GetCardBeingPaid() != nullptr || GetUnaffordableCard() != nullptr || GetMistimedCard() != nullptr ||
        GetTableFlow().cardDrawnByHand != nullptr || GetBlockErrorCard() != nullptr ||
        GetLessonPendingCard() != nullptr || IsPaymentOrChoiceOpen())
        return true;
    if (!IsLifeTokenReady() || !IsLifeTokenIdle() || IsStackBusy())
        return true;
    return GetShownLessonBox(16) != nullptr || GetShownLessonBox(15) != nullptr || GetShownLessonBox(17) != nullptr;
}

} // namespace

bool CanStartPlaying()
{
    const Actor* const human = GetHumanPlayerActor();
    if (human == nullptr || GetCpuPlayerActor() == nullptr)
        return false;
    if (GetUnaffordableCard() != nullptr || GetMistimedCard() != nullptr || GetTableFlow().cardDrawnByHand != nullptr)
        return false;
    if (const Messagebox* const box = GetLessonBox(); box != nullptr && box->GetKindNumber() == KIND_ABILITY_COST_ERROR)
        return false;
    const bool canPlayNow = GetCanPlayNowFlag() != 0;
    if (!canPlayNow && human->GetState() != MAIN_PHASE)
        return false;
    if (GetLessonPendingCard() != nullptr || IsPaymentOrChoiceOpen())
        return false;
    // A response is admitted by the can-play-now flag above; the out-of-turn word only holds an ordinary play.
    if (!canPlayNow && IsHumanAllowedToAct())
        return false;
    if (CountPendingCards(PLAYER_HUMAN) > 0)
        return false;
    if (IsPriorityDialogShown() || HasPriorityDialogQueued())
        return false;
    return !IsStackBusy();
}

bool CheckDroppedCard(CardActor* card)
{
    if (card == nullptr || IsSilentlyRefused(card))
        return false;
    const bool noGoodTarget = card->GetId() == CD_NODUMBER &&
                              (GetTappedPermanentKinds(PLAYER_CPU) & TAPPED_CREATURE) == 0 &&
                              (GetTappedPermanentKinds(PLAYER_HUMAN) & TAPPED_CREATURE) != 0;
    if (!CanAffordCard(card, false, true)) {
        RefuseUnaffordable(card);
        return false;
    }
    if (noGoodTarget || !CanUseCardNow(card, false)) {
        RefuseWithoutTarget(card, noGoodTarget);
        return false;
    }
    if (IsInPlayArea(card))
        return true;
    return RefuseWrongPlace(card);
}

bool BeginPayment(CardActor* card)
{
    UpdateHumanAvailableMana();
    ClearCpuChoiceTable();
    GetPaymentState().paying = true;
    GetTableSelection().pendingSpell = card;
    if (card != nullptr) {
        card->SetState(0);
        card->SetPlayedMark(0);
        card->SetHeld(false);
    }
    return true;
}

void ShowMistimedPlayError(CardActor* card)
{
    if (card == nullptr || IsMistimedErrorHeldBack(card))
        return;
    SetMistimedCard(card);
    const ErrorText text = MistimedText(*card);
    ShowPlayError(320, 200, text, card);
    PlayClip(text.clip);
    if (WordBalloon* const balloon = GetCpuTurnBalloon()) {
        GameDisplay* const display = GetGameDisplay();
        if (display != nullptr && display->IsWindowRegistered(balloon) && !IsProtectedAdviceWindow(balloon))
            display->UnregisterWindow(balloon);
    }
    ParkOnTable(card);
}
