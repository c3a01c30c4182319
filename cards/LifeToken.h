// The physical lesson's life tokens: one per player on a 20-cell life track of the player's mat, and the
// explanation box of a change of the human's life.
#pragma once

#include "engine/raster/RasterTypes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class Actor;
class Messagebox;
class Sprite;

constexpr int LIFE_TOKEN_SIZE = 22;
constexpr int LIFE_TRACK_CELLS = 20;

// The token's actor states.
constexpr int TOKEN_WAITING = 0;
constexpr int TOKEN_PLACING = 1;
constexpr int TOKEN_PLACED_WRONG = 2;
constexpr int TOKEN_SETTLED = 3;
constexpr int TOKEN_MISPLACED = 4;

struct LifeToken {
    RasterRect rect;
    int texture = 0;
    int shownLife = 0;
    std::u16string numberText;
    Actor* actor = nullptr;
    // The CPU token's hand; null for the human's.
    std::unique_ptr<Sprite> hand;
    int handStep = 0;
    int dragState = 0;  // 0 idle, 1 dragged, 2 gliding to its target
    int dragOffsetX = 0;
    int dragOffsetY = 0;
    int reason = 0;
    // The explanation or error box of the last change; reused by the next change, shown while registered.
    std::unique_ptr<Messagebox> box;
    // The string key of the box's text.
    std::u16string boxKey;
    bool boxPending = false;
    std::u16string voiceName;
    std::uint32_t lastActivity = 0;

    LifeToken();
    ~LifeToken();
    LifeToken(const LifeToken&) = delete;
    LifeToken& operator=(const LifeToken&) = delete;

    bool IsReady() const;
    bool IsBoxShown() const;
    // Unregisters and deletes the box.
    void DeleteBox();
    bool IsIdle() const { return handStep == 0 && dragState == 0; }
    // Shifts the token and its hand after a re-layout of the table.
    void MoveBy(int dx, int dy);
};

// 1-20: below 1 gives 1; above 20 wraps, with multiples of 20 giving 20.
int WrapLifeToTrack(int life);
// The 22 by 22 cell of a life value (clamped to 1-20) on the player's track.
RasterRect GetLifeTrackCell(int player, int life);
// Where a token showing that life stands (its top-left corner).
void GetLifeTokenTarget(int player, int life, int& x, int& y);
// The life of the cell under a token rectangle.
int GetLifeAtTokenRect(int player, const RasterRect& rect);

void CreateLifeTokens();
void DestroyLifeTokens();
// Human first; null when there is none.
LifeToken* GetLifeToken(int player);
// Shows a change of the human's life: reason 0 damage, 1 life gained or lost.
void ChangeLifeTotal(LifeToken* token, int reason, int previousLife);
// The human's token shows a change of the human's life from previousLife (no token: nothing).
void ShowHumanLifeChange(int reason, int previousLife);
// The human's token; a table without one never holds anything back.
bool IsLifeTokenReady();
bool IsLifeTokenIdle();
// Both tokens' per-frame handling: placing, dragging and snapping, the CPU's hand, the box and the drawing.
void LifeTokenBehaviour(Actor* actor);
// The error box of a token dropped on a cell that does not show its player's life.
void ShowBadLifeBox(LifeToken* token);
// Stamps the token's last activity; its own handling sees that the life no longer fits.
void MarkLifeTokenChanged();
