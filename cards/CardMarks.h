// The marks the table draws on a card in play: attachments, damage, changed power and toughness, and labels for
// its combat role and for keywords it has gained. Every mark is drawn at the card's depth and puts the raster's
// text depth back to 19999.
#pragma once

#include <cstdint>

class CardActor;
struct ManaCost;

constexpr int DAMAGE_TEXT_COUNT = 21;

// Which of the state labels a creature shows.
enum CardStateLabel : std::uint32_t {
    LABEL_SHOWS_BLOCKING = 1,
    LABEL_SHOWS_ATTACKING = 2,
    LABEL_SHOWS_REGEN = 4,
    LABEL_SHOWS_FLYING = 8,
    LABEL_SHOWS_FIRSTSTRIKE = 16,
};

// The number shown for a damage total: "1" ... "20", then "20+"; totals below 1 show "1".
const char16_t* GetDamageText(int total);
// True when the card has a definition and its current power or toughness differs from the printed one.
bool ShouldShowPowerToughness(const CardActor& card);
// The labels of a creature: blocking (when not attacking), attacking (upright only with NoTapAttack, and only
// while it can act), a regeneration shield, and Flying or FirstStrike it has gained; 0 for other cards.
std::uint32_t GetCardStateLabels(const CardActor& card);

// (x, y, depth) is the card's drawing position.
void DrawAttachments(const CardActor& card, float x, float y, float depth);
void DrawDamageMarks(const CardActor& card, bool turned, float depth);
void DrawPowerToughness(const CardActor& card, int width, int height, float depth);
void DrawCardStateLabels(const CardActor& card, int width, int height, float depth);
// The first held, staying CPU land whose ability makes mana the cost still needs (generic, black, blue, green,
// red, white in that order); null when none or without a cost.
CardActor* FindHeldCpuLandForCost(const ManaCost* cost);
