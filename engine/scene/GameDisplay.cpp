#include "engine/scene/GameDisplay.h"

#include "engine/core/LanguageManager.h"
#include "engine/core/PrivateHeap.h"
#include "engine/core/QuitRequest.h"
#include "engine/core/TextHelpers.h"
#include "engine/core/UndecodableFile.h"
#include "engine/raster/Raster.h"
#include "engine/scene/ChpFile.h"
#include "platform/Platform.h"

#include <cstdlib>

namespace {

// Render states set at display start; only colour key off (10) and blend off (6) have an effect.
constexpr int STATE_KEY_OFF = 10;
constexpr int STATE_BLEND_OFF = 6;
constexpr int STATES_BEFORE[] = {STATE_KEY_OFF, 3, STATE_BLEND_OFF};
constexpr int STATES_AFTER[] = {11, 14, 16};
constexpr int STATE_VALUE_ZERO = 8;
constexpr int STATE_VALUE_OTHER = 7;
constexpr int FIRST_SCREEN = 1;

// The file's path, in a buffer of the runtime heap freed with the object.
struct OwnedFile {
    void* data = nullptr;
    std::size_t size = 0;

    explicit OwnedFile(std::u16string_view path) { data = ReadWholeFile(path, true, &size); }
    ~OwnedFile() { std::free(data); }
    OwnedFile(const OwnedFile&) = delete;
    OwnedFile& operator=(const OwnedFile&) = delete;
};

DisplayGameActions s_Game;

void OnDeviceLost()
{
    GetGameDisplay()->ReloadAllTextures();
}

void OnTextureLost(int index)
{
    GetGameDisplay()->ReloadTexture(index);
}

} // namespace

GameDisplay::GameDisplay() : m_Textures(std::make_unique<TextureRecord[]>(MAXTEXTURES))
{
    m_FrameTextures.fill(-1);
    m_LargeSymbols.fill(-1);
}

GameDisplay::~GameDisplay() = default;

// ---- Display --------------------------------------------------------------------------------------------------------

void GameDisplay::InitDisplay(bool noPixelAccess)
{
    // Every scene's mat starts without images; the table lays itself out again.
    m_ZoneImages.fill(-1);
    m_RelayoutRequested = true;
    m_LayoutDone = false;
    m_TableLaidOut = false;
    if (m_Initialised) {
        ResetSceneSlots();
        CreateTransparentTexture();
        return;
    }
    m_NoPixelAccess = noPixelAccess;
    Raster* const raster = GetRaster();
    const std::u16string title = GetLanguageManager() != nullptr ? GetLanguageManager()->GetStartupMessage(0) : u"";
    if (raster->Init(m_Width, m_Height, DISPLAY_DESIGN_WIDTH, DISPLAY_DESIGN_HEIGHT, title, DISPLAY_DEPTH_RANGE, 0,
                     noPixelAccess) == 0) {
        raster->Shutdown();
        plat::MessageBox(u"", u"Initialization Error", plat::MB_OK);
        PostQuitMessage(1);
        return;
    }
    for (const int state : STATES_BEFORE) {
        raster->SetRenderState(state, 0);
    }
    raster->SetRenderState(m_RenderStateValue == 0 ? STATE_VALUE_ZERO : STATE_VALUE_OTHER, m_RenderStateValue);
    for (const int state : STATES_AFTER) {
        raster->SetRenderState(state, 0);
    }
    m_TextureCount = 0;
    ResetSceneSlots();
    m_SceneTag = 0;
    if (s_Game.SetScreen != nullptr) {
        (this->*s_Game.SetScreen)(FIRST_SCREEN, false);
    }
    m_ReturnScreenId = FIRST_SCREEN;
    raster->SetDeviceLostCallback(OnDeviceLost);
    raster->SetTextureLostCallback(OnTextureLost);
    m_Initialised = true;
    CreateTransparentTexture();
}

// A scene that loads no font or background must not draw another scene's textures through old ids.
void GameDisplay::ResetSceneSlots()
{
    for (int* slot : {&m_Font8, &m_GameFont, &m_GameFont2, &m_BigGameFont, &m_BigGameFont2, &m_SpareFont}) {
        *slot = -1;
    }
    m_BackgroundTextures.fill(-1);
}

// Id 0 is what a missing name answers, so it must draw nothing.
void GameDisplay::CreateTransparentTexture()
{
    if (m_TextureCount == 0) {
        m_TransparentPixel = 0;
        CreateTexture(1, 1, u"", &m_TransparentPixel, 16, TEXTURE_KIND_SURFACE);
    }
}

void GameDisplay::BeginFrame()
{
    GetRaster()->BeginFrame();
}

int GameDisplay::DrawFrame()
{
    return GetRaster()->EndFrame();
}

void GameDisplay::Present(bool clear)
{
    GetRaster()->Present(clear);
}

bool GameDisplay::HandleActivate(int value) const
{
    return GetRaster()->HandleActivate(value);
}

bool GameDisplay::IsReady() const
{
    return GetRaster()->IsReady();
}

void GameDisplay::ReleaseAll()
{
    if (s_Game.ClearGuiWindows != nullptr) {
        s_Game.ClearGuiWindows();
    }
    m_TextureCount = 0;
    GetRaster()->ReleaseTexturesFrom(0);
    for (int i = 0; i < MAXTEXTURES; ++i) {
        m_Textures[i] = TextureRecord{};
    }
}

void GameDisplay::Shutdown()
{
    // The message dialogs hold textures; they go first.
    m_RegisteredMessageDialogs.clear();
    m_MessageRecords.clear();
    m_MessageDialogs.clear();
    ReleaseAll();
    GetRaster()->Shutdown();
    m_Initialised = false;
}

// ---- Texture registry ---------------------------------------------------------------------------------------------

int GameDisplay::FindTextureByName(std::u16string_view name, bool rotated, bool matchRotated) const
{
    for (int i = 0; i < MAXTEXTURES; ++i) {
        const TextureRecord& row = m_Textures[i];
        if (row.name && EqualsAsciiNoCase(*row.name, name) && (!matchRotated || row.rotated == rotated)) {
            return i;
        }
    }
    return -1;
}

void GameDisplay::FatalLoadError(std::u16string_view name, std::u16string_view caption)
{
    GetRaster()->Shutdown();
    plat::MessageBox(name, caption, plat::MB_OK);
    PostQuitMessage(1);
}

int GameDisplay::CreateTexture(int width, int height, std::u16string_view name, const std::uint16_t* pixels,
                               int bitsPerPixel, int kind)
{
    if (m_TextureCount >= MAXTEXTURES) {
        return -1;
    }
    if (!name.empty()) {
        const int found = FindTextureByName(name, false, false);
        if (found >= 0) {
            ++m_Textures[found].references;
            return found;
        }
    }
    TextureRecord& row = m_Textures[m_TextureCount];
    row = TextureRecord{};
    row.width = width;
    row.height = height;
    row.pixels = name.empty() ? pixels : nullptr;
    row.bitsPerPixel = bitsPerPixel;
    row.kind = kind;
    row.references = 1;
    if (!name.empty()) {
        row.name = std::make_unique<std::u16string>(name);
    }
    const int id = GetRaster()->CreateTexture(width, height, pixels, bitsPerPixel, kind);
    if (id < 0) {
        row = TextureRecord{};
        FatalLoadError(name, u"Error Loading Texture");
        return -1;
    }
    ++m_TextureCount;
    return id;
}

int GameDisplay::CreateTextureFromPixels(const std::uint16_t* pixels, int width, int height, int kind)
{
    return CreateTexture(width, height, u"", pixels, 16, kind);
}

int GameDisplay::LoadChpTexture(std::u16string_view path)
{
    const OwnedFile file(path);
    ChpImage image;
    if (!ParseChp(file.data, file.size, false, image)) {
        if (file.data != nullptr) {
            ReportUndecodableFile(path, "a .chp image");
        }
        return -1;
    }
    return CreateTexture(image.width, image.height, path, image.pixels, 16, TEXTURE_KIND_SURFACE);
}

// Every frame names the file, so the first becomes the texture and each further frame adds a reference.
int GameDisplay::LoadChpFrames(const void* fileData, std::size_t size, std::u16string_view path)
{
    ChpImage image;
    if (!ParseChp(fileData, size, true, image) || image.frameCount == 0) {
        if (fileData != nullptr) {
            ReportUndecodableFile(path, "a .chp image");
        }
        return -1;
    }
    const int first = CreateTexture(image.width, image.height, path, image.Frame(0), 16, TEXTURE_KIND_SURFACE);
    for (int f = 1; f < image.frameCount && first >= 0; ++f) {
        CreateTexture(image.width, image.height, path, image.Frame(f), 16, TEXTURE_KIND_SURFACE);
    }
    return first;
}

void GameDisplay::LoadBackground(const void* data1, std::size_t size1, std::u16string_view name1, const void* data2,
                                 std::size_t size2, std::u16string_view name2)
{
    const void* const data[BACKGROUND_TEXTURE_COUNT] = {data1, data2};
    const std::size_t sizes[BACKGROUND_TEXTURE_COUNT] = {size1, size2};
    const std::u16string_view names[BACKGROUND_TEXTURE_COUNT] = {name1, name2};
    for (int i = 0; i < BACKGROUND_TEXTURE_COUNT; ++i) {
        ChpImage image;
        if (!ParseChp(data[i], sizes[i], false, image)) {
            if (data[i] != nullptr) {
                ReportUndecodableFile(names[i], "a .chp image");
            }
            m_BackgroundTextures[i] = -1;
            continue;
        }
        m_BackgroundTextures[i] =
            CreateTexture(image.width, image.height, names[i], image.pixels, 16, TEXTURE_KIND_SURFACE);
    }
}

// Glyphs are unnamed textures with consecutive ids; glyphs beyond the data are not made.
int GameDisplay::LoadGlyphFont(const void* fileData, std::size_t size, int glyphCount, int glyphSize)
{
    if (fileData == nullptr || size < CHP_HEADER_SIZE || glyphCount <= 0 ||
        reinterpret_cast<std::uintptr_t>(fileData) % alignof(std::uint16_t) != 0) {
        return -1;
    }
    const std::size_t glyphBytes = static_cast<std::size_t>(glyphSize) * glyphSize * 2;
    const std::size_t available = (size - CHP_HEADER_SIZE) / glyphBytes;
    const auto* glyphs = reinterpret_cast<const std::uint16_t*>(static_cast<const std::uint8_t*>(fileData) +
                                                                 CHP_HEADER_SIZE);
    int first = -1;
    for (std::size_t g = 0; g < available && g < static_cast<std::size_t>(glyphCount); ++g) {
        const int id = CreateTexture(glyphSize, glyphSize, u"", glyphs + g * glyphBytes / 2, 16,
                                     TEXTURE_KIND_SURFACE);
        if (id < 0) {
            break;
        }
        if (first < 0) {
            first = id;
        }
    }
    return first;
}

void GameDisplay::LoadFont8(const void* fileData, std::size_t size, int glyphCount)
{
    m_Font8 = LoadGlyphFont(fileData, size, glyphCount, FONT8_GLYPH_SIZE);
}

void GameDisplay::LoadGameFont(const void* fileData, std::size_t size, int glyphCount)
{
    m_GameFont = LoadGlyphFont(fileData, size, glyphCount, GAME_FONT_GLYPH_SIZE);
}

void GameDisplay::LoadGameFont2(const void* fileData, std::size_t size, int glyphCount)
{
    m_GameFont2 = LoadGlyphFont(fileData, size, glyphCount, GAME_FONT_GLYPH_SIZE);
}

void GameDisplay::LoadBigGameFont(const void* fileData, std::size_t size, int glyphCount)
{
    m_BigGameFont = LoadGlyphFont(fileData, size, glyphCount, GAME_FONT_GLYPH_SIZE);
}

void GameDisplay::LoadBigGameFont2(const void* fileData, std::size_t size, int glyphCount)
{
    m_BigGameFont2 = LoadGlyphFont(fileData, size, glyphCount, GAME_FONT_GLYPH_SIZE);
}

int GameDisplay::LoadBitmapTexture(std::u16string_view path)
{
    if (path.empty() || m_TextureCount >= MAXTEXTURES) {
        return -1;
    }
    const int found = FindTextureByName(path, false, true);
    if (found >= 0) {
        ++m_Textures[found].references;
        return found;
    }
    RasterBitmap bitmap;
    int bitCount = 0;
    if (!LoadBitmapFile(path, bitmap, &bitCount)) {
        return -1;
    }
    const int id = LoadBitmapTextureKeyed(&bitmap, path, false);
    if (id >= 0) {
        m_Textures[id].bitsPerPixel = bitCount;
    }
    return id;
}

int GameDisplay::LoadBitmapTextureKeyed(const RasterBitmap* bitmap, std::u16string_view name, bool rotated)
{
    if (bitmap == nullptr || m_TextureCount >= MAXTEXTURES) {
        return -1;
    }
    if (!name.empty()) {
        const int found = FindTextureByName(name, rotated, true);
        if (found >= 0) {
            ++m_Textures[found].references;
            return found;
        }
    }
    if (bitmap->width + bitmap->height < 2 || bitmap->width <= 0 || bitmap->height <= 0) {
        return -1;
    }
    TextureRecord& row = m_Textures[m_TextureCount];
    row = TextureRecord{};
    row.width = bitmap->width;
    row.height = bitmap->height;
    row.bitsPerPixel = 32;
    row.kind = TEXTURE_KIND_SURFACE;
    row.rotated = rotated;
    row.references = 1;
    if (!name.empty()) {
        row.name = std::make_unique<std::u16string>(name);
    }
    const int id = GetRaster()->CreateTextureFromBitmap(bitmap->width, bitmap->height, bitmap, 32, rotated, false);
    if (id < 0) {
        row = TextureRecord{};
        FatalLoadError(name, u"Error Loading Bitmap");
        return -1;
    }
    ++m_TextureCount;
    return id;
}

int GameDisplay::LoadTempTexture(std::u16string_view path)
{
    RasterBitmap bitmap;
    if (!LoadBitmapFile(path, bitmap) || bitmap.width + bitmap.height < 2 || bitmap.width <= 0 ||
        bitmap.height <= 0) {
        return -1;
    }
    const int id = GetRaster()->CreateTextureFromBitmap(bitmap.width, bitmap.height, &bitmap, 32, false, true);
    if (id < 0) {
        FatalLoadError(path, u"Error loading temporary texture");
    }
    return id;
}

void GameDisplay::ReleaseTexture(int id)
{
    if (id < 0 || id >= m_TextureCount || m_Textures[id].references <= 0) {
        return;
    }
    TextureRecord& row = m_Textures[id];
    if (--row.references == 0) {
        row.name.reset();
        GetRaster()->ReleaseTexture(id);
    }
}

void GameDisplay::DrawTexture(int id, float x, float y, float z, int keyA, int keyB, const RasterRect* source)
{
    // Id 0 is the transparent texture of missing names.
    if (id <= 0 || id >= m_TextureCount || m_Textures[id].references <= 0) {
        return;
    }
    const TextureRecord& row = m_Textures[id];
    const float left = static_cast<float>(TruncCoordinate(x));
    const float top = static_cast<float>(TruncCoordinate(y));
    const std::uint32_t flags = (keyA != 0 || keyB != 0) ? PRIM_COLOR_KEY : 0;
    GetRaster()->DrawTexture(id, left, top, left + static_cast<float>(row.width), top + static_cast<float>(row.height),
                             z, flags, source);
}

const TextureRecord& GameDisplay::GetTextureRecord(int id) const
{
    static const TextureRecord s_none;
    return id >= 0 && id < MAXTEXTURES ? m_Textures[static_cast<std::size_t>(id)] : s_none;
}

// ---- Reload after device loss ---------------------------------------------------------------------------------

void GameDisplay::ReloadAllTextures()
{
    for (int id = 0; id < m_TextureCount; ++id) {
        ReloadTexture(id);
    }
    if (s_Game.ReloadGuiTextures != nullptr) {
        s_Game.ReloadGuiTextures();
    }
}

void GameDisplay::ReloadTexture(int id)
{
    if (id < 0 || id >= m_TextureCount || m_Textures[id].references <= 0) {
        return;
    }
    const TextureRecord& row = m_Textures[id];
    if (row.name) {
        std::u16string lower = *row.name;
        LowerCaseWString(lower);
        if (lower.find(u".bmp") != std::u16string::npos) {
            RasterBitmap bitmap;
            if (LoadBitmapFile(*row.name, bitmap)) {
                GetRaster()->BitmapToTexture(id, &bitmap, row.rotated, false);
            }
        } else if (lower.find(u".chp") != std::u16string::npos) {
            ReloadChpTexture(id, *row.name);
        }
    } else if (row.pixels != nullptr) {
        ReloadPixels(id, row.pixels);
    }
}

void GameDisplay::ReloadChpTexture(int id, std::u16string_view path)
{
    const std::u16string name(path);  // the row's own name may be replaced below
    const OwnedFile file(name);
    ChpImage image;
    TextureRecord& row = m_Textures[id];
    // A file that changed its size since loading would not fit the texture.
    if (ParseChp(file.data, file.size, false, image) && image.width == row.width && image.height == row.height) {
        GetRaster()->ReloadTexture(id, image.pixels);
    }
    if (!row.name || *row.name != name) {
        row.name = std::make_unique<std::u16string>(name);
    }
}

void GameDisplay::ReloadPixels(int id, const std::uint16_t* pixels)
{
    GetRaster()->ReloadTexture(id, pixels);
}

GameDisplay* GetGameDisplay()
{
    static GameDisplay s_display;
    return &s_display;
}

void SetDisplayGameActions(const DisplayGameActions& actions)
{
    s_Game = actions;
}

int LoadGUIBitmap(std::u16string_view path)
{
    return GetGameDisplay()->LoadBitmapTexture(path);
}

void ReleaseGUITexture(int id)
{
    GetGameDisplay()->ReleaseTexture(id);
}
