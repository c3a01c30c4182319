#include "rules/BoardQueries.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "cards/CardWindows.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/PlayerActors.h"
#include "platform/Platform.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <algorithm>
#include <array>

namespace {

constexpr int CARD_BRAILMEL = CD_BRAILMEL;
constexpr int CARD_SELEVMAR = CD_SELEVMAR;
constexpr int CARD_LUMARTON = CD_LUMARTON;
constexpr int HUMAN_STATE_GAME_OVER = 22;

std::vector<BlockLink> s_BlockLinks;
std::array<CardActor*, LIBRARY_ACTOR_CAPACITY> s_LibraryActors{};
CardActor* s_CardBeingDrawn = nullptr;
int s_LibraryActorIndex = 0;

bool IsCreature(const CardActor& card)
{
    return card.GetCardType() == CT_CREATURE;
}

bool IsSick(const CardActor& card)
{
    return card.IsSummoningSick();
}

// The strongest by the first strictly greater power from 0: ties keep the first, a result has power 1 or more.
template <class Test>
CardActor* FindStrongest(Test test)
{
    CardActor* best = nullptr;
    int bestPower = 0;
    for (CardActor* const card : GetCardActors()) {
        if (test(*card) && card->GetStats().power > bestPower) {
            best = card;
            bestPower = card->GetStats().power;
        }
    }
    return best;
}

template <class Test>
int CountCards(Test test)
{
    int count = 0;
    for (const CardActor* const card : GetCardActors()) {
        if (test(*card))
            ++count;
    }
    return count;
}

void ClearBlockingLinks()
{
    for (CardActor* const card : GetCardActors()) {
        if (card->GetBlockedAttacker() != nullptr) {
            RemoveBlockLink(card);
            card->SetBlockedAttacker(nullptr);
        }
    }
}

void ClearAttacking()
{
    for (CardActor* const card : GetCardActors())
        card->SetAttacking(false);
}

} // namespace

std::vector<CardActor*> GetCardActors()
{
    std::vector<CardActor*> cards;
    const int count = GetActorCount();
    cards.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (CardActor* const card = AsCardActor(GetActorAt(i)))
            cards.push_back(card);
    }
    return cards;
}

bool SharesColour(const CardActor& card, const ManaCost& colours)
{
    const ManaCost& cost = *card.GetManaCounters();
    return (cost.red != 0 && colours.red != 0) || (cost.green != 0 && colours.green != 0) ||
           (cost.blue != 0 && colours.blue != 0) || (cost.black != 0 && colours.black != 0) ||
           (cost.white != 0 && colours.white != 0);
}

int CountTappedLandsAndCreatures(int player, int* lands, int* creatures)
{
    int landCount = 0;
    int creatureCount = 0;
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetOwner() != player || card->GetTapState() != TAP_TAPPED || !card->IsNotLeaving())
            continue;
        if (card->GetCardType() == CT_LAND)
            ++landCount;
        else if (IsCreature(*card))
            ++creatureCount;
    }
    if (lands != nullptr)
        *lands = landCount;
    if (creatures != nullptr)
        *creatures = creatureCount;
    return landCount + creatureCount;
}

bool HumanHasLandInHand()
{
    return CountCards([](const CardActor& c) {
               return c.GetOwner() == PLAYER_HUMAN && c.IsHeld() && c.IsLand() && c.IsNotLeaving();
           }) != 0;
}

int CountLandsInHand(int player)
{
    return CountCards([player](const CardActor& c) { return c.IsHeld() && c.IsLand() && c.GetOwner() == player; });
}

int CountCpuHandCards()
{
    return CountCards([](const CardActor& c) { return c.GetOwner() == PLAYER_CPU && c.IsHeld() && c.IsNotLeaving(); });
}

int CountAttackingCreatures(int player)
{
    return CountCards(
        [player](const CardActor& c) { return c.GetOwner() == player && c.IsAttacking() && !c.IsHeldOrLeaving(); });
}

int CountAttackingFlyers(int player)
{
    return CountCards([player](const CardActor& c) {
        return c.GetOwner() == player && c.IsAttacking() && !c.IsHeldOrLeaving() && c.GetStats().flying;
    });
}

int CountBlockersOfPlayer(int player)
{
    return CountCards([player](const CardActor& c) {
        return c.GetOwner() == player && c.GetBlockedAttacker() != nullptr && !c.IsHeldOrLeaving();
    });
}

int CountUntappedCreatures(int player)
{
    return CountCards([player](const CardActor& c) {
        return c.GetOwner() == player && IsCreature(c) && !c.IsHeld() && !IsSick(c) &&
               c.GetTapState() != TAP_TAPPED && c.IsNotLeaving();
    });
}

int CountCreaturesReadyToAttack(int player)
{
    return CountCards([player](const CardActor& c) {
        return c.GetOwner() == player && IsCreature(c) && !c.IsHeld() && !IsSick(c) &&
               c.GetTapState() == TAP_READY && !c.GetStats().cannotAttack && c.IsNotLeaving();
    });
}

int CountCreaturesSharingColour(int player, const ManaCost& colours)
{
    return CountCards([player, &colours](const CardActor& c) {
        if (c.GetOwner() != player || !IsCreature(c) || !c.IsNotLeaving() || IsSick(c) || c.IsHeld())
            return false;
        return SharesColour(c, colours) || (c.GetSubType() == ARTIFACT_CREATURE && colours.generic != 0);
    });
}

int CountCardsPayableWith(int player, const ManaCost& colours)
{
    return CountCards([player, &colours](const CardActor& c) {
        return c.CanAct() && c.IsLand() && c.GetOwner() == player && SharesColour(c, colours);
    });
}

CardActor* FindLandForCost(int player, const ManaCost& cost)
{
    const std::vector<CardActor*> cards = GetCardActors();
    for (auto it = cards.rbegin(); it != cards.rend(); ++it) {
        CardActor* const card = *it;
        if (card->CanAct() && card->IsLand() && card->GetOwner() == player &&
            KeepCoveredColours(*card->GetManaCounters(), cost).Total() != 0)
            return card;
    }
    return nullptr;
}

int CountArtifactLikeCards(int player)
{
    return CountCards([player](const CardActor& c) {
        return !c.IsHeld() && !IsSick(c) && c.IsNotLeaving() && c.GetOwner() == player &&
               (c.GetCardType() == CT_ARTIFACT || c.GetSubType() == ARTIFACT_CREATURE);
    });
}

int CountEnchantmentsInPlay(int player)
{
    return CountCards([player](const CardActor& c) {
        return !c.IsHeld() && !IsSick(c) && c.IsNotLeaving() && c.GetOwner() == player &&
               c.GetCardType() == CT_ENCHANT;
    });
}

CardActor* FindStrongestHumanAttacker()
{
    return FindStrongest([](const CardActor& c) {
        return c.GetOwner() == PLAYER_HUMAN && !c.IsHeld() && IsCreature(c) && c.IsNotLeaving() && c.IsAttacking() &&
               c.GetTapState() != TAP_NEW;
    });
}

CardActor* FindStrongestUntappedHumanCreature()
{
    return FindStrongest([](const CardActor& c) {
        return c.GetOwner() == PLAYER_HUMAN && !c.IsHeld() && IsCreature(c) && c.IsNotLeaving() && !IsSick(c) &&
               c.GetTapState() != TAP_TAPPED;
    });
}

CardActor* FindStrongestCreatureGoingToGraveyard(int player)
{
    return FindStrongest([player](const CardActor& c) {
        return c.GetOwner() == player && !c.IsHeld() && IsCreature(c) && c.IsExitMoveForward();
    });
}

int CountBrailmelAuras(const CardActor* card)
{
    if (card == nullptr)
        return 0;
    int count = 0;
    for (int slot = 0; slot < CARD_SLOT_COUNT; ++slot) {
        const CardActor* const aura = card->GetAttachment(slot);
        if (aura != nullptr && aura->GetId() == CARD_BRAILMEL && aura->IsNotLeaving())
            ++count;
    }
    return count;
}

bool HasSelevmarAttached(const CardActor* card)
{
    if (card == nullptr)
        return false;
    for (int slot = 0; slot < CARD_SLOT_COUNT; ++slot) {
        const CardActor* const aura = card->GetAttachment(slot);
        if (aura != nullptr && aura->GetId() == CARD_SELEVMAR)
            return true;
    }
    return false;
}

bool IsAnyCardMoving()
{
    const Actor* const human = GetHumanPlayerActor();
    if (human == nullptr || GetCpuPlayerActor() == nullptr)
        return false;
    const bool gameOver = human->GetState() == HUMAN_STATE_GAME_OVER;
    for (const CardActor* const card : GetCardActors()) {
        if ((card->m_Flags & ACTOR_FLAG_SUSPENDED) != 0)
            continue;
        if (!gameOver && ((card->GetOwner() == PLAYER_HUMAN && card->IsHeld()) || card->GetCardType() == CT_ENCHANT))
            continue;
        if (card->GetId() == 0)
            continue;
        if (card->m_Position.x != card->m_TargetPoint.x || card->m_Position.y != card->m_TargetPoint.y)
            return true;
    }
    return false;
}

void UntapHumanCards()
{
    for (CardActor* const card : GetCardActors()) {
        if (card->GetOwner() == PLAYER_HUMAN && card->GetTapState() == TAP_TAPPED && card->IsNotLeaving() &&
            !card->IsHeld())
            card->SetTapState(TAP_READY);
        card->SetAttacking(false);
    }
}

bool HumanHasNoTappedCards()
{
    bool none = true;
    for (CardActor* const card : GetCardActors()) {
        if (card->GetOwner() == PLAYER_HUMAN && card->GetTapState() == TAP_TAPPED && card->IsNotLeaving())
            none = false;
    }
    ClearBlockingLinks();
    ClearAttacking();
    return none;
}

bool UntapCpuCards()
{
    ClearBlockingLinks();
    for (CardActor* const card : GetCardActors()) {
        if (card->GetOwner() == PLAYER_CPU && card->GetTapState() == TAP_TAPPED) {
            // Lumarton untaps only every second time; its own marker, so no other card loses Trample.
            if (card->GetId() == CARD_LUMARTON) {
                if (card->m_SkipNextUntap) {
                    card->m_SkipNextUntap = false;
                } else {
                    card->SetTapState(TAP_READY);
                    card->m_SkipNextUntap = true;
                }
            } else {
                card->SetTapState(TAP_READY);
            }
        }
        card->SetAttacking(false);
    }
    return true;
}

void ReadySickNonLands(int player)
{
    for (CardActor* const card : GetCardActors()) {
        if (card->GetOwner() == player && card->GetTapState() == TAP_NEW && !card->IsHeld() && !card->IsLand())
            card->SetTapState(TAP_READY);
    }
}

void PutLeavingCardsIntoGraveyard()
{
    for (CardActor* const card : GetCardActors()) {
        if (card->GetId() != 0 && card->IsExitMoveBackward())
            PutCardIntoGraveyard(card);
    }
}

void PutCardIntoGraveyard(CardActor* card)
{
    if (card == nullptr)
        return;
    card->SetExitMove(1);
    // Off the table: neither tapped nor untapped.
    card->SetTapState(TAP_OFF_TABLE);
    card->SetHost(nullptr);
    const int owner = card->GetOwner();
    if (GameDisplay* const display = GetGameDisplay()) {
        RasterRect pile;
        if (owner == PLAYER_HUMAN)
            display->GetPlayerGraveyardRect(pile, false);
        else
            display->GetOpponentGraveyardRect(pile, false);
        card->m_TargetPoint.x = static_cast<float>(pile.left);
        card->m_TargetPoint.y = static_cast<float>(pile.top);
    }
    if (PlayerState* const record = GetPlayerState(owner)) {
        const auto end = record->m_Graveyard.begin() + record->m_GraveyardCount;
        if (std::find(record->m_Graveyard.begin(), end, card) != end) {
            plat::OutputDebugStringA("PutCardIntoGraveyard: card already in the graveyard\n");
        } else if (record->m_GraveyardCount >= GRAVEYARD_CAPACITY) {
            plat::OutputDebugStringA("PutCardIntoGraveyard: graveyard full\n");
        } else {
            record->m_Graveyard[static_cast<std::size_t>(record->m_GraveyardCount++)] = card;
            RefillGraveyardDialog(owner);
        }
    }
    RemovePendingCard(card);
}

bool RemoveFromGraveyard(CardActor* card)
{
    if (card == nullptr)
        return false;
    PlayerState* const record = GetPlayerState(card->GetOwner());
    if (record == nullptr)
        return false;
    const auto begin = record->m_Graveyard.begin();
    const auto end = begin + record->m_GraveyardCount;
    const auto found = std::find(begin, end, card);
    if (found == end)
        return false;
    std::move(found + 1, record->m_Graveyard.end(), found);
    record->m_Graveyard.back() = nullptr;
    --record->m_GraveyardCount;
    RefillGraveyardDialog(card->GetOwner());
    return true;
}

namespace {

void PushAtChosenTarget(CardActor* card, bool ability)
{
    if (card == nullptr)
        return;
    Actor* const target = card->GetChosenTarget();
    CardActor* targetCard = nullptr;
    Actor* targetPlayer = nullptr;
    if (target != nullptr && (target == GetHumanPlayerActor() || target == GetCpuPlayerActor()))
        targetPlayer = target;
    else
        targetCard = AsCardActor(target);
    if (ability)
        GetSpellStack().ActivateAbility(card, targetCard, targetPlayer, true);
    else
        GetSpellStack().CastSpell(card, targetCard, targetPlayer, true, false);
}

} // namespace

void CastCardAtChosenTarget(CardActor* card)
{
    PushAtChosenTarget(card, false);
}

void ActivateAtChosenTarget(CardActor* card)
{
    PushAtChosenTarget(card, true);
}

void AddBlockLink(CardActor* blocker)
{
    if (blocker != nullptr)
        s_BlockLinks.push_back(BlockLink{blocker});
}

void RemoveBlockLink(const CardActor* blocker)
{
    const auto found =
        std::find_if(s_BlockLinks.begin(), s_BlockLinks.end(), [blocker](const BlockLink& l) { return l.blocker == blocker; });
    if (found != s_BlockLinks.end())
        s_BlockLinks.erase(found);
}

void ClearBlockLinkMap()
{
    s_BlockLinks.clear();
}

const std::vector<BlockLink>& GetBlockLinks()
{
    return s_BlockLinks;
}

void SetLibraryActor(int index, CardActor* card)
{
    if (index >= 0 && index < LIBRARY_ACTOR_CAPACITY)
        s_LibraryActors[static_cast<std::size_t>(index)] = card;
}

CardActor* GetLibraryActor(int index)
{
    return index >= 0 && index < LIBRARY_ACTOR_CAPACITY ? s_LibraryActors[static_cast<std::size_t>(index)] : nullptr;
}

void ClearLibraryActors()
{
    s_LibraryActors.fill(nullptr);
    s_CardBeingDrawn = nullptr;
    s_LibraryActorIndex = 0;
}

void ForgetLibraryActor(const Actor* actor)
{
    for (CardActor*& slot : s_LibraryActors) {
        if (slot == actor)
            slot = nullptr;
    }
    if (s_CardBeingDrawn == actor)
        s_CardBeingDrawn = nullptr;
}

CardActor* GetCardBeingDrawn()
{
    return s_CardBeingDrawn;
}

void SetCardBeingDrawn(CardActor* card)
{
    s_CardBeingDrawn = card;
}

void PopNextLibraryCard()
{
    if (s_CardBeingDrawn != nullptr || s_LibraryActorIndex >= LIBRARY_ACTOR_CAPACITY)
        return;
    CardActor* const next = s_LibraryActors[static_cast<std::size_t>(s_LibraryActorIndex)];
    if (next == nullptr)
        return;
    s_CardBeingDrawn = next;
    ++s_LibraryActorIndex;
}
