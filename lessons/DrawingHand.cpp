#include "lessons/DrawingHand.h"

#include "cards/LifeToken.h"
#include "cards/TableInput.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/Intro.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"
#include "platform/Platform.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int HAND_START = 0;
constexpr int HAND_COMING_DOWN = 1;
constexpr int HAND_DEALING = 2;
constexpr int HAND_GOING_AWAY = 3;
constexpr int HAND_CARDS_LANDING = 4;
constexpr int HAND_AT_REST = 5;
constexpr float HAND_SPEED = 300.0f;
constexpr float HAND_DEPTH = 150.0f;
constexpr float CARD_BACK_DEPTH = 500.0f;
constexpr std::uint32_t PRESS_MS = 100;
constexpr std::uint32_t DEAL_INTERVAL_MS = 200;
constexpr int START_Y = -350;
constexpr int OPENING_HAND = 7;

struct DrawingHand {
    int state = HAND_AT_REST;
    int toDeal = 0;
    int dealt = 0;
    std::uint32_t stamp = 0;
    bool launched = false;
    bool stopped = false;
    std::unique_ptr<Sprite> hand;
    std::vector<std::unique_ptr<Sprite>> inFlight;
};

DrawingHand s_Hand;

bool IsLifeTokenIdle()
{
    const LifeToken* const token = GetLifeToken(PLAYER_HUMAN);
    return token == nullptr || token->IsIdle();
}

int CpuLibraryRemaining()
{
    const PlayerState& cpu = *GetPlayerState(PLAYER_CPU);
    return std::max(0, std::min(cpu.m_LibraryCount, LIBRARY_CAPACITY) - cpu.m_NextDrawIndex);
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

// The card backs that reached the CPU's hand leave the screen's list.
void MoveCardsInFlight()
{
    std::erase_if(s_Hand.inFlight, [](const std::unique_ptr<Sprite>& card) {
        if (!card->IsAtTarget(2))
            return false;
        Unlist(card.get());
        return true;
    });
}

void ShowHandImage(const char16_t* name)
{
    s_Hand.hand->SetTexture(GetTextureByName(name));
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
    if (s_Hand.hand == nullptr)
        s_Hand.hand = std::make_unique<Sprite>();
    RasterRect library;
    GetGameDisplay()->GetOpponentLibraryRect(library, false);
    const int x = library.left - 45 + library.Width() / 2;
    ShowHandImage(u"hand_up");
    s_Hand.hand->SetPosition(x, START_Y);
    s_Hand.hand->SetTarget(x, library.top - 225 + library.Height() / 2);
    s_Hand.hand->SetSpeed(HAND_SPEED);
    s_Hand.hand->SetStartTime(now);
    s_Hand.hand->SetDepth(HAND_DEPTH);
    s_Hand.hand->SetSyncWindow(false);
    // The hand image lies on black, which must not cover the table.
    s_Hand.hand->SetColorKeyed(true);
    if (!s_Hand.hand->IsListed())
        List(s_Hand.hand.get());
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
    const int n = IsIntroRunning() ? s_Hand.dealt : GetTableInput().cpuHandCount;
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
    MoveCardsInFlight();
    const std::uint32_t since = now - s_Hand.stamp;
    ShowHandImage(since < PRESS_MS ? u"hand_down" : u"hand_up");
    if (!s_Hand.launched && s_Hand.dealt < s_Hand.toDeal)
        LaunchCardBack(now);
    if (s_Hand.dealt < s_Hand.toDeal) {
        if (since >= DEAL_INTERVAL_MS) {
            s_Hand.launched = false;
            s_Hand.stamp = now;
        }
        return;
    }
    if (since < PRESS_MS)
        return;
    // The hand rises until it is wholly above the screen, however tall its image.
    ShowHandImage(u"hand_up");
    s_Hand.hand->SetPosition(s_Hand.hand->GetTargetX(), s_Hand.hand->GetTargetY());
    s_Hand.hand->SetTarget(s_Hand.hand->GetTargetX(), -s_Hand.hand->GetHeight() - 1);
    s_Hand.hand->SetStartTime(now);
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
        if (s_Hand.hand->IsAtTarget(2)) {
            s_Hand.launched = false;
            s_Hand.stamp = now;
            s_Hand.state = HAND_DEALING;
        }
        return;
    case HAND_DEALING:
        Deal(now);
        return;
    case HAND_GOING_AWAY:
        MoveCardsInFlight();
        if (s_Hand.hand->IsAtTarget(0)) {
            Unlist(s_Hand.hand.get());
            s_Hand.state = HAND_CARDS_LANDING;
        }
        return;
    case HAND_CARDS_LANDING:
        MoveCardsInFlight();
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
    return s_Hand.hand.get();
}

void ResetHandAnimationState()
{
    s_Hand.state = HAND_START;
    s_Hand.toDeal = OPENING_HAND;
}

void ResetDrawHand()
{
    if (s_Hand.hand != nullptr)
        Unlist(s_Hand.hand.get());
    for (const std::unique_ptr<Sprite>& card : s_Hand.inFlight)
        Unlist(card.get());
    s_Hand = DrawingHand();
}
