#include "lessons/PhysicalBlocks.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "cards/TableInput.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gui/ExplanatoryWindow.h"
#include "gui/GUI_TextButton.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"
#include "lessons/CardDrawing.h"
#include "lessons/DropTarget.h"
#include "lessons/LessonBox.h"
#include "lessons/TableFlow.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/PlayerState.h"
#include "rules/TableSelection.h"

namespace {

constexpr int BOX_BAD_BLOCKER = 33;
constexpr std::uint32_t BAD_BLOCKER_HIGHLIGHT = 1u << 29;

void ClearBadBlock()
{
    PhysicalBlockWords& words = GetPhysicalBlockWords();
    words.badBlockTarget = nullptr;
    words.offsetX = 0.0f;
    words.offsetY = 0.0f;
    SetBlockErrorCard(nullptr);
}

const char16_t* NameOf(const CardActor& card)
{
    const char16_t* const name = card.GetNameField();
    return name != nullptr ? name : u"";
}

std::u16string Text(const char16_t* key, const char16_t* name)
{
    const char16_t* const format = GetString(key);
    const std::u16string_view text = format != nullptr ? format : key;
    return name != nullptr ? FormatString(text, {name}) : std::u16string(text);
}

bool ConsumeClick()
{
    const bool clicked = MouseState.leftClicked != 0;
    MouseState.leftClicked = 0;
    return clicked;
}

bool IsCpuCreatureNotBlocking(const CardActor* card)
{
    return card != nullptr && card->GetOwner() == PLAYER_CPU && !card->IsHeld() &&
           card->GetCardType() == CT_CREATURE && card->GetBlockedAttacker() == nullptr;
}

bool HasLandwalkAgainstHuman(const CardActor& target)
{
    ManaCost colours = target.GetStats().walk;
    colours.generic = 0;
    return colours.HasColour() && CountCardsPayableWith(PLAYER_HUMAN, colours) > 0;
}

void ShowRefusal(const BlockRefusal& refusal, CardActor* blocker, CardActor* target)
{
    GameDisplay* const display = GetGameDisplay();
    const bool namesTarget = refusal.row == 2;
    const bool namesBlocker = refusal.row == 4;
    LessonBoxContent content;
    content.kind = BOX_BAD_BLOCKER;
    content.width = 200;
    content.height = 200;
    content.builtText = Text(refusal.key, namesTarget ? NameOf(*target) : namesBlocker ? NameOf(*blocker) : nullptr);
    content.buttons = {u"STR_OK"};
    content.explanationLink = refusal.explanationLink;
    ShowLessonBox(content);
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(refusal.voice, -1, true);
    int width = 0;
    int height = 0;
    if (display != nullptr)
        display->GetCardDrawSize(target, width, height, false);
    SetBlockErrorCard(blocker);
    PhysicalBlockWords& words = GetPhysicalBlockWords();
    words.badBlockTarget = target;
    words.offsetX = width > 0 ? (blocker->m_Position.x - target->m_Position.x) / static_cast<float>(width) : 0.0f;
    words.offsetY = height > 0 ? (blocker->m_Position.y - target->m_Position.y) / static_cast<float>(height) : 0.0f;
    blocker->m_Flags |= BAD_BLOCKER_HIGHLIGHT;
}

// Waits for the error box; once answered the blocker may be picked up again. A box taken away unanswered (deleted
// for a card-specific dialog or a busy life token, or reused for a clean-up request) ends the refusal too: the
// pair would otherwise stay and no block could be picked up again in this game.
void AnswerBadBlock()
{
    Messagebox* const box = GetShownLessonBox(BOX_BAD_BLOCKER);
    if (box != nullptr && box->GetAnswer() < 0) {
        // A pressed link opens its explanation and shows as read, as in the error box.
        const int link = box->GetPressedButton();
        if (link >= 0) {
            SetWindowColor(box->FindExtraWindowByTag(link), 0, 160, 224, 255);
            box->ClearPressedButton();
            box->OpenExplanation(link);
        }
        return;
    }
    if (box != nullptr)
        GetGameDisplay()->UnregisterWindow(box);
    if (CardActor* const blocker = GetBlockErrorCard())
        blocker->m_Flags &= ~BAD_BLOCKER_HIGHLIGHT;
    ClearBadBlock();
    GetPhysicalBlockWords().blockerInHand = nullptr;
}

// False when the frame ends here.
bool PickUpBlocker()
{
    if (s_HumanBlockStep == 2)
        return false;
    TableSelection& selection = GetTableSelection();
    selection.selectedCard = GetTableInput().pointedCard;
    CardActor* const card = selection.selectedCard;
    if (card == nullptr || card->GetOwner() != PLAYER_HUMAN || !card->CanAct() ||
        card->GetCardType() != CT_CREATURE || MouseState.leftClicked == 0 || GetBlockErrorCard() != nullptr)
        return true;
    ConsumeClick();
    GetPhysicalBlockWords().blockerInHand = card;
    card->m_Flags |= BAD_BLOCKER_HIGHLIGHT;
    card->BeginDrag(MouseState.x, MouseState.y);
    if (Messagebox* const box = GetShownLessonBox(BOX_BAD_BLOCKER))
        GetGameDisplay()->UnregisterWindow(box);
    return !RemoveBlockerAssignment(card);
}

// False when the frame ends here.
bool DropBlocker()
{
    CardActor* const blocker = GetPhysicalBlockWords().blockerInHand;
    CardActor* const target = GetDropTargetCard(blocker);
    if (blocker->IsDragging())
        GetTableSelection().selectedCard = target;
    blocker->m_Flags &= ~BAD_BLOCKER_HIGHLIGHT;
    if (!IsCpuCreatureNotBlocking(target)) {
        if (blocker->IsDragging())
            return true;
        if (blocker->GetBlockedAttacker() == nullptr) {
            GetPhysicalBlockWords().blockerInHand = nullptr;
            return false;
        }
        return true;
    }
    DrawCardGlow(target);
    if (blocker->IsDragging())
        return true;
    ConsumeClick();
    const BlockRefusal refusal = CheckPhysicalBlock(*blocker, *target);
    if (refusal.row != 0) {
        if (refusal.key != nullptr)
            ShowRefusal(refusal, blocker, target);
        GetPhysicalBlockWords().blockerInHand = nullptr;
        return false;
    }
    AssignBlocker(target, blocker);
    GetPhysicalBlockWords().blockerInHand = nullptr;
    return true;
}

} // namespace

BlockRefusal CheckPhysicalBlock(const CardActor& blocker, const CardActor& target)
{
    const CreatureStats& mine = blocker.GetStats();
    const CreatureStats& theirs = target.GetStats();
    if (blocker.GetTapState() == TAP_TAPPED)
        return {1, u"PHYSDLG_ERROR_BadBlockerTapped", u"vo_phys\\ERROR_BadBlockerTapped.wav"};
    if (!target.IsAttacking())
        return {2, u"PHYSDLG_ERROR_BadBlockerNotAttacking", u"vo_phys\\ERROR_BadBlockerNotAttacking.wav"};
    if (HasSelevmarAttached(&blocker))
        return {3, u"PHYSDLG_ERROR_BlockerWithSelevmar", u"vo_phys\\error_BlockerWithSelevmar.wav", 0};
    if (mine.hasCannotBlock)
        return {4, u"PHYSDLG_ERROR_BadBlockerCannotBlock", u"vo_phys\\ERROR_BadBlockerCantBlock.wav"};
    // Unblockable attackers are refused without a box, as the online driver and the CPU never block them.
    if (theirs.isUnblockable)
        return {10};
    if (theirs.flying && !mine.flying && !mine.flyBlock)
        return {5, u"PHYSDLG_ERROR_BlockingFliers", u"vo_phys\\Error_BlockingFlyers.wav", 3};
    if (theirs.hasFearAttack && !CanBlockFearAttacker(&blocker))
        return {6};
    if (target.GetId() == CD_QUELINVIN)
        return {7};
    if (!mine.flying && !mine.isWall && target.GetId() == CD_JAVUNGAST)
        return {8};
    if (HasLandwalkAgainstHuman(target))
        return {9};
    return {};
}

bool DeclarePhysicalBlocks()
{
    if (s_FirstBlockShown == 0) {
        s_FirstBlockShown = 1;
        return true;
    }
    if (GetBlockErrorCard() != nullptr) {
        AnswerBadBlock();
        return true;
    }
    if (GetPhysicalBlockWords().blockerInHand == nullptr)
        return !PickUpBlocker();
    return !DropBlocker();
}

CardActor* GetBadBlocker()
{
    return GetBlockErrorCard();
}

CardActor* GetBadBlockTarget()
{
    return GetPhysicalBlockWords().badBlockTarget;
}

CardActor* GetBlockerInHand()
{
    return GetPhysicalBlockWords().blockerInHand;
}

void ResetPhysicalBlocks()
{
    ClearBadBlock();
    GetPhysicalBlockWords().blockerInHand = nullptr;
}
