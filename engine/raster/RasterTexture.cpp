// The raster's texture tables: creation from pixels and bitmaps, conversion, release, the second table's
// composition (fill, blit, text), tiling, colours and saved bitmaps.
#include "engine/raster/Raster.h"

#include "engine/raster/RasterBlit.h"
#include "engine/raster/RasterText.h"
#include "platform/Platform.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

constexpr int BMP_FILE_HEADER_SIZE = 14;
constexpr int BMP_INFO_HEADER_SIZE = 40;

bool ValidTextureSize(int width, int height)
{
    return width > 0 && height > 0 && width <= MAX_TEXTURE_SIDE && height <= MAX_TEXTURE_SIDE;
}

std::unique_ptr<RasterSurface> MakeSurface(int width, int height)
{
    auto surface = std::make_unique<RasterSurface>();
    surface->width = width;
    surface->height = height;
    surface->pixels.assign(static_cast<std::size_t>(width) * height, 0);
    return surface;
}

// A bitmap colour as the system's blit stores it in a 16-bit surface: each channel cut to its top bits.
std::uint16_t BitmapColorToPixel(std::uint32_t rgb, bool is565)
{
    const std::uint32_t r = (rgb >> 16) & 0xFF;
    const std::uint32_t g = (rgb >> 8) & 0xFF;
    const std::uint32_t b = rgb & 0xFF;
    if (is565) {
        return static_cast<std::uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
    }
    return static_cast<std::uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
}

// A 16-bit pixel widened to 8 bits per channel, the top bits repeated into the low ones.
void PixelToRgb(std::uint16_t p, bool is565, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b)
{
    const int r5 = is565 ? (p >> 11) & 31 : (p >> 10) & 31;
    const int b5 = p & 31;
    r = static_cast<std::uint8_t>((r5 << 3) | (r5 >> 2));
    b = static_cast<std::uint8_t>((b5 << 3) | (b5 >> 2));
    if (is565) {
        const int g6 = (p >> 5) & 63;
        g = static_cast<std::uint8_t>((g6 << 2) | (g6 >> 4));
    } else {
        const int g5 = (p >> 5) & 31;
        g = static_cast<std::uint8_t>((g5 << 3) | (g5 >> 2));
    }
}

void PutLe16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutLe32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    PutLe16(out, at, value & 0xFFFF);
    PutLe16(out, at + 2, value >> 16);
}

} // namespace

// ---- Creation and release ----------------------------------------------------------------------------------------

int Raster::CreateTexture(int width, int height, const std::uint16_t* pixels, int /*bitsPerPixel*/, int kind)
{
    if (m_TexIndex >= MAXTEXTURES || !ValidTextureSize(width, height)) {
        return -1;
    }
    TextureEntry& entry = m_TexInfo[m_TexIndex];
    entry.width = width;
    entry.height = height;
    entry.kind = kind;
    entry.source = pixels;
    entry.converted.reset();
    entry.handle.reset();
    if (kind == TEXTURE_KIND_SURFACE) {
        entry.handle = MakeSurface(width, height);
        CopyPixelsToSurface(*entry.handle, pixels);
    } else {
        entry.converted = ConvertPixels(pixels, width, height, kind);
        if (!entry.converted) {
            entry = TextureEntry{};
            return -1;
        }
    }
    PixelsChanged(entry);
    return m_TexIndex++;
}

// Source words are 1-5-5-5: each field moves to the top of the surface's channel.
void Raster::CopyPixelsToSurface(RasterSurface& surface, const std::uint16_t* pixels) const
{
    if (m_NoPixelAccess || pixels == nullptr) {
        return;
    }
    const int redShift = m_Is565 ? 1 : 0;
    const int greenShift = m_Is565 ? 1 : 0;
    const std::size_t count = surface.pixels.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t p = pixels[i];
        surface.pixels[i] =
            static_cast<std::uint16_t>(((p & 0x7C00) << redShift) | ((p & 0x03E0) << greenShift) | (p & 0x001F));
    }
}

std::unique_ptr<std::uint16_t[]> Raster::ConvertPixels(const std::uint16_t* pixels, int width, int height,
                                                      int kind) const
{
    if (!ValidTextureSize(width, height)) {
        return nullptr;
    }
    const std::size_t count = static_cast<std::size_t>(width) * height;
    auto out = std::make_unique<std::uint16_t[]>(count);  // zero-filled: unknown kinds stay black
    if (pixels == nullptr || kind < 0 || kind > TEXTURE_KIND_ARGB4444) {
        return out;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = pixels[i];
        if (kind == TEXTURE_KIND_ARGB4444) {
            if ((p & 0xF000) == 0) {
                out[i] = 0;
            } else if (m_Is565) {
                out[i] = static_cast<std::uint16_t>(((p & 0xF00) * 16) + ((p & 0xF0) * 8) + ((p & 0xF) * 2));
            } else {
                out[i] = static_cast<std::uint16_t>(((p & 0xF00) * 8) + ((p & 0xF0) * 4) + ((p & 0xF) * 2));
            }
        } else {
            out[i] = m_Is565 ? static_cast<std::uint16_t>((p & 0x1F) + (p & 0x7FE0) * 2)
                             : static_cast<std::uint16_t>(p);
        }
    }
    return out;
}

int Raster::ReloadTexture(int index, const std::uint16_t* pixels)
{
    if (index < 0 || index >= m_TexIndex) {
        return -1;
    }
    TextureEntry& entry = m_TexInfo[index];
    if (entry.kind == TEXTURE_KIND_SURFACE) {
        if (!entry.handle) {
            return -1;
        }
        CopyPixelsToSurface(*entry.handle, pixels);
        PixelsChanged(entry);
        return 1;
    }
    entry.converted = ConvertPixels(pixels, entry.width, entry.height, entry.kind);
    PixelsChanged(entry);
    return entry.converted ? 1 : -1;
}

void Raster::ReleaseTexture(int index)
{
    TESSEL_ASSERT(index >= 0 && index < MAXTEXTURES && "nTextureIndex >= 0 && nTextureIndex < MAXTEXTURES");
    if (index < 0 || index >= MAXTEXTURES) {
        return;
    }
    m_TexInfo[index] = TextureEntry{};
}

void Raster::ReleaseTexturesFrom(int first)
{
    first = std::clamp(first, 0, m_TexIndex);
    for (int i = first; i < m_TexIndex; ++i) {
        m_TexInfo[i] = TextureEntry{};
    }
    m_TexIndex = first;
}

void Raster::ReleaseSecondTextures()
{
    for (int i = 0; i < m_SecondTexIndex; ++i) {
        m_SecondTexInfo[i] = TextureEntry{};
    }
    m_SecondTexIndex = 0;
}

// ---- Bitmaps --------------------------------------------------------------------------------------------------

int Raster::CreateTextureFromBitmap(int width, int height, const RasterBitmap* bitmap, int /*bitsPerPixel*/,
                                    bool rotated, bool second)
{
    if (bitmap == nullptr) {
        return -1;
    }
    int& count = second ? m_SecondTexIndex : m_TexIndex;
    const int capacity = second ? MAX_SECOND_TEXTURES : MAXTEXTURES;
    if (count >= capacity) {
        return -1;
    }
    if (width <= 0 || height <= 0) {
        width = bitmap->width;
        height = bitmap->height;
    }
    if (rotated) {
        std::swap(width, height);
    }
    if (!ValidTextureSize(width, height)) {
        return -1;
    }
    TextureEntry& entry = second ? m_SecondTexInfo[count] : m_TexInfo[count];
    entry = TextureEntry{};
    entry.width = width;
    entry.height = height;
    entry.kind = TEXTURE_KIND_SURFACE;
    entry.handle = MakeSurface(width, height);
    CopyBitmapToSurface(*entry.handle, *bitmap, rotated);
    PixelsChanged(entry);
    return count++;
}

bool Raster::BitmapToTexture(int index, const RasterBitmap* bitmap, bool rotated, bool second)
{
    const int count = second ? m_SecondTexIndex : m_TexIndex;
    if (bitmap == nullptr || index < 0 || index >= count) {
        return false;
    }
    TextureEntry& entry = second ? m_SecondTexInfo[index] : m_TexInfo[index];
    if (!entry.handle) {
        return false;
    }
    entry.handle->lost = false;
    CopyBitmapToSurface(*entry.handle, *bitmap, rotated);
    PixelsChanged(entry);
    return true;
}

// Not rotated: the bitmap is copied to the top-left corner, clipped to the surface. Rotated: a quarter turn,
// surface pixel (c, r) taking bitmap pixel (r, surface width - 1 - c).
void Raster::CopyBitmapToSurface(RasterSurface& surface, const RasterBitmap& bitmap, bool rotated) const
{
    if (m_NoPixelAccess || bitmap.width <= 0 || bitmap.height <= 0 ||
        bitmap.pixels.size() < static_cast<std::size_t>(bitmap.width) * bitmap.height) {
        return;
    }
    if (!rotated) {
        const int w = std::min(surface.width, bitmap.width);
        const int h = std::min(surface.height, bitmap.height);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                surface.pixels[static_cast<std::size_t>(y) * surface.width + x] =
                    BitmapColorToPixel(bitmap.At(x, y), m_Is565);
            }
        }
        return;
    }
    for (int r = 0; r < surface.height; ++r) {
        for (int c = 0; c < surface.width; ++c) {
            const int sx = r;
            const int sy = surface.width - 1 - c;
            if (sx < bitmap.width && sy >= 0 && sy < bitmap.height) {
                surface.pixels[static_cast<std::size_t>(r) * surface.width + c] =
                    BitmapColorToPixel(bitmap.At(sx, sy), m_Is565);
            }
        }
    }
}

// ---- The second table ---------------------------------------------------------------------------------------

void Raster::FillTexture(int secondIndex, std::uint16_t colour)
{
    if (secondIndex < 0 || secondIndex >= m_SecondTexIndex || !m_SecondTexInfo[secondIndex].handle) {
        return;
    }
    RasterSurface& surface = *m_SecondTexInfo[secondIndex].handle;
    FillPixels(SurfaceTarget(surface), RasterRect{0, 0, surface.width, surface.height}, colour);
    PixelsChanged(m_SecondTexInfo[secondIndex]);
}

bool Raster::BlitTexture(int secondIndex, const RasterRect& destRect, int sourceIndex, bool keyed, bool fromSecond)
{
    if (secondIndex < 0 || secondIndex >= m_SecondTexIndex || !m_SecondTexInfo[secondIndex].handle) {
        return false;
    }
    const int sourceCount = fromSecond ? m_SecondTexIndex : m_TexIndex;
    if (sourceIndex < 0 || sourceIndex >= sourceCount) {
        return false;
    }
    CheckSurfacesLost();
    const TextureEntry& source = fromSecond ? m_SecondTexInfo[sourceIndex] : m_TexInfo[sourceIndex];
    if (fromSecond && sourceIndex == secondIndex) {
        return false;  // a surface cannot be stretched onto itself
    }
    const PixelTarget target = SurfaceTarget(*m_SecondTexInfo[secondIndex].handle);
    const bool drawn = BlitToTarget(source, target, destRect.left, destRect.top, destRect.right, destRect.bottom,
                                    true, keyed, nullptr);
    PixelsChanged(m_SecondTexInfo[secondIndex]);
    return drawn;
}

bool Raster::DrawTextOnTexture(std::u16string_view text, int secondIndex, const RasterRect& rect, int font,
                               std::uint32_t colour, int alignment)
{
    if (secondIndex < 0 || secondIndex >= m_SecondTexIndex || !m_SecondTexInfo[secondIndex].handle) {
        return false;
    }
    const PixelTarget target = SurfaceTarget(*m_SecondTexInfo[secondIndex].handle);
    const bool drawn = RenderText(GetFont(font), text, rect.Clamped(), TextFormatForAlignment(alignment, rect.right),
                                  colour, &target, nullptr);
    PixelsChanged(m_SecondTexInfo[secondIndex]);
    return drawn;
}

// ---- Sizes, colours, tiling ------------------------------------------------------------------------------------

bool Raster::GetTextureSize(int index, int& width, int& height) const
{
    width = 0;
    height = 0;
    TESSEL_ASSERT(index >= 0 && index < MAXTEXTURES && "nTextureIndex >= 0 && nTextureIndex < MAXTEXTURES");
    if (index < 0 || index >= MAXTEXTURES) {
        return false;
    }
    const TextureEntry& entry = m_TexInfo[index];
    if (!entry.handle && !entry.converted) {
        return false;
    }
    width = entry.width;
    height = entry.height;
    return true;
}

int Raster::GetTextureWidth(int index) const
{
    int width = 0;
    int height = 0;
    GetTextureSize(index, width, height);
    return width;
}

int Raster::GetTextureHeight(int index) const
{
    int width = 0;
    int height = 0;
    GetTextureSize(index, width, height);
    return height;
}

std::uint16_t Raster::MakeColor(int r, int g, int b, int a) const
{
    TESSEL_ASSERT(m_BackBuffer != nullptr && "BackBuffer != NULL");
    const std::uint32_t masks[4] = {m_Is565 ? 0xF800U : 0x7C00U, m_Is565 ? 0x07E0U : 0x03E0U, 0x001FU, 0U};
    const int values[4] = {r, g, b, a};
    std::uint32_t colour = 0;
    for (int i = 0; i < 4; ++i) {
        if (masks[i] == 0) {
            continue;
        }
        const int shift = std::countr_zero(masks[i]);
        const std::uint32_t m = masks[i] >> shift;
        const std::uint32_t value = static_cast<std::uint32_t>(std::clamp(values[i], 0, 255));
        colour += ((value * m) / 255) << shift;
    }
    return static_cast<std::uint16_t>(colour);
}

bool Raster::DrawTextureTiled(int index, float x0, float y0, float x1, float y1, float z, std::uint32_t flags)
{
    if (index < 0 || index >= m_TexIndex) {
        return false;
    }
    const TextureEntry& entry = m_TexInfo[index];
    // A released texture draws nothing, as DrawTexture's queued copy would.
    if (!entry.handle && !entry.converted) {
        return true;
    }
    const float w = static_cast<float>(entry.width);
    const float h = static_cast<float>(entry.height);
    if (!(w > 0.0f) || !(h > 0.0f) || !(x1 > x0) || !(y1 > y0)) {
        return true;
    }
    // Tile counts are bounded by what one frame can queue, so a huge or far-off rectangle ends quickly.
    const double limit = MAX_QUEUED_PRIMITIVES;
    const int columns = static_cast<int>(std::min(std::ceil((static_cast<double>(x1) - x0) / w), limit));
    const int rows = static_cast<int>(std::min(std::ceil((static_cast<double>(y1) - y0) / h), limit));
    for (int i = 0; i < columns; ++i) {
        const float x = x0 + static_cast<float>(i) * w;
        for (int j = 0; j < rows; ++j) {
            if (m_QueuedCount >= MAX_QUEUED_PRIMITIVES || !m_BackBuffer) {
                return true;
            }
            const float y = y0 + static_cast<float>(j) * h;
            DrawTexture(index, x, y, x + std::min(w, x1 - x), y + std::min(h, y1 - y), z, flags, nullptr);
        }
    }
    return true;
}

// ---- Saved bitmaps -------------------------------------------------------------------------------------------

bool Raster::SaveTextureBitmap(int index, std::u16string_view path)
{
    if (index < 0 || index >= m_TexIndex) {
        return false;
    }
    return SaveSurfaceBitmap(m_TexInfo[index].handle.get(), path);
}

bool Raster::SaveSecondTextureBitmap(int index, std::u16string_view path)
{
    if (index < 0 || index >= m_SecondTexIndex) {
        return false;
    }
    return SaveSurfaceBitmap(m_SecondTexInfo[index].handle.get(), path);
}

// A 24-bit uncompressed bottom-up bitmap: every 16-bit pixel widened so that cutting each channel back to its
// top bits gives the same pixel.
bool Raster::SaveSurfaceBitmap(const RasterSurface* surface, std::u16string_view path) const
{
    if (surface == nullptr || surface->width <= 0 || surface->height <= 0) {
        return false;
    }
    const std::size_t rowBytes = (static_cast<std::size_t>(surface->width) * 3 + 3) & ~static_cast<std::size_t>(3);
    const std::size_t imageSize = rowBytes * surface->height;
    const std::size_t offset = BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE;
    std::vector<std::uint8_t> file(offset + imageSize, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutLe32(file, 2, static_cast<std::uint32_t>(file.size()));
    PutLe32(file, 10, static_cast<std::uint32_t>(offset));
    PutLe32(file, 14, BMP_INFO_HEADER_SIZE);
    PutLe32(file, 18, static_cast<std::uint32_t>(surface->width));
    PutLe32(file, 22, static_cast<std::uint32_t>(surface->height));
    PutLe16(file, 26, 1);
    PutLe16(file, 28, 24);
    PutLe32(file, 30, 0);
    PutLe32(file, 34, static_cast<std::uint32_t>(imageSize));
    PutLe32(file, 38, 2835);
    PutLe32(file, 42, 2835);
    for (int y = 0; y < surface->height; ++y) {
        std::uint8_t* row = file.data() + offset + rowBytes * (surface->height - 1 - y);
        for (int x = 0; x < surface->width; ++x) {
            std::uint8_t r = 0;
            std::uint8_t g = 0;
            std::uint8_t b = 0;
            PixelToRgb(surface->pixels[static_cast<std::size_t>(y) * surface->width + x], m_Is565, r, g, b);
            row[x * 3] = b;
            row[x * 3 + 1] = g;
            row[x * 3 + 2] = r;
        }
    }
    if (!plat::WriteFileAtomic(path, file.data(), file.size())) {
        plat::MessageBox(u"Unable to Create Bitmap File", u"Error", plat::MB_OK);
        return false;
    }
    return true;
}
