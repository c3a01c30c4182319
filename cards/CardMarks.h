// The marks the table draws on a card in play: attachments, damage, changed power and toughness, and labels for
// its combat role and for keywords it has gained. Every mark is drawn at the card's depth and puts the raster's
// text depth back to 19999.
#pragma once

class CardActor;
struct ManaCost;

constexpr int DAMAGE_TEXT_COUNT = 21;

// True when the card has a definition and its current power or toughness differs from the printed one.
bool ShouldShowPowerToughness(const CardActor& card);
