// Card pictures: one art description per card of the card sources (data/cards/*.cards), composed from the
// card's colour, kind, creature type, power and toughness and seeded by its identifier, so that no two cards
// share a picture. The descriptions go through the art step like any other (tools/ArtCompiler.h).
#pragma once

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

// An art source ("image data\cardart\<id>.bmp ... end") for the cards.
std::string CardArtSource(const std::vector<CardArtFacts>& cards);

} // namespace datac
