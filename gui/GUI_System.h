// The toolkit's binding to its host: the manager, the data and language folders from which it reads its files,
// and the nine callbacks through which it loads and releases images, looks texts up, lays formatted texts out
// and reads the mouse. Start-up binds them; the toolkit never reaches the host any other way. Where a text
// callback is missing the toolkit falls back to a plain behaviour of its own.
#pragma once

#include "engine/raster/RasterTypes.h"

#include <string>
#include <string_view>

class GUI_Manager;
struct FormattedText;

namespace GUI_System {

using LoadBitmapFunction = int (*)(std::u16string_view path);
using ReleaseTextureFunction = void (*)(int texture);
using GetStringFunction = const char16_t* (*)(std::u16string_view key);
using GetFormattedTextFunction = FormattedText* (*)(std::u16string_view key);
// Text, rectangle, font, alignment, colour, target (-1 the screen), vertical offset and the text flag: the
// host's wrapped-text drawing, which lays the text out (and draws nothing) when the width changed.
using DrawFormattedTextFunction = int (*)(FormattedText* text, const RasterRect& rect, int font, int alignment,
                                          std::uint32_t colour, int target, int verticalOffset, bool flag);
using FormattedTextMeasureFunction = int (*)(FormattedText* text, int font);
using GetCursorPosFunction = void (*)(int& x, int& y);
using ResetFormattedTextFunction = void (*)(FormattedText* text);

// Binds the manager singleton (asserts that none is bound); Shutdown deletes it.
void Init();
void Shutdown();
// Null before Init and after Shutdown; callers test it.
GUI_Manager* GetManager();

// A folder that exists is stored as its full path; one that does not is kept as given, so paths built from it
// stay relative to the current folder. The process's current folder is never changed.
void SetDataDirectory(const char16_t* path);
void SetLanguageDirectory(const char16_t* path);
const std::u16string& GetDataDirectory();
const std::u16string& GetLanguageDirectory();
// folder "\" name, or name alone when the folder is empty.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

void SetLoadBitmapFunction(LoadBitmapFunction function);
void SetReleaseTextureFunction(ReleaseTextureFunction function);
void SetGetStringFunction(GetStringFunction function);
void SetGetFormattedTextFunction(GetFormattedTextFunction function);
void SetDrawFormattedTextFunction(DrawFormattedTextFunction function);
void SetGetFormattedTextWidthFunction(FormattedTextMeasureFunction function);
void SetGetFormattedTextHeightFunction(FormattedTextMeasureFunction function);
void SetGetCursorPosFunction(GetCursorPosFunction function);
void SetResetFormattedTextFunction(ResetFormattedTextFunction function);
// Clears all nine (tests).
void ClearCallbacks();

// A texture id for name in the language or the data folder; negative when it cannot be loaded.
int LoadBitmap(std::u16string_view name, bool fromLanguageFolder);
void ReleaseTexture(int texture);
// Loads a .bmp into an existing texture after the device lost its surfaces.
void ReloadBitmap(int texture, std::u16string_view name, bool changeFolder, bool fromLanguageFolder);
// The host's text for key (empty when it has none); the key itself without a callback.
std::u16string_view GetString(std::u16string_view key);
// The host's record for key; null without a callback or when the host has none.
FormattedText* GetFormattedText(std::u16string_view key);
int DrawFormattedText(FormattedText* text, const RasterRect& rect, int font, int alignment, std::uint32_t colour,
                      int target, int verticalOffset, bool flag);
int GetFormattedTextWidth(FormattedText* text, int font);
int GetFormattedTextHeight(FormattedText* text, int font);
void GetCursorPos(int& x, int& y);
void ResetFormattedText(FormattedText* text);
bool IsPixelHitTestEnabled();
void SetPixelHitTestEnabled(bool enabled);

} // namespace GUI_System
