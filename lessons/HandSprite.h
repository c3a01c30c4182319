// The one hand image the CPU's three demonstration hands share: it reaches in from above the screen, presses
// briefly where it arrives and leaves upward. Only one hand holds it at a time; the others wait for it.
#pragma once

#include "engine/raster/RasterTypes.h"

#include <cstdint>

class Sprite;

enum class HandUser { None, Drawing, Bury, Acting };

constexpr int HAND_START_Y = -350;
constexpr float HAND_SPEED = 300.0f;
constexpr float HAND_DEPTH = 150.0f;
constexpr std::uint32_t HAND_PRESS_MS = 100;
// The fingertip lies this far right of and below the image's top-left corner.
constexpr int FINGER_X = 45;
constexpr int FINGER_Y = 225;
// Over a card of the CPU's hand the hand reaches for its left edge.
constexpr int CPU_HAND_CARD_X = 41;

Sprite& GetHandSprite();
// True when the user may take the hand: nobody holds it, or that user already does.
bool TakeHandSprite(HandUser user);
void ReleaseHandSprite(HandUser user);
HandUser GetHandSpriteUser();

// Shows the open hand at (x, start y) aiming at (targetX, targetY), listed for drawing.
void StartHand(int x, int targetX, int targetY, std::uint32_t now);
// From where it aimed last toward the new target.
void AimHand(int x, int y, std::uint32_t now);
// Sends the open hand up from its target until it has left the screen, however tall its image.
void SendHandAway(std::uint32_t now);
// The press shows for a moment after arrival, then the hand opens again.
void ShowHandPress(std::uint32_t arrival, std::uint32_t now);
void ShowHandImage(const char16_t* name);
bool IsHandOffScreen();
// Takes the hand off the screen's list and frees it.
void RemoveHand(HandUser user);

// The hand's corner that puts the fingertip on the rectangle's centre; over a CPU hand card, on its left edge.
int HandXOver(const RasterRect& rect);
int HandYOver(const RasterRect& rect);
int HandXOverCpuHandCard(const RasterRect& rect);
// The screen's size for the off-screen test.
int HandScreenWidth();
int HandScreenHeight();
