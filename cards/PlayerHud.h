// The players' displays: the avatar animation of life changes, life numbers, pile and hand counts, graveyard tops
// and the online mana counts.
#pragma once

#include <cstdint>

// Both players' displays, once per frame from the mat drawing.
void DrawPlayerHud();

// The avatar of one player following its shown life toward the real life, one point per step.
struct HudLifeAnimation {
    bool active = false;
    std::uint32_t timer = 0;
    int direction = 0;  // -1 losing, +1 gaining
    std::uint32_t heartbeatTimer = 0;
    int heartbeatFrame = 0;
};

// Mood 0 (11 or more) to 4 (below 1) of a shown life.
int LifeMood(int shownLife);
// One frame of player's animation at time now; shown life is the player record's displayed life.
void StepHudLife(HudLifeAnimation& animation, int player, int realLife, int& shownLife, std::uint32_t now);
HudLifeAnimation& GetHudLifeAnimation(int player);
