#include "cards/CardMarks.h"

#include "cards/CardActor.h"
#include "cards/CardWindows.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

constexpr int TEXT_DEPTH_RESTING = 19999;
constexpr int CPU_PLAYER = 1;
constexpr int AURA_STEP = 12;
constexpr int SMALL_FACE_PT_TOP = 85;
constexpr int SMALL_FACE_HEIGHT = 98;
// Colours as 0x00BBGGRR.
constexpr std::uint32_t COLOUR_YELLOW = 0x00FFFF;
constexpr std::uint32_t COLOUR_GREEN = 0x00FF00;
constexpr std::uint32_t COLOUR_POWER = 0x3040FF;   // (255, 64, 48)
constexpr std::uint32_t COLOUR_DAMAGE = 0x2020FF;  // (255, 32, 32)
constexpr std::uint32_t COLOUR_BLACK = 0;
constexpr int DAMAGE_FONT = 12;
constexpr int LABEL_FONT = 4;

constexpr std::array<const char16_t*, DAMAGE_TEXT_COUNT> DAMAGE_TEXTS = {
    u"1",  u"2",  u"3",  u"4",  u"5",  u"6",  u"7",  u"8",  u"9",  u"10", u"11",
    u"12", u"13", u"14", u"15", u"16", u"17", u"18", u"19", u"20", u"20+"};

// The text's extent in the font, as the raster would draw it from (0, 0).
RasterRect Measure(std::u16string_view text, int font)
{
    RasterRect out;
    Raster* const raster = GetRaster();
    if (raster != nullptr)
        raster->DrawTextNow(text, RasterRect{0, 0, -1, 0}, &out, 0, font);
    return out;
}

void FillBlack(int left, int top, int right, int bottom, float depth)
{
    Raster* const raster = GetRaster();
    if (raster != nullptr)
        raster->FillRect(static_cast<float>(left), static_cast<float>(top), static_cast<float>(right),
                         static_cast<float>(bottom), depth, 0);
}

int AuraOffset(const CardActor& card)
{
    return AURA_STEP * card.CountAttachedAuras(false) / 2;
}

bool Produces(const ManaCost& made, int kind)
{
    switch (kind) {
    case 0: return made.generic + made.red + made.green + made.blue + made.black + made.white > 0;
    case 1: return made.black > 0;
    case 2: return made.blue > 0;
    case 3: return made.green > 0;
    case 4: return made.red > 0;
    default: return made.white > 0;
    }
}

} // namespace

const char16_t* GetDamageText(int total)
{
    return DAMAGE_TEXTS[static_cast<std::size_t>(std::clamp(total - 1, 0, DAMAGE_TEXT_COUNT - 1))];
}

bool ShouldShowPowerToughness(const CardActor& card)
{
    const CARD* const definition = card.GetCard();
    if (definition == nullptr)
        return false;
    const CreatureStats& printed = *definition->GetCreatureStats();
    return card.GetStats().power != printed.power || card.GetStats().toughness != printed.toughness;
}

std::uint32_t GetCardStateLabels(const CardActor& card)
{
    const CARD* const definition = card.GetCard();
    if (definition == nullptr || card.GetCardType() != CT_CREATURE)
        return 0;
    const CreatureStats& now = card.GetStats();
    const CreatureStats& printed = *definition->GetCreatureStats();
    std::uint32_t labels = 0;
    if (!card.IsAttacking() && card.GetBlockedAttacker() != nullptr)
        labels |= LABEL_SHOWS_BLOCKING;
    const bool upright = (card.m_Flags & ACTOR_FLAG_KEEP_UPRIGHT) != 0;
    if (card.IsAttacking() && (!upright || now.noTapAttack) && card.CanAct())
        labels |= LABEL_SHOWS_ATTACKING;
    if (card.HasRegenerationShield())
        labels |= LABEL_SHOWS_REGEN;
    if (now.flying && !printed.flying)
        labels |= LABEL_SHOWS_FLYING;
    if (now.firstStrike && !printed.firstStrike)
        labels |= LABEL_SHOWS_FIRSTSTRIKE;
    return labels;
}

void DrawAttachments(const CardActor& card, float x, float y, float depth)
{
    const GameDisplay& display = *GetGameDisplay();
    int aurasAbove = card.CountAttachedAuras(false);
    float z = depth + 4.0f * static_cast<float>(aurasAbove);
    for (int slot = CARD_SLOT_COUNT - 1; slot >= 0; --slot) {
        CardActor* const attachment = card.GetAttachment(slot);
        if (attachment == nullptr || attachment->GetSpellEffect()->duration != DURATION_PERMANENT)
            continue;
        if (!attachment->IsNotLeaving() && !attachment->IsExitMoveBackward())
            continue;
        if (attachment->GetCardType() == CT_ENCHANT) {
            const float auraY = y - static_cast<float>(AURA_STEP * aurasAbove);
            aurasAbove = std::max(aurasAbove - 1, 0);
            int width = 0;
            int height = 0;
            if (card.IsLand())
                display.GetPileCardSize(card.GetOwner(), width, height);
            else
                display.GetPermanentCardSize(card.GetOwner(), width, height);
            if (Raster* const raster = GetRaster())
                raster->DrawTextureEx(attachment->m_Texture, x, auraY, x + static_cast<float>(width),
                                      auraY + static_cast<float>(height), z, 0);
            attachment->m_Position = Vector3{x, auraY, z};
            CreateCardWindowAt(attachment, static_cast<int>(x), static_cast<int>(auraY), width, height);
        } else {
            const float otherY = y - 10.0f - 10.0f * static_cast<float>(slot);
            GetGameDisplay()->DrawTexture(attachment->m_Texture, x, otherY, z, 0, 0);
            attachment->m_Position = Vector3{x + 32.0f, otherY + 48.0f, z};
        }
        z -= 4.0f;
    }
}

void DrawDamageMarks(const CardActor& card, bool /*turned*/, float depth)
{
    const int total = card.GetDamage() + card.GetPendingDamage();
    Raster* const raster = GetRaster();
    if (total <= 0 || raster == nullptr)
        return;
    const int x = static_cast<int>(card.m_Position.x);
    const int y = static_cast<int>(card.m_Position.y);
    const std::u16string_view text = GetDamageText(total);
    const RasterRect extent = Measure(text, DAMAGE_FONT);
    const int left = x + 28 - 16;
    const int top = y + 14;
    FillBlack(left, top, x + 28 + extent.Width() + 1, top + extent.Height() - 1, depth);
    raster->SetDepth(static_cast<int>(depth));
    raster->DrawText(text, RasterRect{x + 28, y + 14, -1, y + 14}, 0, DAMAGE_FONT, COLOUR_DAMAGE, true);
    raster->SetDepth(TEXT_DEPTH_RESTING);
    GetGameDisplay()->DrawTexture(GetTextureByName(u"damage"), static_cast<float>(x + 12), static_cast<float>(y + 15),
                                  depth, 0, 0);
}

void DrawPowerToughness(const CardActor& card, int width, int height, float depth)
{
    Raster* const raster = GetRaster();
    if (card.GetCardType() != CT_CREATURE || !ShouldShowPowerToughness(card) || raster == nullptr)
        return;
    const std::u16string text = IntToWString(card.GetStats().power) + u"/" + IntToWString(card.GetStats().toughness);
    const int left = static_cast<int>(card.m_Position.x) - 1;
    const int top = static_cast<int>(card.m_Position.y) + AuraOffset(card);
    raster->SetDepth(static_cast<int>(depth));
    GetGameDisplay()->DrawShadowedText(text, RasterRect{left, top, left + width, top + height}, 8, 8, COLOUR_POWER, 1,
                                       1, COLOUR_BLACK);
    raster->SetDepth(TEXT_DEPTH_RESTING);
}

void DrawCardStateLabels(const CardActor& card, int width, int height, float depth)
{
    const std::uint32_t labels = GetCardStateLabels(card);
    Raster* const raster = GetRaster();
    if (labels == 0 || raster == nullptr)
        return;
    const int ox = static_cast<int>(card.m_Position.x) + 2;
    const int oy = static_cast<int>(card.m_Position.y) + AuraOffset(card);
    // "Blocking" sits on the power/toughness box (row 85 of the small face's 98), not over it: the arrow that
    // ends at the blocker's top edge and the label leave both its name and its strength readable.
    const int bottom = oy + height * SMALL_FACE_PT_TOP / SMALL_FACE_HEIGHT;
    raster->SetDepth(static_cast<int>(depth));
    const auto label = [](const char16_t* key) -> std::u16string_view {
        const char16_t* const text = GetString(key);
        return text != nullptr ? text : u"";
    };
    if (labels & LABEL_SHOWS_BLOCKING) {
        const std::u16string_view text = label(u"LABEL_BLOCKING");
        const RasterRect extent = Measure(text, LABEL_FONT);
        FillBlack(ox, bottom - extent.Height(), ox + extent.Width(), bottom - 1, depth);
        raster->DrawText(text, RasterRect{ox, bottom - extent.Height(), ox + extent.Width(), bottom}, 6, LABEL_FONT,
                         COLOUR_YELLOW, true);
    }
    if (labels & LABEL_SHOWS_ATTACKING) {
        const std::u16string_view text = label(u"LABEL_ATTACKING");
        const RasterRect extent = Measure(text, LABEL_FONT);
        FillBlack(ox, oy + 1, ox + extent.Width(), oy + extent.Height(), depth);
        raster->DrawText(text, RasterRect{ox, oy, ox + extent.Width(), oy + extent.Height()}, 0, LABEL_FONT,
                         COLOUR_YELLOW, true);
    }
    struct Keyword {
        std::uint32_t bit;
        const char16_t* key;
        std::uint32_t colour;
    };
    constexpr std::array<Keyword, 3> KEYWORDS = {{{LABEL_SHOWS_REGEN, u"LABEL_REGEN", COLOUR_GREEN},
                                                  {LABEL_SHOWS_FLYING, u"LABEL_FLYING", COLOUR_YELLOW},
                                                  {LABEL_SHOWS_FIRSTSTRIKE, u"LABEL_FIRSTSTRIKE", COLOUR_YELLOW}}};
    int y = oy;
    for (const Keyword& keyword : KEYWORDS) {
        if ((labels & keyword.bit) == 0)
            continue;
        GetGameDisplay()->DrawShadowedText(label(keyword.key), RasterRect{ox, y, ox + width, y + AURA_STEP}, 4,
                                           LABEL_FONT, keyword.colour, 1, 1, COLOUR_BLACK);
        y += AURA_STEP;
    }
    raster->SetDepth(TEXT_DEPTH_RESTING);
}

CardActor* FindHeldCpuLandForCost(const ManaCost* cost)
{
    if (cost == nullptr)
        return nullptr;
    const std::array<int, 6> needs = {cost->generic, cost->black, cost->blue, cost->green, cost->red, cost->white};
    for (int i = 0; i < GetActorCount(); ++i) {
        CardActor* const card = AsCardActor(GetActorAt(i));
        if (card == nullptr || !card->IsHeld() || card->GetOwner() != CPU_PLAYER || !card->IsLand() ||
            !card->IsNotLeaving())
            continue;
        const ManaCost& made = card->GetAbility()->effect.manaProduced;
        for (std::size_t kind = 0; kind < needs.size(); ++kind) {
            if (needs[kind] > 0 && Produces(made, static_cast<int>(kind)))
                return card;
        }
    }
    return nullptr;
}
