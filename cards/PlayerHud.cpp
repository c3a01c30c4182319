#include "cards/PlayerHud.h"

#include "cards/CardActor.h"
#include "cards/CardOverLay.h"
#include "cards/TableInput.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/Intro.h"
#include "gamestate/TableFlowState.h"
#include "platform/Platform.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

constexpr std::uint32_t HUMAN_STEP_MS = 150;
constexpr std::uint32_t CPU_STEP_MS = 400;
constexpr std::uint32_t HUMAN_LEAD_MS = 75;
constexpr std::uint32_t CPU_LEAD_MS = 200;
constexpr std::uint32_t HEARTBEAT_MS = 50;
constexpr int HEARTBEAT_FRAMES = 6;
constexpr int LIFE_NUMBER_DEPTH = 0;

std::array<HudLifeAnimation, 2> s_Animations;

std::u16string Number(int value)
{
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

void ShowMood(int player, int shownLife)
{
    const std::u16string name = u"av" + Number(player) + u"_" + Number(LifeMood(shownLife));
    GetGameDisplay()->SetAvatarImage(GetTextureByName(name), player);
}

bool GateOrFinished(int gate)
{
    return IsIntroFinished() || IntroGate(gate);
}

int LibraryLeft(int player)
{
    const PlayerState* const record = GetPlayerState(player);
    return record != nullptr ? std::max(record->m_LibraryCount - record->m_NextDrawIndex, 0) : 0;
}

void DrawLibraryCount(const GameDisplay& display, Raster& raster, int player)
{
    const bool physical = !IsOnlineLesson();
    const int gate = player == PLAYER_HUMAN ? (physical ? 13 : 20) : (physical ? 14 : 26);
    if (!IntroGate(15) && !IntroGate(gate))
        return;
    RasterRect rect;
    if (player == PLAYER_HUMAN)
        display.GetPlayerLibraryRect(rect, false);
    else
        display.GetOpponentLibraryRect(rect, false);
    if (physical) {
        rect.left += 2;
        rect.top += 2;
        rect.right += 2;
        rect.bottom += 2;
    }
    raster.DrawText(Number(LibraryLeft(player)), rect, physical ? 0 : 4, physical ? 4 : display.m_CountFont,
                    0xffffffu, false);
}

void DrawLifeNumbers(const GameDisplay& display, Raster& raster)
{
    if (!IntroGate(15) && !IntroGate(17))
        return;
    // The numbers lie on the portraits, which are drawn at the front depth before the HUD: the same depth keeps
    // the numbers over them.
    raster.SetDepth(LIFE_NUMBER_DEPTH);
    for (int player = 0; player < 2; ++player) {
        raster.DrawText(Number(GetPlayerState(player)->GetDisplayedLife()),
                        display.m_LifeRects[static_cast<std::size_t>(player)], 8, 12, 0xffffffu, false);
    }
    raster.SetDepth(19999);
}

void DrawGraveyards(GameDisplay& display, Raster& raster)
{
    for (int player = 0; player < 2; ++player) {
        if (!GateOrFinished(player == PLAYER_HUMAN ? 11 : 12))
            continue;
        RasterRect pile;
        if (player == PLAYER_HUMAN)
            display.GetPlayerGraveyardRect(pile, false);
        else
            display.GetOpponentGraveyardRect(pile, false);
        const PlayerState* const record = GetPlayerState(player);
        const int count = record != nullptr ? std::clamp(record->m_GraveyardCount, 0, GRAVEYARD_CAPACITY) : 0;
        if (count == 0) {
            raster.SetDepth(1000);
            RasterRect text = pile;
            text.top += 2;
            const char16_t* const word = GetString(u"STR_Graveyard");
            raster.DrawText(word != nullptr ? word : u"", text, 1, 4,
                            player == PLAYER_HUMAN ? 0u : 0x00d9d9d9u, false);
            raster.SetDepth(19999);
            continue;
        }
        const CardActor* const top = record->m_Graveyard[static_cast<std::size_t>(count - 1)];
        display.DrawPile(count, pile.left, pile.top, 19999.0f,
                         top != nullptr && top->m_Texture >= 0 ? top->m_Texture : display.m_SmallCardBack);
        if (top != nullptr && GetTableFlow().markedActors.count(const_cast<CardActor*>(top)) != 0) {
            RasterRect raised;
            if (player == PLAYER_HUMAN)
                display.GetPlayerGraveyardRect(raised, true);
            else
                display.GetOpponentGraveyardRect(raised, true);
            display.DrawHoverGlow(raised, 19999.0f, 255, 255, 0, false);
        }
    }
}

// A card the demonstration hand is dragging out of the CPU's hand still counts as one of its cards.
bool DemoHandDragging()
{
    const CardActor* const card = GetTableFlow().demoHand;
    return card != nullptr && !card->IsHeld() && !card->IsInLibrary() && !card->m_Arrived;
}

void DrawPhysicalCpuHand(const GameDisplay& display, Raster& raster)
{
    if (!GateOrFinished(9))
        return;
    const bool dragging = DemoHandDragging();
    const int count = std::max(GetTableInput().cpuHandCount, 0) + (dragging ? 1 : 0);
    raster.SetDepth(19990);
    raster.DrawText(Number(count), display.m_CpuHandRect, 4, 12, 0, false);
    raster.SetDepth(19999);
    const RasterRect& area = display.m_CpuHandRect;
    for (int i = 0; i < count; ++i) {
        if (dragging && i == GetTableFlow().demoHandIndex)
            continue;
        const int x = area.left + 5 + 9 * i;
        DrawPileImage(RasterRect{x, area.top + 5, x + 36, area.top + 59}, 5, 19999.0f);
    }
}

void DrawOnlineHandCounts(const GameDisplay& display, Raster& raster)
{
    const TableInputState& input = GetTableInput();
    const int counts[2] = {input.handCount, input.cpuHandCount};
    const int gates[2] = {21, 26};
    for (int player = 0; player < 2; ++player) {
        if (counts[player] <= 0 || !GateOrFinished(gates[player]))
            continue;
        raster.DrawText(Number(counts[player]), display.m_PileBoxes[static_cast<std::size_t>(player)][1], 4,
                        display.m_CountFont, 0xffffffu, false);
    }
}

void DrawManaPools(const GameDisplay& display, Raster& raster)
{
    if (!GateOrFinished(23))
        return;
    for (int player = 0; player < 2; ++player) {
        const ManaCost& pool = GetPlayerState(player)->m_ManaPool;
        const int amounts[6] = {pool.white, pool.blue, pool.black, pool.red, pool.green, pool.generic};
        for (std::size_t i = 0; i < 6; ++i) {
            if (amounts[i] > 0)
                raster.DrawText(Number(amounts[i]), display.m_CounterBoxes[static_cast<std::size_t>(player)][i], 4,
                                display.m_CountFont, 0xffffffu, false);
        }
    }
}

} // namespace

int LifeMood(int shownLife)
{
    if (shownLife >= 11)
        return 0;
    if (shownLife >= 6)
        return 1;
    if (shownLife >= 3)
        return 2;
    if (shownLife >= 1)
        return 3;
    return 4;
}

HudLifeAnimation& GetHudLifeAnimation(int player)
{
    return s_Animations[player == PLAYER_HUMAN ? 0 : 1];
}

void StepHudLife(HudLifeAnimation& animation, int player, int realLife, int& shownLife, std::uint32_t now)
{
    const bool human = player == PLAYER_HUMAN;
    const std::uint32_t step = human ? HUMAN_STEP_MS : CPU_STEP_MS;
    const std::uint32_t lead = human ? HUMAN_LEAD_MS : CPU_LEAD_MS;
    GameDisplay* const display = GetGameDisplay();
    if (!animation.active) {
        if (shownLife == realLife)
            return;
        animation.active = true;
        animation.timer = now;
        animation.direction = realLife < shownLife ? -1 : 1;
    }
    const auto finish = [&] {
        animation.active = false;
        animation.timer = 0;
        shownLife = realLife;
    };
    if (animation.direction < 0) {
        if (now < animation.timer) {
            if (animation.timer <= now + lead) {
                ShowMood(player, shownLife);
                // The mood face of the new life is the last thing shown.
                if (shownLife <= realLife)
                    finish();
            }
            return;
        }
        display->SetAvatarImage(GetTextureByName(u"avX_pain"), player);
        animation.timer = now + step;
        --shownLife;
        return;
    }
    if (now >= animation.timer) {
        animation.timer = now + step;
        ++shownLife;
        ShowMood(player, shownLife);
        animation.heartbeatTimer = now;
    }
    if (shownLife < realLife) {
        if (animation.heartbeatTimer < now) {
            animation.heartbeatTimer = now + HEARTBEAT_MS;
            display->SetAvatarOverlay(GetTextureByName(u"avX_h" + Number(animation.heartbeatFrame)), player);
            animation.heartbeatFrame = (animation.heartbeatFrame + 1) % HEARTBEAT_FRAMES;
        }
        return;
    }
    finish();
}

void DrawPlayerHud()
{
    GameDisplay* const display = GetGameDisplay();
    Raster* const raster = GetRaster();
    if (display == nullptr || raster == nullptr)
        return;
    const std::uint32_t now = plat::TimeGetTime();
    for (int player = 0; player < 2; ++player) {
        PlayerState* const record = GetPlayerState(player);
        int shown = record->GetDisplayedLife();
        StepHudLife(GetHudLifeAnimation(player), player, record->GetLife(), shown, now);
        record->SetDisplayedLife(shown);
    }
    if (IsOnlineLesson())
        DrawLifeNumbers(*display, *raster);
    DrawLibraryCount(*display, *raster, PLAYER_HUMAN);
    DrawLibraryCount(*display, *raster, PLAYER_CPU);
    if (!IsOnlineLesson()) {
        DrawPhysicalCpuHand(*display, *raster);
        DrawGraveyards(*display, *raster);
    } else {
        DrawOnlineHandCounts(*display, *raster);
        DrawManaPools(*display, *raster);
    }
}
