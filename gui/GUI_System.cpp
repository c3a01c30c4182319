#include "gui/GUI_System.h"

#include "engine/core/BitmapFile.h"
#include "engine/raster/Raster.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "gui/GUI_Manager.h"
#include "platform/Platform.h"

namespace {

GUI_Manager* s_pGUIManager = nullptr;
std::u16string s_DataDirectory;
std::u16string s_LanguageDirectory;
GUI_System::LoadBitmapFunction s_pLoadBitmapFunction = nullptr;
GUI_System::ReleaseTextureFunction s_pReleaseTextureFunction = nullptr;
GUI_System::GetStringFunction s_pGetStringFunction = nullptr;
GUI_System::GetFormattedTextFunction s_pGetFormattedTextFunction = nullptr;
GUI_System::DrawFormattedTextFunction s_pDrawFormattedTextFunction = nullptr;
GUI_System::FormattedTextMeasureFunction s_pGetFormattedTextWidthFunction = nullptr;
GUI_System::FormattedTextMeasureFunction s_pGetFormattedTextHeightFunction = nullptr;
GUI_System::GetCursorPosFunction s_pGetCursorPosFunction = nullptr;
GUI_System::ResetFormattedTextFunction s_pResetFormattedTextFunction = nullptr;
bool s_bPixelHitTest = true;

std::u16string ResolveFolder(const char16_t* path)
{
    if (path == nullptr)
        return u"";
    const std::u16string given(path);
    if (given.empty() || !plat::IsDirectory(given))
        return given;
    std::string native = plat::NativePath(given);
    if (!native.starts_with('/'))
        native = plat::GetCurrentFolder() + "/" + native;
    while (native.size() > 1 && native.ends_with('/'))
        native.pop_back();
    return plat::FromUtf8(native);
}

// Without the host's layout a formatted text is drawn and measured as its segments' plain text.
std::u16string PlainTextOf(const FormattedText* text)
{
    std::u16string out;
    for (const FormattedSegment* segment = text->m_pFirst.get(); segment != nullptr; segment = segment->m_pNext.get()) {
        if (segment->m_Style != SEGMENT_STYLE_SYMBOLS)
            out += segment->m_Text;
    }
    return out;
}

RasterRect MeasurePlain(const FormattedText* text, int font)
{
    RasterRect out{};
    Raster* const raster = GetRaster();
    if (!raster->IsInitialised() || !raster->DrawTextNow(PlainTextOf(text), RasterRect{0, 0, 100000, 100000}, &out, 0, font))
        return RasterRect{};
    return out;
}

} // namespace

namespace GUI_System {

void Init()
{
    TESSEL_ASSERT(s_pGUIManager == NULL);
    s_pGUIManager = GetGUIManager();
}

void Shutdown()
{
    DeleteGUIManager();
    s_pGUIManager = nullptr;
}

GUI_Manager* GetManager()
{
    return s_pGUIManager;
}

void SetDataDirectory(const char16_t* path)
{
    s_DataDirectory = ResolveFolder(path);
}

void SetLanguageDirectory(const char16_t* path)
{
    s_LanguageDirectory = ResolveFolder(path);
}

const std::u16string& GetDataDirectory()
{
    return s_DataDirectory;
}

const std::u16string& GetLanguageDirectory()
{
    return s_LanguageDirectory;
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name)
{
    while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/'))
        folder.remove_suffix(1);
    if (folder.empty())
        return std::u16string(name);
    std::u16string out(folder);
    out += u'\\';
    out += name;
    return out;
}

void SetLoadBitmapFunction(LoadBitmapFunction function) { s_pLoadBitmapFunction = function; }
void SetReleaseTextureFunction(ReleaseTextureFunction function) { s_pReleaseTextureFunction = function; }
void SetGetStringFunction(GetStringFunction function) { s_pGetStringFunction = function; }
void SetGetFormattedTextFunction(GetFormattedTextFunction function) { s_pGetFormattedTextFunction = function; }
void SetDrawFormattedTextFunction(DrawFormattedTextFunction function) { s_pDrawFormattedTextFunction = function; }
void SetGetFormattedTextWidthFunction(FormattedTextMeasureFunction function) { s_pGetFormattedTextWidthFunction = function; }
void SetGetFormattedTextHeightFunction(FormattedTextMeasureFunction function) { s_pGetFormattedTextHeightFunction = function; }
void SetGetCursorPosFunction(GetCursorPosFunction function) { s_pGetCursorPosFunction = function; }
void SetResetFormattedTextFunction(ResetFormattedTextFunction function) { s_pResetFormattedTextFunction = function; }

void ClearCallbacks()
{
    s_pLoadBitmapFunction = nullptr;
    s_pReleaseTextureFunction = nullptr;
    s_pGetStringFunction = nullptr;
    s_pGetFormattedTextFunction = nullptr;
    s_pDrawFormattedTextFunction = nullptr;
    s_pGetFormattedTextWidthFunction = nullptr;
    s_pGetFormattedTextHeightFunction = nullptr;
    s_pGetCursorPosFunction = nullptr;
    s_pResetFormattedTextFunction = nullptr;
}

int LoadBitmap(std::u16string_view name, bool fromLanguageFolder)
{
    TESSEL_ASSERT(s_pLoadBitmapFunction != NULL);
    if (s_pLoadBitmapFunction == nullptr)
        return -1;
    return s_pLoadBitmapFunction(JoinPath(fromLanguageFolder ? s_LanguageDirectory : s_DataDirectory, name));
}

void ReleaseTexture(int texture)
{
    TESSEL_ASSERT(s_pReleaseTextureFunction != NULL);
    if (s_pReleaseTextureFunction != nullptr)
        s_pReleaseTextureFunction(texture);
}

void ReloadBitmap(int texture, std::u16string_view name, bool changeFolder, bool fromLanguageFolder)
{
    if (name.empty())
        return;
    if (name.find(u".bmp") == std::u16string_view::npos && name.find(u".BMP") == std::u16string_view::npos) {
        TESSEL_ASSERT(false);
        return;
    }
    const std::u16string path =
        changeFolder ? JoinPath(fromLanguageFolder ? s_LanguageDirectory : s_DataDirectory, name) : std::u16string(name);
    RasterBitmap bitmap;
    if (LoadBitmapFile(path, bitmap))
        GetRaster()->BitmapToTexture(texture, &bitmap, false, false);
}

std::u16string_view GetString(std::u16string_view key)
{
    TESSEL_ASSERT(!key.empty());
    if (s_pGetStringFunction == nullptr)
        return key;
    const char16_t* const text = s_pGetStringFunction(key);
    return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

FormattedText* GetFormattedText(std::u16string_view key)
{
    TESSEL_ASSERT(!key.empty());
    return s_pGetFormattedTextFunction != nullptr ? s_pGetFormattedTextFunction(key) : nullptr;
}

int DrawFormattedText(FormattedText* text, const RasterRect& rect, int font, int alignment, std::uint32_t colour,
                      int target, int verticalOffset, bool flag)
{
    TESSEL_ASSERT(text != NULL);
    if (text == nullptr)
        return 0;
    if (s_pDrawFormattedTextFunction != nullptr)
        return s_pDrawFormattedTextFunction(text, rect, font, alignment, colour, target, verticalOffset, flag);
    if (target < 0 && text->m_Width != rect.Width()) {
        // The first call at a width lays out, as the host's layout does.
        text->m_Width = rect.Width();
        return MeasurePlain(text, font).Height();
    }
    GetRaster()->DrawText(PlainTextOf(text), rect, alignment, font, colour, flag);
    return 0;
}

int GetFormattedTextWidth(FormattedText* text, int font)
{
    TESSEL_ASSERT(text != NULL);
    if (text == nullptr)
        return 0;
    if (s_pGetFormattedTextWidthFunction != nullptr)
        return s_pGetFormattedTextWidthFunction(text, font);
    return MeasurePlain(text, font).Width();
}

int GetFormattedTextHeight(FormattedText* text, int font)
{
    TESSEL_ASSERT(text != NULL);
    if (text == nullptr)
        return 0;
    if (s_pGetFormattedTextHeightFunction != nullptr)
        return s_pGetFormattedTextHeightFunction(text, font);
    return MeasurePlain(text, font).Height();
}

void GetCursorPos(int& x, int& y)
{
    TESSEL_ASSERT(s_pGetCursorPosFunction != NULL);
    if (s_pGetCursorPosFunction != nullptr)
        s_pGetCursorPosFunction(x, y);
}

void ResetFormattedText(FormattedText* text)
{
    if (s_pResetFormattedTextFunction != nullptr)
        s_pResetFormattedTextFunction(text);
}

bool IsPixelHitTestEnabled()
{
    return s_bPixelHitTest;
}

void SetPixelHitTestEnabled(bool enabled)
{
    s_bPixelHitTest = enabled;
}

} // namespace GUI_System
