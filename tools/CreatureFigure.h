// Creature silhouettes for the card pictures: one figure for each kind of creature the card sources name, drawn
// from the few parts a newcomer knows the kind by (a crab's raised claws, a wizard's hat and staff), so that kinds
// stay apart even at the small card's size.
#pragma once

#include "tools/ArtSketch.h"

#include <string>

namespace datac {

struct FigureInk {
    std::string body;    // the silhouette, #rrggbb
    std::string detail;  // what catches the light: eyes, blades, gems, #rrggbb
    std::string glow;    // a soft light around magic, #rrggbbaa
};

// The figure drawn for a type line such as "Creature - Sea Serpent"; "person" for a kind no figure depicts.
std::string CreatureFigureOf(const std::string& type);

// Half the figure's width in its units (100 units are its height), to keep it inside the picture.
int CreatureFigureHalfWidth(const std::string& figure);

// Draws the figure with the sketch placed where it stands (ArtSketch::Place).
void DrawCreatureFigure(ArtSketch& sketch, const std::string& figure, const FigureInk& ink);

} // namespace datac
