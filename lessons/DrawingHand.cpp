#include "lessons/DrawingHand.h"

#include "cards/CardActor.h"
#include "cards/LifeToken.h"
#include "cards/TableInput.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/Intro.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"
#include "lessons/HandSprite.h"
#include "platform/Platform.h"
#include "rules/BoardQueries.h"
#include "rules/Decks.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int HAND_START = 0;
constexpr int HAND_COMING_DOWN = 1;
constexpr int HAND_DEALING = 2;
constexpr int HAND_GOING_AWAY = 3;
constexpr int HAND_CARDS_LANDING = 4;
constexpr int HAND_AT_REST = 5;
constexpr float CARD_BACK_DEPTH = 500.0f;
constexpr std::uint32_t DEAL_INTERVAL_MS = 200;
constexpr int OPENING_HAND = 7;
// A card back arrives at the size of the CPU's hand of backs.
constexpr int BACK_WIDTH = 36;
constexpr int BACK_HEIGHT = 54;

struct DrawingHand {
    int state = HAND_AT_REST;
    int toDeal = 0;
    int dealt = 0;
    std::uint32_t stamp = 0;
    bool launched = false;
    bool stopped = false;
    std::vector<std::unique_ptr<Sprite>> inFlight;
};

DrawingHand s_Hand;

bool IsLifeTokenIdle()
{
    const LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    return token == nullptr || token->IsIdle();
}

void List(Sprite* sprite)
{
    GetSpriteList()->Add(sprite);
}

void Unlist(Sprite* sprite)
{
    if (SpriteList* const list = FindSpriteList())
        list->Remove(sprite);
}

float Distance(float x0, float y0, float x1, float y1)
{
    return std::hypot(x1 - x0, y1 - y0);
}

// The drawn card joins the CPU's hand: the next card of its library, or the lesson's forced first card.
void TakeDrawnCard()
{
    PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
    const int next = std::clamp(cpu.m_NextDrawIndex, 0, LIBRARY_CAPACITY - 1);
    const int forced = GetForcedFirstCard(PLAYER_CPU);
    const int id = next == 0 && forced != 0 ? forced : cpu.m_Library[static_cast<std::size_t>(next)];
    CardActor* const card = CreateCardActor(id, PLAYER_CPU);
    ++cpu.m_NextDrawIndex;
    ++GetTableInput().cpuHandCount;
    if (IsIntroFinished() && cpu.m_CardsToDraw > 0)
        --cpu.m_CardsToDraw;
    if (card == nullptr)
        return;
    card->SetOwner(PLAYER_CPU);
    card->SetInLibrary(false);
    card->SetHeld(true);
    SpellStack& stack = GetSpellStack();
    if (stack.m_LandSearch) {
        stack.m_LandSearch = false;
        stack.m_ResolvingTargetCard = card;
    }
}

void Start(std::uint32_t now)
{
    if (!IsLifeTokenIdle())
        return;
    s_Hand.dealt = 0;
    if (s_Hand.toDeal <= 0) {
        s_Hand.state = HAND_AT_REST;
        return;
    }
    if (!TakeHandSprite(HandUser::Drawing))
        return;
    RasterRect library;
    GetGameDisplay()->GetOpponentLibraryRect(library, false);
    const int x = HandXOver(library);
    StartHand(x, x, HandYOver(library), now);
    s_Hand.state = HAND_COMING_DOWN;
}

void LaunchCardBack(std::uint32_t now)
{
    PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
    if (CpuLibraryRemaining() < 1) {
        cpu.m_CardsToDraw = 0;
        cpu.SetDrewFromEmptyLibrary(true);
        s_Hand.toDeal = s_Hand.dealt;
        return;
    }
    const GameDisplay& display = *GetGameDisplay();
    RasterRect library;
    display.GetOpponentLibraryRect(library, false);
    // Dealt into the CPU's hand of backs, not the human's hand row.
    const RasterRect& handArea = display.m_CpuHandRect;
    const int n = CountCpuHandCards() + static_cast<int>(s_Hand.inFlight.size());
    auto card = std::make_unique<Sprite>();
    card->SetTexture(GetTextureByName(u"cardback"));
    card->SetPosition(library.left, library.top);
    card->SetTarget(handArea.left + 5 + n * 9, handArea.top + 5);
    card->SetSpeed(HAND_SPEED);
    card->SetStartTime(now);
    card->SetDepth(CARD_BACK_DEPTH);
    List(card.get());
    s_Hand.inFlight.push_back(std::move(card));
    ++s_Hand.dealt;
    s_Hand.launched = true;
}

void Deal(std::uint32_t now)
{
    UpdateDrawnCardSprites();
    const std::uint32_t since = now - s_Hand.stamp;
    ShowHandPress(s_Hand.stamp, now);
    if (!s_Hand.launched && s_Hand.dealt < s_Hand.toDeal)
        LaunchCardBack(now);
    if (s_Hand.dealt < s_Hand.toDeal) {
        if (since >= DEAL_INTERVAL_MS) {
            s_Hand.launched = false;
            s_Hand.stamp = now;
        }
        return;
    }
    if (since < HAND_PRESS_MS)
        return;
    SendHandAway(now);
    s_Hand.state = HAND_GOING_AWAY;
}

void AtRest()
{
    PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
    if (!IsIntroFinished() || !IsLifeTokenIdle() || s_Hand.stopped || cpu.m_CardsToDraw <= 0)
        return;
    if (cpu.m_NextDrawIndex < std::min(cpu.m_LibraryCount, LIBRARY_CAPACITY)) {
        s_Hand.toDeal = cpu.m_CardsToDraw;
        s_Hand.state = HAND_START;
    } else {
        cpu.SetDrewFromEmptyLibrary(true);
    }
}

} // namespace

void UpdateDrawHand()
{
    if (s_GameMode >= 3 || GetGameDisplay() == nullptr)
        return;
    const std::uint32_t now = plat::TimeGetTime();
    switch (s_Hand.state) {
    case HAND_START:
        Start(now);
        return;
    case HAND_COMING_DOWN:
        if (GetHandSprite().IsAtTarget(2)) {
            s_Hand.launched = false;
            s_Hand.stamp = now;
            s_Hand.state = HAND_DEALING;
        }
        return;
    case HAND_DEALING:
        Deal(now);
        return;
    case HAND_GOING_AWAY:
        UpdateDrawnCardSprites();
        if (IsHandOffScreen()) {
            RemoveHand(HandUser::Drawing);
            s_Hand.state = HAND_CARDS_LANDING;
        }
        return;
    case HAND_CARDS_LANDING:
        UpdateDrawnCardSprites();
        if (s_Hand.inFlight.empty())
            s_Hand.state = HAND_AT_REST;
        return;
    default:
        AtRest();
        return;
    }
}

bool IsDrawHandAtRest()
{
    return s_Hand.state == HAND_AT_REST && (s_Hand.stopped || GetPlayerState(PLAYER_CPU)->m_CardsToDraw < 1);
}

void SetDrawHandStopped(bool stopped)
{
    s_Hand.stopped = stopped;
}

bool IsDrawHandStopped()
{
    return s_Hand.stopped;
}

int GetDrawHandState()
{
    return s_Hand.state;
}

int GetCardBacksDealt()
{
    return s_Hand.dealt;
}

int GetCardBacksInFlight()
{
    return static_cast<int>(s_Hand.inFlight.size());
}

const Sprite* GetDrawHandSprite()
{
    return &GetHandSprite();
}

void StartHandAnimation(int count)
{
    s_Hand.state = HAND_START;
    s_Hand.toDeal = count;
}

bool IsHandAnimationState5()
{
    return s_Hand.state == HAND_AT_REST;
}

bool IsDrawingHandDone()
{
    return IsDrawHandAtRest();
}

bool UpdateDrawnCardSprites()
{
    if (s_Hand.inFlight.empty())
        return false;
    const GameDisplay& display = *GetGameDisplay();
    RasterRect library;
    display.GetOpponentLibraryRect(library, false);
    std::erase_if(s_Hand.inFlight, [&](const std::unique_ptr<Sprite>& card) {
        const float targetX = static_cast<float>(card->GetTargetX());
        const float targetY = static_cast<float>(card->GetTargetY());
        if (!card->IsAtTarget(2)) {
            // The back shrinks from its own size to the hand's as it flies; a library on the hand does not.
            const float whole = Distance(static_cast<float>(library.left), static_cast<float>(library.top), targetX,
                                         targetY);
            const float left = Distance(static_cast<float>(card->GetX()), static_cast<float>(card->GetY()), targetX,
                                        targetY);
            const float ratio = whole > 0.0f ? std::min(left / whole, 1.0f) : 0.0f;
            const TextureRecord& texture = display.GetTextureRecord(card->GetTexture());
            card->SetStretched(true);
            card->SetStretchWidth(BACK_WIDTH + static_cast<int>(static_cast<float>(texture.width - BACK_WIDTH) * ratio));
            card->SetStretchHeight(BACK_HEIGHT +
                                   static_cast<int>(static_cast<float>(texture.height - BACK_HEIGHT) * ratio));
            return false;
        }
        TakeDrawnCard();
        Unlist(card.get());
        return true;
    });
    return true;
}

int CountDrawnCardSprites()
{
    return static_cast<int>(s_Hand.inFlight.size());
}

int CpuLibraryRemaining()
{
    const PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
    const int left = std::min(cpu.m_LibraryCount, LIBRARY_CAPACITY) - cpu.m_NextDrawIndex - CountDrawnCardSprites();
    return std::max(0, left);
}

void ResetHandAnimationState()
{
    s_Hand.state = HAND_START;
    s_Hand.toDeal = OPENING_HAND;
}

void ResetDrawHand()
{
    RemoveHand(HandUser::Drawing);
    for (const std::unique_ptr<Sprite>& card : s_Hand.inFlight)
        Unlist(card.get());
    s_Hand = DrawingHand();
}
