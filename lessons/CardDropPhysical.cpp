#include "lessons/CardDropPhysical.h"

#include "cards/CardActor.h"
#include "cards/CardPicking.h"
#include "cards/HandLayout.h"
#include "cards/TableInput.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/Wave.h"
#include "gamestate/CardMoveState.h"
#include "gamestate/Intro.h"
#include "gamestate/LessonState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gui/DialogManager.h"
#include "gui/Messagebox.h"
#include "gui/WordBalloon.h"
#include "lessons/CpuPhysicalTurn.h"
#include "lessons/LessonBox.h"
#include "lessons/PaymentAdvice.h"
#include "lessons/PlayChecks.h"
#include "lessons/UntapDrawPrompts.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/BoardSteps.h"
#include "rules/CombatDamage.h"
#include "rules/CpuPlayChoice.h"
#include "rules/ManaPool.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"
#include "rules/TableSelection.h"
#include "rules/TargetPrompt.h"
#include "rules/Usability.h"

#include <algorithm>

namespace {

constexpr int KIND_DRAW_PROMPT = 1;
constexpr int KIND_ABILITY_COST_ERROR = 12;
constexpr int KIND_LAND_ADVICE = 21;
constexpr int KIND_SACRIFICE_PROMPT = 55;
constexpr int KIND_LAND_REMINDER = 45;
constexpr int STATE_UNTAP = 1;
constexpr int STATE_DRAW = 2;
constexpr int STATE_MAIN = 5;
constexpr int STATE_END_OF_TURN = 16;
constexpr int HAND_LIMIT = 7;
constexpr int SIDE_PANEL_ZONE = 14;
constexpr int HAND_LEFT_ZONE = 9;
constexpr int SOUND_CARD_DOWN = 21;
// Less than this after the last draw, a card pulled off the pile is a second draw rather than a mistimed one.
constexpr std::uint32_t EXTRA_DRAW_MS = 2000;
constexpr std::uint32_t DRAW_PREVIEW_MS = 500;
constexpr int NON_TRAMPLE_LIMIT = 2;

// Which zones the dropped card's rectangle meets.
struct DropZones {
    bool hand = false;
    bool library = false;
    bool graveyard = false;
    bool playArea = false;
};

bool Meets(const RasterRect& a, const RasterRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

DropZones ZonesOf(const CardActor* card)
{
    DropZones zones;
    const GameDisplay* const display = GetGameDisplay();
    if (display == nullptr)
        return zones;
    RasterRect cardRect;
    display->GetCardRect(card, cardRect, false);
    const RasterRect hand{display->GetZoneRectByIndex(HAND_LEFT_ZONE).left, display->m_HandSlots[0].y, s_ClientWidth,
                          s_ClientHeight};
    RasterRect library;
    display->GetPlayerLibraryRect(library, true);
    RasterRect graveyard;
    display->GetPlayerGraveyardRect(graveyard, true);
    RasterRect playArea;
    display->GetPlayAreaRect(playArea);
    zones.hand = Meets(cardRect, hand);
    zones.library = Meets(cardRect, library);
    zones.graveyard = Meets(cardRect, graveyard);
    zones.playArea = Meets(cardRect, playArea);
    return zones;
}

void StopVoices()
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->StopVoices();
}

void Speak(const char16_t* clip)
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(clip, -1, true);
}

bool IsKindShown(int kind)
{
    return GetShownLessonBox(kind) != nullptr;
}

void CloseLessonBoxOfKind(int kind)
{
    if (IsKindShown(kind))
        CloseLessonBox();
}

// Takes the box off the display without deleting it, and stops what it says.
void UnregisterLessonBoxOfKind(int kind)
{
    if (Messagebox* const box = GetShownLessonBox(kind)) {
        GetGameDisplay()->UnregisterWindow(box);
        StopVoices();
    }
}

void SetHoldPosition(CardActor* card, bool hold)
{
    if (hold)
        card->m_Flags |= ACTOR_FLAG_HOLD_POSITION;
    else
        card->m_Flags &= ~ACTOR_FLAG_HOLD_POSITION;
}

// The card stays where it lies, its place kept inside the table; jump moves it there at once.
void LeaveOnTable(CardActor* card, bool jump)
{
    card->m_TargetPoint = card->m_Position;
    ClampCardActorToTable(card, jump);
}

void ClearCardBeingPaid()
{
    if (GetCardBeingPaid() == nullptr)
        return;
    SetCardBeingPaid(nullptr);
    StopVoices();
}

Messagebox* ShowBox(int kind, int width, int height, const char16_t* key, const CardActor* avoid)
{
    LessonBoxContent content;
    content.kind = kind;
    content.width = width;
    content.height = height;
    content.textKey = key;
    content.placing = LessonBoxPlacing::OnlyNew;
    content.avoidCard = avoid;
    return ShowLessonBox(content);
}

Messagebox* ShowBuiltBox(int kind, int width, int height, std::u16string text)
{
    LessonBoxContent content;
    content.kind = kind;
    content.width = width;
    content.height = height;
    content.builtText = std::move(text);
    content.buttons = {u"STR_OK"};
    content.placing = LessonBoxPlacing::OnlyNew;
    return ShowLessonBox(content);
}

std::u16string_view TextOf(const char16_t* key)
{
    const char16_t* const text = GetString(key);
    return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

// The sort key that puts the card before the first card of the hand lying at or right of it.
int HandSortKey(const CardActor* card, bool onHand)
{
    if (!onHand)
        return SORT_KEY_LAST;
    const std::vector<CardActor*>& hand = GetTableInput().handList;
    int slots = 0;
    for (const CardActor* other : hand)
        if (other != card)
            ++slots;
    const GameDisplay* const display = GetGameDisplay();
    int slot = 0;
    while (slot < slots && slot < HAND_SLOT_COUNT &&
           static_cast<float>(display->m_HandSlots[static_cast<std::size_t>(slot)].x) < card->m_Position.x)
        ++slot;
    return slot * 4 - 2;
}

void RecordDraw()
{
    GetCardMoveState().lastDrawTime = plat::TimeGetTime();
}

void TakeIntoHand(CardActor* card, int sortKey)
{
    card->SetInLibrary(false);
    card->SetHeld(true);
    card->SetSortKey(sortKey);
    SetHoldPosition(card, false);
}

// The card lies where the mouse let it go and glides back onto the library pile.
void ReturnToPile(CardActor* card)
{
    int offsetX = 0;
    int offsetY = 0;
    card->GetDragOffset(offsetX, offsetY);
    card->m_Position.x = static_cast<float>(MouseState.x - offsetX);
    card->m_Position.y = static_cast<float>(MouseState.y - offsetY);
    RasterRect pile;
    GetGameDisplay()->GetPlayerLibraryRect(pile, true);
    card->m_TargetPoint.x = static_cast<float>(pile.left);
    card->m_TargetPoint.y = static_cast<float>(pile.top);
}

// The card back lifted off the bare pile when no draw was due: a second draw, or a draw at the wrong moment.
void ShowBadDrawError()
{
    if (!IsKindShown(KIND_BAD_DRAW)) {
        const bool soon = plat::TimeGetTime() - GetCardMoveState().lastDrawTime < EXTRA_DRAW_MS;
        // The error comes in a new box at the advice position.
        CloseLessonBox();
        DeleteLessonBox();
        ShowBox(KIND_BAD_DRAW, 200, 200, soon ? u"PHYSDLG_Error_BadDrawTooMany1" : u"PHYSDLG_Error_BadDrawTooMany2",
                nullptr);
        Speak(soon ? u"vo_phys\\error_BadDraw_extra.wav" : u"vo_phys\\error_BadDraw_mistime.wav");
    }
    if (WordBalloon* const balloon = GetCpuTurnBalloon()) {
        GameDisplay* const display = GetGameDisplay();
        if (display->IsWindowRegistered(balloon) && !IsProtectedAdviceWindow(balloon))
            display->UnregisterWindow(balloon);
    }
    HideCurrentDialog();
    CloseTargetPrompt();
}

// The card back of a draw that was not due. It took no card off the library, so letting it go undoes nothing but
// the prop; anywhere but back on the pile it earns the bad-draw error first.
bool DropExtraDraw(CardActor* card, const DropZones& zones)
{
    TableFlowState& flow = GetTableFlow();
    if (card != flow.cardDrawnByHand || card->GetId() != 0)
        return false;
    if (!(zones.library && !zones.hand))
        ShowBadDrawError();
    else
        UnregisterLessonBoxOfKind(KIND_BAD_DRAW);
    SetHoldPosition(card, false);
    flow.cardDrawnByHand = nullptr;
    flow.pendingRemovals.push_back(card);
    return true;
}

// The turn's drawn card let go: into the hand is the draw, back on the pile it waits there again, anywhere else it
// lies on the table until the learner takes it into the hand.
bool DropDrawnCard(CardActor* card, const DropZones& zones)
{
    TableFlowState& flow = GetTableFlow();
    if (card != flow.cardDrawnByHand)
        return false;
    if (zones.hand) {
        CloseLessonBoxOfKind(KIND_DRAW_PROMPT);
        flow.cardDrawnByHand = nullptr;
        TakeIntoHand(card, HandSortKey(card, true));
        RecordDraw();
        if (IsLessonBoxShowing() && GetLessonBox()->GetKindNumber() != KIND_BAD_DRAW)
            CloseLessonBox();
        RequestCardPreview(card, DRAW_PREVIEW_MS);
        return true;
    }
    // With another card already lying on the table, this one goes back to the pile rather than join it.
    if (zones.library || GetCardBeingPaid() != nullptr) {
        ReturnToPile(card);
        SetHoldPosition(card, false);
        return true;
    }
    flow.cardDrawnByHand = nullptr;
    SetCardBeingPaid(card);
    card->SetHeld(false);
    LeaveOnTable(card, false);
    ShowBox(KIND_BAD_DRAW_PLACE, 300, 200, u"PHYSDLG_Error_BadDrawWrongPlace", card);
    Speak(u"vo_phys\\Error_BadDrawWrongPlace.wav");
    return true;
}

// A parked card (second land, unaffordable, misplaced or mistimed) taken back into the hand ends its error.
bool ReturnParkedCard(CardActor* card, int sortKey)
{
    struct ParkedWord {
        CardActor* (*get)();
        void (*set)(CardActor*);
    };
    const ParkedWord words[] = {{GetUnaffordableCard, SetUnaffordableCard},
                                {GetCardBeingPaid, SetCardBeingPaid},
                                {GetMistimedCard, SetMistimedCard}};
    const auto parked = std::find_if(std::begin(words), std::end(words),
                                     [card](const ParkedWord& word) { return word.get() == card; });
    if (parked == std::end(words))
        return false;
    if (card == GetCardBeingPaid()) {
        CloseLessonBoxOfKind(KIND_BAD_DRAW_PLACE);
        RecordDraw();
    }
    TakeIntoHand(card, sortKey);
    parked->set(nullptr);
    StopVoices();
    if (IsLessonBoxShowing() && GetLessonBox()->GetKindNumber() != KIND_BAD_DRAW)
        CloseLessonBox();
    return true;
}

// Cards the table holds apart: the hand, the library and the parked cards. True when the drop was dealt with.
bool DropBusyCard(CardActor* card, const DropZones& zones)
{
    MouseState.leftClicked = 0;
    const int sortKey = HandSortKey(card, zones.hand);
    if (zones.hand) {
        if (ReturnParkedCard(card, sortKey))
            return true;
        if (card->IsInLibrary()) {
            CloseLessonBoxOfKind(KIND_DRAW_PROMPT);
            RecordDraw();
        }
        TakeIntoHand(card, sortKey);
        RequestCardPreview(card, DRAW_PREVIEW_MS);
        return true;
    }
    if (!card->IsInLibrary() || GetCardBeingPaid() != nullptr)
        return false;
    if (!zones.library) {
        SetCardBeingPaid(card);
        card->SetHeld(false);
        LeaveOnTable(card, false);
        ShowBox(KIND_BAD_DRAW_PLACE, 300, 200, u"PHYSDLG_Error_BadDrawWrongPlace", card);
        Speak(u"vo_phys\\Error_BadDrawWrongPlace.wav");
        return true;
    }
    card->SetInLibrary(true);
    ReturnToPile(card);
    return true;
}

bool IsParkedCard(const CardActor* card)
{
    return card == GetUnaffordableCard() || card == GetCardBeingPaid() || card == GetMistimedCard();
}

// A resolving spell waits for the learner to discard: the card put on the graveyard is the one chosen.
bool DropDiscardChoice(CardActor* card, const DropZones& zones)
{
    SpellStack& stack = GetSpellStack();
    if (!stack.m_ResolutionPaused || stack.m_PausedWord == 0)
        return false;
    const EffectSpec* const effect = stack.GetResolvingEffect();
    if (effect == nullptr || effect->effectType != EFFECT_DRAWDISCARD || effect->discardAmt == 0 ||
        IsParkedCard(card) || !zones.graveyard)
        return false;
    stack.m_PromptCard = card;
    return true;
}

std::u16string DamageText(const char16_t* key, const CardActor* creature, int damage, bool withWord)
{
    const char16_t* const name = creature->GetNameField();
    const std::u16string toughness = IntToWString(creature->GetStats().toughness);
    const std::u16string amount = IntToWString(damage);
    const char16_t* const word = GetPluralString(u"STR_damage", damage);
    return FormatString(TextOf(key), {name != nullptr ? name : u"", toughness, amount,
                                      withWord && word != nullptr ? word : u""});
}

// A creature that took more damage than its toughness: the excess is lost without trample, said at most twice.
void ExplainLostDamage()
{
    const CardMoveState& moves = GetCardMoveState();
    const CardActor* const creature = moves.damageBoxCreature;
    const int told = GetNonTrampleExplained();
    if (!IsKindShown(KIND_COMBAT_DAMAGE) || told >= NON_TRAMPLE_LIMIT || creature == nullptr ||
        creature->GetStats().toughness >= moves.damageBoxAmount)
        return;
    const bool first = told == 0;
    Messagebox* const box = GetLessonBox();
    box->Reset();
    box->SetKind(KIND_LOST_DAMAGE);
    box->CopyText(DamageText(first ? u"PHYSDLG_BASIC_NONTRAMPLE1" : u"PHYSDLG_BASIC_NONTRAMPLE2", creature,
                             moves.damageBoxAmount, false));
    box->CreateButtons(0);
    box->AutoSize();
    Speak(first ? u"vo_phys\\basic_nontrample1.wav" : u"vo_phys\\basic_nontrample2.wav");
    CountNonTrampleExplained();
}

// Dead creatures and discards go to the graveyard by hand; a creature that survived its fight may not.
bool DropForGraveyard(CardActor* card, const DropZones& zones)
{
    const bool damageBox = IsKindShown(KIND_COMBAT_DAMAGE);
    if ((CountPendingCards(PLAYER_HUMAN) == 0 && !damageBox) || card->GetOwner() != PLAYER_HUMAN || !zones.graveyard)
        return false;
    if (IsCardPendingForOwner(card)) {
        PutCardIntoGraveyard(card);
        if (IsLessonBoxShowing())
            StopVoices();
        if (card == g_CounteredCard)
            g_CounteredCard = nullptr;
        else
            ExplainLostDamage();
        return true;
    }
    if (!damageBox)
        return false;
    CardMoveState& moves = GetCardMoveState();
    if (card->CanAct() && card == moves.damageBoxCreature) {
        const int damage = moves.damageBoxAmount;
        ShowBuiltBox(KIND_COMBAT_DAMAGE, 300, 200,
                     DamageText(u"PHYSDLG_BASIC_1ON1_ERROR_CreatureSurvives", card, damage, true));
        SetHoldPosition(card, true);
        moves.survivingCreature = card;
        Speak(u"vo_phys\\BASIC_1ON1_ERROR_CreatureSurvives.wav");
    }
    return true;
}

// The sacrifice an ability asks for is made by putting its card into the graveyard.
bool DropSacrifice(CardActor* card, const DropZones& zones)
{
    const TableSelection& selection = GetTableSelection();
    const Messagebox* const box = GetLessonBox();
    if (selection.abilityStep != ABILITY_ACTIVATE || box == nullptr ||
        box->GetKindNumber() != KIND_SACRIFICE_PROMPT || selection.pendingAbility != card || !zones.graveyard)
        return false;
    StopVoices();
    card->LeavePlay(LEAVE_SACRIFICE);
    return true;
}

int HumanState()
{
    const Actor* const human = GetHumanPlayerActor();
    return human != nullptr ? human->GetState() : -1;
}

// Moving cards in the draw step before the draw is the skipped-draw error.
bool ShowDrawStepError(const CardActor* card)
{
    if (!s_HumanTurn || HumanState() != STATE_DRAW || IsHumanAllowedToAct() || card == GetCardBeingPaid())
        return false;
    return ShowSkippedDrawError();
}

// An instant may be played whenever a play may start, in answer too: it goes into payment.
bool DropInstant(CardActor* card)
{
    CardActor* const beingPaid = GetCardBeingPaid();
    if (card->GetCardType() != CT_INSTANT || !CanStartPlaying() || (beingPaid != nullptr && beingPaid != card))
        return false;
    if (CheckDroppedCard(card)) {
        PlayEffect(SOUND_CARD_DOWN, 255, 0, 0, 0, nullptr);
        BeginPayment(card);
        if (beingPaid != nullptr) {
            ClearCardBeingPaid();
            UnregisterLessonBoxOfKind(KIND_PLAY_ERROR);
        }
    }
    return true;
}

bool IsCastPending()
{
    const TableSelection& selection = GetTableSelection();
    return GetTableFlow().castingCard != nullptr || selection.pendingSpell != nullptr ||
           selection.pendingAbility != nullptr || selection.abilityStep != ABILITY_IDLE;
}

void PlayLand(CardActor* card)
{
    MarkLandPlayed();
    card->SetHeld(false);
    card->SetTapState(TAP_READY);
    card->SetOwner(PLAYER_HUMAN);
    ClearCpuChoiceTable();
    GetTableFlow().castingCard = nullptr;
    PlayEffect(SOUND_CARD_DOWN, 255, 0, 0, 0, nullptr);
    ApplyStaticAbilities();
    CloseLessonBoxOfKind(KIND_LAND_REMINDER);
    CardMoveState& moves = GetCardMoveState();
    if (s_HumanTurnCount > 1)
        ++moves.laterTurnLands;
    if (GetCardBeingPaid() != nullptr) {
        ClearCardBeingPaid();
        CloseLessonBox();
    }
    moves.adviceCounters.fill(0);
    UnregisterLessonBoxOfKind(KIND_LAND_ADVICE);
}

void RefuseSecondLand(CardActor* card)
{
    SetUnaffordableCard(card);
    card->SetHeld(false);
    ShowBox(KIND_PLAY_ERROR, 240, 160, u"PRE_PHYS_Error_PlaySecondLand", card);
    ClearCardBeingPaid();
    Speak(u"vo_phys\\Error_PlaySecondLand.wav");
}

void RefuseLandPlace(CardActor* card)
{
    SetCardBeingPaid(card);
    card->SetHeld(false);
    LeaveOnTable(card, false);
    const int width = GetGameDisplay()->GetZoneRectByIndex(SIDE_PANEL_ZONE).Width();
    ShowBox(KIND_PLAY_ERROR, width, 200, u"PHYS_Error_LandInWrongPlace", card);
    Speak(u"vo_phys\\Error_LandInWrongPlace.wav");
}

enum class MainPhaseDrop { Done, Spell, LastChecks };

// A land of the main phase: the first of the turn onto the play area is played, a second is refused, a first one
// beside the play area waits where it lies.
MainPhaseDrop DropLand(CardActor* card, const DropZones& zones)
{
    const SpellStack& stack = GetSpellStack();
    if (GetPlayerState(PLAYER_HUMAN)->m_CardsToDraw > 0 || stack.m_ResolutionPaused || stack.m_PausedWord != 0)
        return MainPhaseDrop::LastChecks;
    if (IsKindShown(KIND_SKIPPED_DRAW))
        return MainPhaseDrop::Done;
    CardActor* const beingPaid = GetCardBeingPaid();
    if (GetUnaffordableCard() != nullptr || (beingPaid != nullptr && beingPaid != card))
        return MainPhaseDrop::LastChecks;
    const bool land = card->GetCardType() == CT_LAND && (card->IsHeld() || card == beingPaid) && !card->IsInLibrary();
    if (IsCastPending() || !land)
        return MainPhaseDrop::Spell;
    if (zones.playArea || IsLandPlayedThisTurn()) {
        if (!IsLandPlayedThisTurn())
            PlayLand(card);
        else
            RefuseSecondLand(card);
        return MainPhaseDrop::Done;
    }
    if (beingPaid != nullptr)
        return MainPhaseDrop::LastChecks;
    RefuseLandPlace(card);
    return MainPhaseDrop::Done;
}

// A spell that passed its checks: an instant is paid at once, any other card is cast by the turn driver, which
// asks for a target first when the card needs one.
MainPhaseDrop DropSpell(CardActor* card)
{
    if (!CheckDroppedCard(card))
        return MainPhaseDrop::LastChecks;
    const bool wasBeingPaid = GetCardBeingPaid() != nullptr;
    if (card->GetCardType() == CT_INSTANT) {
        BeginPayment(card);
    } else {
        TableFlowState& flow = GetTableFlow();
        flow.castingCard = card;
        GetPaymentState().outstanding = ManaCost();
        ClearCpuChoiceTable();
        card->SetHeld(false);
        ClearCardBeingPaid();
        UnregisterLessonBoxOfKind(KIND_PLAY_ERROR);
        const EffectSpec* const effect = card->GetSpellEffect();
        if (effect != nullptr && effect->needsTarget && card->GetChosenTarget() == nullptr)
            return MainPhaseDrop::Done;
        GetPaymentState().paying = true;
        if (!ShowSpellPaymentBox(card, CheckManaPaymentPhysical(*card, false), 1)) {
            FinishPayment(card);
            flow.castingCard = nullptr;
        }
        return MainPhaseDrop::Done;
    }
    if (wasBeingPaid) {
        ClearCardBeingPaid();
        UnregisterLessonBoxOfKind(KIND_PLAY_ERROR);
    }
    return MainPhaseDrop::Done;
}

// The end of turn with too many cards in the hand: a card dropped on the graveyard is discarded.
int CountHumanHand()
{
    int count = 0;
    for (int i = 0; i < GetActorCount(); ++i) {
        const CardActor* const card = AsCardActor(GetActorAt(i));
        if (card != nullptr && card->GetOwner() == PLAYER_HUMAN && card->IsHeld() && !card->IsInLibrary() &&
            card->IsNotLeaving())
            ++count;
    }
    return count;
}

bool DropDiscard(CardActor* card, const DropZones& zones)
{
    if (CountHumanHand() <= HAND_LIMIT || !card->IsHeld() || card->IsInLibrary() ||
        card->GetOwner() != PLAYER_HUMAN || !zones.graveyard)
        return false;
    PlayStream(u"data\\sfx\\discard.wav");
    card->LeavePlay(LEAVE_DISCARD);
    card->SetHeld(false);
    return true;
}

void RunLastChecks(CardActor* card)
{
    if (!IsIntroFinished())
        return;
    ShowMistimedPlayError(card);
    CheckDropToAttack(card);
}

bool IsOpponentCreatureUnder(const CardActor* card)
{
    const CardActor* const under = FindCardUnderCardEdge(card);
    return under != nullptr && under->GetOwner() == PLAYER_CPU && under->GetCardType() == CT_CREATURE &&
           under->CanAct();
}

} // namespace

bool IsDrawnCardInFlight()
{
    const CardActor* const drawn = GetTableFlow().cardDrawnByHand;
    return drawn != nullptr && drawn->IsDragging();
}

bool IsBlockPromptUp()
{
    return IsPhysicalLesson() && IsKindShown(KIND_DROP_TO_ATTACK);
}

bool CheckDropToAttack(CardActor* card)
{
    if (card == nullptr) {
        if (!IsBlockPromptUp())
            return false;
        if (GetLessonBox()->GetAnswer() >= 0) {
            CloseLessonBox();
            StopVoices();
        }
        return true;
    }
    if (IsLessonBoxShowing()) {
        const int kind = GetLessonBox()->GetKindNumber();
        if (kind == KIND_DROP_TO_ATTACK || kind == KIND_PLAY_ERROR)
            return false;
    }
    const TableSelection& selection = GetTableSelection();
    const SpellStack& stack = GetSpellStack();
    if (!s_HumanTurn || HumanState() != STATE_MAIN || card->GetOwner() != PLAYER_HUMAN ||
        card->GetCardType() != CT_CREATURE || !card->CanAct() || IsAdviceBlocked() || GetCanPlayNowFlag() != 0 ||
        selection.pendingAbility != nullptr || selection.abilityStep != ABILITY_IDLE || stack.m_ResolutionPaused ||
        stack.GetTopController() != 0 || IsTargetPromptOpen() || IsNormalDialogShown() || HasNormalDialogQueued() ||
        !IsOpponentCreatureUnder(card))
        return false;
    CloseLessonBox();
    const std::u16string text = FormatString(TextOf(u"PHYSDLG_ERROR_CantDropToAttack"),
                                             {card->GetNameField() != nullptr ? card->GetNameField() : u""});
    ShowBuiltBox(KIND_DROP_TO_ATTACK, 320, 200, text);
    Speak(u"vo_phys\\ERROR_CantDropToAttack.wav");
    return true;
}

void HandleCardDropPhysical(CardActor* card)
{
    if (card == nullptr)
        return;
    if (GetDraggedCard() == card)
        SetDraggedCard(nullptr);
    if (IsOnlineLesson())
        return;
    const DropZones zones = ZonesOf(card);
    if (DropExtraDraw(card, zones) || DropDrawnCard(card, zones))
        return;
    if (IsKindShown(KIND_ABILITY_COST_ERROR))
        return;
    if (IsCardBusy(card) && DropBusyCard(card, zones))
        return;
    if (IsDrawnCardInFlight() || IsPriorityDialogShown() || IsBlockPromptUp())
        return;
    if (DropDiscardChoice(card, zones) || DropForGraveyard(card, zones) || DropSacrifice(card, zones))
        return;
    if (ShowDrawStepError(card) || DropInstant(card))
        return;
    if (!IsHumanAllowedToAct()) {
        switch (HumanState()) {
        case STATE_UNTAP:
            if (GetCardMoveState().untapPromptUp)
                ShowSkippedUntapError();
            return;
        case STATE_END_OF_TURN:
            if (DropDiscard(card, zones))
                return;
            break;
        case STATE_MAIN: {
            MainPhaseDrop next = DropLand(card, zones);
            if (next == MainPhaseDrop::Spell)
                next = DropSpell(card);
            if (next == MainPhaseDrop::Done)
                return;
            break;
        }
        default:
            break;
        }
    }
    RunLastChecks(card);
}
