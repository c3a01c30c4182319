#include "lessons/CardTapPhysical.h"

#include "cards/CardActor.h"
#include "engine/core/LanguageManager.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/Wave.h"
#include "gamestate/CardMoveState.h"
#include "gamestate/LessonState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gamestate/TurnFlags.h"
#include "gui/DialogManager.h"
#include "gui/ExplanatoryWindow.h"
#include "gui/GUI_TextButton.h"
#include "gui/Messagebox.h"
#include "lessons/CardDropPhysical.h"
#include "lessons/LessonBox.h"
#include "lessons/PhysicalAdviceState.h"
#include "lessons/PlayChecks.h"
#include "lessons/UntapDrawPrompts.h"
#include "rules/GameQueries.h"
#include "rules/HumanPayment.h"
#include "rules/ManaPool.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"

#include <string>

namespace {

constexpr int KIND_ATTACK_ERROR = 34;
constexpr int KIND_ATTACK_PROMPT = 49;
constexpr int KIND_SUMMONING_SICK_TAPPER = 11;
constexpr int STATE_UNTAP = 1;
constexpr int STATE_DRAW = 2;
constexpr int STATE_DECLARE_ATTACKERS = 7;
constexpr int STATE_COMBAT_DAMAGE = 13;
constexpr int SOUND_TAP = 27;
constexpr int EVENT_ABILITY_ACTIVATION = 8;
// The explanation of activated abilities, offered beside the summoning-sick tapper's error.
constexpr int LINK_ACTIVATED_ABILITY = 2;
constexpr int LINK_FONT = 7;
constexpr std::uint32_t LINK_VISITED = 0xE0A000;
constexpr std::uint32_t LINK_NEW = 0x00C0FF;
constexpr std::uint32_t LINK_HIGHLIGHT = 0xFFD000;
constexpr std::uint32_t LINK_PRESSED = 0x0000FF;

void Speak(const char16_t* clip)
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(clip, -1, true);
}

int StateOf(const Actor* actor)
{
    return actor != nullptr ? actor->GetState() : -1;
}

// The cards a lesson error or a draw has set apart; they stay movable while everything else waits.
bool IsPendingCard(const CardActor* card)
{
    return card == GetUnaffordableCard() || card == GetCardBeingPaid() || card == GetMistimedCard() ||
           card == GetTableFlow().cardDrawnByHand;
}

bool IsFlowCard(const CardActor* card)
{
    return IsPendingCard(card) || card == GetTableFlow().currentCard || card == GetRefusedAttacker();
}

// A box of the lesson with the standard OK row; new boxes go to the advice position.
Messagebox* ShowErrorBox(int kind, const char16_t* key)
{
    LessonBoxContent content;
    content.kind = kind;
    content.width = 300;
    content.height = 200;
    content.textKey = key;
    content.buttons = {u"STR_OK"};
    content.placing = LessonBoxPlacing::OnlyNew;
    return ShowLessonBox(content);
}

void RefuseUnaffordableAbility()
{
    if (IsLessonBoxShowing() && GetLessonBox()->GetKindNumber() == KIND_ABILITY_UNAFFORDABLE)
        return;
    const bool manaInPool = GetPlayerState(PLAYER_HUMAN)->m_ManaPool.Total() > 0;
    if (manaInPool)
        SettleTappedSources();
    ShowErrorBox(KIND_ABILITY_UNAFFORDABLE,
                 manaInPool ? u"PHYS_NotEnoughUntappedLand_ability_Tapped" : u"PHYS_NotEnoughUntappedLand_ability");
    Speak(manaInPool ? u"vo_phys\\adv_PayForAbility_CantAfford_Tapped.wav"
                     : u"vo_phys\\adv_PayForAbility_CantAfford.wav");
}

// A card put onto the table this turn cannot pay a tap cost yet; the box links to the explanation of abilities.
void RefuseSummoningSickTapper()
{
    Messagebox* const box = ShowErrorBox(KIND_SUMMONING_SICK_TAPPER, u"PRE_PHYSDLG_ERROR_TapperWithSummoningSickness");
    std::u16string caption;
    GetExplanationLinkText(caption, LINK_ACTIVATED_ABILITY);
    if (!caption.empty()) {
        const std::uint32_t colour = IsExplanationLinkVisited(LINK_ACTIVATED_ABILITY) ? LINK_VISITED : LINK_NEW;
        if (GUI_TextButton* const link =
                box->CreateTextButton(caption.c_str(), colour, LINK_HIGHLIGHT, LINK_PRESSED, LINK_FONT, -1))
            link->SetTag(LINK_ACTIVATED_ABILITY);
        box->AutoSize();
    }
    Speak(u"vo_phys\\error_CantTapForAbility.wav");
}

void StartActivation(CardActor* card, CardActor* abilityCard, CardActor* source)
{
    const CardAbility& ability = *abilityCard->GetAbility();
    MouseState.leftClicked = 0;
    TableSelection& selection = GetTableSelection();
    selection.pendingAbility = abilityCard;
    abilityCard->SetState(0);
    if (IsLessonBoxShowing())
        CloseLessonBox();
    SpellStack& stack = GetSpellStack();
    if (stack.IsWindowUp())
        stack.CloseWindow();
    const CardAbility* const pressed = card->GetAbility();
    if (pressed != nullptr && pressed->effect.needsTarget) {
        selection.abilityStep = ABILITY_CHOOSE_TARGET;
        PostDialogEvent(EVENT_ABILITY_ACTIVATION, card);
        return;
    }
    if (ability.costType == COSTTYPE_TAP)
        source->SetTapState(TAP_TAPPED);
    selection.abilityStep = ability.cost.Total() != 0 ? ABILITY_PAY : ABILITY_ACTIVATE;
}

bool MayPayNow()
{
    if (GetCanPlayNowFlag() != 0)
        return true;
    return s_HumanTurn && CanPayNow(StateOf(GetHumanPlayerActor()));
}

enum class TapResult { Done, GoOn };

// The card's activated ability, paid by tapping its source: started when it can be paid, refused with the reason
// when it cannot. Mana abilities are the payment's, never started here.
TapResult TapForAbility(CardActor* card)
{
    if (card->GetOwner() != PLAYER_HUMAN || IsAdviceBlocked() || !card->CanAct())
        return TapResult::GoOn;
    CardActor* source = nullptr;
    CardActor* const abilityCard = card->CanActivate(&source, 0);
    if (abilityCard == nullptr || source == nullptr)
        return TapResult::GoOn;
    const CardAbility& ability = *abilityCard->GetAbility();
    const int effect = ability.effect.effectType;
    const bool tapCost = ability.costType == COSTTYPE_TAP || ability.costType == COSTTYPE_TAPSAC;
    bool sickTapper = false;
    if (CanStartPlaying() && effect != EFFECT_PRODUCEMANA && effect != EFFECT_CHOOSEMANA) {
        TableSelection& selection = GetTableSelection();
        selection.pendingAbility = nullptr;
        selection.pendingSpell = nullptr;
        if (source->GetTapState() == TAP_READY || !tapCost) {
            if (CanAffordCard(abilityCard, true, true)) {
                StartActivation(card, abilityCard, source);
                return TapResult::Done;
            }
            RefuseUnaffordableAbility();
            return TapResult::GoOn;
        }
        sickTapper = ability.costType == COSTTYPE_TAP && source->GetTapState() == TAP_NEW;
    } else if (!IsPriorityDialogShown() && MayPayNow()) {
        sickTapper = effect == EFFECT_PRODUCEMANA && ability.costType == COSTTYPE_TAP &&
                     source->GetTapState() == TAP_NEW;
    }
    if (!sickTapper)
        return TapResult::GoOn;
    RefuseSummoningSickTapper();
    return TapResult::Done;
}

// The untap step: each tapped card is untapped by a press, and the advice waits its reading time again.
TapResult TapInUntapStep(CardActor* card)
{
    if (!GetCardMoveState().untapPromptUp)
        return TapResult::Done;
    if (IsAdviceBlocked())
        return TapResult::GoOn;
    if (card->GetOwner() == PLAYER_HUMAN && card->GetTapState() == TAP_TAPPED) {
        PlayEffect(SOUND_TAP, 255, 0, 0, 0, nullptr);
        card->SetTapState(TAP_READY);
        const LanguageManager* const languages = GetLanguageManager();
        SetAdviceDelay(GetAdviceDelayForLanguage(languages != nullptr ? languages->GetLanguageId() : 1));
        StampLessonTime();
        return TapResult::Done;
    }
    if (card->GetOwner() == PLAYER_HUMAN && card->GetTapState() != TAP_OFF_TABLE && !card->IsHeld() &&
        !card->IsInLibrary()) {
        ShowSkippedUntapError();
        return TapResult::Done;
    }
    return TapResult::GoOn;
}

TapResult TapInDrawStep(const CardActor* card)
{
    if (IsHumanAllowedToAct() || card->GetOwner() != PLAYER_HUMAN || card->IsLand() || card->IsInLibrary() ||
        card->IsHeld() || card == GetCardBeingPaid())
        return TapResult::GoOn;
    return ShowSkippedDrawError() ? TapResult::Done : TapResult::GoOn;
}

// A creature that may not attack is refused once; the turn advice explains why.
void TapWhileDeclaringAttackers(CardActor* card)
{
    if (s_AttackStep != 0 && s_AttackStep != 1)
        return;
    if (IsLessonBoxShowing() && GetLessonBox()->GetKindNumber() != KIND_ATTACK_PROMPT)
        return;
    if (GetRefusedAttacker() != nullptr || card->GetOwner() != PLAYER_HUMAN || card->GetCardType() != CT_CREATURE)
        return;
    if (card->GetTapState() != TAP_NEW && !card->GetStats().cannotAttack)
        return;
    SetRefusedAttacker(card);
    if (GetLessonBox() != nullptr) {
        if (IsLessonBoxShowing())
            GetGameDisplay()->UnregisterWindow(GetLessonBox());
        DeleteLessonBox();
    }
}

TapResult TapInHumanStep(CardActor* card)
{
    if (!s_HumanTurn)
        return TapResult::GoOn;
    switch (StateOf(GetHumanPlayerActor())) {
    case STATE_UNTAP:
        return TapInUntapStep(card);
    case STATE_DRAW:
        return TapInDrawStep(card);
    case STATE_DECLARE_ATTACKERS:
        TapWhileDeclaringAttackers(card);
        return TapResult::GoOn;
    default:
        return TapResult::GoOn;
    }
}

bool IsOnTable(const CardActor* card)
{
    return !card->IsHeld() && !card->IsInLibrary();
}

bool MayPickUp(const CardActor* card)
{
    if (card->IsDragging() || card->GetOwner() != PLAYER_HUMAN)
        return false;
    const bool damageStep = StateOf(GetHumanPlayerActor()) == STATE_COMBAT_DAMAGE ||
                            StateOf(GetCpuPlayerActor()) == STATE_COMBAT_DAMAGE;
    if (damageStep && IsOnTable(card) && !IsCardInCombatSet(card) && !IsCardPendingForOwner(card))
        return false;
    if (card == GetCardMoveState().survivingCreature || GetTableFlow().currentCard != nullptr ||
        GetRefusedAttacker() != nullptr)
        return false;
    const CardActor* const pendings[] = {GetUnaffordableCard(), GetCardBeingPaid(), GetMistimedCard(),
                                         GetTableFlow().cardDrawnByHand};
    for (const CardActor* pending : pendings)
        if (pending != nullptr && pending != card)
            return false;
    const bool landOnTable = IsOnTable(card) && card->IsLand() && !card->IsExitMoveBackward();
    if (!IsAdviceBlocked() && !landOnTable)
        return true;
    return IsPendingCard(card);
}

void PickUp(CardActor* card)
{
    card->BeginDrag(MouseState.x, MouseState.y);
    int offsetX = 0;
    int offsetY = 0;
    card->GetDragOffset(offsetX, offsetY);
    card->m_Position.x = static_cast<float>(MouseState.x - offsetX);
    card->m_Position.y = static_cast<float>(MouseState.y - offsetY);
    if (card->IsInLibrary())
        GetCardMoveState().libraryDrag = true;
    const bool drawnAside = card == GetTableFlow().cardDrawnByHand && (card->m_Flags & ACTOR_FLAG_HOLD_POSITION) != 0;
    if (card == GetUnaffordableCard() || card == GetCardBeingPaid() || card == GetMistimedCard() ||
        card->IsInLibrary() || drawnAside)
        card->SetSortKey(SORT_KEY_LAST);
}

} // namespace

bool IsCardInCombatSet(const CardActor* card)
{
    return card != nullptr && GetPhysicalAdviceState().combatSet.count(card) != 0;
}

void HandleCardTapPhysical(CardActor* card)
{
    if (card == nullptr)
        return;
    if (IsOnlineLesson()) {
        SpellStack& stack = GetSpellStack();
        stack.m_PromptCard = stack.IsPaused() ? card : nullptr;
        return;
    }
    if (GetQuitWarningBox() != nullptr)
        return;
    if (IsAdviceBlocked() && !IsFlowCard(card))
        PlayStream(u"data\\sfx\\reject.wav");
    if (IsLessonBoxShowing() && GetLessonBox()->GetKindNumber() == KIND_ATTACK_ERROR)
        return;
    if (TapForAbility(card) == TapResult::Done)
        return;
    if (TapInHumanStep(card) == TapResult::Done)
        return;
    if (MayPickUp(card))
        PickUp(card);
}
