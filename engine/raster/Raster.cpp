// Device, frame and draw queue of the raster library.
#include "engine/raster/Raster.h"

#include "engine/core/QuitRequest.h"
#include "engine/raster/RasterBlit.h"
#include "engine/raster/RasterFont.h"
#include "engine/raster/SpanRasterizer.h"
#include "platform/Headless.h"
#include "platform/Platform.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace {

constexpr int TITLE_CAPACITY = 255;
// Back buffers larger than this are refused: no desktop is that large, and the sizes stay far from overflow.
constexpr int MAX_BACK_BUFFER_SIDE = 8192;
constexpr std::size_t TEXT_STORE_RESERVE = 64 * 1024;

// Smallest desktop the raster accepts after a mode change, and the lowest top bits of the channel masks.
constexpr int MIN_DESKTOP_WIDTH = 790;
constexpr int MIN_DESKTOP_HEIGHT = 590;
constexpr int MIN_RED_TOP_BIT = 14;
constexpr int MIN_GREEN_TOP_BIT = 9;
constexpr int MIN_BLUE_TOP_BIT = 4;

constexpr std::u16string_view DESKTOP_CHANGE_FAILED = u"Error Re-initing DirectX after Desktop change.";
constexpr std::u16string_view DESKTOP_DEPTH_TOO_LOW =
    u"Error Re-initing DirectX after Desktop change (bitdepth too low).";
constexpr std::u16string_view DESKTOP_TOO_SMALL =
    u"Error Re-initing DirectX after Desktop change (resolution too low).";
constexpr std::u16string_view DESKTOP_CHANNELS_TOO_SMALL =
    u"Error Re-initing DirectX after Desktop change (color channels with bit depth lower than 5).";

// Render states that turn blending and the colour key on or off; all others are accepted and ignored.
constexpr int STATE_BLEND_ON = 5;
constexpr int STATE_BLEND_OFF = 6;
constexpr std::array<int, 6> STATES_KEY_ON = {9, 20, 22, 24, 26, 28};
constexpr std::array<int, 6> STATES_KEY_OFF = {10, 21, 23, 25, 27, 29};

// A 0-1 value scaled to 0-top and truncated; values outside (and NaN) are clamped.
int UnitToInt(float value, int top)
{
    if (!(value > 0.0f)) {
        return 0;
    }
    return value >= 1.0f ? top : static_cast<int>(value * static_cast<float>(top));
}

int HighestBit(std::uint32_t mask)
{
    int bit = -1;
    for (int i = 0; i < 32; ++i) {
        if ((mask >> i) & 1U) {
            bit = i;
        }
    }
    return bit;
}

int CountBits(std::uint32_t mask)
{
    int count = 0;
    for (; mask != 0; mask >>= 1) {
        count += static_cast<int>(mask & 1U);
    }
    return count;
}

bool Is565Masks(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    // A desktop that reports no masks is taken as the default 5-6-5.
    if (red == 0 && green == 0 && blue == 0) {
        return true;
    }
    return CountBits(red) == 5 && CountBits(green) == 6 && CountBits(blue) == 5;
}

// A pending clear skips the client's cells of this side that opaque primitives of the frame paint whole.
constexpr int CLEAR_CELL = 8;

// Scratch for the painted cells, kept between frames.
std::vector<std::uint8_t>& PaintedCells()
{
    static std::vector<std::uint8_t> s_cells;
    return s_cells;
}

// The rectangle of a width x height buffer whose every pixel the record writes whatever was there before (no key,
// blending or text); empty when it has none. lost: it draws a texture whose surface is lost, so that a callback
// runs, and may change any texture, while the frame is drawn.
RasterRect OpaquePaint(const DrawPrimitive& record, const TextureEntry* textures, int textureCount, int width,
                       int height, bool& lost)
{
    if ((record.flags & (PRIM_TRIANGLE | PRIM_TEXT | PRIM_COLOR_KEY)) != 0) {
        return RasterRect{};
    }
    if ((record.flags & PRIM_TEXTURE) != 0) {
        if (record.item < 0 || record.item >= textureCount) {
            return RasterRect{};
        }
        const TextureEntry& entry = textures[record.item];
        if (entry.handle && entry.handle->lost) {
            lost = true;
            return RasterRect{};
        }
        const std::uint16_t* const pixels = entry.handle ? entry.handle->pixels.data() : entry.converted.get();
        if (pixels == nullptr) {
            return RasterRect{};
        }
        const bool stretch = (record.flags & PRIM_STRETCH) != 0;
        const RasterRect* source = record.source.IsValidSource() ? &record.source : nullptr;
        int x1 = TruncCoordinate(record.x1);
        int y1 = TruncCoordinate(record.y1);
        if (source != nullptr && !stretch) {
            x1 = TruncCoordinate(record.x0) + source->Width();
            y1 = TruncCoordinate(record.y0) + source->Height();
        }
        return BlitCoverage(entry.width, entry.height, width, height, TruncCoordinate(record.x0),
                            TruncCoordinate(record.y0), x1, y1, stretch, source);
    }
    if ((record.flags & PRIM_FILL) != 0) {
        return ClipToArea(RasterRect{TruncCoordinate(record.x0), TruncCoordinate(record.y0), TruncCoordinate(record.x1),
                                     TruncCoordinate(record.y1)},
                          width, height);
    }
    return RasterRect{};
}

void FatalDesktopError(std::u16string_view text)
{
    plat::OutputDebugString(std::u16string(text) + u"\n");
    plat::MessageBox(text, u"Error", plat::MB_OK | plat::MB_ICONERROR);
    PostQuitMessage(1);
}

} // namespace

Raster::Raster()
    : m_Pool(std::make_unique<DrawPrimitive[]>(PRIMITIVE_POOL_SIZE)),
      m_BucketFirst(std::make_unique<std::int32_t[]>(DEPTH_BUCKETS)),
      m_BucketLast(std::make_unique<std::int32_t[]>(DEPTH_BUCKETS)),
      m_TexInfo(std::make_unique<TextureEntry[]>(MAXTEXTURES)),
      m_SecondTexInfo(std::make_unique<TextureEntry[]>(MAX_SECOND_TEXTURES)),
      m_Spans(std::make_unique<SpanRasterizer>())
{
    std::fill_n(m_BucketFirst.get(), DEPTH_BUCKETS, -1);
    std::fill_n(m_BucketLast.get(), DEPTH_BUCKETS, -1);
    m_TextStore.reserve(TEXT_STORE_RESERVE);
    BeginFrame();
}

Raster::~Raster() = default;

// ---- Device ----------------------------------------------------------------------------------------------------

int Raster::Init(int /*width*/, int /*height*/, float /*designWidth*/, float /*designHeight*/,
                 std::u16string_view title, float depthRange, int /*reserved*/, bool noPixelAccess)
{
    m_Active = false;
    m_DesktopChanged = false;
    if (m_Initialised) {
        return 1;
    }
    m_NoPixelAccess = noPixelAccess;
    m_PrimitivesDrawn = 0;
    m_DepthRange = depthRange > 0.0f ? depthRange : 20000.0f;
    m_Title = std::u16string(title.substr(0, std::min<std::size_t>(title.size(), TITLE_CAPACITY)));

    if (!plat::DisplayDeviceAvailable()) {
        return 0;
    }
    plat::DisplayMode mode;
    if (!plat::GetDesktopMode(mode)) {
        return 0;
    }
    m_Width = mode.width;
    m_Height = mode.height;
    m_BitsPerPixel = mode.bitsPerPixel;
    m_RefreshRate = mode.refreshHz;
    m_Is565 = Is565Masks(mode.redMask, mode.greenMask, mode.blueMask);
    if (!CreateBackBuffer()) {
        return 0;
    }
    m_DepthScale = 1.0f / (m_DepthRange / DEPTH_BUCKETS);
    m_Spans->Tables().Build(m_Is565);

    ReleaseTexturesFrom(0);
    ReleaseSecondTextures();
    m_Blend = false;
    m_ColorKey = false;
    m_TextDepth = TEXT_DEPTH_DEFAULT;
    m_SurfaceLossSeen = plat::SurfaceLossCount();
    m_Initialised = true;
    if (m_OwnedFonts.empty()) {
        CreateFonts();
    }
    BeginFrame();
    return 1;
}

bool Raster::CreateBackBuffer()
{
    if (m_Width <= 0 || m_Height <= 0 || m_Width > MAX_BACK_BUFFER_SIDE || m_Height > MAX_BACK_BUFFER_SIDE) {
        m_BackBuffer.reset();
        return false;
    }
    auto surface = std::make_unique<RasterSurface>();
    surface->width = m_Width;
    surface->height = m_Height;
    surface->pixels.assign(static_cast<std::size_t>(m_Width) * m_Height, 0);
    m_BackBuffer = std::move(surface);
    return true;
}

int Raster::Shutdown()
{
    m_BackBuffer.reset();
    DeleteFonts();
    m_Initialised = false;
    m_Active = false;
    BeginFrame();
    return 1;
}

void Raster::SetActive(bool active)
{
    m_Active = active;
    Invalidate();
}

PixelTarget Raster::BackBuffer()
{
    if (!m_BackBuffer) {
        return PixelTarget{};
    }
    return SurfaceTarget(*m_BackBuffer);
}

PixelTarget Raster::SurfaceTarget(RasterSurface& surface) const
{
    return PixelTarget{surface.pixels.data(), surface.width, surface.height, surface.width, m_Is565};
}

void Raster::GetSurfaceSize(int& width, int& height) const
{
    width = m_BackBuffer ? m_Width : 0;
    height = m_BackBuffer ? m_Height : 0;
}

void Raster::GetScreenRect(RasterRect& rect) const
{
    int width = 0;
    int height = 0;
    plat::GetClientSize(width, height);
    rect = RasterRect{0, 0, width, height};
}

int Raster::SetRenderState(int state, int /*value*/)
{
    if (state == STATE_BLEND_ON) {
        m_Blend = true;
    } else if (state == STATE_BLEND_OFF) {
        m_Blend = false;
    } else if (std::find(STATES_KEY_ON.begin(), STATES_KEY_ON.end(), state) != STATES_KEY_ON.end()) {
        m_ColorKey = true;
    } else if (std::find(STATES_KEY_OFF.begin(), STATES_KEY_OFF.end(), state) != STATES_KEY_OFF.end()) {
        m_ColorKey = false;
    }
    return 1;
}

// ---- Queue -------------------------------------------------------------------------------------------------------

bool Raster::QueuePrimitive(const DrawPrimitive& record, float z)
{
    // A NaN or infinite depth is a caller's arithmetic gone wrong, not a negative depth: it goes to the back.
    if (!std::isfinite(z)) {
        z = m_DepthRange;
    }
    TESSEL_ASSERT(z >= 0.0f && "depth >= 0");
    if (!(z >= 0.0f) || !m_BackBuffer) {
        return false;
    }
    // Depth 20000 is a depth callers use: its bucket would be 4096, so the top bucket takes it.
    const int bucket = std::min(static_cast<int>(std::min(z * m_DepthScale, static_cast<float>(DEPTH_BUCKETS))),
                                DEPTH_BUCKETS - 1);
    if (m_QueuedCount >= MAX_QUEUED_PRIMITIVES) {
        return false;
    }
    // Slot 0 holds the head sentinel; records follow it.
    const int slot = m_QueuedCount + 1;
    DrawPrimitive& stored = m_Pool[slot];
    stored = record;
    stored.skip = 0;
    stored.next = -1;
    if (m_BucketFirst[bucket] < 0) {
        m_BucketFirst[bucket] = slot;
        m_BucketsUsed[static_cast<std::size_t>(bucket) / 64] |= std::uint64_t{1} << (bucket % 64);
    } else {
        m_Pool[m_BucketLast[bucket]].next = slot;
    }
    m_BucketLast[bucket] = slot;
    ++m_QueuedCount;
    return true;
}

void Raster::BeginFrame()
{
    for (std::size_t word = 0; word < m_BucketsUsed.size(); ++word) {
        for (std::uint64_t bits = m_BucketsUsed[word]; bits != 0; bits &= bits - 1) {
            const std::size_t bucket = word * 64 + static_cast<std::size_t>(std::countr_zero(bits));
            m_BucketFirst[bucket] = -1;
            m_BucketLast[bucket] = -1;
        }
        m_BucketsUsed[word] = 0;
    }
    m_Pool[0] = DrawPrimitive{};
    m_Pool[0].skip = -1;
    m_QueuedCount = 0;
    m_TextStore.clear();
}

int Raster::EndFrame()
{
    if (!m_Initialised || !m_BackBuffer) {
        return 1;
    }
    CheckSurfacesLost();

    // Link the buckets from the highest depth down; the tail sentinel ends the chain.
    const int tail = m_QueuedCount + 1;
    m_Pool[tail] = DrawPrimitive{};
    m_Pool[tail].skip = -1;
    int previousLast = 0;
    m_Pool[0].next = tail;
    for (std::size_t word = m_BucketsUsed.size(); word-- > 0;) {
        for (std::uint64_t bits = m_BucketsUsed[word]; bits != 0;) {
            const int top = 63 - std::countl_zero(bits);
            bits &= ~(std::uint64_t{1} << top);
            const std::size_t bucket = word * 64 + static_cast<std::size_t>(top);
            m_Pool[previousLast].next = m_BucketFirst[bucket];
            previousLast = m_BucketLast[bucket];
        }
    }
    m_Pool[previousLast].next = tail;

    if (!m_Active || !m_Invalidated) {
        return 1;
    }
    ResolvePendingClear(m_Pool[0].next != tail ? &m_Pool[m_Pool[0].next] : nullptr);
    m_FrameDrawn = true;
    for (int index = 0; index >= 0; index = m_Pool[index].next) {
        const DrawPrimitive& record = m_Pool[index];
        ++m_PrimitivesDrawn;
        if (record.skip == -1) {
            continue;
        }
        // A callback may have released the back buffer while the frame was drawn.
        if (!m_BackBuffer) {
            break;
        }
        if ((record.flags & PRIM_TRIANGLE) != 0) {
            if (m_NoPixelAccess) {
                continue;
            }
            const std::uint16_t* texels = nullptr;
            if (record.texture >= 0) {
                const TextureEntry& entry = m_TexInfo[record.texture];
                if (record.texture >= m_TexIndex || !entry.converted || entry.width != record.textureWidth ||
                    entry.height != record.textureHeight) {
                    continue;  // released since it was queued
                }
                texels = entry.converted.get();
            }
            m_Spans->SetTarget(BackBuffer());
            m_Spans->DrawTriangle(record, texels, record.textureWidth, record.textureHeight);
        } else if ((record.flags & PRIM_TEXTURE) != 0) {
            DrawQueuedTexture(record);
        } else if ((record.flags & PRIM_TEXT) != 0) {
            const std::u16string_view text =
                std::u16string_view(m_TextStore).substr(static_cast<std::size_t>(record.item),
                                                        static_cast<std::size_t>(record.textLength));
            DrawTextPrimitive(text, record, nullptr, BackBuffer());
        } else if ((record.flags & PRIM_FILL) != 0) {
            FillRectNow(TruncCoordinate(record.x0), TruncCoordinate(record.y0), TruncCoordinate(record.x1),
                        TruncCoordinate(record.y1), static_cast<std::uint16_t>(record.item));
        }
    }
    DropUnusedStretches();
    return 1;
}

std::vector<DrawPrimitive> Raster::GetFramePrimitives() const
{
    std::vector<DrawPrimitive> records;
    records.reserve(static_cast<std::size_t>(m_QueuedCount));
    // The chain EndFrame linked: head sentinel, records, tail sentinel (slot m_QueuedCount + 1).
    for (int index = m_Pool[0].next; index > 0 && index <= m_QueuedCount; index = m_Pool[index].next) {
        records.push_back(m_Pool[index]);
    }
    return records;
}

void Raster::Present(bool clear)
{
    if (!m_Initialised || !m_BackBuffer) {
        return;
    }
    CheckSurfacesLost();
    if (m_Active && m_Invalidated) {
        int width = 0;
        int height = 0;
        plat::GetClientSize(width, height);
        width = std::clamp(width, 0, m_Width);
        height = std::clamp(height, 0, m_Height);
        // Invalidated after the frame was drawn: what shows is the cleared buffer, as if cleared at once.
        if (!m_FrameDrawn) {
            ResolvePendingClear(nullptr);
        }
        if (width > 0 && height > 0) {
            plat::PresentFrame(m_BackBuffer->pixels.data(), width, height, m_Width * 2,
                               m_Is565 ? plat::PixelFormat::Rgb565 : plat::PixelFormat::Rgb555);
        }
        m_Invalidated = false;
    }
    m_FrameDrawn = false;
    if (m_ClearAfterPresent || clear) {
        m_ClearPending = true;
    }
}

void Raster::ResolvePendingClear(const DrawPrimitive* backMost)
{
    if (!m_ClearPending || !m_BackBuffer) {
        return;
    }
    m_ClearPending = false;
    int width = 0;
    int height = 0;
    plat::GetClientSize(width, height);
    width = std::clamp(width, 0, m_Width);
    height = std::clamp(height, 0, m_Height);
    const RasterRect client{0, 0, width, height};
    if (backMost == nullptr || width == 0 || height == 0) {
        FillPixels(BackBuffer(), client, 0);
        return;
    }
    if (PaintsClient(*backMost, width, height)) {
        return;
    }
    // A pixel that some opaque primitive of the frame paints ends up the same whatever it held, wherever that
    // primitive lies in the order: only the cells of the client that none paints whole are cleared.
    const int cellsX = (width + CLEAR_CELL - 1) / CLEAR_CELL;
    const int cellsY = (height + CLEAR_CELL - 1) / CLEAR_CELL;
    std::vector<std::uint8_t>& cells = PaintedCells();
    cells.assign(static_cast<std::size_t>(cellsX) * cellsY, 0);
    bool lost = false;
    // The chain runs from the back-most record to the tail sentinel.
    for (const DrawPrimitive* record = backMost; record->skip != -1; record = &m_Pool[record->next]) {
        const RasterRect painted = OpaquePaint(*record, m_TexInfo.get(), m_TexIndex, m_Width, m_Height, lost);
        if (lost) {
            FillPixels(BackBuffer(), client, 0);
            return;
        }
        const int left = std::max(painted.left, 0);
        const int top = std::max(painted.top, 0);
        const int right = std::min(painted.right, width);
        const int bottom = std::min(painted.bottom, height);
        // Whole cells only; the client's last, partial cells count as whole when painted to the client's edge.
        const int cx0 = (left + CLEAR_CELL - 1) / CLEAR_CELL;
        const int cy0 = (top + CLEAR_CELL - 1) / CLEAR_CELL;
        const int cx1 = right >= width ? cellsX : right / CLEAR_CELL;
        const int cy1 = bottom >= height ? cellsY : bottom / CLEAR_CELL;
        if (right <= left || bottom <= top || cx1 <= cx0) {
            continue;
        }
        for (int cy = cy0; cy < cy1; ++cy) {
            std::fill_n(cells.begin() + static_cast<std::ptrdiff_t>(cy) * cellsX + cx0, cx1 - cx0, std::uint8_t{1});
        }
    }
    for (int cy = 0; cy < cellsY; ++cy) {
        const std::uint8_t* row = cells.data() + static_cast<std::ptrdiff_t>(cy) * cellsX;
        for (int cx = 0; cx < cellsX;) {
            if (row[cx] != 0) {
                ++cx;
                continue;
            }
            const int first = cx;
            while (cx < cellsX && row[cx] == 0) {
                ++cx;
            }
            FillPixels(BackBuffer(),
                       RasterRect{first * CLEAR_CELL, cy * CLEAR_CELL, std::min(cx * CLEAR_CELL, width),
                                  std::min((cy + 1) * CLEAR_CELL, height)},
                       0);
        }
    }
}

// True when the record writes every pixel of the client with no key, blending or text between.
bool Raster::PaintsClient(const DrawPrimitive& record, int clientWidth, int clientHeight) const
{
    bool lost = false;
    const RasterRect painted = OpaquePaint(record, m_TexInfo.get(), m_TexIndex, m_Width, m_Height, lost);
    return !lost && painted.left <= 0 && painted.top <= 0 && painted.right >= clientWidth &&
           painted.bottom >= clientHeight;
}

// ---- Submitters -------------------------------------------------------------------------------------------------

bool Raster::DrawTexture(int index, float x0, float y0, float x1, float y1, float z, std::uint32_t flags,
                         const RasterRect* source)
{
    if (index < 0 || index >= m_TexIndex) {
        return false;
    }
    DrawPrimitive record;
    record.flags = flags | PRIM_TEXTURE;
    record.item = index;
    record.x0 = x0;
    record.x1 = x1;
    record.y0 = y0;
    record.y1 = y1;
    if (source != nullptr) {
        record.source = *source;
    }
    QueuePrimitive(record, z);
    return true;
}

bool Raster::DrawTextureEx(int index, float x0, float y0, float x1, float y1, float z, std::uint32_t flags,
                           const RasterRect* source)
{
    return DrawTexture(index, x0, y0, x1, y1, z, flags | PRIM_STRETCH, source);
}

bool Raster::FillRect(float x0, float y0, float x1, float y1, float z, std::uint16_t colour)
{
    DrawPrimitive record;
    record.flags = PRIM_FILL;
    record.item = colour;
    record.x0 = x0;
    record.x1 = x1;
    record.y0 = y0;
    record.y1 = y1;
    QueuePrimitive(record, z);
    return true;
}

void DrawFrameRect(float x0, float y0, float x1, float y1, float z, std::uint16_t colour, bool filled,
                   float thickness)
{
    Raster* raster = GetRaster();
    if (filled) {
        raster->FillRect(x0, y0, x1, y1, z, colour);
        return;
    }
    if (!(thickness > 0.0f)) {
        return;
    }
    const float t = thickness;
    if (t < (y1 - y0) / 2 && t < (x1 - x0) / 2) {
        raster->FillRect(x0, y0, x1, y0 + t, z, colour);
        raster->FillRect(x0, y0 + t, x0 + t, y1 - t, z, colour);
        raster->FillRect(x1 - t, y0 + t, x1, y1 - t, z, colour);
        raster->FillRect(x0, y1 - t, x1, y1, z, colour);
        return;
    }
    raster->FillRect(x0, y0, x1, y1, z, colour);
}

int Raster::DrawTriangle(const TriangleVertices& v)
{
    const float zs[3] = {v.z0, v.z1, v.z2};
    const float coords[6] = {v.x0, v.x1, v.x2, v.y0, v.y1, v.y2};
    for (const float z : zs) {
        // w = 15 / z: a vertex at or behind the eye has no perspective.
        if (!(z > 0.0f) || !std::isfinite(z)) {
            return 0;
        }
    }
    for (const float c : coords) {
        if (!std::isfinite(c)) {
            return 0;
        }
    }
    DrawPrimitive record;
    record.flags = PRIM_TRIANGLE | (m_Blend ? PRIM_TRIANGLE_BLENDED : 0U) | (m_ColorKey ? PRIM_COLOR_KEY : 0U);
    record.x0 = v.x0;
    record.x1 = v.x1;
    record.x2 = v.x2;
    record.y0 = v.y0;
    record.y1 = v.y1;
    record.y2 = v.y2;
    record.w0 = v.z0 / 15.0f;
    record.w1 = v.z1 / 15.0f;
    record.w2 = v.z2 / 15.0f;

    const float r = (v.r0 + v.r1 + v.r2) / 3.0f;
    const float g = (v.g0 + v.g1 + v.g2) / 3.0f;
    const float b = (v.b0 + v.b1 + v.b2) / 3.0f;
    const TextureEntry* entry =
        v.texture >= 0 && v.texture < m_TexIndex && m_TexInfo[v.texture].converted ? &m_TexInfo[v.texture] : nullptr;
    if (entry != nullptr) {
        const float w = static_cast<float>(entry->width);
        const float h = static_cast<float>(entry->height);
        record.texture = v.texture;
        record.textureWidth = entry->width;
        record.textureHeight = entry->height;
        record.u0 = v.u0 * w;
        record.u1 = v.u1 * w;
        record.u2 = v.u2 * w;
        record.v0 = v.v0 * h;
        record.v1 = v.v1 * h;
        record.v2 = v.v2 * h;
        // A brightness the spans do not use: vertex colours do not modulate texels.
        record.item = UnitToInt((r + g + b) / 3.0f, 15);
    } else {
        const auto channel = [](float c) { return UnitToInt(c, 31); };
        record.item = m_Is565 ? (channel(r) << 11) | (channel(g) << 6) | channel(b)
                              : (channel(r) << 10) | (channel(g) << 5) | channel(b);
    }
    QueuePrimitive(record, (v.z0 + v.z1 + v.z2) / 3.0f);
    return 1;
}

// ---- Immediate drawing ------------------------------------------------------------------------------------------

void Raster::ClearBackBuffer(std::uint16_t colour)
{
    if (!m_BackBuffer) {
        return;
    }
    m_ClearPending = false;
    FillPixels(BackBuffer(), RasterRect{0, 0, m_Width, m_Height}, colour);
}

void Raster::FillRectNow(int x0, int y0, int x1, int y1, std::uint16_t colour)
{
    if (!m_BackBuffer || x0 > m_Width || x1 < 0 || y0 > m_Height || y1 < 0) {
        return;
    }
    ResolvePendingClear(nullptr);
    FillPixels(BackBuffer(), RasterRect{x0, y0, x1, y1}, colour);
}

void Raster::DrawQueuedTexture(const DrawPrimitive& record)
{
    if (record.item >= m_TexIndex) {
        return;  // the table was cut back since the texture was queued
    }
    int x0 = TruncCoordinate(record.x0);
    int y0 = TruncCoordinate(record.y0);
    int x1 = TruncCoordinate(record.x1);
    int y1 = TruncCoordinate(record.y1);
    const bool stretch = (record.flags & PRIM_STRETCH) != 0;
    const RasterRect* source = record.source.IsValidSource() ? &record.source : nullptr;
    if (source != nullptr && !stretch) {
        x1 = x0 + source->Width();
        y1 = y0 + source->Height();
    }
    // EndFrame has already checked for lost surfaces; a texture restored since is taken as it is.
    const TextureEntry& entry = m_TexInfo[record.item];
    if (entry.handle && entry.handle->lost) {
        RestoreTexture(record.item);
    }
    const bool keyed = (record.flags & PRIM_COLOR_KEY) != 0;
    if (stretch && !keyed && DrawCachedStretch(record.item, x0, y0, x1, y1, source)) {
        return;
    }
    BlitToTarget(m_TexInfo[record.item], BackBuffer(), x0, y0, x1, y1, stretch, keyed, source);
}

bool Raster::DrawCachedStretch(int index, int x0, int y0, int x1, int y1, const RasterRect* source)
{
    // Smaller stretches cost less than keeping them; larger or partly hidden ones are not kept.
    constexpr int MIN_KEPT_PIXELS = 32 * 1024;
    constexpr std::size_t MAX_KEPT_STRETCHES = 8;
    const int width = x1 - x0;
    const int height = y1 - y0;
    if (x0 < 0 || y0 < 0 || x1 > m_Width || y1 > m_Height || width <= 0 || height <= 0 ||
        width * height < MIN_KEPT_PIXELS) {
        return false;
    }
    const TextureEntry& entry = m_TexInfo[index];
    const std::uint16_t* const texels = entry.handle ? entry.handle->pixels.data() : entry.converted.get();
    if (texels == nullptr) {
        return false;
    }
    const RasterRect none{0, 0, -1, -1};
    const RasterRect& key = source != nullptr ? *source : none;
    const auto same = [&](const StretchCopy& c) {
        return c.texture == index && c.generation == entry.generation && c.width == width && c.height == height &&
               c.source.left == key.left && c.source.top == key.top && c.source.right == key.right &&
               c.source.bottom == key.bottom;
    };
    auto found = std::find_if(m_StretchCopies.begin(), m_StretchCopies.end(), same);
    if (found == m_StretchCopies.end()) {
        if (m_StretchCopies.size() < MAX_KEPT_STRETCHES) {
            m_StretchCopies.push_back(StretchCopy{index, entry.generation, key, width, height, true, {}});
        }
        return false;
    }
    found->used = true;
    if (found->pixels.empty()) {
        // The stretch maps each destination pixel from its place within the destination, so stretching into a
        // buffer of the destination's size and copying it gives the same pixels.
        found->pixels.assign(static_cast<std::size_t>(width) * height, 0);
        const PixelTarget kept{found->pixels.data(), width, height, width, m_Is565};
        if (!BlitToTarget(entry, kept, 0, 0, width, height, true, false, source)) {
            found->pixels.clear();
            return false;
        }
    }
    const TexelSource copy{found->pixels.data(), width, height, nullptr};
    return BlitTexels(copy, BackBuffer(), x0, y0, x1, y1, false, false, nullptr);
}

void Raster::DropUnusedStretches()
{
    std::erase_if(m_StretchCopies, [](const StretchCopy& c) { return !c.used; });
    for (StretchCopy& c : m_StretchCopies) {
        c.used = false;
    }
}

void Raster::DrawTextureNow(int index, int x0, int y0, int x1, int y1, std::uint32_t flags, const RasterRect* source)
{
    TESSEL_ASSERT(index < m_TexIndex && "index<TexIndex");
    if (index < 0 || index >= m_TexIndex || !m_BackBuffer) {
        return;
    }
    CheckSurfacesLost();
    ResolvePendingClear(nullptr);
    const TextureEntry& entry = m_TexInfo[index];
    if (entry.handle && entry.handle->lost) {
        RestoreTexture(index);
    }
    BlitToTarget(m_TexInfo[index], BackBuffer(), x0, y0, x1, y1, (flags & PRIM_STRETCH) != 0,
                 (flags & PRIM_COLOR_KEY) != 0, source);
}

// Copies a texture (its surface, or its converted pixels) onto a target, keyed copies along its opaque runs.
bool Raster::BlitToTarget(const TextureEntry& entry, PixelTarget target, int left, int top, int right, int bottom,
                          bool stretch, bool keyed, const RasterRect* source)
{
    const TexelSource texels{entry.handle ? entry.handle->pixels.data() : entry.converted.get(), entry.width,
                             entry.height, &entry.runs};
    return BlitTexels(texels, target, left, top, right, bottom, stretch, keyed, source);
}

void Raster::PixelsChanged(TextureEntry& entry)
{
    static std::uint64_t s_generation = 0;
    entry.generation = ++s_generation;
    const std::uint16_t* pixels = entry.handle ? entry.handle->pixels.data() : entry.converted.get();
    BuildKeyRuns(pixels, entry.width, entry.height, entry.runs);
}

// ---- Surfaces ---------------------------------------------------------------------------------------------------

void Raster::CheckSurfacesLost()
{
    const std::uint64_t losses = plat::SurfaceLossCount();
    if (losses == m_SurfaceLossSeen) {
        return;
    }
    m_SurfaceLossSeen = losses;
    MarkAllSurfacesLost();
    RestoreSurfaces();
}

void Raster::MarkAllSurfacesLost()
{
    const auto lose = [](RasterSurface& surface) {
        surface.lost = true;
        std::fill(surface.pixels.begin(), surface.pixels.end(), 0);
    };
    if (m_BackBuffer) {
        lose(*m_BackBuffer);
    }
    for (int i = 0; i < m_TexIndex; ++i) {
        if (m_TexInfo[i].handle) {
            lose(*m_TexInfo[i].handle);
            PixelsChanged(m_TexInfo[i]);
        }
    }
    for (int i = 0; i < m_SecondTexIndex; ++i) {
        if (m_SecondTexInfo[i].handle) {
            lose(*m_SecondTexInfo[i].handle);
            PixelsChanged(m_SecondTexInfo[i]);
        }
    }
}

void Raster::RestoreSurfaces()
{
    HandleDesktopChange();
    if (m_BackBuffer) {
        m_BackBuffer->lost = false;
    }
    for (int i = 0; i < m_TexIndex; ++i) {
        if (m_TexInfo[i].handle) {
            m_TexInfo[i].handle->lost = false;
        }
    }
    for (int i = 0; i < m_SecondTexIndex; ++i) {
        if (m_SecondTexInfo[i].handle) {
            m_SecondTexInfo[i].handle->lost = false;
        }
    }
    if (m_OnDeviceLost != nullptr) {
        m_OnDeviceLost();
    }
}

void Raster::RestoreTexture(int index)
{
    TESSEL_ASSERT(index >= 0 && index < MAXTEXTURES && "index >= 0 && index < MAXTEXTURES");
    if (index < 0 || index >= MAXTEXTURES) {
        return;
    }
    TESSEL_ASSERT(m_TexInfo[index].handle != nullptr && "TexInfo[ index ].handle != NULL");
    if (!m_TexInfo[index].handle) {
        return;
    }
    if (m_DesktopChanged) {
        for (int i = 0; i < m_TexIndex; ++i) {
            if (m_TexInfo[i].handle) {
                m_TexInfo[i].handle->lost = false;
            }
        }
        if (m_OnDeviceLost != nullptr) {
            m_OnDeviceLost();
        }
        return;
    }
    m_TexInfo[index].handle->lost = false;
    if (m_OnTextureLost != nullptr) {
        m_OnTextureLost(index);
    }
}

bool Raster::HandleDesktopChange()
{
    if (!m_Initialised) {
        return false;
    }
    plat::DisplayMode mode;
    if (!plat::GetDesktopMode(mode)) {
        FatalDesktopError(DESKTOP_CHANGE_FAILED);
        m_BackBuffer.reset();
        return false;
    }
    if (mode.width == m_Width && mode.height == m_Height && mode.bitsPerPixel == m_BitsPerPixel &&
        mode.refreshHz == m_RefreshRate) {
        return false;
    }
    std::u16string_view failure;
    if (mode.bitsPerPixel < 16) {
        failure = DESKTOP_DEPTH_TOO_LOW;
    } else if (mode.height < MIN_DESKTOP_HEIGHT || mode.width < MIN_DESKTOP_WIDTH) {
        failure = DESKTOP_TOO_SMALL;
    } else {
        const int red = HighestBit(mode.redMask);
        const int green = HighestBit(mode.greenMask);
        const int blue = HighestBit(mode.blueMask);
        if (red < MIN_RED_TOP_BIT || green < MIN_GREEN_TOP_BIT || blue < MIN_BLUE_TOP_BIT || !(red > green) ||
            !(green > blue)) {
            failure = DESKTOP_CHANNELS_TOO_SMALL;
        }
    }
    if (!failure.empty()) {
        FatalDesktopError(failure);
        m_BackBuffer.reset();
        return false;
    }
    m_Width = mode.width;
    m_Height = mode.height;
    m_BitsPerPixel = mode.bitsPerPixel;
    m_RefreshRate = mode.refreshHz;
    const bool is565 = Is565Masks(mode.redMask, mode.greenMask, mode.blueMask);
    if (is565 != m_Is565) {
        m_Is565 = is565;
        m_Spans->Tables().Build(m_Is565);
    }
    if (!CreateBackBuffer()) {
        FatalDesktopError(DESKTOP_CHANGE_FAILED);
        return false;
    }
    // Texture surfaces come back empty at their sizes; the callbacks reload their pixels.
    for (int i = 0; i < m_TexIndex; ++i) {
        if (RasterSurface* surface = m_TexInfo[i].handle.get()) {
            std::fill(surface->pixels.begin(), surface->pixels.end(), 0);
            PixelsChanged(m_TexInfo[i]);
        }
    }
    m_DesktopChanged = true;
    return true;
}

// ---- The one object -------------------------------------------------------------------------------------------

Raster* GetRaster()
{
    static Raster s_raster;
    return &s_raster;
}

int BindRaster()
{
    GetRaster();
    return 1;
}

void UnbindRaster()
{
}
