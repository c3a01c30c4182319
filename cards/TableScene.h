// What the game table offers the engine's scene load and frame tick: the mat's image loaders, the per-frame
// table steps and the table fields a scene load fills. Until the table exists the loaders load nothing and the
// per-frame steps do nothing; the fields are kept so that the scene load has somewhere to put them.
#pragma once

#include <array>

constexpr int PHASE_NAME_COUNT = 12;
// 37 units and the terminator.
constexpr int PHASE_NAME_CAPACITY = 38;

struct TableSceneFields {
    std::array<int, 2> manaBarImages{-1, -1};  // -1: the default image
    std::array<int, 2> avatarImages{-1, -1};   // by player index
    bool hoverReset = false;
};
TableSceneFields& GetTableSceneFields();

// Card overlays: the table at start-up; every scene load releases the per-card objects.
void InitCardOverlayTable();
void ReleaseCardOverlays();

// Mat resource loaders of the scene load.
void LoadLargeCardSymbols();
// The large (12 x 12) mana symbol texture of a symbol code, -1 when none is loaded.
int GetLargeSymbolTexture(int code);
// The small-card templates, frames and symbols, loaded before a game's level script and released after it.
void LoadSmallCardSymbols();
void ReleaseSmallCardAssets();
void LoadCardFrames();
void LoadTableGraphics();
void LoadPlayerAreaGraphics();

// Scene load: the life tokens (modes 1 and 2), the game log, the hover state.
void ClearGameLog();
void ResetHover();
// The life globes' word and the little card frame's request word.
void ClearTableEffectWords();
// Restarts the camera's frame-rate clock.
void RestartCameraClock();

// Per-frame steps of the frame tick.
void UpdatePopupDrag();
void UpdateHandCards();
// False when no card is zoomed.
bool UpdateCardZoom();
void UpdateCardUnderCursor();
void DrawCardPreview();
void UpdateLibraryDraw();
void FlushActorRemovals();

// The popup panel's rectangle, kept over a minimise (right edge 0: nothing kept).
struct PopupRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
PopupRect& GetSavedPopupRect();
void SavePopupRect();
void RestorePopupRect(const PopupRect& rect);

