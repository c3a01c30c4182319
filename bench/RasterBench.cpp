// The raster's drawing against SDL2's software blitter doing the same work on 16-bit surfaces at 800x600, and
// the full-screen copy against memcpy of the same bytes. Compare the pairs of one run: Raster_X against Sdl_X.
#include "engine/raster/Raster.h"
#include "engine/raster/RasterFont.h"
#include "platform/Headless.h"
#include "platform/Platform.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int W = 800;
constexpr int H = 600;
constexpr int QUEUED_PRIMITIVES = 200;
constexpr int GLYPHS = 2000;
constexpr int TRIANGLES = 1000;
constexpr int SPRITE = 64;

// 1-5-5-5 pixels with a quarter of them 0 (the colour key).
std::vector<std::uint16_t> Pattern(int w, int h)
{
    std::vector<std::uint16_t> pixels(static_cast<std::size_t>(w) * h);
    std::mt19937 random(7);
    for (std::uint16_t& p : pixels) {
        p = (random() % 4 == 0) ? 0 : static_cast<std::uint16_t>(random() & 0x7FFF);
    }
    return pixels;
}

Raster& StartRaster()
{
    static std::unique_ptr<Raster> s_raster;
    if (!s_raster) {
        plat::Init(plat::BackendKind::Headless);
        plat::headless::SetDesktopMode(plat::DisplayMode{W, H, 16, 60, 0xF800, 0x07E0, 0x001F});
        s_raster = std::make_unique<Raster>();
        s_raster->Init(W, H, 1024.0f, 768.0f, u"bench", 20000.0f, 0, false);
        s_raster->SetActive(true);
    }
    s_raster->ReleaseTexturesFrom(0);
    s_raster->BeginFrame();
    return *s_raster;
}

// A 16-bit SDL surface holding the same pixels as a raster texture made from them.
SDL_Surface* SdlSurface(const std::vector<std::uint16_t>& pixels, int w, int h)
{
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 16, SDL_PIXELFORMAT_RGB565);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < w; ++x) {
            const std::uint16_t p = pixels[static_cast<std::size_t>(y) * w + x];
            row[x] = static_cast<std::uint16_t>((p & 0x1F) + (p & 0x7FE0) * 2);
        }
    }
    return surface;
}

SDL_Surface* SdlTarget()
{
    return SDL_CreateRGBSurfaceWithFormat(0, W, H, 16, SDL_PIXELFORMAT_RGB565);
}

// ---- Full-screen copies ---------------------------------------------------------------------------------------

void Memcpy_Copy(benchmark::State& state)
{
    std::vector<std::uint16_t> from(W * H, 1);
    std::vector<std::uint16_t> to(W * H);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), W * H * sizeof(std::uint16_t));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Memcpy_Copy);

void Raster_Copy(benchmark::State& state, std::uint32_t flags)
{
    Raster& raster = StartRaster();
    const std::vector<std::uint16_t> pixels = Pattern(W, H);
    const int tex = raster.CreateTexture(W, H, pixels.data(), 16, TEXTURE_KIND_SURFACE);
    for (auto _ : state) {
        raster.DrawTextureNow(tex, 0, 0, W, H, flags, nullptr);
        benchmark::ClobberMemory();
    }
}

void Sdl_Copy(benchmark::State& state, bool keyed)
{
    const std::vector<std::uint16_t> pixels = Pattern(W, H);
    SDL_Surface* source = SdlSurface(pixels, W, H);
    SDL_Surface* target = SdlTarget();
    if (keyed) {
        SDL_SetColorKey(source, SDL_TRUE, 0);
    }
    for (auto _ : state) {
        SDL_BlitSurface(source, nullptr, target, nullptr);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(source);
    SDL_FreeSurface(target);
}

BENCHMARK_CAPTURE(Raster_Copy, Opaque, 0U);
BENCHMARK_CAPTURE(Sdl_Copy, Opaque, false);
BENCHMARK_CAPTURE(Raster_Copy, Keyed, PRIM_COLOR_KEY);
BENCHMARK_CAPTURE(Sdl_Copy, Keyed, true);

// ---- Stretch and fill -----------------------------------------------------------------------------------------

void Raster_Stretch(benchmark::State& state)
{
    Raster& raster = StartRaster();
    const std::vector<std::uint16_t> pixels = Pattern(W / 2, H / 2);
    const int tex = raster.CreateTexture(W / 2, H / 2, pixels.data(), 16, TEXTURE_KIND_SURFACE);
    for (auto _ : state) {
        raster.DrawTextureNow(tex, 0, 0, W, H, PRIM_STRETCH, nullptr);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Raster_Stretch);

void Sdl_Stretch(benchmark::State& state)
{
    SDL_Surface* source = SdlSurface(Pattern(W / 2, H / 2), W / 2, H / 2);
    SDL_Surface* target = SdlTarget();
    for (auto _ : state) {
        SDL_BlitScaled(source, nullptr, target, nullptr);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(source);
    SDL_FreeSurface(target);
}
BENCHMARK(Sdl_Stretch);

void Raster_Fill(benchmark::State& state)
{
    Raster& raster = StartRaster();
    for (auto _ : state) {
        raster.FillRectNow(0, 0, W, H, 0x1234);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Raster_Fill);

void Sdl_Fill(benchmark::State& state)
{
    SDL_Surface* target = SdlTarget();
    for (auto _ : state) {
        SDL_FillRect(target, nullptr, 0x1234);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(target);
}
BENCHMARK(Sdl_Fill);

// ---- A frame of queued primitives -------------------------------------------------------------------------------

struct QueuedSprite {
    int x;
    int y;
    float depth;
    bool keyed;
};

std::vector<QueuedSprite> Sprites()
{
    std::vector<QueuedSprite> sprites;
    std::mt19937 random(11);
    for (int i = 0; i < QUEUED_PRIMITIVES; ++i) {
        sprites.push_back(QueuedSprite{static_cast<int>(random() % (W - SPRITE)),
                                       static_cast<int>(random() % (H - SPRITE)),
                                       static_cast<float>(random() % 20000), i % 2 == 0});
    }
    return sprites;
}

void Raster_Frame200(benchmark::State& state)
{
    Raster& raster = StartRaster();
    const std::vector<std::uint16_t> pixels = Pattern(SPRITE, SPRITE);
    const int tex = raster.CreateTexture(SPRITE, SPRITE, pixels.data(), 16, TEXTURE_KIND_SURFACE);
    const std::vector<QueuedSprite> sprites = Sprites();
    for (auto _ : state) {
        raster.BeginFrame();
        for (const QueuedSprite& s : sprites) {
            raster.DrawTexture(tex, static_cast<float>(s.x), static_cast<float>(s.y), static_cast<float>(s.x + SPRITE),
                               static_cast<float>(s.y + SPRITE), s.depth, s.keyed ? PRIM_COLOR_KEY : 0U);
        }
        raster.Invalidate();
        raster.EndFrame();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Raster_Frame200);

// SDL2 has no queue: sort by depth (stable, farthest first) and blit.
void Sdl_Frame200(benchmark::State& state)
{
    SDL_Surface* opaque = SdlSurface(Pattern(SPRITE, SPRITE), SPRITE, SPRITE);
    SDL_Surface* keyed = SdlSurface(Pattern(SPRITE, SPRITE), SPRITE, SPRITE);
    SDL_SetColorKey(keyed, SDL_TRUE, 0);
    SDL_Surface* target = SdlTarget();
    const std::vector<QueuedSprite> sprites = Sprites();
    std::vector<QueuedSprite> order;
    order.reserve(sprites.size());
    for (auto _ : state) {
        order = sprites;
        std::stable_sort(order.begin(), order.end(),
                         [](const QueuedSprite& a, const QueuedSprite& b) { return a.depth > b.depth; });
        for (const QueuedSprite& s : order) {
            SDL_Rect dest{s.x, s.y, SPRITE, SPRITE};
            SDL_BlitSurface(s.keyed ? keyed : opaque, nullptr, target, &dest);
        }
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(opaque);
    SDL_FreeSurface(keyed);
    SDL_FreeSurface(target);
}
BENCHMARK(Sdl_Frame200);

// ---- Text -------------------------------------------------------------------------------------------------------

std::u16string GlyphText()
{
    const std::u16string words = u"The quick brown fox jumps over the lazy dog. ";
    std::u16string text;
    while (text.size() < GLYPHS) {
        text += words;
    }
    text.resize(GLYPHS);
    return text;
}

void Raster_Text2000(benchmark::State& state)
{
    Raster& raster = StartRaster();
    const std::u16string text = GlyphText();
    for (auto _ : state) {
        raster.DrawTextNow(text, RasterRect{0, 0, W, H}, nullptr, 0, 4);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Raster_Text2000);

// The same glyphs, pre-rendered as alpha surfaces, blended by SDL2 in the raster's layout positions.
void Sdl_Text2000(benchmark::State& state)
{
    Raster& raster = StartRaster();
    const RasterFont* font = raster.GetFont(4);
    const std::u16string text = GlyphText();
    std::vector<SDL_Surface*> glyphs(128, nullptr);
    std::vector<SDL_Rect> places;
    int penX = 0;
    int baseline = font->Ascent();
    for (const char16_t c : text) {
        const plat::Glyph g = font->GlyphOf(c);
        if (glyphs[c] == nullptr) {
            SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, std::max(g.width, 1), std::max(g.height, 1), 32,
                                                            SDL_PIXELFORMAT_ARGB8888);
            for (int y = 0; y < g.height; ++y) {
                auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch);
                for (int x = 0; x < g.width; ++x) {
                    row[x] = (static_cast<std::uint32_t>(g.coverage[y * g.pitch + x]) << 24) | 0xFFFFFF;
                }
            }
            SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_BLEND);
            glyphs[c] = s;
        }
        if (penX + g.advance > W) {
            penX = 0;
            baseline += font->Height();
        }
        places.push_back(SDL_Rect{penX + g.left, baseline - g.top, g.width, g.height});
        penX += g.advance;
    }
    SDL_Surface* target = SdlTarget();
    for (auto _ : state) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            SDL_Rect dest = places[i];
            SDL_BlitSurface(glyphs[text[i]], nullptr, target, &dest);
        }
        benchmark::ClobberMemory();
    }
    for (SDL_Surface* s : glyphs) {
        SDL_FreeSurface(s);
    }
    SDL_FreeSurface(target);
}
BENCHMARK(Sdl_Text2000);

// ---- Triangles --------------------------------------------------------------------------------------------------

struct Tri {
    float x[3];
    float y[3];
};

std::vector<Tri> Triangles()
{
    std::vector<Tri> out;
    std::mt19937 random(5);
    for (int i = 0; i < TRIANGLES; ++i) {
        const float cx = static_cast<float>(random() % (W - 80) + 40);
        const float cy = static_cast<float>(random() % (H - 80) + 40);
        // Clockwise on screen, about 40 pixels across.
        out.push_back(Tri{{cx - 20.0f, cx + 20.0f, cx - 5.0f}, {cy - 15.0f, cy - 10.0f, cy + 20.0f}});
    }
    return out;
}

void Raster_Triangles1000(benchmark::State& state)
{
    Raster& raster = StartRaster();
    const std::vector<std::uint16_t> pixels = Pattern(64, 64);
    const int tex = raster.CreateTexture(64, 64, pixels.data(), 16, 0);
    const std::vector<Tri> tris = Triangles();
    for (auto _ : state) {
        raster.BeginFrame();
        for (const Tri& t : tris) {
            TriangleVertices v;
            v.x0 = t.x[0];
            v.x1 = t.x[1];
            v.x2 = t.x[2];
            v.y0 = t.y[0];
            v.y1 = t.y[1];
            v.y2 = t.y[2];
            v.z0 = v.z1 = v.z2 = 100.0f;
            v.u1 = 1.0f;
            v.v2 = 1.0f;
            v.texture = tex;
            raster.DrawTriangle(v);
        }
        raster.Invalidate();
        raster.EndFrame();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Raster_Triangles1000);

// SDL2's software renderer drawing the same textured triangles into a 16-bit surface.
void Sdl_Triangles1000(benchmark::State& state)
{
    SDL_Surface* target = SdlTarget();
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(target);
    SDL_Surface* image = SdlSurface(Pattern(64, 64), 64, 64);
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, image);
    const std::vector<Tri> tris = Triangles();
    std::vector<SDL_Vertex> vertices;
    for (const Tri& t : tris) {
        const float u[3] = {0.0f, 1.0f, 0.0f};
        const float v[3] = {0.0f, 0.0f, 1.0f};
        for (int i = 0; i < 3; ++i) {
            vertices.push_back(SDL_Vertex{{t.x[i], t.y[i]}, {255, 255, 255, 255}, {u[i], v[i]}});
        }
    }
    for (auto _ : state) {
        SDL_RenderGeometry(renderer, texture, vertices.data(), static_cast<int>(vertices.size()), nullptr, 0);
        SDL_RenderFlush(renderer);
        benchmark::ClobberMemory();
    }
    SDL_DestroyTexture(texture);
    SDL_FreeSurface(image);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(target);
}
BENCHMARK(Sdl_Triangles1000);

} // namespace

BENCHMARK_MAIN();
