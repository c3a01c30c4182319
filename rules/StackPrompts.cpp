#include "rules/StackPrompts.h"

#include "cards/CardActor.h"
#include "cards/CardOverLay.h"
#include "cards/LibraryDialog.h"
#include "cards/MessagePrompts.h"
#include "cards/TableInput.h"
#include "engine/core/StringTable.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/Intro.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/RulesLessonCalls.h"
#include "gui/DialogManager.h"
#include "gui/Messagebox.h"
#include "rules/CpuResponse.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr std::uint32_t FLAG_HAND_PENDING = ACTOR_FLAG_AWAITING_HAND;  // bit 14
constexpr std::uint32_t FLAG_REVEALED = ACTOR_FLAG_CPU_REVEALED;      // bit 28
constexpr int FIELD_NO_BUTTON = 0;
constexpr int FIELD_OK = 1;
constexpr int ARROW_HALF_WIDTH = 16;
constexpr float ARROW_DEPTH = 6.0f;

bool HasFlag(const CardActor* card, std::uint32_t flag)
{
    return (card->m_Flags & flag) != 0;
}

// Physical lesson: the lesson's advice answers first; the CPU may still answer the entry.
bool ConfirmPhysical(SpellStack& stack)
{
    switch (stack.m_PromptState) {
    case 2:
    case 3:
        return true;
    case 6:
        break;
    default:
        return false;
    }
    const StackEntry* const top = stack.GetTopEntry();
    if (top == nullptr)
        return false;
    // -1 until the advice answers; 1 when the learner responds, and then the CPU does not answer the entry.
    int answer = -1;
    if (top->card == nullptr) {
        if (top->combatDamageKind == 0)
            return false;
        const int side = stack.m_State != STACK_HUMAN_ACTS ? PLAYER_CPU : PLAYER_HUMAN;
        const RulesLessonCalls& lesson = g_RulesLessonCalls;
        // Without a lesson there is no advice to wait for.
        if ((lesson.ShowMultipleBlockersAdvice != nullptr && !lesson.ShowMultipleBlockersAdvice(side)) ||
            (lesson.ShowCombatDamageAdvice != nullptr && !lesson.ShowCombatDamageAdvice(side, &answer)))
            return false;
        return answer == 1 || !CpuRespond(false);
    }
    if (stack.m_State != STACK_HUMAN_ACTS && stack.m_State != STACK_CPU_ACTS)
        return false;
    if (HasFlag(top->card, FLAG_REVEALED) || HasFlag(top->card, FLAG_HAND_PENDING))
        return false;
    const RulesLessonCalls& lesson = g_RulesLessonCalls;
    if (lesson.ShowOpponentSpellAdvice != nullptr && !lesson.ShowOpponentSpellAdvice(top, &answer))
        return false;
    return answer == 1 || !CpuRespond(false);
}

struct OnlinePrompt {
    const char16_t* key;
    int kind;
};

// Online lesson: the message field asks, by the prompt state; its button confirms.
bool ConfirmOnline(const SpellStack& stack)
{
    OnlinePrompt prompt{nullptr, FIELD_NO_BUTTON};
    switch (stack.m_PromptState) {
    case 2:
        prompt = {u"STACK_RESOLVE_CAST_ABILITY", FIELD_OK};
        break;
    case 3:
        prompt = {u"STACK_RESOLVE_CPUCAST_ABILITY", FIELD_OK};
        break;
    case 4:
        prompt = {u"STACK_WAITING_FOR_PLAYER", FIELD_NO_BUTTON};
        break;
    case 5:
        prompt = {u"STACK_WAITING_FOR_OPPONENT", FIELD_NO_BUTTON};
        break;
    case 6:
        prompt = {u"STACK_PLAYER_IA_PROMPT", FIELD_OK};
        break;
    default:
        return false;
    }
    const char16_t* const text = GetString(prompt.key);
    // The waiting notes only fill a field that no other prompt holds: the turn's own prompt and its button win.
    if (stack.m_PromptState == 4 || stack.m_PromptState == 5) {
        GetGameDisplay()->ShowStandbyPrompt(text != nullptr ? text : u"");
        return false;
    }
    return GetGameDisplay()->ShowMessagePrompt(text != nullptr ? text : u"", prompt.kind) == 1;
}

// The online stack area shows every entry, fanned downward.
void DrawOnlineEntries(const SpellStack& stack)
{
    const StackArea area = GetStackArea();
    GameDisplay& display = *GetGameDisplay();
    for (int i = 0; i < stack.GetCount(); ++i) {
        const StackEntry& entry = stack.m_Entries[i];
        const float x = static_cast<float>(area.left + 75);
        const float y = static_cast<float>(area.top + 10 + 10 * i);
        if (entry.card == nullptr) {
            if (entry.combatDamageKind != 0)
                display.DrawTexture(GetTextureByName(u"fxborder_scmb"), x, y, 500.0f, 0, 0);
            continue;
        }
        if (!entry.isAbility && !HasFlag(entry.card, FLAG_HAND_PENDING))
            continue;
        display.DrawTexture(entry.card->m_Texture, x, y, 500.0f, 0, 0);
        if (entry.isAbility) {
            const RasterRect rect{static_cast<int>(x), static_cast<int>(y), static_cast<int>(x) + 66,
                                  static_cast<int>(y) + 98};
            if (CardOverLay* const overlay = GetCardOverlay(*entry.card))
                overlay->Draw(rect, entry.card, 0, 19900.0f);
        }
    }
}

struct Point {
    int x = 0;
    int y = 0;
};

Point Centre(const RasterRect& r)
{
    return Point{r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
}

RasterRect CardRect(const CardActor* card)
{
    RasterRect rect;
    GetGameDisplay()->GetCardRect(card, rect, false);
    return rect;
}

bool IsAttachedTo(const CardActor* card, const CardActor* host)
{
    return card != nullptr && host != nullptr && card->GetHost() == host;
}

// Step 3: the entry to show, and whether it gets its arrow or only a source line.
const StackEntry* ChooseShownEntry(SpellStack& stack, bool* arrow)
{
    *arrow = false;
    CardActor* const hovered = GetTableInput().hoveredCard;
    const bool physical = stack.m_Physical != 0;
    const StackArea area = GetStackArea();
    bool hoveredIsStackItem = false;
    if (hovered != nullptr) {
        if (physical) {
            hoveredIsStackItem = true;
        } else if (MouseState.x < area.right && MouseState.y > area.top) {
            const StackEntry* const found = stack.FindEntry(hovered, nullptr);
            hoveredIsStackItem = found != nullptr && found->card == hovered;
        }
    }
    const StackEntry* shown = nullptr;
    if (stack.GetCount() == 1) {
        shown = &stack.m_Entries[0];
        *arrow = shown->card == nullptr || !HasFlag(shown->card, FLAG_REVEALED);
    } else {
        if (stack.GetCount() < 1 || hovered == nullptr || HasFlag(hovered, FLAG_REVEALED))
            return nullptr;
        const int index = hovered->GetStackIndex();
        if (index >= 0 && index < stack.GetCount()) {
            shown = &stack.m_Entries[index];
            *arrow = hoveredIsStackItem;
        } else if (index < 0) {
            for (int i = 0; i < stack.GetCount() && shown == nullptr; ++i) {
                if (stack.m_Entries[i].targetCard == hovered)
                    shown = &stack.m_Entries[i];
            }
            *arrow = true;
        }
    }
    if (shown != nullptr && hoveredIsStackItem && shown->isAbility)
        stack.m_HoveredAbility = hovered;
    return shown;
}

Point TargetPoint(const SpellStack& stack, const StackEntry& entry, Point start)
{
    const GameDisplay& display = *GetGameDisplay();
    if (entry.targetCard != nullptr) {
        const RasterRect r = CardRect(entry.targetCard);
        if (stack.m_Physical == 0 || r.top - start.y < 96)
            return Centre(r);
        return Point{r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 8};
    }
    const bool human = entry.targetPlayer == FindActorByName(u"player");
    const MatPoint p = display.m_TargetPlayerPoints[human ? 0 : 1];
    if (stack.m_Physical != 0)
        return human ? Point{p.x + 16, p.y + 16} : Point{p.x - 16, p.y - 16};
    if (!human)
        return Point{p.x, p.y};
    return Point{p.x - 32, start.y < p.y ? p.y - 32 : p.y};
}

} // namespace

StackArea GetStackArea()
{
    const GameDisplay& display = *GetGameDisplay();
    return StackArea{display.m_StackAreaLeft, display.m_StackAreaRight, display.m_StackAreaTop};
}

void PlaceStackWindow()
{
    SpellStack& stack = GetSpellStack();
    stack.RelayoutLibraryList();
    Messagebox* const window = stack.GetWindow();
    if (window == nullptr || !stack.IsWindowUp())
        return;
    GameDisplay& display = *GetGameDisplay();
    display.PlaceAdviceWindow(window);
    if (stack.IsLibraryListOpen())
        window->MoveTo(window->GetLeft(), stack.GetLibraryList()->GetBottom(), true);
}

StackArrowColour GetStackArrowColour(const CardActor* source)
{
    if (source == nullptr)
        return StackArrowColour{};
    const ManaCost& cost = *source->GetManaCounters();
    if (cost.black != 0)
        return {128, 128, 128};
    if (cost.blue != 0)
        return {64, 128, 255};
    if (cost.green != 0)
        return {64, 255, 96};
    if (cost.red != 0)
        return {255, 32, 32};
    if (cost.white != 0)
        return {255, 224, 208};
    if (source->GetCardType() == CT_ARTIFACT || source->GetSubType() == ARTIFACT_CREATURE)
        return {223, 208, 128};
    return StackArrowColour{};
}

float GetStackArrowBend(int verticalDistance, int screenHeight)
{
    const int d = std::abs(verticalDistance);
    const int quarter = screenHeight / 4;
    if (d < quarter)
        return 0.3f;
    if (d <= 3 * quarter)
        return 0.6f;
    return 1.0f;
}

void UpdateStackPrompt()
{
    SpellStack& stack = GetSpellStack();
    if (!stack.IsActive() || FindActorByName(u"player") == nullptr || FindActorByName(u"cpuplayer") == nullptr)
        return;
    if (stack.m_Physical != 0) {
        if (!stack.TickCountdown()) {
            stack.ConfirmPrompt();
            stack.RunResolutionPrompts();
        }
        return;
    }
    stack.m_HoveredAbility = nullptr;
    const char16_t* const waiting = GetString(u"STACK_WAITING_FOR_OPPONENT");
    std::u16string& owner = OnlinePromptOwner();
    if (stack.TickCountdown()) {
        owner = waiting != nullptr ? waiting : u"";
        GetGameDisplay()->ShowMessagePrompt(owner, FIELD_NO_BUTTON);
    } else {
        if (waiting != nullptr && owner == waiting)
            owner.clear();
        stack.ConfirmPrompt();
        stack.RunResolutionPrompts();
    }
    DrawOnlineEntries(stack);
}

void SpellStack::ConfirmPrompt()
{
    if (!m_Active)
        return;
    // Online, nothing is confirmed before the learner's turn driver has begun the game.
    if (m_Physical != 0 ? !IsIntroFinished() : !s_GameBegun)
        return;
    const bool confirmed = m_Physical != 0 ? ConfirmPhysical(*this) : ConfirmOnline(*this);
    if (!confirmed)
        return;
    MouseState.leftClicked = 0;
    m_State = STACK_RESOLVE;
    m_PromptState = 0;
    m_CpuHasNoEntry = !HasEntryOfPlayer(PLAYER_CPU, false);
}

void SpellStack::Draw()
{
    const bool physical = m_Physical != 0;
    if (physical && (IsPriorityDialogShown() || HasPriorityDialogQueued()))
        return;
    bool arrow = false;
    const StackEntry* const entry = ChooseShownEntry(*this, &arrow);
    if (entry == nullptr || entry->card == nullptr)
        return;
    if (!entry->isAbility && entry->targetCard == nullptr && entry->targetPlayer == nullptr)
        return;
    const CardActor* const source = entry->card;
    const StackArrowColour c = GetStackArrowColour(source);
    const float red = static_cast<float>(c.red) / 255.0f;
    const float green = static_cast<float>(c.green) / 255.0f;
    const float blue = static_cast<float>(c.blue) / 255.0f;
    const GameDisplay& display = *GetGameDisplay();
    const StackArea area = GetStackArea();
    const Point start = physical ? Centre(CardRect(source)) : Point{area.right - 32, area.top + 48};
    const bool ownTarget = entry->targetCard == source || IsAttachedTo(source, entry->targetCard);
    if (!physical && ((entry->isAbility && !ownTarget) || !arrow)) {
        const Point centre = Centre(CardRect(source));
        display.DrawCurvedArrow(start.x, start.y, centre.x, start.y, centre.x, centre.y, 0.0f, red / 1.5f,
                                green / 1.5f, blue / 1.5f, 0.5f, false, false, ARROW_HALF_WIDTH, ARROW_DEPTH);
    }
    if (!arrow)
        return;
    if (entry->targetCard == source) {
        display.DrawHoverGlow(CardRect(source), ARROW_DEPTH, c.red, c.green, c.blue, false);
        return;
    }
    if (IsAttachedTo(source, entry->targetCard)) {
        display.DrawHoverGlow(CardRect(source), ARROW_DEPTH, c.red, c.green, c.blue, false);
        display.DrawHoverGlow(CardRect(entry->targetCard), ARROW_DEPTH, c.red, c.green, c.blue, false);
        return;
    }
    Point end = TargetPoint(*this, *entry, start);
    const bool toCpu = entry->targetCard == nullptr && entry->targetPlayer == FindActorByName(u"cpuplayer");
    if (toCpu)
        end = Point{end.x - 8, end.y + 8};
    const float bend = GetStackArrowBend(end.y - start.y, s_ScreenRect.bottom - s_ScreenRect.top);
    display.DrawCurvedArrow(start.x - 8, start.y + 8, end.x, start.y, end.x, end.y, bend, red, green, blue, 0.5f,
                            false, true, ARROW_HALF_WIDTH, ARROW_DEPTH);
}
