#include "rules/PendingCards.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/scene/Actor.h"
#include "gamestate/HandAnimationLists.h"
#include "gamestate/Intro.h"
#include "gamestate/LessonState.h"
#include "gamestate/TableFlowState.h"
#include "gui/DialogManager.h"
#include "rules/TableSelection.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int LESSON_EVENT_TIP = 0;
constexpr int LESSON_EVENT_HAND = 5;
constexpr int HUMAN_STATE_MAY_ACT = 21;

std::vector<CardActor*> s_Pending[2];
std::array<bool, CD_NUMBER_OF_CARD_DEFS> s_TipShown{};

// The learner's turn driver is casting a card, or an ability of the learner is being activated.
bool IsHumanCastingOrActivating()
{
    const TableSelection& selection = GetTableSelection();
    return GetTableFlow().castingCard != nullptr || selection.abilityStep != ABILITY_IDLE ||
           selection.pendingAbility != nullptr;
}

bool IsInSpecialSlot(const CardActor* card)
{
    const TableFlowState& flow = GetTableFlow();
    return std::find(flow.pendingSlots.begin(), flow.pendingSlots.end(), card) != flow.pendingSlots.end() ||
           flow.cardDrawnByHand == card;
}

int OwnerIndex(const CardActor* card)
{
    return card->GetOwner() == 1 ? 1 : 0;
}

template <class Test>
int CountMembers(int player, Test test)
{
    if (player != 0 && player != 1)
        return 0;
    return static_cast<int>(std::count_if(s_Pending[player].begin(), s_Pending[player].end(), [&](const CardActor* c) {
        return c->GetOwner() == player && c->IsExitMoveBackward() && test(*c);
    }));
}

} // namespace

void AddPendingCard(CardActor* card)
{
    if (card == nullptr || IsOnlineLesson())
        return;
    auto& set = s_Pending[OwnerIndex(card)];
    if (std::find(set.begin(), set.end(), card) == set.end())
        set.push_back(card);
}

bool RemovePendingCard(const CardActor* card)
{
    if (IsOnlineLesson())
        return true;
    bool found = false;
    for (auto& set : s_Pending)
        found = std::erase(set, card) != 0 || found;
    return found;
}

int CountPendingCards(int player)
{
    return player == 0 || player == 1 ? static_cast<int>(s_Pending[player].size()) : 0;
}

int CountPendingCreatures(int player)
{
    return CountMembers(player, [](const CardActor& c) { return c.GetCardType() == CT_CREATURE; });
}

int CountPendingPermanents(int player)
{
    return CountMembers(player, [](const CardActor& c) { return c.IsPermanentType(); });
}

int CountPendingNonPermanents(int player)
{
    return CountMembers(player, [](const CardActor& c) { return !c.IsPermanentType(); });
}

CardActor* FindPendingAuraOfLeavingHost(int player)
{
    if (player != 0 && player != 1)
        return nullptr;
    for (CardActor* const card : s_Pending[player]) {
        if (card->GetHost() != nullptr && card->GetHost()->IsExitMoveForward() && card->IsExitMoveBackward() &&
            card->GetOwner() == player)
            return card;
    }
    return nullptr;
}

CardActor* FindPendingSorcery()
{
    for (CardActor* const card : s_Pending[0]) {
        if (card->IsExitMoveBackward() && card->GetOwner() == 0 && card->GetCardType() == CT_SORCERY)
            return card;
    }
    return nullptr;
}

bool IsCardPendingForOwner(const CardActor* card)
{
    if (card == nullptr)
        return false;
    const auto& set = s_Pending[OwnerIndex(card)];
    return std::find(set.begin(), set.end(), card) != set.end();
}

void ClearPendingCards(int player)
{
    if (player == 0 || player == 1)
        s_Pending[player].clear();
}

std::vector<CardActor*> TakePendingCards(int player)
{
    if (player != 0 && player != 1)
        return {};
    std::vector<CardActor*> taken;
    taken.swap(s_Pending[player]);
    return taken;
}

void ClearPendingCards()
{
    s_Pending[0].clear();
    s_Pending[1].clear();
}

void NotifyCardHeldChanged(int side, CardActor* card)
{
    if (card == nullptr)
        return;
    if (side == 0) {
        // A paid spell is announced by the payment itself; cards in the lesson's special slots are its own.
        if (!IsHumanCastingOrActivating() && !IsInSpecialSlot(card))
            PostDialogEvent(LESSON_EVENT_HAND, card);
        return;
    }
    if (!IsOnlineLesson() && IsIntroFinished()) {
        // The acting hand takes the card out of the CPU's hand and announces it where it lands.
        std::vector<CardActor*>& played = GetCpuPlayedCards();
        if (std::find(played.begin(), played.end(), card) == played.end())
            played.push_back(card);
        card->m_Flags |= ACTOR_FLAG_AWAITING_HAND | ACTOR_FLAG_CPU_REVEALED | ACTOR_FLAG_HOLD_POSITION;
        return;
    }
    ShowFirstAppearanceTip(card);
    PostDialogEvent(LESSON_EVENT_HAND, card);
}

void ShowFirstAppearanceTip(CardActor* card)
{
    if (card == nullptr || !IsIntroFinished() || card->GetExitMove() == 1 || card->GetExitMove() == 2)
        return;
    const int id = card->GetId();
    if (id < 0 || id >= CD_NUMBER_OF_CARD_DEFS || s_TipShown[static_cast<std::size_t>(id)])
        return;
    s_TipShown[static_cast<std::size_t>(id)] = true;
    PostDialogEvent(LESSON_EVENT_TIP, card);
}

void ClearFirstAppearanceTips()
{
    s_TipShown.fill(false);
}

bool IsHumanAllowedToAct()
{
    // Before the intro has finished the learner may move cards only while its gate allows it.
    if (!IsIntroFinished())
        return IntroGate18();
    const Actor* const human = FindActorByName(u"player");
    if (human == nullptr)
        return false;
    return human->GetState() == HUMAN_STATE_MAY_ACT || GetCanPlayNowFlag() != 0;
}

bool CompareHandCards(const CardActor* a, const CardActor* b)
{
    if (a->GetSortKey() != b->GetSortKey())
        return a->GetSortKey() < b->GetSortKey();
    return a->GetSerial() < b->GetSerial();
}
