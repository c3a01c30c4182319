// The physical lesson's phase-bar tooltip: resting the mouse on a step's label for a second explains that step.
#include "lessons/LessonFlow.h"

#include "cards/TableInput.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/Intro.h"
#include "gamestate/TurnFlags.h"
#include "platform/Platform.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr std::uint32_t HOVER_DELAY_MS = 1000;
constexpr int BOX_SIZE = 150;
constexpr int BOX_GAP = 4;
constexpr float BOX_DEPTH = 200.0f;
constexpr int TEXT_DEPTH = 200;
constexpr int RESTING_TEXT_DEPTH = 19999;
constexpr int BAR_FONT = 0;

struct StepLabel {
    int phase;
    const char16_t* basicKey;
    const char16_t* advancedKey;
};

// Tested in this order; the first hit wins.
constexpr StepLabel STEP_LABELS[] = {
    {0, u"PHYS_BASIC_EXPLAIN_UNTAP", u"PHYS_ADV_EXPLAIN_UNTAP"},
    {2, u"PHYS_BASIC_EXPLAIN_DRAW", u"PHYS_ADV_EXPLAIN_DRAW"},
    {3, u"PHYS_BASIC_EXPLAIN_MAIN1", u"PHYS_ADV_EXPLAIN_MAIN1"},
    {4, u"PHYS_BASIC_EXPLAIN_COMBAT", u"PHYS_ADV_EXPLAIN_COMBAT"},
    {10, u"PHYS_BASIC_EXPLAIN_MAIN2", u"PHYS_ADV_EXPLAIN_MAIN2"},
    {11, u"PHYS_BASIC_EXPLAIN_EOT", u"PHYS_ADV_EXPLAIN_EOT"},
};

std::uint32_t s_HoverStart = 0;

bool Inside(const RasterRect& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

std::u16string_view PhaseName(const GameDisplay& display, int phase)
{
    const auto& name = display.m_PhaseNames[static_cast<std::size_t>(phase)];
    return std::u16string_view(name.data(), std::char_traits<char16_t>::length(name.data()));
}

// The label under the mouse: inside its rectangle and left of the end of its text.
const StepLabel* LabelUnderMouse(const GameDisplay& display, Raster& raster)
{
    for (const StepLabel& label : STEP_LABELS) {
        const RasterRect& rect = display.m_PhaseRects[static_cast<std::size_t>(label.phase)];
        if (rect.left == -1 || !Inside(rect, MouseState.x, MouseState.y))
            continue;
        RasterRect measured;
        raster.DrawTextNow(PhaseName(display, label.phase), rect, &measured, 0, BAR_FONT);
        if (MouseState.x < rect.left + measured.Width())
            return &label;
    }
    return nullptr;
}

void DrawExplanation(const GameDisplay& display, Raster& raster, const RasterRect& label, const char16_t* text)
{
    RasterRect box{label.left, label.top, label.left + BOX_SIZE, label.top + BOX_SIZE};
    RasterRect measured;
    raster.DrawTextNow(text, box, &measured, 0, BAR_FONT);
    const int height = measured.Height();
    measured.top -= height + BOX_GAP;
    measured.bottom -= height + BOX_GAP;
    const RasterRect frame{measured.left - BOX_GAP, measured.top - BOX_GAP, measured.right + BOX_GAP,
                           measured.bottom + BOX_GAP};
    display.DrawFrameAroundRect(frame, BOX_DEPTH, display.MakeColor(255, 255, 224, 255), true, 0);
    display.DrawFrameAroundRect(frame, BOX_DEPTH, display.MakeColor(128, 128, 96, 255), false, 1);
    raster.SetDepth(TEXT_DEPTH);
    raster.DrawText(text, measured, 0, BAR_FONT, 0, false);
    raster.SetDepth(RESTING_TEXT_DEPTH);
}

} // namespace

void ExplainTurnStep()
{
    if (s_GameMode == 1 && s_CpuTurn && IsIntroFinished())
        return;
    const GameDisplay* const display = GetGameDisplay();
    Raster* const raster = GetRaster();
    if (display == nullptr || raster == nullptr)
        return;
    const std::uint32_t now = plat::TimeGetTime();
    const bool resting = GetTableInput().pointedCard == nullptr && GetDraggedCard() == nullptr &&
                         (IntroGate(8) || IntroGate(15)) &&
                         Inside(display->m_PhaseBackground, MouseState.x, MouseState.y);
    if (!resting) {
        s_HoverStart = now;
        return;
    }
    if (now - s_HoverStart < HOVER_DELAY_MS)
        return;
    const StepLabel* const label = LabelUnderMouse(*display, *raster);
    const char16_t* const text =
        label != nullptr ? GetString(s_GameMode == 2 ? label->advancedKey : label->basicKey) : nullptr;
    if (text == nullptr || text[0] == 0) {
        s_HoverStart = now;
        return;
    }
    DrawExplanation(*display, *raster, display->m_PhaseRects[static_cast<std::size_t>(label->phase)], text);
}
