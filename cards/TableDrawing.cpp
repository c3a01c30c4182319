#include "cards/TableDrawing.h"

#include "cards/CardActor.h"
#include "cards/CardBehaviour.h"
#include "cards/CardMarks.h"
#include "cards/CardOverLay.h"
#include "cards/CardWindows.h"
#include "cards/GraveyardLists.h"
#include "cards/TableEffects.h"
#include "cards/TableInput.h"
#include "engine/raster/Raster.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gamestate/HandAnimationLists.h"
#include "gamestate/Intro.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gamestate/TableLessonCalls.h"
#include "gamestate/TurnAdviceState.h"
#include "gamestate/TurnFlags.h"
#include "platform/Platform.h"
#include "rules/BoardSteps.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <algorithm>
#include <array>

namespace {

// Five basic kinds, and one more for any other land so that it still gets a column.
constexpr int LAND_KIND_COUNT = 6;
constexpr int OTHER_LAND_KIND = 5;
constexpr int AURA_OFFSET = 12;
constexpr float QUARTER_TURN = 1.570795f;
constexpr float FRONT_DEPTH = 8.0f;
constexpr float SPECIAL_SLOT_DEPTH = 199.0f;
constexpr float ZONE_HINT_DEPTH = 1000.0f;
constexpr float CPU_PANEL_GLOW_DEPTH = 19900.0f;
constexpr float HUMAN_PANEL_GLOW_DEPTH = 19999.0f;
constexpr float SPELL_SHIFT = 8.0f;
constexpr int STATE_LEAVING_CREATURES_SHOWN = 13;
constexpr int LESSON_TAG_LAND_HINT = 45;
constexpr int LESSON_TAG_DIM_UPRIGHT = 30;
constexpr int ZONE_CPU_PANEL = 2;
constexpr int ZONE_HUMAN_PANEL = 3;
constexpr int ZONE_HAND_ROW = 9;
constexpr int PILE_FACE_DOWN = 5;
// A carried card lies over the table and just under the hand that carries it (depth 150).
constexpr float CARRIED_CARD_DEPTH = 160.0f;
constexpr int CPU_HAND_BACK_WIDTH = 36;
constexpr int CPU_HAND_BACK_HEIGHT = 54;
constexpr float SHIELD_UPRIGHT_Y = 45.0f;
constexpr float SHIELD_TURNED_Y = 22.0f;
constexpr int ZONE_HAND_ROW_END = 17;
constexpr float STACK_ROW_DEPTH = 500.0f;
constexpr int STACK_ROW_INSET = 4;
constexpr int STACK_ROW_FAN = 12;

struct OwnerCounts {
    std::array<int, LAND_KIND_COUNT> kindCounts{};
    std::array<int, LAND_KIND_COUNT> kindOrder{};
    std::array<int, LAND_KIND_COUNT> kindPlaced{};
    int kindsPresent = 0;
    int landCount = 0;
    int nonLandCount = 0;
    int nonLandPlaced = 0;
};

struct TableDrawState {
    std::array<OwnerCounts, 2> owners{};
    // What the last layout was made for; -1 before the first.
    std::array<int, 2> storedNonLand{-1, -1};
    std::array<int, 2> storedLandColumns{-1, -1};
    std::array<int, 2> previousLandCount{-1, -1};
    std::array<int, 2> storedOnlineSlots{-1, -1};
    int sick = 0;
    int shield = 0;
    std::vector<TableCardDraw> drawn;
};

TableDrawState s_State;

int OwnerIndex(const CardActor* card)
{
    return card->GetOwner() == PLAYER_CPU ? 1 : 0;
}

int LandKind(const CardActor* card)
{
    const int kind = card->GetBasicLandKind();
    return kind >= 0 && kind < OTHER_LAND_KIND ? kind : OTHER_LAND_KIND;
}

int ColumnCapacity(int owner)
{
    return std::max(GetGameDisplay()->m_TableSlots[static_cast<std::size_t>(owner)].stackLimit, 1);
}

int CeilDiv(int a, int b)
{
    return (a + b - 1) / b;
}

int LandColumnsNeeded(const OwnerCounts& counts, int capacity)
{
    int columns = 0;
    for (int i = 0; i < counts.kindsPresent; ++i)
        columns += CeilDiv(counts.kindCounts[static_cast<std::size_t>(counts.kindOrder[static_cast<std::size_t>(i)])],
                           capacity);
    return columns;
}

// The columns of the kinds placed before the card's kind, in order of first appearance.
int ColumnsBeforeKind(const OwnerCounts& counts, int kind, int capacity)
{
    int columns = 0;
    for (int i = 0; i < counts.kindsPresent; ++i) {
        const int other = counts.kindOrder[static_cast<std::size_t>(i)];
        if (other == kind)
            break;
        columns += CeilDiv(counts.kindCounts[static_cast<std::size_t>(other)], capacity);
    }
    return columns;
}

// Slot lists hold only what the last layout filled: an index past them takes the last entry.
int ClampToFilled(int index, int filled)
{
    return std::clamp(index, 0, std::clamp(filled, 1, TABLE_SLOT_COUNT) - 1);
}

void CountCard(OwnerCounts& counts, const CardActor* card, bool land)
{
    if (!land) {
        ++counts.nonLandCount;
        return;
    }
    const int kind = LandKind(card);
    ++counts.landCount;
    if (counts.kindCounts[static_cast<std::size_t>(kind)]++ == 0)
        counts.kindOrder[static_cast<std::size_t>(counts.kindsPresent++)] = kind;
}

void StoreLayoutInputs(int owner, int permanents)
{
    PlayerTableSlots& slots = GetGameDisplay()->m_TableSlots[static_cast<std::size_t>(owner)];
    const OwnerCounts& counts = s_State.owners[static_cast<std::size_t>(owner)];
    slots.permanentCount = permanents;
    slots.landGroupCount = counts.kindsPresent;
    for (int i = 0; i < counts.kindsPresent; ++i)
        slots.landGroupSizes[static_cast<std::size_t>(i)] =
            counts.kindCounts[static_cast<std::size_t>(counts.kindOrder[static_cast<std::size_t>(i)])];
}

bool IsSpell(const CardActor* card)
{
    return card->GetCardType() == CT_SORCERY || card->GetCardType() == CT_INSTANT;
}

// The physical table shows lands, creatures, artifacts, spells and enchantments that are not an aura on a host.
bool IsShownPhysical(const CardActor* card, bool& land)
{
    land = card->GetCardType() == CT_LAND;
    switch (card->GetCardType()) {
    case CT_LAND:
    case CT_CREATURE:
    case CT_ARTIFACT:
    case CT_SORCERY:
    case CT_INSTANT:
        return true;
    case CT_ENCHANT:
        return card->GetHost() == nullptr || !card->GetHost()->IsEnchantedBy(card, false);
    default:
        return false;
    }
}

// The online table shows no spells, and of the enchantments those without a host or that enchant no card.
bool IsShownOnline(const CardActor* card, bool& land)
{
    land = card->GetCardType() == CT_LAND;
    switch (card->GetCardType()) {
    case CT_LAND:
    case CT_CREATURE:
    case CT_ARTIFACT:
        return true;
    case CT_ENCHANT: {
        const int subType = card->GetSubType();
        return card->GetHost() == nullptr || subType == ENCH_SELF || subType == ENCH_GLOBAL ||
               subType == ENCH_OPPONENT;
    }
    default:
        return false;
    }
}

bool IsSpecialSlot(const CardActor* card)
{
    const TableFlowState& flow = GetTableFlow();
    return std::find(flow.pendingSlots.begin(), flow.pendingSlots.end(), card) != flow.pendingSlots.end() ||
           flow.cardDrawnByHand == card;
}

bool IsLateSpecialSlot(const CardActor* card)
{
    const TableFlowState& flow = GetTableFlow();
    return card == flow.pendingSlots[1] || card == flow.pendingSlots[2];
}

bool IsDraggedHumanCard(const CardActor* card)
{
    return card->GetOwner() == PLAYER_HUMAN && GetDraggedCard() == card;
}

bool IsTurned(const CardActor* card)
{
    return card->GetTapState() == TAP_TAPPED && (card->m_Flags & ACTOR_FLAG_KEEP_UPRIGHT) == 0;
}

bool PlayerActorInState(int state)
{
    const Actor* const human = GetHumanPlayerActor();
    const Actor* const cpu = GetCpuPlayerActor();
    return (human != nullptr && human->GetState() == state) || (cpu != nullptr && cpu->GetState() == state);
}

RasterRect RectAt(float x, float y, int width, int height)
{
    RasterRect rect;
    rect.left = static_cast<int>(x);
    rect.top = static_cast<int>(y);
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    return rect;
}

void DrawFace(int texture, const RasterRect& rect, float depth)
{
    GetRaster()->DrawTextureEx(texture, static_cast<float>(rect.left), static_cast<float>(rect.top),
                               static_cast<float>(rect.right), static_cast<float>(rect.bottom), depth, 0);
}

void DrawSick(const RasterRect& rect, float depth)
{
    GetRaster()->DrawTextureTiled(s_State.sick, static_cast<float>(rect.left), static_cast<float>(rect.top),
                                  static_cast<float>(rect.right), static_cast<float>(rect.bottom), depth,
                                  RASTER_FLAG_KEYED);
}

void DrawShields(const CardActor* card, float x, float y, float depth, bool turned)
{
    const float top = y + (turned ? SHIELD_TURNED_Y : SHIELD_UPRIGHT_Y);
    for (int i = 0; i < card->GetShields(); ++i)
        GetGameDisplay()->DrawTexture(s_State.shield, x + 3.0f + 12.0f * static_cast<float>(i), top, depth, 0, 0);
}

// A spell on the table throws sparks about as often at any frame rate, and casts a shadow.
void DrawSpellSparkleAndShadow(CardActor* card, const RasterRect& rect, float depth, bool chosen)
{
    const int width = std::max(rect.right - rect.left, 1);
    const int height = std::max(rect.bottom - rect.top, 1);
    const int rate = static_cast<int>(std::max(s_FramesPerSecond / 34.0f, 1.0f));
    if (plat::Rand() % rate == 0) {
        const float dx = static_cast<float>(plat::Rand() % width - 16);
        const float dy = static_cast<float>(plat::Rand() % height - 16);
        Actor* const sparkle = SpawnChildActor(card, u"sparkle", 0, SparkleBehaviour, dx, dy, 0.0f);
        if (sparkle != nullptr)
            sparkle->m_Lifetime = chosen ? 1 : 8 + plat::Rand() % 20;
    }
    const bool human = card->GetOwner() == PLAYER_HUMAN;
    const int d = human ? 8 : -8;
    Raster* const raster = GetRaster();
    const std::uint16_t colour = human ? raster->MakeColor(86, 76, 36, 128) : raster->MakeColor(76, 76, 76, 128);
    DrawFrameRect(static_cast<float>(rect.left - 8), static_cast<float>(rect.top + d),
                  static_cast<float>(rect.right - 8), static_cast<float>(rect.bottom + d), depth, colour, true, 1.0f);
}

void DrawFrames(const CardActor* card, const RasterRect& rect, float depth, bool turned)
{
    const TableFlowState& flow = GetTableFlow();
    const GameDisplay& display = *GetGameDisplay();
    if (std::find(flow.pendingSlots.begin(), flow.pendingSlots.end(), card) != flow.pendingSlots.end()) {
        display.DrawHoverGlow(rect, depth, 255, 128, 0, false);
        return;
    }
    if (card != flow.onlineChosenCard && card != flow.awaitingPayment && card != flow.focusCard)
        return;
    if (turned) {
        const Actor* const active = s_HumanTurn ? GetHumanPlayerActor() : GetCpuPlayerActor();
        const bool explained = active != nullptr && g_TableLessonCalls.IsBasicLessonStep != nullptr &&
                              g_TableLessonCalls.IsBasicLessonStep(active->GetState()) &&
                               flow.stepCards.contains(const_cast<CardActor*>(card));
        if (explained)
            return;
    }
    display.DrawHoverGlow(rect, depth, 0, 255, 0, false);
    if (flow.markedActors.contains(const_cast<CardActor*>(card)))
        display.DrawHoverGlow(rect, depth, 255, 255, 0, false);
}

// A CPU card the acting hand has still to take out of the CPU's hand shows as a back there; the card a hand
// carries shows face up under it, growing from the size it was picked up at to its size at its place. True when
// the card was drawn here.
bool DrawCardInDemoHand(const CardActor* card, int& width, int& height, float depth)
{
    const int x = static_cast<int>(card->m_Position.x);
    const int y = static_cast<int>(card->m_Position.y);
    const DemoCarry& carry = GetDemoCarry();
    if (carry.card == card) {
        GetCarriedDrawSize(x, y, static_cast<int>(card->m_TargetPoint.x), static_cast<int>(card->m_TargetPoint.y),
                           width, height, width, height);
        DrawFace(card->m_Texture, RectAt(card->m_Position.x, card->m_Position.y, width, height), CARRIED_CARD_DEPTH);
        return true;
    }
    constexpr std::uint32_t awaitingHand = ACTOR_FLAG_AWAITING_HAND | ACTOR_FLAG_CPU_REVEALED;
    if ((card->m_Flags & awaitingHand) != awaitingHand)
        return false;
    // Once the hand has taken it up it waits at its slot in the hand of backs; before, it is not on the table yet.
    if (card->m_EasingStopped)
        DrawPileImage(RasterRect{x, y, x + CPU_HAND_BACK_WIDTH, y + CPU_HAND_BACK_HEIGHT}, PILE_FACE_DOWN, depth);
    return true;
}

void DrawPhysicalCard(CardActor* card, float depth)
{
    const GameDisplay& display = *GetGameDisplay();
    const TableFlowState& flow = GetTableFlow();
    const bool turned = IsTurned(card);
    card->m_Rotation.z = turned ? QUARTER_TURN : 0.0f;
    int width = 0;
    int height = 0;
    display.GetCardDrawSize(card, width, height, false);
    const float x = card->m_Position.x;
    const float y = card->m_Position.y + static_cast<float>(AURA_OFFSET * card->CountAttachedAuras(false) / 2);
    if (DrawCardInDemoHand(card, width, height, depth))
        return;
    const RasterRect rect = RectAt(x, y, width, height);
    DrawAttachments(*card, x, y, depth);
    if (!card->m_Arrived) {
        if (card->m_BeingDragged) {
            DrawPileImage(rect, PILE_FACE_DOWN, depth);
        } else {
            const bool chosen = card == flow.onlineChosenCard;
            if (!turned && IsSpell(card) && (card->CanAct() || card->GetTapState() == TAP_NEW || chosen))
                DrawSpellSparkleAndShadow(card, rect, depth, chosen);
            DrawFace(turned ? card->m_TextureRotated : card->m_Texture, rect, depth);
        }
    }
    // The intro points out one card type by the glow while it explains the hand.
    if (GetHighlightedCardType() != -1 && !IsIntroFinished() && card->GetCardType() == GetHighlightedCardType())
        display.DrawHoverGlow(rect, depth, 0, 255, 0, false);
    if (GetSpellStack().GetTopCard() == card) {
        const bool cpu = card->GetOwner() == PLAYER_CPU;
        if (cpu)
            display.DrawHoverGlow(rect, depth, 255, 255, 0, false);
        else if (!turned)
            display.DrawHoverGlow(rect, depth, 0, 255, 0, false);
    }
    DrawShields(card, x, y, depth, turned);
    if (card->GetDamage() > 0)
        DrawDamageMarks(*card, turned, depth);
    if (card->IsExitMoveBackward() && !card->m_BeingDragged) {
        const bool creatureShown = card->GetCardType() == CT_CREATURE && PlayerActorInState(STATE_LEAVING_CREATURES_SHOWN);
        if (!creatureShown)
            DrawSick(rect, depth);
    } else if (!turned && flow.lessonBoxShown && flow.lessonTag == LESSON_TAG_DIM_UPRIGHT) {
        DrawSick(rect, depth);
    }
    DrawFrames(card, rect, depth, turned);
    DrawPowerToughness(*card, width, height, depth);
    DrawCardStateLabels(*card, width, height, depth);
    s_State.drawn.push_back(TableCardDraw{card, x, y, depth, turned});
    // The mouse finds the card through a window where it shows: tapping a land, the zoom and the close-up need it.
    if (!card->IsDragging())
        CreateCardWindowAt(card, static_cast<int>(x), static_cast<int>(y), width, height);
}

void DrawZoneHint()
{
    const TableFlowState& flow = GetTableFlow();
    const GameDisplay& display = *GetGameDisplay();
    const CardActor* const second = flow.pendingSlots[1];
    RasterRect area;
    if (second != nullptr && second->IsInLibrary()) {
        area.left = display.GetZoneRectByIndex(ZONE_HAND_ROW).left;
        area.top = display.m_HandSlots[0].y;
        area.right = s_ClientWidth;
        area.bottom = s_ClientHeight;
        display.DrawHoverGlow(area, ZONE_HINT_DEPTH, 0, 255, 0, true);
        return;
    }
    if (second != nullptr) {
        if (second->IsLand())
            display.GetPlayerLandArea(area);
        else
            display.GetPlayAreaRect(area);
    } else if (flow.lessonBoxShown && flow.lessonTag == LESSON_TAG_LAND_HINT) {
        display.GetPlayerLandArea(area);
    } else {
        return;
    }
    display.DrawHoverGlow(area, ZONE_HINT_DEPTH, 0, 255, 0, false);
}

void DrawMarksAndLinks()
{
    const TableFlowState& flow = GetTableFlow();
    const GameDisplay& display = *GetGameDisplay();
    const auto marked = [&flow](const Actor* actor) {
        return actor != nullptr && flow.markedActors.contains(const_cast<Actor*>(actor));
    };
    if (marked(GetCpuPlayerActor()))
        display.DrawHoverGlow(display.GetZoneRectByIndex(ZONE_CPU_PANEL), CPU_PANEL_GLOW_DEPTH, 255, 255, 0, false);
    if (marked(GetHumanPlayerActor()))
        display.DrawHoverGlow(display.GetZoneRectByIndex(ZONE_HUMAN_PANEL), HUMAN_PANEL_GLOW_DEPTH, 255, 255, 0,
                              false);
    const auto leavingForward = [](const Actor* actor) {
        const CardActor* const card = AsCardActor(actor);
        return card != nullptr && card->IsExitMoveForward();
    };
    for (const ActorLink& link : flow.actorLinks) {
        if (!leavingForward(link.from) && !leavingForward(link.to))
            display.DrawLinkBetweenCards(link.from, link.to, 1.0f, 1.0f, 0.0f, link.style1, link.style2, 12, 8.0f);
    }
}

// Every registered card actor in registry order.
std::vector<CardActor*> TableCards()
{
    std::vector<CardActor*> cards;
    for (int i = 0; i < GetActorCount(); ++i) {
        if (CardActor* const card = AsCardActor(GetActorAt(i)))
            cards.push_back(card);
    }
    return cards;
}

void BeginFrame()
{
    s_State.sick = GetTextureByName(u"sick");
    s_State.shield = GetTextureByName(u"shield");
    s_State.owners = {};
    s_State.drawn.clear();
}

void SortDrawn()
{
    std::stable_sort(s_State.drawn.begin(), s_State.drawn.end(),
                     [](const TableCardDraw& a, const TableCardDraw& b) { return a.depth < b.depth; });
}

} // namespace

void PlaceLandPhysical(MatSlot& out, const CardActor* card)
{
    const int owner = OwnerIndex(card);
    OwnerCounts& counts = s_State.owners[static_cast<std::size_t>(owner)];
    const PlayerTableSlots& slots = GetGameDisplay()->m_TableSlots[static_cast<std::size_t>(owner)];
    const int capacity = ColumnCapacity(owner);
    const int kind = LandKind(card);
    const int n = counts.kindPlaced[static_cast<std::size_t>(kind)]++;
    const int column = ClampToFilled(ColumnsBeforeKind(counts, kind, capacity) + n / capacity, slots.landColumns);
    const int row = n % capacity;
    const MatSlot& origin = slots.landSlots[static_cast<std::size_t>(column)];
    out.x = static_cast<float>(row * slots.stepX) + origin.x;
    out.y = static_cast<float>(row * slots.stepY) + origin.y +
            static_cast<float>(AURA_OFFSET * card->CountAttachedAuras(false));
    out.depth = origin.depth;
}

void PlaceOtherPhysical(MatSlot& out, const CardActor* card)
{
    const int owner = OwnerIndex(card);
    OwnerCounts& counts = s_State.owners[static_cast<std::size_t>(owner)];
    const PlayerTableSlots& slots = GetGameDisplay()->m_TableSlots[static_cast<std::size_t>(owner)];
    out = slots.permanentSlots[static_cast<std::size_t>(ClampToFilled(counts.nonLandPlaced++, slots.permanentCount))];
}

void PlaceCardOnline(MatSlot& out, const CardActor* card)
{
    const int owner = OwnerIndex(card);
    OwnerCounts& counts = s_State.owners[static_cast<std::size_t>(owner)];
    const PlayerTableSlots& slots = GetGameDisplay()->m_TableSlots[static_cast<std::size_t>(owner)];
    out.depth = card->m_Position.z;
    if (card->GetCardType() != CT_LAND) {
        const MatPoint& point =
            slots.onlineSlots[static_cast<std::size_t>(ClampToFilled(counts.nonLandPlaced++, slots.permanentCount))];
        out.x = static_cast<float>(point.x);
        out.y = static_cast<float>(point.y);
        return;
    }
    const int capacity = ColumnCapacity(owner);
    const int kind = LandKind(card);
    const int n = counts.kindPlaced[static_cast<std::size_t>(kind)]++;
    const int column = ClampToFilled(counts.nonLandCount + ColumnsBeforeKind(counts, kind, capacity) + n / capacity,
                                     slots.permanentCount);
    const int row = n % capacity;
    const MatPoint& point = slots.onlineSlots[static_cast<std::size_t>(column)];
    out.x = static_cast<float>(point.x + row * slots.stepX);
    out.y = static_cast<float>(point.y + row * slots.stepY + AURA_OFFSET * card->CountAttachedAuras(false));
}

void DrawPhysicalTable()
{
    BeginFrame();
    GameDisplay& display = *GetGameDisplay();
    const TableFlowState& flow = GetTableFlow();
    const std::vector<CardActor*> cards = TableCards();

    for (const CardActor* card : cards) {
        bool land = false;
        const bool leavingShown = card->IsNotLeaving() || (card->IsExitMoveBackward() && !IsCardInDelayedSet(card));
        const bool special = IsLateSpecialSlot(card) || card == flow.cardDrawnByHand;
        if (card->GetTapState() == TAP_OFF_TABLE || card->IsHeld() || card->IsInLibrary() || special ||
            card->m_Arrived || !leavingShown || !IsShownPhysical(card, land))
            continue;
        CountCard(s_State.owners[static_cast<std::size_t>(OwnerIndex(card))], card, land);
    }

    for (int owner = 0; owner < 2; ++owner) {
        const OwnerCounts& counts = s_State.owners[static_cast<std::size_t>(owner)];
        const auto o = static_cast<std::size_t>(owner);
        const int columns = LandColumnsNeeded(counts, ColumnCapacity(owner));
        const bool changed = counts.nonLandCount != s_State.storedNonLand[o] ||
                             columns != s_State.storedLandColumns[o] ||
                             counts.landCount != s_State.previousLandCount[o];
        s_State.previousLandCount[o] = counts.landCount;
        if (!changed)
            continue;
        s_State.storedNonLand[o] = counts.nonLandCount;
        StoreLayoutInputs(owner, counts.nonLandCount);
        display.PlaceTableCards();
        // The layout may choose another column depth: keep the columns it was made for.
        s_State.storedLandColumns[o] = LandColumnsNeeded(counts, ColumnCapacity(owner));
    }

    for (CardActor* card : cards) {
        bool land = false;
        const bool libraryShown = !card->IsInLibrary() || card == flow.pendingSlots[1];
        if ((card->GetTapState() == TAP_OFF_TABLE && card != flow.pendingSlots[1]) || card->IsExitMoveForward() ||
            card->m_Arrived || card->IsHeld() || !libraryShown || !IsShownPhysical(card, land))
            continue;
        const bool keepTarget = IsSpecialSlot(card) ||
                                (card->IsExitMoveBackward() && (IsCardInDelayedSet(card) || card->m_EasingStopped));
        if (!keepTarget) {
            MatSlot slot;
            if (land)
                PlaceLandPhysical(slot, card);
            else
                PlaceOtherPhysical(slot, card);
            if (IsSpell(card)) {
                slot.x += SPELL_SHIFT;
                slot.y += card->GetOwner() == PLAYER_HUMAN ? -SPELL_SHIFT : SPELL_SHIFT;
            }
            card->m_TargetPoint = Vector3{slot.x, slot.y, slot.depth};
        }
        float depth = card->m_TargetPoint.z;
        if (card == flow.followSlots[0] || IsDraggedHumanCard(card))
            depth = FRONT_DEPTH;
        else if (IsLateSpecialSlot(card))
            depth = SPECIAL_SLOT_DEPTH;
        s_State.drawn.push_back(TableCardDraw{card, 0.0f, 0.0f, depth, false});
    }
    SortDrawn();

    DrawZoneHint();
    std::vector<TableCardDraw> order;
    order.swap(s_State.drawn);
    for (const TableCardDraw& entry : order)
        DrawPhysicalCard(entry.card, entry.depth);
    DrawMarksAndLinks();
}

// Each blocker shows stacked on its attacker, 5 px higher per blocker slot and in front of the ones before it,
// dimmed, with a window there for the mouse; its own position is kept.
static void DrawOnlineBlockers(const std::vector<CardActor*>& cards)
{
    const GameDisplay& display = *GetGameDisplay();
    for (CardActor* const blocker : cards) {
        const CardActor* const attacker = blocker->GetBlockedAttacker();
        if (attacker == nullptr || IsGraveyardListOpen(blocker->GetOwner()))
            continue;
        int place = 0;
        for (int slot = 0; slot < CARD_SLOT_COUNT && place == 0; ++slot) {
            if (attacker->GetBlocker(slot) == blocker)
                place = slot + 1;
        }
        if (place == 0)
            continue;
        int width = 0;
        int height = 0;
        const int host = attacker->IsLand() ? 1 : 0;
        if (host != 0)
            display.GetPileCardSize(blocker->GetOwner(), width, height);
        else
            display.GetPermanentCardSize(blocker->GetOwner(), width, height);
        const float x = attacker->m_Position.x;
        const float y = attacker->m_Position.y - 5.0f * static_cast<float>(place);
        const float depth = blocker->m_Position.z + 200.0f + 100.0f * static_cast<float>(place);
        const RasterRect rect = RectAt(x, y, width, height);
        DrawFace(blocker->m_Texture, rect, depth);
        DrawSick(rect, depth);
        CreateCardWindowAt(blocker, static_cast<int>(x), static_cast<int>(y), width, height);
    }
}

// A spell waiting on the stack stands at the free end of the stack row, right of the game log, and rises over
// the hand row's end behind the hand: the learner sees the card a prompt to respond is about, and the mouse finds
// it there. Abilities and cards awaiting the hand the stack draws itself.
static void DrawStackRowCards()
{
    if (!IsStackRowShown())
        return;
    SpellStack& stack = GetSpellStack();
    std::vector<CardActor*> spells;
    for (int i = 0; i < stack.GetCount(); ++i) {
        const StackEntry* const entry = stack.GetEntry(i);
        if (entry != nullptr && entry->card != nullptr && !entry->isAbility &&
            (entry->card->m_Flags & ACTOR_FLAG_AWAITING_HAND) == 0)
            spells.push_back(entry->card);
    }
    const GameDisplay& display = *GetGameDisplay();
    const RasterRect& end = display.GetZoneRectByIndex(ZONE_HAND_ROW_END);
    const int width = display.GetCardWidth();
    const int height = display.GetCardHeight();
    const int count = static_cast<int>(spells.size());
    // The top of the stack lies rightmost and in front.
    for (int i = 0; i < count; ++i) {
        CardActor* const spell = spells[static_cast<std::size_t>(i)];
        const int x = end.right - STACK_ROW_INSET - width - STACK_ROW_FAN * (count - 1 - i);
        const int y = end.bottom - STACK_ROW_INSET - height;
        DrawFace(spell->m_Texture, RectAt(static_cast<float>(x), static_cast<float>(y), width, height),
                 STACK_ROW_DEPTH - static_cast<float>(i));
        CreateCardWindowAt(spell, x, y, width, height);
    }
}

void DrawOnlineTable()
{
    BeginFrame();
    GameDisplay& display = *GetGameDisplay();
    const std::vector<CardActor*> cards = TableCards();
    const auto shown = [](const CardActor* card, bool& land) {
        return card->GetTapState() != TAP_OFF_TABLE && card->IsNotLeaving() && !card->IsHeld() &&
               !card->IsSummoningSick() && IsShownOnline(card, land);
    };

    for (const CardActor* card : cards) {
        bool land = false;
        if (shown(card, land))
            CountCard(s_State.owners[static_cast<std::size_t>(OwnerIndex(card))], card, land);
    }
    bool changed = false;
    for (int owner = 0; owner < 2; ++owner) {
        const OwnerCounts& counts = s_State.owners[static_cast<std::size_t>(owner)];
        const int slotsNeeded = counts.nonLandCount + LandColumnsNeeded(counts, ColumnCapacity(owner));
        if (slotsNeeded == s_State.storedOnlineSlots[static_cast<std::size_t>(owner)])
            continue;
        s_State.storedOnlineSlots[static_cast<std::size_t>(owner)] = slotsNeeded;
        StoreLayoutInputs(owner, slotsNeeded);
        changed = true;
    }
    if (changed)
        display.PlaceTableCardsOnline();
    // Rebuilt each frame: the combat links look the mouse up in them.
    display.m_PlacedCards.clear();
    DrawOnlineBlockers(cards);
    DrawStackRowCards();

    for (CardActor* card : cards) {
        bool land = false;
        if (!shown(card, land) || IsGraveyardListOpen(card->GetOwner()))
            continue;
        MatSlot slot;
        PlaceCardOnline(slot, card);
        card->m_TargetPoint.x = slot.x;
        card->m_TargetPoint.y = slot.y;
        display.m_PlacedCards.push_back(PlacedCardRecord{card, slot.x, slot.y});
        const float depth = IsDraggedHumanCard(card) ? FRONT_DEPTH : card->m_Position.z;
        const bool turned = IsTurned(card);
        card->m_Rotation.z = turned ? QUARTER_TURN : 0.0f;
        int width = 0;
        int height = 0;
        display.GetCardDrawSize(card, width, height, false);
        const int auraShift = AURA_OFFSET * card->CountAttachedAuras(false) / 2;
        const float x = card->m_Position.x;
        // Upright cards too: their window lies below their auras, so the face goes there as well.
        const float y = card->m_Position.y + static_cast<float>(auraShift);
        DrawAttachments(*card, x, y, depth);
        const RasterRect rect = RectAt(x, y, width, height);
        if (!card->m_Arrived)
            DrawFace(turned ? card->m_TextureRotated : card->m_Texture, rect, depth);
        DrawShields(card, x, y, depth, turned);
        if (card->GetDamage() > 0)
            DrawDamageMarks(*card, turned, depth);
        if (card->GetTapState() == TAP_NEW && !card->IsSummoningSick())
            DrawSick(rect, depth);
        DrawPowerToughness(*card, width, height, depth);
        DrawCardStateLabels(*card, width, height, depth);
        s_State.drawn.push_back(TableCardDraw{card, x, y, depth, turned});

        // The card window lies where the card shows, below its auras; the card itself stays where it is.
        const bool atTarget = card->m_Position.x == card->m_TargetPoint.x && card->m_Position.y == card->m_TargetPoint.y;
        if (card->GetTapState() == TAP_TAPPED || auraShift > 0 || atTarget) {
            const float kept = card->m_Position.y;
            card->m_Position.y += static_cast<float>(auraShift);
            CreateCardWindowForActor(card, width, height);
            card->m_Position.y = kept;
        }
    }
    SortDrawn();
}

const std::vector<TableCardDraw>& GetTableCardsDrawn()
{
    return s_State.drawn;
}

void ResetTableDrawing()
{
    s_State = TableDrawState();
}
