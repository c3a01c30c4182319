// The screen switch's cache: the eight screen objects the display shows by screen id, made on first use. Six of
// them are deleted when a switch leaves them; the explain and slide-show screens live until the cache is emptied.
#pragma once

class GameInterface;
class ExplainInterface;
class SlideshowInterface;

enum class ScreenSlot {
    PhysicalMain,
    OnlineMain,
    LearnMore,
    Links,
    MoreAboutOnline,
    AdvancedConcepts,
    Explain,
    Slideshow,
    Count
};

// The cached object of a slot, or null.
GameInterface* GetCachedScreen(ScreenSlot slot);
ExplainInterface* GetExplainScreen();
SlideshowInterface* GetSlideshowScreen();
// Deletes the screens a switch dropped while an event was being dispatched (a handler of theirs may still have
// been on the stack). The frame loop calls it after the input of a frame.
void FlushDroppedScreens();
// Takes every screen off the manager and deletes all eight (scene loads and shutdown: the screens hold textures).
void DeleteAllScreens();
// How many dropped screens wait for FlushDroppedScreens.
int CountDroppedScreens();
