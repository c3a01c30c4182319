// The phase bar in the side panel: icons with names online, names over the phase background on the physical table.
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/AdviceState.h"
#include "gamestate/Intro.h"
#include "rules/SpellStack.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr int PHASE_COMBAT = 4;
constexpr int LAST_PHASE = PHASE_ICON_COUNT - 1;

std::u16string_view PhaseName(const GameDisplay& display, int phase)
{
    const auto& name = display.m_PhaseNames[static_cast<std::size_t>(phase)];
    return std::u16string_view(name.data(), std::char_traits<char16_t>::length(name.data()));
}

bool IsCombatStep(int phase)
{
    return phase >= 5 && phase <= 9;
}

void DrawOnlineBar(GameDisplay& display, Raster& raster)
{
    if (display.m_PhaseBarCondensed && IsCombatStep(display.m_CurrentPhase))
        display.m_CurrentPhase = PHASE_COMBAT;
    if (!IsIntroFinished() && !IntroGate(8))
        return;
    const RasterRect& caption = display.GetZoneRectByIndex(15);
    const RasterRect& panel = display.GetZoneRectByIndex(14);
    const RasterRect clip{caption.left, caption.bottom, panel.right, panel.bottom};
    const int current = display.m_CurrentPhase;
    const auto& rects = display.m_PhaseRects;
    int shift = 0;
    int first = 0;
    if (current >= 0 && current <= LAST_PHASE) {
        // Scroll until the current icon lies inside the clip.
        while (rects[static_cast<std::size_t>(current)].bottom + shift >= clip.bottom && first < LAST_PHASE) {
            shift += rects[static_cast<std::size_t>(first)].top - rects[static_cast<std::size_t>(first + 1)].top;
            ++first;
        }
    }
    const bool names = GetSpellStack().GetCount() == 0;
    raster.SetDepth(20000);
    for (int i = first; i <= LAST_PHASE; ++i) {
        RasterRect icon = rects[static_cast<std::size_t>(i)];
        if (icon.left == -1 || icon.bottom + shift < clip.top || icon.top + shift >= clip.bottom)
            continue;
        icon.top = std::max(icon.top + shift, clip.top);
        icon.bottom = std::min(icon.bottom + shift, clip.bottom);
        const int image = display.m_PhaseIcons[static_cast<std::size_t>(i)];
        const bool isCurrent = i == current;
        const int dx = isCurrent ? 12 : 0;
        if (image >= 0)
            raster.DrawTexture(image, static_cast<float>(icon.left + dx), static_cast<float>(icon.top),
                               static_cast<float>(icon.right + dx), static_cast<float>(icon.bottom), 20000.0f, 0);
        if (names) {
            const RasterRect text{icon.right + 2 + dx, icon.top + 5, clip.right, clip.bottom};
            raster.DrawText(PhaseName(display, i), text, 0, 0, isCurrent ? 0x00ffffu : 0xffffffu, false);
        }
    }
    raster.SetDepth(19999);
}

void DrawPhysicalBar(GameDisplay& display, Raster& raster)
{
    if (IsCombatStep(display.m_CurrentPhase))
        display.m_CurrentPhase = PHASE_COMBAT;
    if (IntroGate(15) || IntroGate(8)) {
        raster.SetDepth(19900);
        for (int i = 0; i <= LAST_PHASE; ++i) {
            const RasterRect& rect = display.m_PhaseRects[static_cast<std::size_t>(i)];
            if (rect.left == -1)
                continue;
            raster.DrawText(PhaseName(display, i), rect, 9, 0,
                            i == display.m_CurrentPhase ? 0xffff00u : 0xffffffu, false);
        }
        raster.SetDepth(19999);
    }
    if (IsLibraryHighlightWanted()) {
        RasterRect library;
        display.GetPlayerLibraryRect(library, true);
        display.DrawHoverGlow(RasterRect{library.left - 2, library.top - 2, library.right + 2, library.bottom + 2},
                              20000.0f, 0, 255, 0, true);
        display.m_LibraryHighlight = false;
    }
}

} // namespace

void GameDisplay::DrawPhaseBar()
{
    Raster* const raster = GetRaster();
    if (m_SceneTag == 0 || raster == nullptr)
        return;
    if (IsOnlineLesson())
        DrawOnlineBar(*this, *raster);
    else
        DrawPhysicalBar(*this, *raster);
}
