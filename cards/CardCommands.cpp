#include "cards/CardCommands.h"

#include "cards/Card.h"
#include "cards/CardDatabase.h"
#include "cards/CardEnums.h"
#include "cards/CardIds.h"
#include "cards/CardKeys.h"
#include "cards/CardOverLay.h"
#include "engine/core/BitmapFile.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "engine/core/LanguageManager.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Platform.h"

#include <string>

namespace {

constexpr std::u16string_view BLOCK_END = u"_end";
// The command word, as the command map spells it.
constexpr std::u16string_view DEFINE_CARD = u"definecard";
constexpr std::u16string_view NULL_VALUE = u"NULL";
// Trimmed from the end of every value ("CT_LAND " must not read as an unknown name).
constexpr std::u16string_view TRAILING_BLANKS = u" \t\v\f";
// Trimmed from each piece of a type-bits value.
constexpr std::u16string_view TYPE_PIECE_BLANKS = u" \t\r\n";

bool IsSeparator(char16_t ch)
{
    return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n' || ch == u'\v' || ch == u'\f' || ch == u',';
}

bool IsSingleUnitToken(char16_t ch)
{
    return ch == u'=' || ch == u';' || ch == u'#' || ch == u'*';
}

void SkipSeparators(std::u16string_view line, std::size_t& pos)
{
    while (pos < line.size() && IsSeparator(line[pos]))
        ++pos;
}

// One token of a line as the script tokenizer cuts it: "=" stands alone, anything else ends at a separator.
std::u16string_view ScanLineToken(std::u16string_view line, std::size_t& pos)
{
    SkipSeparators(line, pos);
    const std::size_t start = pos;
    if (pos < line.size() && IsSingleUnitToken(line[pos]))
        return line.substr(start, ++pos - start);
    while (pos < line.size() && !IsSeparator(line[pos]) && !IsSingleUnitToken(line[pos]))
        ++pos;
    return line.substr(start, pos - start);
}

std::u16string_view TrimEnd(std::u16string_view text, std::u16string_view set)
{
    while (!text.empty() && set.find(text.back()) != std::u16string_view::npos)
        text.remove_suffix(1);
    return text;
}

std::u16string_view Trim(std::u16string_view text, std::u16string_view set)
{
    while (!text.empty() && set.find(text.front()) != std::u16string_view::npos)
        text.remove_prefix(1);
    return TrimEnd(text, set);
}

void LogBadValue(std::u16string_view key, std::u16string_view value)
{
    plat::OutputDebugString(u"Parse_DefineCard() : Invalid value for " + std::u16string(key) + u": " +
                            std::u16string(value) + u"\n");
}

bool ReadFlag(std::u16string_view value)
{
    return WStringToInt(value) != 0;
}

// A name outside its family stores -1, and says so.
int ReadEnum(int family, std::u16string_view key, std::u16string_view value)
{
    int result = -1;
    if (!FindEnumValue(family, value, result))
        LogBadValue(key, value);
    return result;
}

// TT_ names joined by "|"; an unknown piece is reported and adds nothing (it would otherwise set every bit).
int ReadTypeBits(std::u16string_view key, std::u16string_view value)
{
    int bits = 0;
    while (true) {
        const std::size_t bar = value.find(u'|');
        const std::u16string_view piece = Trim(value.substr(0, bar), TYPE_PIECE_BLANKS);
        int pieceBits = 0;
        if (!piece.empty() && FindEnumValue(FAMILY_TARGET_TYPE, piece, pieceBits))
            bits |= pieceBits;
        else if (!piece.empty())
            LogBadValue(key, piece);
        if (bar == std::u16string_view::npos)
            return bits;
        value.remove_prefix(bar + 1);
    }
}

// The 28 keys that fill a target and an effect record, numbered from SpellTargetColor.
void ApplySpecKey(TargetSpec& target, EffectSpec& effect, int slot, int offset, std::u16string_view key,
                  std::u16string_view value)
{
    const int family = GetCardKeyFamily(slot);
    switch (offset + KEY_SPELL_TARGET_COLOR) {
    case KEY_SPELL_TARGET_COLOR: target.color = ParseManaCost(value); break;
    case KEY_SPELL_TARGET_STATE: target.state = ReadEnum(family, key, value); break;
    case KEY_SPELL_TARGET_OWNER: target.owner = ReadEnum(family, key, value); break;
    case KEY_SPELL_TARGET_TYPE: target.type = ReadTypeBits(key, value); break;
    case KEY_SPELL_TARGET_CASTER: target.caster = ReadFlag(value); break;
    case KEY_SPELL_TARGET_OPPONENT: target.opponent = ReadFlag(value); break;
    case KEY_SPELL_EFFECT_TYPE: effect.effectType = ReadEnum(family, key, value); break;
    case KEY_SPELL_EFFECT_DURATION: effect.duration = ReadEnum(family, key, value); break;
    case KEY_SPELL_EFFECT_DAMAGE_AMT: effect.damageAmt = WStringToInt(value); break;
    case KEY_SPELL_EFFECT_POWER_MOD_AMT: effect.powerModAmt = WStringToInt(value); break;
    case KEY_SPELL_EFFECT_TOUGH_MOD_AMT: effect.toughModAmt = WStringToInt(value); break;
    case KEY_SPELL_EFFECT_PTMOD_LAND_COLOR: effect.ptModLandColor = ParseManaCost(value); break;
    case KEY_SPELL_EFFECT_MOD_LIFE_AMT: effect.modLifeAmt = WStringToInt(value); break;
    case KEY_SPELL_EFFECT_DRAIN_LIFE_AMT: effect.drainLifeAmt = WStringToInt(value); break;
    case KEY_SPELL_EFFECT_DRAIN_IS_DAMAGE: effect.drainIsDamage = ReadFlag(value); break;
    case KEY_SPELL_EFFECT_DRAW_AMT: effect.drawAmt = WStringToInt(value); break;
    case KEY_SPELL_EFFECT_DISCARD_AMT: effect.discardAmt = WStringToInt(value); break;
    case KEY_SPELL_EFFECT_RAISE_TUTOR_AMT: effect.raiseTutorAmt = WStringToInt(value); break;
    case KEY_SPELL_EFFECT_RAISE_TUTOR_TYPE: effect.raiseTutorType = ReadEnum(family, key, value); break;
    case KEY_SPELL_EFFECT_SPY_AMT: effect.spyAmt = WStringToInt(value); break;
    case KEY_SPELL_EFFECT_SPY_REARRANGE: effect.spyRearrange = ReadFlag(value); break;
    case KEY_SPELL_EFFECT_COUNTER_MANA_SINK: effect.counterManaSink = ParseManaCost(value); break;
    case KEY_SPELL_EFFECT_MANA_PRODUCED: effect.manaProduced = ParseManaCost(value); break;
    case KEY_SPELL_EFFECT_NO_REGEN: effect.noRegen = ReadFlag(value); break;
    case KEY_SPELL_EFFECT_PREVENT_DMG_AMT: effect.preventDmgAmt = WStringToInt(value); break;
    case KEY_SPELL_NEEDS_TARGET: effect.needsTarget = ReadFlag(value); break;
    case KEY_SPELL_TARGET_ON_RESOLVE: effect.targetOnResolve = ReadFlag(value); break;
    case KEY_SPELL_TARGET_IS_GROUP: effect.targetIsGroup = ReadFlag(value); break;
    default: break;
    }
}

void ApplyCardKey(CARD& card, int slot, std::u16string_view key, std::u16string_view value)
{
    if (slot >= KEY_SPELL_TARGET_COLOR && slot <= KEY_SPELL_TARGET_IS_GROUP) {
        ApplySpecKey(card.m_SpellTarget, card.m_SpellEffect, slot, slot - KEY_SPELL_TARGET_COLOR, key, value);
        return;
    }
    if (slot >= KEY_ABILITY_TARGET_COLOR && slot <= KEY_ABILITY_TARGET_IS_GROUP) {
        ApplySpecKey(card.m_Ability.target, card.m_Ability.effect, slot, slot - KEY_ABILITY_TARGET_COLOR, key,
                     value);
        return;
    }

    const int family = GetCardKeyFamily(slot);
    CreatureStats& stats = card.m_Stats;
    switch (slot) {
    case KEY_SMALL_CARD:
        card.m_SmallCardPath = value.empty() ? std::u16string()
                                             : GetLanguageManager()->GetDataFolder() + std::u16string(value);
        break;
    case KEY_LARGE_ART: card.m_LargeArt = value; break;
    case KEY_NAME: CopyToField(card.m_Name, value); break;
    case KEY_COST:
        card.m_Cost = ParseManaCost(value);
        card.m_CostText = value;
        break;
    case KEY_IS_XSPELL: card.m_IsXSpell = ReadFlag(value); break;
    case KEY_TYPE:
        CopyToField(card.m_TypeLine, value);
        card.m_TypeText = card.m_TypeLine.data();
        break;
    case KEY_ARTIST: card.m_Artist = value; break;
    case KEY_RARITY: card.m_Rarity = ReadEnum(family, key, value); break;
    case KEY_EFFECT_TEXT: card.m_EffectText = value; break;
    case KEY_FLAVOR_TEXT: card.m_FlavorText = value; break;
    case KEY_TEXT: card.m_Text = value; break;
    case KEY_CARD_TYPE: card.m_CardType = ReadEnum(family, key, value); break;
    case KEY_POWER: stats.power = WStringToInt(value); break;
    case KEY_TOUGHNESS: stats.toughness = WStringToInt(value); break;
    case KEY_HAS_CANNOT_BLOCK: stats.hasCannotBlock = ReadFlag(value); break;
    case KEY_HAS_FEAR_ATTACK: stats.hasFearAttack = ReadFlag(value); break;
    case KEY_MUST_ATTACK: stats.mustAttack = ReadFlag(value); break;
    case KEY_FLYING: stats.flying = ReadFlag(value); break;
    case KEY_TRAMPLE: stats.trample = ReadFlag(value); break;
    case KEY_HASTE: stats.haste = ReadFlag(value); break;
    case KEY_FIRST_STRIKE: stats.firstStrike = ReadFlag(value); break;
    case KEY_WALK: stats.walk = ParseManaCost(value); break;
    case KEY_PROTECTION: stats.protection = ParseManaCost(value); break;
    case KEY_IS_WALL: stats.isWall = ReadFlag(value); break;
    case KEY_NO_TAP_ATTACK: stats.noTapAttack = ReadFlag(value); break;
    case KEY_FLY_BLOCK: stats.flyBlock = ReadFlag(value); break;
    case KEY_CANNOT_ATTACK: stats.cannotAttack = ReadFlag(value); break;
    case KEY_IS_UNBLOCKABLE: stats.isUnblockable = ReadFlag(value); break;
    case KEY_MAX_BLOCKERS: stats.maxBlockers = WStringToInt(value); break;
    case KEY_MIN_BLOCKERS: stats.minBlockers = WStringToInt(value); break;
    case KEY_CARD_SUB_TYPE: card.m_SubType = ReadEnum(family, key, value); break;
    case KEY_ENCHANT_IS_OFFENSIVE: card.m_EnchantIsOffensive = ReadFlag(value); break;
    case KEY_ABILITY_COST: card.m_Ability.cost = ParseManaCost(value); break;
    case KEY_ABILITY_COST_TYPE: card.m_Ability.costType = ReadEnum(family, key, value); break;
    default: break;  // the accepted but ignored keys
    }
}

// "Key = Value": an unknown key or a line without "=" is skipped without a word.
void ReadKeyLine(CARD& pending, std::u16string_view line)
{
    std::size_t pos = 0;
    const std::u16string_view key = ScanLineToken(line, pos);
    const int slot = LookupCardKey(key);
    if (slot < 0)
        return;
    if (ScanLineToken(line, pos) != u"=")
        return;
    SkipSeparators(line, pos);
    std::u16string_view value = TrimEnd(line.substr(pos), TRAILING_BLANKS);
    if (EqualsAsciiNoCase(value, NULL_VALUE))
        value = {};
    ApplyCardKey(pending, slot, key, value);
}

// Only the first four units count, without regard to case: "_END of the block" ends it too.
bool IsCardBlockEnd(std::u16string_view line)
{
    return line.size() >= BLOCK_END.size() && EqualsAsciiNoCase(line.substr(0, BLOCK_END.size()), BLOCK_END);
}

// A block that lost its "_end" ends where the next one begins, so that it does not swallow the next card.
bool StartsNextBlock(std::u16string_view line)
{
    std::size_t pos = 0;
    return ScanLineToken(line, pos) == DEFINE_CARD;
}

} // namespace

void Parse_DefineCard()
{
    const std::u16string idName = ScriptNextToken();
    CARD pending;
    bool ended = false;
    while (!ended) {
        const char16_t* const lineStart = ScriptGetCursor();
        const std::u16string line = ScriptReadRestOfLine();
        if (line.empty())
            break;  // the end of the text
        if (StartsNextBlock(line)) {
            ScriptSetCursor(lineStart);
            break;
        }
        ended = IsCardBlockEnd(line);
        if (!ended)
            ReadKeyLine(pending, line);
    }
    if (!ended) {
        plat::OutputDebugString(u"Parse_DefineCard() : Missing _end: " + idName + u"\n");
        return;
    }

    const int id = GetCardIdByName(idName);
    if (id == CD_INVALID) {
        plat::OutputDebugString(u"Parse_DefineCard() : Invalid card key: " + idName + u"\n");
        return;
    }
    pending.m_Id = id;
    CopyToField(pending.m_IdName, idName);
    g_CardDefs[id] = pending;
}

namespace {

// P with "_r" before its last "." (or at its end).
std::u16string TurnedImagePath(std::u16string_view path)
{
    const std::size_t dot = path.rfind(u'.');
    const std::size_t slash = path.find_last_of(u"\\/");
    if (dot == std::u16string_view::npos || (slash != std::u16string_view::npos && dot < slash))
        return std::u16string(path) + u"_r";
    return std::u16string(path.substr(0, dot)) + u"_r" + std::u16string(path.substr(dot));
}

int LoadArtTexture(std::u16string_view path)
{
    if (path.empty())
        return -1;
    GameDisplay& display = *GetGameDisplay();
    const std::size_t dot = path.rfind(u'.');
    if (dot != std::u16string_view::npos && EqualsAsciiNoCase(path.substr(dot), u".chp"))
        return display.LoadChpTexture(path);
    return display.LoadBitmapTexture(path);
}

// The composed small card as a bitmap, read back from its template.
bool ReadComposedSmallCard(RasterBitmap& out)
{
    const TextureNameValue entry = GetTextureEntry(u"smallcardtemp");
    Raster* const raster = GetRaster();
    if (raster == nullptr || entry.kind != TextureNameValue::Kind::Texture || entry.texture < 0 ||
        entry.texture >= raster->GetSecondTextureCount())
        return false;
    const RasterSurface* const surface = raster->GetSecondTextureEntry(entry.texture).handle.get();
    if (surface == nullptr || surface->width <= 0 || surface->height <= 0)
        return false;
    const bool is565 = raster->Is565();
    out.width = surface->width;
    out.height = surface->height;
    out.pixels.resize(surface->pixels.size());
    for (std::size_t i = 0; i < surface->pixels.size(); ++i) {
        const std::uint32_t p = surface->pixels[i];
        const std::uint32_t r5 = is565 ? p >> 11 & 31 : p >> 10 & 31;
        const std::uint32_t g = is565 ? (p >> 5 & 63) << 2 | (p >> 5 & 63) >> 4 : (p >> 5 & 31) << 3 | (p >> 5 & 31) >> 2;
        const std::uint32_t b5 = p & 31;
        out.pixels[i] = (r5 << 3 | r5 >> 2) << 16 | g << 8 | (b5 << 3 | b5 >> 2);
    }
    return true;
}

void EnterSmallImages(std::u16string_view idName, int upright, int turned)
{
    if (upright >= 0)
        AddTextureName(idName, upright);
    if (turned >= 0)
        AddTextureName(std::u16string(idName) + u"_r", turned);
}

// The small images of the card: read from disk, composed and written when missing there, kept in memory when
// they cannot be written.
void LoadSmallCardImages(const CARD& card, CardOverLay& overlay, std::u16string_view idName)
{
    const std::u16string& path = card.m_SmallCardPath;
    if (path.empty())
        return;
    GameDisplay& display = *GetGameDisplay();
    RasterBitmap bitmap;
    if (!plat::IsReadable(path) && !overlay.RenderSmallCard(path)) {
        if (!ReadComposedSmallCard(bitmap))
            return;
        EnterSmallImages(idName, display.LoadBitmapTextureKeyed(&bitmap, path, false),
                         display.LoadBitmapTextureKeyed(&bitmap, path, true));
        return;
    }
    if (!LoadBitmapFile(path, bitmap))
        return;
    const int upright = display.LoadBitmapTextureKeyed(&bitmap, path, false);
    const std::u16string turnedPath = TurnedImagePath(path);
    int turned = -1;
    RasterBitmap turnedBitmap;
    if (plat::IsReadable(turnedPath) && LoadBitmapFile(turnedPath, turnedBitmap)) {
        turned = display.LoadBitmapTextureKeyed(&turnedBitmap, turnedPath, false);
    } else {
        turned = display.LoadBitmapTextureKeyed(&bitmap, path, true);
        if (turned >= 0 && GetRaster() != nullptr)
            GetRaster()->SaveTextureBitmap(turned, turnedPath);
    }
    // The turned image read back from disk is the card's turned image as much as the one just made.
    EnterSmallImages(idName, upright, turned);
}

} // namespace

std::u16string ComposeCardRulesText(const CARD& card)
{
    return FormatString(card.m_Text, {card.m_EffectText, card.m_FlavorText});
}

std::u16string ComposeCardPopupText(const CARD& card, const CardOverLay& overlay)
{
    std::u16string text = u"~" + std::u16string(card.GetNameField());
    if (card.m_CardType != CT_LAND && !card.m_CostText.empty())
        text += u" |#" + card.m_CostText;
    text += u"~ |" + card.m_TypeText;
    if (card.m_CardType == CT_CREATURE)
        text += u" |~" + std::u16string(overlay.m_PowerToughness.data());
    text += u" |";
    text += ComposeCardRulesText(card);
    return text;
}

void Parse_LoadCard()
{
    const std::u16string idName = ScriptNextToken();
    const int id = GetCardIdByName(idName);
    if (id == CD_INVALID) {
        plat::OutputDebugString(u"Parse_LoadCard() : Invalid card key: " + idName + u"\n");
        return;
    }
    const CARD& card = g_CardDefs[id];
    const int art = LoadArtTexture(card.m_LargeArt);
    if (art >= 0)
        AddTextureName(idName + u"_art", art);

    CardOverLay* const overlay = GetCardOverlay(card);
    if (overlay == nullptr)
        return;
    overlay->m_ArtTexture = art >= 0 ? art : GetTextureByName(idName + u"_art");
    overlay->m_FooterText = card.m_Artist.empty() ? nullptr : card.m_Artist.c_str();

    const std::u16string rules = ComposeCardRulesText(card);
    if (card.m_CardType != CT_LAND && !rules.empty()) {
        const std::u16string key = u"COText_" + idName;
        AddFormattedText(key, rules);
        overlay->SetCloseUpText(key.c_str());
    }
    const std::u16string popupKey = u"POP_" + idName;
    AddFormattedText(popupKey, ComposeCardPopupText(card, *overlay));
    overlay->SetPopupText(popupKey.c_str());
    if (!card.m_EffectText.empty()) {
        const std::u16string key = u"ET_" + idName;
        AddString(key, card.m_EffectText);
        overlay->SetEffectText(key.c_str());
    }
    LoadSmallCardImages(card, *overlay, idName);
}
