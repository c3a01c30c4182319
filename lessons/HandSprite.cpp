#include "lessons/HandSprite.h"

#include "engine/raster/Raster.h"
#include "engine/scene/ScriptParser.h"
#include "gui/Sprite.h"
#include "gui/SpriteList.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int DEFAULT_SCREEN_WIDTH = 800;
constexpr int DEFAULT_SCREEN_HEIGHT = 600;

std::unique_ptr<Sprite> s_Hand;
HandUser s_User = HandUser::None;

} // namespace

Sprite& GetHandSprite()
{
    if (s_Hand == nullptr)
        s_Hand = std::make_unique<Sprite>();
    return *s_Hand;
}

bool TakeHandSprite(HandUser user)
{
    if (s_User != HandUser::None && s_User != user)
        return false;
    s_User = user;
    return true;
}

void ReleaseHandSprite(HandUser user)
{
    if (s_User == user)
        s_User = HandUser::None;
}

HandUser GetHandSpriteUser()
{
    return s_User;
}

void ShowHandImage(const char16_t* name)
{
    GetHandSprite().SetTexture(GetTextureByName(name));
}

void StartHand(int x, int targetX, int targetY, std::uint32_t now)
{
    Sprite& hand = GetHandSprite();
    ShowHandImage(u"hand_up");
    hand.SetPosition(x, HAND_START_Y);
    hand.SetTarget(targetX, targetY);
    hand.SetSpeed(HAND_SPEED);
    hand.SetStartTime(now);
    hand.SetDepth(HAND_DEPTH);
    hand.SetSyncWindow(false);
    // The hand image lies on black, which must not cover the table.
    hand.SetColorKeyed(true);
    // A table reset drops the scene's list wholesale and leaves the flag set: look in the list itself.
    SpriteList& list = *GetSpriteList();
    if (std::find(list.GetSprites().begin(), list.GetSprites().end(), &hand) == list.GetSprites().end())
        list.Add(&hand);
}

void AimHand(int x, int y, std::uint32_t now)
{
    Sprite& hand = GetHandSprite();
    hand.SetPosition(hand.GetTargetX(), hand.GetTargetY());
    hand.SetTarget(x, y);
    hand.SetStartTime(now);
}

void SendHandAway(std::uint32_t now)
{
    Sprite& hand = GetHandSprite();
    ShowHandImage(u"hand_up");
    hand.SetPosition(hand.GetTargetX(), hand.GetTargetY());
    hand.SetTarget(hand.GetTargetX(), std::min(HAND_START_Y, -hand.GetHeight() - 1));
    hand.SetStartTime(now);
}

void ShowHandPress(std::uint32_t arrival, std::uint32_t now)
{
    ShowHandImage(now - arrival < HAND_PRESS_MS ? u"hand_down" : u"hand_up");
}

int HandScreenWidth()
{
    const int width = GetRaster()->GetWidth();
    return width > 0 ? width : DEFAULT_SCREEN_WIDTH;
}

int HandScreenHeight()
{
    const int height = GetRaster()->GetHeight();
    return height > 0 ? height : DEFAULT_SCREEN_HEIGHT;
}

bool IsHandOffScreen()
{
    const Sprite& hand = GetHandSprite();
    return hand.GetX() + hand.GetWidth() < 0 || hand.GetX() >= HandScreenWidth() ||
           hand.GetY() + hand.GetHeight() < 0 || hand.GetY() >= HandScreenHeight();
}

void RemoveHand(HandUser user)
{
    if (s_User != user)
        return;
    if (s_Hand != nullptr && s_Hand->IsListed()) {
        if (SpriteList* const list = FindSpriteList())
            list->Remove(s_Hand.get());
    }
    s_User = HandUser::None;
}

int HandXOver(const RasterRect& rect)
{
    return rect.left - FINGER_X + rect.Width() / 2;
}

int HandYOver(const RasterRect& rect)
{
    return rect.top - FINGER_Y + rect.Height() / 2;
}

int HandXOverCpuHandCard(const RasterRect& rect)
{
    return rect.left - CPU_HAND_CARD_X;
}
