// Card pictures: one art description per card of the card sources (data/cards/*.cards), composed from the
// card's colour, kind, creature type, power and toughness and seeded by its identifier, so that no two cards
// share a picture. The descriptions go through the art step like any other (tools/ArtCompiler.h).
#pragma once

#include "tools/ArtCanvas.h"

#include <string>
#include <vector>

namespace datac {

constexpr int CARD_ART_WIDTH = 160;
constexpr int CARD_ART_HEIGHT = 112;

struct CardArtFacts {
    std::string id;        // CD_...
    std::string cost;      // as written; its first colour letter picks the palette
    std::string cardType;  // CT_...
    std::string type;      // the type line, "Creature - Elf"
    int power = 0;
    int toughness = 0;
};

// The cards of the readable sources, in source order; lines the art does not need are skipped.
std::vector<CardArtFacts> ReadCardArtFacts(const std::string& sourceText);

// What one card's picture shows: a creature's figure (tools/CreatureFigure.h); for the other kinds "ritual"
// (sorceries), "bolt" (instants), "aura" (enchantments of a creature or a land), "sigil" (enchantments of the
// whole game), "relic" (artifacts) or "land". subject is what the figure or motif covers, in pixels, empty for
// lands, whose picture is the landscape itself.
struct CardArtPlan {
    std::string motif;
    ArtRect subject;
    std::string source;  // the image's art description
};

CardArtPlan PlanCardArt(const CardArtFacts& card);

// An art source ("image data\cardart\<id>.bmp ... end") for the cards.
std::string CardArtSource(const std::vector<CardArtFacts>& cards);

} // namespace datac
