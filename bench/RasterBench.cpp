// The raster's drawing against SDL2's software blitter at its best doing the same work on 16-bit surfaces at
// 800x600: colour keys with run-length acceleration (RLE), sprite-like images as well as a random key pattern,
// and a frame of 200 keyed sprites queued at depths as the table queues cards. Before timing, each pair draws
// once onto the same background and the two results must be equal pixel for pixel. The full-screen copy and
// fill are also set against memcpy and memset of the same bytes. scripts/bench.sh runs this and prints the table.
#include "engine/raster/Raster.h"
#include "engine/raster/RasterFont.h"
#include "platform/Headless.h"
#include "platform/Platform.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int W = 800;
constexpr int H = 600;
constexpr int QUEUED_SPRITES = 200;
constexpr int SPRITE_KINDS = 8;
constexpr int GLYPHS = 2000;
constexpr int TRIANGLES = 1000;
constexpr int SPRITE = 64;

// 1-5-5-5 pixels with a quarter of them 0 (the colour key) at random: the run-length encoder's worst case.
std::vector<std::uint16_t> Pattern(int w, int h)
{
    std::vector<std::uint16_t> pixels(static_cast<std::size_t>(w) * h);
    std::mt19937 random(7);
    for (std::uint16_t& p : pixels) {
        p = (random() % 4 == 0) ? 0 : static_cast<std::uint16_t>(random() % 0x7FFF + 1);
    }
    return pixels;
}

// One 64 x 64 sprite as the program's images are: a card (rounded corners, a margin), a button (a pill) or a
// glyph (a ring and a stem), opaque inside, the key outside.
void DrawSpriteShape(std::vector<std::uint16_t>& pixels, int pitch, int left, int top, int kind, std::mt19937& random)
{
    const std::uint16_t base = static_cast<std::uint16_t>(random() % 0x7000 + 0x400);
    for (int y = 0; y < SPRITE; ++y) {
        for (int x = 0; x < SPRITE; ++x) {
            const int cx = x - SPRITE / 2;
            const int cy = y - SPRITE / 2;
            bool opaque = false;
            if (kind == 0) {
                // Card: 2-pixel margin, corners of radius 6.
                const int dx = std::max(0, std::max(3 + 6 - x - 1, x - (SPRITE - 3 - 6)));
                const int dy = std::max(0, std::max(3 + 6 - y - 1, y - (SPRITE - 3 - 6)));
                opaque = x >= 2 && y >= 2 && x < SPRITE - 2 && y < SPRITE - 2 && dx * dx + dy * dy <= 36;
            } else if (kind == 1) {
                // Button: a pill 56 wide and 28 high.
                const int dx = std::max(0, std::abs(cx) - 14);
                opaque = dx * dx + cy * cy <= 14 * 14;
            } else {
                // Glyph: a ring 6 thick and a stem.
                const int r2 = cx * cx + cy * cy;
                opaque = (r2 <= 22 * 22 && r2 >= 16 * 16) || (cx >= 16 && cx < 22 && cy > -28 && cy < 28);
            }
            pixels[static_cast<std::size_t>(top + y) * pitch + left + x] =
                opaque ? static_cast<std::uint16_t>(base + ((x + y) & 31)) : 0;
        }
    }
}

std::vector<std::uint16_t> SpriteSheet(int w, int h)
{
    std::vector<std::uint16_t> pixels(static_cast<std::size_t>(w) * h, 0);
    std::mt19937 random(3);
    int index = 0;
    for (int top = 0; top + SPRITE <= h; top += SPRITE) {
        for (int left = 0; left + SPRITE <= w; left += SPRITE) {
            DrawSpriteShape(pixels, w, left, top, index++ % 3, random);
        }
    }
    return pixels;
}

std::vector<std::uint16_t> Sprite(int kind)
{
    std::vector<std::uint16_t> pixels(SPRITE * SPRITE, 0);
    std::mt19937 random(static_cast<unsigned>(kind) + 20);
    DrawSpriteShape(pixels, SPRITE, 0, 0, kind % 3, random);
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

// SDL2 at its best with a colour key: run-length encoded (done once, at the first blit).
SDL_Surface* SdlKeyedSurface(const std::vector<std::uint16_t>& pixels, int w, int h)
{
    SDL_Surface* surface = SdlSurface(pixels, w, h);
    SDL_SetColorKey(surface, SDL_TRUE | SDL_RLEACCEL, 0);
    return surface;
}

SDL_Surface* SdlTarget()
{
    return SDL_CreateRGBSurfaceWithFormat(0, W, H, 16, SDL_PIXELFORMAT_RGB565);
}

// One operation done both ways. Each side draws onto its own 800x600 5-6-5 target.
class Work {
public:
    Work() : m_Raster(StartRaster()), m_Target(SdlTarget()) {}
    virtual ~Work() { SDL_FreeSurface(m_Target); }
    Work(const Work&) = delete;
    Work& operator=(const Work&) = delete;

    virtual void DrawRaster() = 0;
    virtual void DrawSdl() = 0;

    // Both sides once onto the same patterned background; true when the results are equal.
    bool SameResult()
    {
        const PixelTarget back = m_Raster.BackBuffer();
        for (int y = 0; y < H; ++y) {
            auto* sdlRow = SdlRow(y);
            for (int x = 0; x < W; ++x) {
                const auto p = static_cast<std::uint16_t>((x * 37 + y * 101) | 0x0821);
                back.pixels[y * back.pitch + x] = p;
                sdlRow[x] = p;
            }
        }
        DrawRaster();
        DrawSdl();
        for (int y = 0; y < H; ++y) {
            if (std::memcmp(back.pixels + y * back.pitch, SdlRow(y), W * sizeof(std::uint16_t)) != 0) {
                return false;
            }
        }
        return true;
    }

protected:
    std::uint16_t* SdlRow(int y)
    {
        return reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(m_Target->pixels) + y * m_Target->pitch);
    }

    Raster& m_Raster;
    SDL_Surface* m_Target;
};

// A full-screen texture copied 1:1, opaque or keyed.
class CopyWork final : public Work {
public:
    CopyWork(const std::vector<std::uint16_t>& pixels, bool keyed) : m_Keyed(keyed)
    {
        m_Texture = m_Raster.CreateTexture(W, H, pixels.data(), 16, TEXTURE_KIND_SURFACE);
        m_Source = keyed ? SdlKeyedSurface(pixels, W, H) : SdlSurface(pixels, W, H);
    }
    ~CopyWork() override { SDL_FreeSurface(m_Source); }
    void DrawRaster() override { m_Raster.DrawTextureNow(m_Texture, 0, 0, W, H, m_Keyed ? PRIM_COLOR_KEY : 0U, nullptr); }
    void DrawSdl() override { SDL_BlitSurface(m_Source, nullptr, m_Target, nullptr); }

private:
    bool m_Keyed;
    int m_Texture = -1;
    SDL_Surface* m_Source = nullptr;
};

// A texture of the given size stretched over the screen: 400x300 doubles it; others give the scales the table
// background meets (1.5x, 1.37x) and a shrink.
class StretchWork final : public Work {
public:
    StretchWork(int width, int height)
    {
        const std::vector<std::uint16_t> pixels = Pattern(width, height);
        m_Texture = m_Raster.CreateTexture(width, height, pixels.data(), 16, TEXTURE_KIND_SURFACE);
        m_Source = SdlSurface(pixels, width, height);
    }
    ~StretchWork() override { SDL_FreeSurface(m_Source); }
    void DrawRaster() override { m_Raster.DrawTextureNow(m_Texture, 0, 0, W, H, PRIM_STRETCH, nullptr); }
    void DrawSdl() override { SDL_BlitScaled(m_Source, nullptr, m_Target, nullptr); }

private:
    int m_Texture = -1;
    SDL_Surface* m_Source = nullptr;
};

class FillWork final : public Work {
public:
    void DrawRaster() override { m_Raster.FillRectNow(0, 0, W, H, 0x1234); }
    void DrawSdl() override { SDL_FillRect(m_Target, nullptr, 0x1234); }
};

// 200 keyed 64x64 sprites of eight images at random places and depths, queued and drawn back to front as the
// table draws its cards; SDL2 has no queue, so it sorts by depth (stable) and blits. Depths are multiples of 5,
// so distinct depths never share one of the raster's 4096 buckets and both sides draw in the same order.
class FrameWork final : public Work {
public:
    FrameWork()
    {
        std::mt19937 random(11);
        for (int i = 0; i < SPRITE_KINDS; ++i) {
            const std::vector<std::uint16_t> pixels = Sprite(i);
            m_Textures.push_back(m_Raster.CreateTexture(SPRITE, SPRITE, pixels.data(), 16, TEXTURE_KIND_SURFACE));
            m_Sources.push_back(SdlKeyedSurface(pixels, SPRITE, SPRITE));
        }
        for (int i = 0; i < QUEUED_SPRITES; ++i) {
            m_Sprites.push_back(Placed{static_cast<int>(random() % (W - SPRITE)), static_cast<int>(random() % (H - SPRITE)),
                                       static_cast<float>(random() % 4000 * 5), i % SPRITE_KINDS});
        }
        m_Order.reserve(m_Sprites.size());
    }
    ~FrameWork() override
    {
        for (SDL_Surface* s : m_Sources) {
            SDL_FreeSurface(s);
        }
    }
    void DrawRaster() override
    {
        m_Raster.BeginFrame();
        for (const Placed& s : m_Sprites) {
            m_Raster.DrawTexture(m_Textures[s.kind], static_cast<float>(s.x), static_cast<float>(s.y),
                                 static_cast<float>(s.x + SPRITE), static_cast<float>(s.y + SPRITE), s.depth,
                                 PRIM_COLOR_KEY);
        }
        m_Raster.Invalidate();
        m_Raster.EndFrame();
    }
    void DrawSdl() override
    {
        m_Order = m_Sprites;
        std::stable_sort(m_Order.begin(), m_Order.end(),
                         [](const Placed& a, const Placed& b) { return a.depth > b.depth; });
        for (const Placed& s : m_Order) {
            SDL_Rect dest{s.x, s.y, SPRITE, SPRITE};
            SDL_BlitSurface(m_Sources[s.kind], nullptr, m_Target, &dest);
        }
    }

private:
    struct Placed {
        int x;
        int y;
        float depth;
        int kind;
    };
    std::vector<int> m_Textures;
    std::vector<SDL_Surface*> m_Sources;
    std::vector<Placed> m_Sprites;
    std::vector<Placed> m_Order;
};

using WorkMaker = std::function<std::unique_ptr<Work>()>;

// "raster/<name>" and "sdl/<name>"; the raster side refuses to run when the two sides disagree. At scales that
// are not whole, SDL2 steps its source columns in 16.16 fixed point and lands a column off the exact nearest
// sample here and there: those pairs are timed without the check and say so in their label.
void RegisterPair(const std::string& name, const WorkMaker& make, bool pixelChecked = true)
{
    benchmark::RegisterBenchmark(("raster/" + name).c_str(), [make, pixelChecked](benchmark::State& state) {
        const std::unique_ptr<Work> work = make();
        if (!pixelChecked) {
            work->SameResult();
            state.SetLabel("not pixel-checked: SDL2 samples in 16.16 steps");
        } else if (!work->SameResult()) {
            state.SkipWithError("the raster and SDL2 drew different pixels");
            return;
        }
        for (auto _ : state) {
            work->DrawRaster();
            benchmark::ClobberMemory();
        }
    });
    benchmark::RegisterBenchmark(("sdl/" + name).c_str(), [make](benchmark::State& state) {
        const std::unique_ptr<Work> work = make();
        work->DrawSdl();
        for (auto _ : state) {
            work->DrawSdl();
            benchmark::ClobberMemory();
        }
    });
}

// ---- Physical limits ----------------------------------------------------------------------------------------

void Memcpy_Screen(benchmark::State& state)
{
    std::vector<std::uint16_t> from(W * H, 1);
    std::vector<std::uint16_t> to(W * H);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), W * H * sizeof(std::uint16_t));
        benchmark::ClobberMemory();
    }
}

void Memset_Screen(benchmark::State& state)
{
    std::vector<std::uint16_t> to(W * H);
    for (auto _ : state) {
        std::memset(to.data(), 0x34, W * H * sizeof(std::uint16_t));
        benchmark::ClobberMemory();
    }
}

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

} // namespace

int main(int argc, char** argv)
{
    RegisterPair("copy", [] { return std::make_unique<CopyWork>(Pattern(W, H), false); });
    RegisterPair("keyed-copy-random", [] { return std::make_unique<CopyWork>(Pattern(W, H), true); });
    RegisterPair("keyed-copy-sprites", [] { return std::make_unique<CopyWork>(SpriteSheet(W, H), true); });
    RegisterPair("stretch", [] { return std::make_unique<StretchWork>(W / 2, H / 2); });
    RegisterPair("stretch-1.5x", [] { return std::make_unique<StretchWork>(533, 400); }, false);
    RegisterPair("stretch-1.37x", [] { return std::make_unique<StretchWork>(584, 438); }, false);
    RegisterPair("stretch-0.8x", [] { return std::make_unique<StretchWork>(1000, 750); }, false);
    RegisterPair("fill", [] { return std::make_unique<FillWork>(); });
    RegisterPair("frame-200", [] { return std::make_unique<FrameWork>(); });
    benchmark::RegisterBenchmark("raster/glyphs-2000", Raster_Text2000);
    benchmark::RegisterBenchmark("sdl/glyphs-2000", Sdl_Text2000);
    benchmark::RegisterBenchmark("raster/triangles-1000", Raster_Triangles1000);
    benchmark::RegisterBenchmark("sdl/triangles-1000", Sdl_Triangles1000);
    benchmark::RegisterBenchmark("limit/memcpy", Memcpy_Screen);
    benchmark::RegisterBenchmark("limit/memset", Memset_Screen);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
