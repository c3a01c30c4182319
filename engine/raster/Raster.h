// Room engine/raster: drawing. The raster library here, its blitters, spans, colour tables, fonts and text.
//
// The raster library: the program's only drawing path. It owns a 16-bit back buffer the size of the desktop,
// the texture tables, the 20 fonts of the current language and a depth-sorted queue of primitives that the
// frame's code submits and EndFrame draws back to front. Present hands the frame to the platform's window.
#pragma once

#include "engine/raster/RasterTypes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class RasterFont;
class SpanRasterizer;

class Raster {
public:
    Raster();
    ~Raster();
    Raster(const Raster&) = delete;
    Raster& operator=(const Raster&) = delete;

    // ---- Device and frame ------------------------------------------------------------------------------------

    // 1 on success or when already initialised, 0 when no display device or desktop mode is available. The back
    // buffer takes the desktop's size and 16-bit format (5-6-5 or 5-5-5 from its masks), whatever the window's
    // width and height; the design size and the reserved argument are not used.
    int Init(int width, int height, float designWidth, float designHeight, std::u16string_view title,
             float depthRange, int reserved, bool noPixelAccess);
    // Releases the back buffer and the fonts; frames draw nothing afterwards until the next Init.
    int Shutdown();
    bool IsInitialised() const { return m_Initialised; }

    void BeginFrame();
    int EndFrame();
    // Hands the client-sized part of the back buffer to the window while active and invalidated. When asked, or
    // when clearAfterPresent is set, the client is cleared before the next frame draws: not at all when that
    // frame's back-most primitive is opaque and covers the client, else only the cells of the client that none of
    // its opaque primitives paints whole.
    void Present(bool clear);

    void SetActive(bool active);
    bool IsActive() const { return m_Active; }
    void Invalidate() { m_Invalidated = true; }
    bool IsInvalidated() const { return m_Invalidated; }
    void SetClearAfterPresent(bool clear) { m_ClearAfterPresent = clear; }
    void SetDepth(int depth) { m_TextDepth = depth; }
    int GetTextDepth() const { return m_TextDepth; }

    // ---- Submitters (queued at a depth; drawn by EndFrame) ------------------------------------------------------

    bool DrawTexture(int index, float x0, float y0, float x1, float y1, float z, std::uint32_t flags,
                     const RasterRect* source = nullptr);
    bool DrawTextureEx(int index, float x0, float y0, float x1, float y1, float z, std::uint32_t flags,
                       const RasterRect* source = nullptr);
    bool DrawTextureTiled(int index, float x0, float y0, float x1, float y1, float z, std::uint32_t flags);
    bool FillRect(float x0, float y0, float x1, float y1, float z, std::uint16_t colour);
    // Text at the text depth; colour is 0x00BBGGRR; a right edge of -1 draws one unclipped line at left, top.
    bool DrawText(std::u16string_view text, const RasterRect& rect, int alignment, int font, std::uint32_t colour,
                  bool allowOverhang);
    bool DrawText(const char16_t* text, const RasterRect& rect, int alignment, int font, std::uint32_t colour,
                  bool allowOverhang);
    bool DrawTextAt(std::u16string_view text, int x, int y, int font, std::uint32_t colour);
    int DrawTriangle(const TriangleVertices& vertices);

    // ---- Immediate drawing -----------------------------------------------------------------------------------

    // Draws text at once in black; with outRect it only measures and gives the rectangle the text takes.
    bool DrawTextNow(std::u16string_view text, const RasterRect& rect, RasterRect* outRect, int alignment, int font);
    void ClearBackBuffer(std::uint16_t colour);
    void FillRectNow(int x0, int y0, int x1, int y1, std::uint16_t colour);
    void DrawTextureNow(int index, int x0, int y0, int x1, int y1, std::uint32_t flags, const RasterRect* source);

    // ---- Queries and states ----------------------------------------------------------------------------------

    void GetSurfaceSize(int& width, int& height) const;
    void GetScreenRect(RasterRect& rect) const;
    int SetRenderState(int state, int value);
    bool IsBlending() const { return m_Blend; }
    bool IsColorKeyed() const { return m_ColorKey; }
    bool HasFilteredStretch() const { return false; }
    const char16_t* GetErrorText() const { return nullptr; }
    bool IsReady() const { return true; }
    bool HandleActivate(int) const { return true; }
    bool Is565() const { return m_Is565; }
    int GetWidth() const { return m_Width; }
    int GetHeight() const { return m_Height; }
    std::uint64_t GetPrimitivesDrawn() const { return m_PrimitivesDrawn; }
    int GetQueuedCount() const { return m_QueuedCount; }
    // The last frame's records in the order EndFrame drew them (back to front), until the next BeginFrame; texts
    // are offsets into GetQueuedText. Benchmarks read them to replay a frame's primitives.
    std::vector<DrawPrimitive> GetFramePrimitives() const;
    std::u16string_view GetQueuedText() const { return m_TextStore; }
    // The back buffer (tests and benchmarks read it); pixels is null without one.
    PixelTarget BackBuffer();

    // ---- Surfaces ----------------------------------------------------------------------------------------------

    using DeviceLostCallback = void (*)();
    using TextureLostCallback = void (*)(int index);
    void SetDeviceLostCallback(DeviceLostCallback callback) { m_OnDeviceLost = callback; }
    void SetTextureLostCallback(TextureLostCallback callback) { m_OnTextureLost = callback; }
    // Restores the back buffer and every texture surface, then calls the device-lost callback.
    void RestoreSurfaces();
    void RestoreTexture(int index);
    // Rebuilds the surfaces when the desktop's mode changed; true when it did.
    bool HandleDesktopChange();
    bool DesktopChanged() const { return m_DesktopChanged; }

    // ---- Textures ----------------------------------------------------------------------------------------------

    // pixels: 1-5-5-5 words (kind 3: 4-4-4-4 with alpha on top); the raster keeps the pointer, not the pixels.
    int CreateTexture(int width, int height, const std::uint16_t* pixels, int bitsPerPixel, int kind);
    int ReloadTexture(int index, const std::uint16_t* pixels);
    void ReleaseTexture(int index);
    void ReleaseTexturesFrom(int first);
    int CreateTextureFromBitmap(int width, int height, const RasterBitmap* bitmap, int bitsPerPixel, bool rotated,
                                bool second);
    bool BitmapToTexture(int index, const RasterBitmap* bitmap, bool rotated, bool second);
    void FillTexture(int secondIndex, std::uint16_t colour);
    bool BlitTexture(int secondIndex, const RasterRect& destRect, int sourceIndex, bool keyed, bool fromSecond);
    bool DrawTextOnTexture(std::u16string_view text, int secondIndex, const RasterRect& rect, int font,
                           std::uint32_t colour, int alignment);
    bool SaveTextureBitmap(int index, std::u16string_view path);
    bool SaveSecondTextureBitmap(int index, std::u16string_view path);
    void ReleaseSecondTextures();
    bool GetTextureSize(int index, int& width, int& height) const;
    int GetTextureWidth(int index) const;
    int GetTextureHeight(int index) const;
    int GetTextureCount() const { return m_TexIndex; }
    int GetSecondTextureCount() const { return m_SecondTexIndex; }
    const TextureEntry& GetTextureEntry(int index) const { return m_TexInfo[index]; }
    const TextureEntry& GetSecondTextureEntry(int index) const { return m_SecondTexInfo[index]; }

    // Converts 1-5-5-5 (kinds 0-2) or 4-4-4-4 (kind 3) pixels to the back buffer's format; other kinds give
    // zeros. Null when width x height is not positive.
    std::unique_ptr<std::uint16_t[]> ConvertPixels(const std::uint16_t* pixels, int width, int height,
                                                  int kind) const;
    // A pixel of the back buffer's format from 0-255 components.
    std::uint16_t MakeColor(int r, int g, int b, int a) const;

    // ---- Text and fonts ------------------------------------------------------------------------------------------

    void SetFontLanguage(int languageId, int charset, bool newerSystem, bool systemXP);
    bool MeasureText(std::u16string_view text, int font, int& width, int& height, int& ascent) const;
    int GetFontHeight(int font) const;
    // Font number n as drawn: numbers outside 0-19 take font 2; null before the fonts exist.
    const RasterFont* GetFont(int font) const;

private:
    struct SavedFontLanguage {
        int languageId = 1;
        int charset = 0;
        bool newerSystem = true;
        bool systemXP = true;
    };

    bool QueuePrimitive(const DrawPrimitive& record, float z);
    void DrawQueuedTexture(const DrawPrimitive& record);
    void DrawTextPrimitive(std::u16string_view text, const DrawPrimitive& record, RasterRect* outRect,
                           const PixelTarget& target) const;
    // Clears the client if a clear is pending, unless backMost (null: any write) paints all of it.
    void ResolvePendingClear(const DrawPrimitive* backMost);
    bool PaintsClient(const DrawPrimitive& record, int clientWidth, int clientHeight) const;
    bool BlitToTarget(const TextureEntry& entry, PixelTarget target, int x0, int y0, int x1, int y1,
                      bool stretch, bool keyed, const RasterRect* source);
    // Every change to a texture's pixels ends here, so its opaque runs and its stretched copies always match them.
    static void PixelsChanged(TextureEntry& entry);
    // A large opaque stretch that the frame before drew too is drawn as a copy of its stretched pixels, kept
    // while frames go on drawing it; true when drawn that way.
    bool DrawCachedStretch(int index, int x0, int y0, int x1, int y1, const RasterRect* source);
    void DropUnusedStretches();
    void CheckSurfacesLost();
    void MarkAllSurfacesLost();
    bool CreateBackBuffer();
    void CopyPixelsToSurface(RasterSurface& surface, const std::uint16_t* pixels) const;
    void CopyBitmapToSurface(RasterSurface& surface, const RasterBitmap& bitmap, bool rotated) const;
    bool SaveSurfaceBitmap(const RasterSurface* surface, std::u16string_view path) const;
    void CreateFonts();
    void DeleteFonts();
    PixelTarget SurfaceTarget(RasterSurface& surface) const;

    // Device.
    int m_Width = 0;
    int m_Height = 0;
    int m_BitsPerPixel = 0;
    int m_RefreshRate = 0;
    std::uint64_t m_PrimitivesDrawn = 0;
    int m_TextDepth = TEXT_DEPTH_DEFAULT;
    bool m_Active = false;
    bool m_DesktopChanged = false;
    bool m_ClearAfterPresent = false;
    bool m_ClearPending = false;
    bool m_FrameDrawn = false;
    bool m_Invalidated = false;
    bool m_Is565 = true;
    bool m_Initialised = false;
    bool m_NoPixelAccess = false;
    bool m_Blend = false;
    bool m_ColorKey = false;
    DeviceLostCallback m_OnDeviceLost = nullptr;
    TextureLostCallback m_OnTextureLost = nullptr;
    std::u16string m_Title;
    float m_DepthRange = 20000.0f;
    float m_DepthScale = DEPTH_BUCKETS / 20000.0f;
    std::unique_ptr<RasterSurface> m_BackBuffer;
    std::uint64_t m_SurfaceLossSeen = 0;

    // Queue.
    std::unique_ptr<DrawPrimitive[]> m_Pool;
    std::unique_ptr<std::int32_t[]> m_BucketFirst;
    std::unique_ptr<std::int32_t[]> m_BucketLast;
    int m_QueuedCount = 0;
    // One bit per bucket holding records: the frame walks and clears only those.
    std::array<std::uint64_t, DEPTH_BUCKETS / 64> m_BucketsUsed{};
    std::u16string m_TextStore;

    // Textures.
    std::unique_ptr<TextureEntry[]> m_TexInfo;
    int m_TexIndex = 0;
    std::unique_ptr<TextureEntry[]> m_SecondTexInfo;
    int m_SecondTexIndex = 0;

    // Stretches kept as pixels of their destination's size, keyed by texture, its pixels' generation, the
    // source rectangle and the size; pixels stay empty until a second frame draws the same stretch.
    struct StretchCopy {
        int texture = -1;
        std::uint64_t generation = 0;
        RasterRect source{0, 0, -1, -1};
        int width = 0;
        int height = 0;
        bool used = false;
        std::vector<std::uint16_t> pixels;
    };
    std::vector<StretchCopy> m_StretchCopies;

    // Fonts: the owned faces and the 20 numbers that share them (0 is 4, 2 is 11, 17-19 may be 14-16).
    SavedFontLanguage m_FontLanguage;
    std::vector<std::unique_ptr<RasterFont>> m_OwnedFonts;
    std::array<const RasterFont*, RASTER_FONT_COUNT> m_Fonts{};

    std::unique_ptr<SpanRasterizer> m_Spans;
};

// The library's one object; it lives for the whole run.
Raster* GetRaster();
// Start-up binds the library (returns 1); exit unbinds it. The object itself stays until the program ends.
int BindRaster();
void UnbindRaster();

// DrawFrameRect: one filled rectangle, or a frame of four of the given thickness.
void DrawFrameRect(float x0, float y0, float x1, float y1, float z, std::uint16_t colour, bool filled,
                   float thickness);
