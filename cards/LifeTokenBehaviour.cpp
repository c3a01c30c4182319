#include "cards/LifeToken.h"

#include "engine/core/TextHelpers.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/VoiceQueue.h"
#include "gamestate/Intro.h"
#include "gamestate/PlayerActors.h"
#include "gui/GUI_Manager.h"
#include "gui/Messagebox.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"
#include "platform/Platform.h"
#include "rules/CpuRevealList.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int ACTOR_STATE_13 = 13;
constexpr float TOKEN_DEPTH = 200.0f;
constexpr float GLOW_DEPTH = 900.0f;
constexpr std::uint32_t GLOW_DELAY_MS = 3999;
// The hand's grip lies this far from its image's top-left corner.
constexpr int HAND_GRIP_X = 45;
constexpr int HAND_GRIP_Y = 225;
constexpr int HAND_PARKED_Y = -350;
constexpr float HAND_SPEED = 300.0f;
constexpr int HALF_TOKEN = LIFE_TOKEN_SIZE / 2;

const RasterRect& Panel(int player)
{
    return GetGameDisplay()->GetZoneRectByIndex(player == PLAYER_HUMAN ? 1 : 0);
}

bool Inside(const RasterRect& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

bool PlayersPresent()
{
    const Actor* const human = GetHumanPlayerActor();
    const Actor* const cpu = GetCpuPlayerActor();
    return human != nullptr && cpu != nullptr && human->GetState() != ACTOR_STATE_13 &&
           cpu->GetState() != ACTOR_STATE_13;
}

bool HumanMayAct()
{
    return PlayersPresent() && CountPendingCards(PLAYER_HUMAN) == 0;
}

int FrameRate()
{
    return static_cast<int>(s_FramesPerSecond);
}

void SyncRect(LifeToken& token)
{
    const int left = static_cast<int>(token.actor->m_Position.x);
    const int top = static_cast<int>(token.actor->m_Position.y);
    token.rect = RasterRect{left, top, left + LIFE_TOKEN_SIZE, top + LIFE_TOKEN_SIZE};
}

void PlaceActor(LifeToken& token, int x, int y, bool alsoTarget)
{
    token.actor->m_Position.x = static_cast<float>(x);
    token.actor->m_Position.y = static_cast<float>(y);
    if (alsoTarget) {
        token.actor->m_TargetPoint.x = static_cast<float>(x);
        token.actor->m_TargetPoint.y = static_cast<float>(y);
    }
    SyncRect(token);
}

void SetTarget(LifeToken& token, int x, int y)
{
    token.actor->m_TargetPoint.x = static_cast<float>(x);
    token.actor->m_TargetPoint.y = static_cast<float>(y);
}

void TargetLife(LifeToken& token, int player, int life)
{
    int x = 0;
    int y = 0;
    GetLifeTokenTarget(player, life, x, y);
    SetTarget(token, x, y);
}

// One glide step; at least one pixel so that a short remaining distance still arrives.
float GlideAxis(float position, float target, int divisor)
{
    const int from = static_cast<int>(position);
    const int to = static_cast<int>(target);
    const int remaining = to - from;
    if (remaining == 0)
        return target;
    int step = remaining / divisor;
    if (step == 0)
        step = remaining > 0 ? 1 : -1;
    return static_cast<float>(from + step);
}

bool FirstFrame(LifeToken& token, Actor& actor, int player)
{
    if ((actor.m_Flags & ACTOR_FLAG_FIRST_FRAME) == 0)
        return true;
    const Actor* const camera = FindActorByName(u"camera");
    if (!IntroGate(7) || camera == nullptr || (camera->m_Flags & ACTOR_FLAG_FIRST_FRAME) != 0)
        return false;
    actor.m_Flags &= ~ACTOR_FLAG_FIRST_FRAME;
    token.shownLife = PlayerState::GetLife(player);
    const RasterRect& panel = Panel(player);
    if (player == PLAYER_HUMAN) {
        PlaceActor(token, panel.left, panel.top - 116, true);
        actor.SetState(IsIntroRunning() ? TOKEN_PLACING : TOKEN_WAITING);
    } else {
        PlaceActor(token, panel.left, panel.bottom + 94, true);
        actor.SetState(TOKEN_WAITING);
        actor.m_Countdown = FrameRate();
    }
    return true;
}

void DropHumanToken(LifeToken& token, Actor& actor)
{
    const int state = actor.GetState();
    const int wrapped = WrapLifeToTrack(PlayerState::GetLife(PLAYER_HUMAN));
    const int cellLife = GetLifeAtTokenRect(PLAYER_HUMAN, token.rect);
    if (state == TOKEN_PLACING || state == TOKEN_PLACED_WRONG) {
        const bool placed = Inside(Panel(PLAYER_HUMAN), MouseState.x, MouseState.y) && cellLife == wrapped;
        actor.SetState(placed ? TOKEN_SETTLED : TOKEN_PLACED_WRONG);
        // A placed token settles on its cell; a misplaced one stays where it was dropped.
        if (placed)
            TargetLife(token, PLAYER_HUMAN, cellLife);
        else
            SetTarget(token, token.rect.left, token.rect.top);
    } else {
        TargetLife(token, PLAYER_HUMAN, cellLife);
        if (cellLife == wrapped) {
            actor.SetState(TOKEN_SETTLED);
            StopVoiceQueue();
        } else {
            actor.SetState(TOKEN_MISPLACED);
            ShowBadLifeBox(&token);
        }
    }
    token.dragState = 2;
}

void HumanStep(LifeToken& token, Actor& actor)
{
    const int state = actor.GetState();
    if (state == TOKEN_WAITING || !HumanMayAct()) {
        // Hidden while the human may not act; shown again when the human can.
        if (token.IsBoxShown())
            GetGameDisplay()->UnregisterWindow(token.box.get());
        return;
    }
    if (token.box != nullptr && !token.IsBoxShown()) {
        GetGameDisplay()->PlaceAdviceWindow(token.box.get());
        GetGameDisplay()->RegisterWindow(token.box.get());
        token.lastActivity = plat::TimeGetTime();
        if (HintRegistry* const hints = GetHintRegistry())
            hints->PlayVoiceLimited(token.voiceName, -1, true);
    }
    if (MouseState.leftClicked != 0 && token.dragState == 0 &&
        (state == TOKEN_PLACING || state == TOKEN_PLACED_WRONG || state == TOKEN_MISPLACED) &&
        GetGUIManager()->GetWindowAt(MouseState.x, MouseState.y) == nullptr &&
        Inside(token.rect, MouseState.x, MouseState.y) && (IsIntroFinished() || state != TOKEN_MISPLACED)) {
        token.dragState = 1;
        token.dragOffsetX = MouseState.x - token.rect.left;
        token.dragOffsetY = MouseState.y - token.rect.top;
        MouseState.leftClicked = 0;
        token.lastActivity = plat::TimeGetTime();
    }
    if (token.dragState == 0 && state == TOKEN_SETTLED &&
        GetLifeAtTokenRect(PLAYER_HUMAN, token.rect) != WrapLifeToTrack(PlayerState::GetLife(PLAYER_HUMAN)))
        actor.SetState(TOKEN_MISPLACED);
    if (token.dragState == 1) {
        if (MouseState.leftHeld != 0) {
            int x = MouseState.x - token.dragOffsetX;
            int y = MouseState.y - token.dragOffsetY;
            if (state == TOKEN_SETTLED || state == TOKEN_MISPLACED) {
                const RasterRect& panel = Panel(PLAYER_HUMAN);
                x = std::clamp(x, panel.left, std::max(panel.left, panel.right - LIFE_TOKEN_SIZE));
                y = std::clamp(y, panel.top, std::max(panel.top, panel.bottom - LIFE_TOKEN_SIZE));
            }
            PlaceActor(token, x, y, false);
        } else {
            DropHumanToken(token, actor);
        }
    } else if (token.dragState == 2) {
        const int divisor = std::max(1, FrameRate() / 5);
        Vector3& position = token.actor->m_Position;
        const Vector3& target = token.actor->m_TargetPoint;
        position.x = GlideAxis(position.x, target.x, divisor);
        position.y = GlideAxis(position.y, target.y, divisor);
        SyncRect(token);
        if (static_cast<int>(position.x) == static_cast<int>(target.x) &&
            static_cast<int>(position.y) == static_cast<int>(target.y))
            token.dragState = 0;
    }
}

int TokenCentreX(const LifeToken& token)
{
    return token.rect.left + HALF_TOKEN;
}

int TokenCentreY(const LifeToken& token)
{
    return token.rect.top + HALF_TOKEN;
}

void StartHandMove(Sprite& hand, const char16_t* texture)
{
    hand.SetTexture(GetTextureByName(texture));
    hand.SetStartTime(plat::TimeGetTime());
}

void TakeHandAway(LifeToken& token)
{
    Sprite* const hand = token.hand.get();
    if (hand != nullptr && hand->IsListed()) {
        if (SpriteList* const list = FindSpriteList())
            list->Remove(hand);
        hand->SetListed(false);
    }
    token.handStep = 0;
}

void HandStep(LifeToken& token)
{
    Sprite* const hand = token.hand.get();
    if (hand == nullptr)
        return;
    const int cpuLife = PlayerState::GetLife(PLAYER_CPU);
    if (cpuLife != token.shownLife) {
        token.actor->m_Countdown = std::abs(token.shownLife - cpuLife) * FrameRate() / 2;
        token.shownLife = cpuLife;
        TargetLife(token, PLAYER_CPU, cpuLife);
        token.handStep = 1;
    }
    const bool onTarget = static_cast<int>(token.actor->m_Position.x) == static_cast<int>(token.actor->m_TargetPoint.x) &&
                          static_cast<int>(token.actor->m_Position.y) == static_cast<int>(token.actor->m_TargetPoint.y);
    if (!onTarget && (token.handStep < 1 || token.handStep > 3))
        token.handStep = 1;
    const int targetX = static_cast<int>(token.actor->m_TargetPoint.x) + HALF_TOKEN;
    const int targetY = static_cast<int>(token.actor->m_TargetPoint.y) + HALF_TOKEN;
    switch (token.handStep) {
    case 1:
        hand->SetTarget(TokenCentreX(token) - HAND_GRIP_X, TokenCentreY(token) - HAND_GRIP_Y);
        hand->SetSpeed(HAND_SPEED);
        if (!hand->IsListed()) {
            hand->SetPosition(TokenCentreX(token) - HAND_GRIP_X, HAND_PARKED_Y);
            StartHandMove(*hand, u"hand_up");
            GetSpriteList()->Add(hand);
        }
        token.handStep = 2;
        break;
    case 2:
        if (hand->IsAtTarget(1)) {
            StartHandMove(*hand, u"hand_down");
            hand->SetTarget(targetX - HAND_GRIP_X, targetY - HAND_GRIP_Y);
            token.handStep = 3;
        }
        break;
    case 3:
        PlaceActor(token, hand->GetX() + HAND_GRIP_X - HALF_TOKEN, hand->GetY() + HAND_GRIP_Y - HALF_TOKEN, false);
        if (hand->IsAtTarget(1)) {
            SetTarget(token, token.rect.left, token.rect.top);
            StartHandMove(*hand, u"hand_up");
            hand->SetTarget(TokenCentreX(token) - HAND_GRIP_X, HAND_PARKED_Y);
            hand->SetSpeed(HAND_SPEED);
            token.handStep = 4;
        }
        break;
    case 4: {
        RasterRect bounds;
        hand->GetBounds(bounds);
        if (bounds.bottom <= 0 || bounds.top >= s_ClientHeight || bounds.right <= 0 || bounds.left >= s_ClientWidth)
            TakeHandAway(token);
        break;
    }
    default:
        break;
    }
}

void CpuStep(LifeToken& token, Actor& actor)
{
    if (!PlayersPresent() || IsCpuRevealListNotEmpty())
        return;
    if (actor.GetState() == TOKEN_WAITING) {
        if (--actor.m_Countdown > 0)
            return;
        actor.SetState(TOKEN_PLACING);
        actor.m_Countdown = 2 * FrameRate();
        if (IntroGate(15)) {
            if (LifeToken* const human = GetLifeToken(PLAYER_HUMAN); human != nullptr && human->actor != nullptr)
                human->actor->SetState(TOKEN_PLACING);
        }
        TargetLife(token, PLAYER_CPU, token.shownLife);
    } else if (actor.GetState() == TOKEN_PLACING) {
        if (actor.m_Countdown > 0)
            --actor.m_Countdown;
        else if (token.IsIdle())
            actor.SetState(TOKEN_SETTLED);
    }
    if (actor.GetState() == TOKEN_PLACING || actor.GetState() == TOKEN_SETTLED)
        HandStep(token);
}

void UpdateBox(LifeToken& token, Actor& actor)
{
    const int state = actor.GetState();
    if (state == TOKEN_MISPLACED && token.boxPending && HumanMayAct() && token.dragState != 1 &&
        plat::TimeGetTime() - token.lastActivity > GLOW_DELAY_MS)
        GetGameDisplay()->DrawHoverGlow(token.rect, GLOW_DEPTH, 255, 255, 0, false);
    // A box without a button closes once the token is settled; one with a button once it is answered.
    const bool hasButton = token.box != nullptr && token.box->GetButtonCount() > 0;
    if ((!hasButton && state == TOKEN_SETTLED) || (hasButton && token.box->GetAnswer() >= 0)) {
        token.DeleteBox();
        token.boxPending = false;
    }
}

void DrawToken(LifeToken& token, int player)
{
    Raster* const raster = GetRaster();
    if (raster == nullptr)
        return;
    const RasterRect& r = token.rect;
    raster->DrawTexture(token.texture, static_cast<float>(r.left), static_cast<float>(r.top),
                        static_cast<float>(r.right), static_cast<float>(r.bottom), TOKEN_DEPTH, PRIM_COLOR_KEY);
    const PlayerState* const state = GetPlayerState(player);
    token.numberText = IntToWString(state != nullptr ? state->GetDisplayedLife() : 0);
    raster->SetDepth(static_cast<int>(TOKEN_DEPTH));
    raster->DrawText(token.numberText, r, 1, 0, 0, false);
    raster->SetDepth(TEXT_DEPTH_DEFAULT);
}

} // namespace

void LifeTokenBehaviour(Actor* actor)
{
    if (actor == nullptr)
        return;
    LifeToken* const token = reinterpret_cast<LifeToken*>(actor->m_BehaviourData);
    if (token == nullptr || token->actor != actor)
        return;
    const int player = actor->m_SpawnValue == PLAYER_HUMAN ? PLAYER_HUMAN : PLAYER_CPU;
    if (!FirstFrame(*token, *actor, player))
        return;
    const PlayerState* const record = GetPlayerState(player);
    if (record != nullptr && record->HasLost()) {
        // The token is no longer drawn: a hand caught carrying it would hang over the track holding nothing.
        TakeHandAway(*token);
        return;
    }
    SyncRect(*token);
    if (player == PLAYER_HUMAN)
        HumanStep(*token, *actor);
    else
        CpuStep(*token, *actor);
    UpdateBox(*token, *actor);
    DrawToken(*token, player);
}

void LifeToken::MoveBy(int dx, int dy)
{
    if (actor == nullptr)
        return;
    // The token moves with its mat whatever the hand is doing: left behind, it would no longer lie on its cell.
    PlaceActor(*this, rect.left + dx, rect.top + dy, false);
    actor->m_TargetPoint.x += static_cast<float>(dx);
    actor->m_TargetPoint.y += static_cast<float>(dy);
    if (hand != nullptr && hand->IsListed()) {
        hand->SetPosition(hand->GetX() + dx, hand->GetY() + dy);
        hand->SetTarget(hand->GetTargetX() + dx, hand->GetTargetY() + dy);
    }
}
