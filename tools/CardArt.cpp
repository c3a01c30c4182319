#include "tools/CardArt.h"

#include "tools/ArtSketch.h"
#include "tools/CreatureFigure.h"
#include "tools/SourceText.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace datac {

namespace {

struct Palette {
    std::uint32_t skyTop, skyLow, ground, accent, shade;
};

// White, blue, black, red, green, and no colour (artifacts).
constexpr Palette PALETTES[] = {
    {0xF4E9C4, 0xFFF8E6, 0xB8A87A, 0xFFE070, 0x6A5A38}, {0x1E4E8C, 0x8CC4F0, 0x1A3A5E, 0xE8F6FF, 0x0A1A30},
    {0x24182C, 0x5A4A6A, 0x1A1420, 0xB0E070, 0x0C0810}, {0xC04A1C, 0xF8B060, 0x5A2010, 0xFFF0A0, 0x2A0A06},
    {0x5A9A4A, 0xD0EAA0, 0x2A5A24, 0xFFF0A0, 0x10280E}, {0x6A7078, 0xC8D0D8, 0x4A5058, 0xF0C060, 0x1C2024},
};

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, int t)  // t of 256 towards b
{
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        out |= static_cast<std::uint32_t>(ca + (cb - ca) * t / 256) << shift;
    }
    return out;
}

std::string Hex(std::uint32_t rgb, int alpha = 255)
{
    char text[16];
    if (alpha >= 255)
        std::snprintf(text, sizeof text, "#%06x", rgb & 0xFFFFFF);
    else
        std::snprintf(text, sizeof text, "#%06x%02x", rgb & 0xFFFFFF, alpha);
    return text;
}

// A small deterministic generator seeded by the card's identifier.
class Dice {
public:
    explicit Dice(std::string_view seed)
    {
        for (const char ch : seed) {
            m_state ^= static_cast<unsigned char>(ch);
            m_state *= 1099511628211ull;
        }
    }
    int Next(int below)
    {
        m_state ^= m_state >> 33;
        m_state *= 0xFF51AFD7ED558CCDull;
        m_state ^= m_state >> 29;
        return static_cast<int>(m_state % static_cast<std::uint64_t>(below));
    }

private:
    std::uint64_t m_state = 14695981039346656037ull;
};

int PaletteOf(const std::string& cost)
{
    constexpr std::string_view LETTERS = "WUBRG";
    for (std::size_t i = 0; i < LETTERS.size(); ++i) {
        if (cost.find(LETTERS[i]) != std::string::npos)
            return static_cast<int>(i);
    }
    return 5;
}

// Cosine and sine of the twelfths and sixteenths of a turn, in hundredths, for rings and stars.
constexpr int COS12[] = {100, 87, 50, 0, -50, -87, -100, -87, -50, 0, 50, 87};
constexpr int SIN12[] = {0, 50, 87, 100, 87, 50, 0, -50, -87, -100, -87, -50};
constexpr int COS16[] = {100, 92, 71, 38, 0, -38, -71, -92, -100, -92, -71, -38, 0, 38, 71, 92};
constexpr int SIN16[] = {0, 38, 71, 92, 100, 92, 71, 38, 0, -38, -71, -92, -100, -92, -71, -38};

bool IsAura(const CardArtFacts& card)
{
    return card.type.starts_with("Enchant ");
}

std::string MotifOf(const CardArtFacts& card)
{
    if (card.cardType == "CT_CREATURE")
        return CreatureFigureOf(card.type);
    if (card.cardType == "CT_SORCERY")
        return "ritual";
    if (card.cardType == "CT_INSTANT")
        return "bolt";
    if (card.cardType == "CT_ENCHANT")
        return IsAura(card) ? "aura" : "sigil";
    if (card.cardType == "CT_ARTIFACT")
        return "relic";
    return "land";
}

// The sorcery's rite: a ring of standing stones on the ground and a pillar of light rising from it to the sky.
void DrawRitual(ArtSketch& sketch, int x, int ground, const FigureInk& ink, const std::string& floor, Dice& dice)
{
    sketch.Place(x, ground, 100, dice.Next(2) == 0);
    sketch.Line("radial " + std::to_string(x - 46) + " " + std::to_string(ground - 58) + " 92 80 " + ink.detail +
                "c0 " + ink.detail + "00");
    sketch.Oval(0, 2, 40, 9, ink.detail);
    sketch.Oval(0, 2, 33, 6, floor);
    sketch.Box(-9, 0, 9, ground + 8, "#fff8e0a0");
    sketch.Box(-4, 0, 4, ground + 8, "#fffff0e0");
    const int stones[][3] = {{-30, 6, 16}, {-14, 9, 12}, {14, 9, 12}, {30, 6, 17}, {-40, -1, 22}, {40, -2, 24}};
    for (const auto& stone : stones) {
        const int left = stone[0] - 4 - dice.Next(2);
        sketch.Shape({left, stone[1], left + 9, stone[1], left + 8, stone[1] + stone[2], left + 4, stone[1] + stone[2] + 3,
                      left + 1, stone[1] + stone[2]},
                     ink.body);
    }
    sketch.Oval(0, 64 + dice.Next(12), 9, 9, ink.glow);
    sketch.Oval(0, 70, 5, 5, ink.detail);
}

// The instant's strike: a forked bolt from the top of the sky to the ground, bursting where it lands.
void DrawBolt(ArtSketch& sketch, int x, int ground, const FigureInk& ink, Dice& dice)
{
    sketch.Place(x, ground, 100, dice.Next(2) == 0);
    const int top = ground + 4;
    std::vector<int> path = {dice.Next(30) - 24, top};
    const int steps = 5;
    for (int i = 1; i < steps; ++i)
        path.insert(path.end(), {(i % 2 == 0 ? -10 : 12) + dice.Next(8), top - top * i / steps});
    path.insert(path.end(), {0, 0});
    const auto outline = [&](int half) {
        std::vector<int> corners;
        for (std::size_t i = 0; i < path.size(); i += 2)
            corners.insert(corners.end(), {path[i] - half, path[i + 1]});
        for (std::size_t i = path.size(); i >= 2; i -= 2)
            corners.insert(corners.end(), {path[i - 2] + half, path[i - 1]});
        return corners;
    };
    sketch.Line("radial " + std::to_string(x - 34) + " " + std::to_string(ground - 30) + " 68 56 #fffff0f0 " +
                ink.detail + "00");
    sketch.Shape(outline(9), ink.detail + "70");
    sketch.Shape(outline(3), "#fffff8");
    // Sparks thrown up and sideways from where it lands.
    for (const int angle : {1, 2, 3, 4, 5}) {
        const int tipX = COS12[angle] * 30 / 100;
        const int tipY = SIN12[angle] * 22 / 100 + 2;
        sketch.Shape({-3, 2, tipX, tipY, 3, 2}, ink.detail);
    }
}

// An aura: a creature (or a hill, for a land's) held inside a ring of glowing charms.
void DrawAura(ArtSketch& sketch, int x, int ground, const CardArtFacts& card, const FigureInk& ink, Dice& dice)
{
    const int height = 62;
    const int middle = height / 2 + 4;
    const bool mirrored = dice.Next(2) == 0;
    const auto ring = [&](bool front) {
        sketch.Place(x, ground, 100, false);
        for (int i = 0; i < 12; ++i) {
            if ((SIN12[i] < 0) != front)
                continue;
            const int cx = COS12[i] * 36 / 100;
            const int cy = middle - SIN12[i] * 12 / 100 + COS12[i] * 8 / 100;
            sketch.Oval(cx, cy, 6, 6, ink.glow);
            sketch.Oval(cx, cy, 3, 3, ink.detail);
        }
    };
    sketch.Line("radial " + std::to_string(x - 44) + " " + std::to_string(ground - middle - 40) + " 88 80 " + ink.detail +
                "a0 " + ink.detail + "00");
    ring(false);
    if (card.type.find("Land") != std::string::npos) {
        sketch.Place(x, ground, 100, mirrored);
        sketch.Shape({-34, 0, -12, 40, -4, 34, 8, 56, 34, 0}, ink.body);
        sketch.Shape({4, 50, 8, 56, 13, 48}, "#f8f8f8");
    } else {
        sketch.Place(x, ground, height, mirrored);
        DrawCreatureFigure(sketch, "person", ink);
    }
    sketch.Place(x, ground, 100, false);
    sketch.Oval(0, height + 10, 10, 3, ink.detail);
    ring(true);
}

// An enchantment of the whole game: a great star over the land, its light falling on the hills below.
void DrawSigil(ArtSketch& sketch, int x, int ground, const FigureInk& ink, Dice& dice)
{
    const int cy = 58 + dice.Next(10);
    sketch.Place(x, ground, 100, false);
    sketch.Line("radial " + std::to_string(x - 52) + " " + std::to_string(ground - cy - 52) + " 104 104 #fffff0d0 " +
                ink.detail + "00");
    for (const int foot : {-50, -20, 14, 44})
        sketch.Shape({-3, cy, foot - 6, 0, foot + 6, 0, 3, cy}, ink.detail + "60");
    std::vector<int> star;
    for (int i = 0; i < 16; ++i) {
        const int radius = i % 2 == 0 ? 32 : 13;
        star.insert(star.end(), {COS16[i] * radius / 100, cy + SIN16[i] * radius / 100});
    }
    sketch.Shape(star, ink.detail);
    sketch.Oval(0, cy, 9, 9, ink.body);
    sketch.Oval(0, cy, 4, 4, "#fffff0");
}

// An artifact: a gem floating over a stone pedestal.
void DrawRelic(ArtSketch& sketch, int x, int ground, const FigureInk& ink, Dice& dice)
{
    sketch.Place(x, ground, 100, dice.Next(2) == 0);
    const int lift = dice.Next(8);
    sketch.Line("radial " + std::to_string(x - 36) + " " + std::to_string(ground - 96 - lift) + " 72 72 " + ink.detail +
                "c0 " + ink.detail + "00");
    sketch.Shape({-24, 0, 24, 0, 18, 10, 10, 12, 8, 36, 14, 40, -14, 40, -8, 36, -10, 12, -18, 10}, ink.body);
    sketch.Shape({0, 82 + lift, 15, 62 + lift, 0, 44 + lift, -15, 62 + lift}, ink.detail);
    sketch.Shape({0, 82 + lift, 15, 62 + lift, 0, 62 + lift}, "#ffffffa0");
    sketch.Shape({0, 44 + lift, -15, 62 + lift, 0, 62 + lift}, "#00000040");
}

} // namespace

std::vector<CardArtFacts> ReadCardArtFacts(const std::string& sourceText)
{
    std::vector<CardArtFacts> cards;
    std::string_view text = sourceText;
    std::string_view raw;
    while (NextSourceLine(text, raw)) {
        const std::string line = TrimBlanks(raw);
        if (line.empty() || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            cards.push_back({});
            cards.back().id = line.substr(1, line.size() - 2);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (cards.empty() || equals == std::string::npos)
            continue;
        const std::string key = TrimBlanks(line.substr(0, equals));
        const std::string value = TrimBlanks(line.substr(equals + 1));
        CardArtFacts& card = cards.back();
        if (key == "Cost")
            card.cost = value;
        else if (key == "CardType")
            card.cardType = value;
        else if (key == "Type")
            card.type = value;
        else if (key == "Power")
            card.power = std::atoi(value.c_str());
        else if (key == "Toughness")
            card.toughness = std::atoi(value.c_str());
    }
    return cards;
}

CardArtPlan PlanCardArt(const CardArtFacts& card)
{
    Dice dice(card.id);
    const Palette& palette = PALETTES[PaletteOf(card.cost)];
    const int W = CARD_ART_WIDTH;
    const int H = CARD_ART_HEIGHT;
    ArtSketch sketch(W, H);
    // Sky, a sun or moon, three ridges of hills, then the subject, then grain and a vignette.
    const std::uint32_t top = Mix(palette.skyTop, palette.shade, dice.Next(96));
    const std::uint32_t low = Mix(palette.skyLow, palette.accent, dice.Next(96));
    sketch.Line("gradient 0 0 " + std::to_string(W) + " " + std::to_string(H) + " " + Hex(top) + " " + Hex(low));
    const int sun = 14 + dice.Next(22);
    sketch.Line("radial " + std::to_string(dice.Next(W - sun) - sun / 2) + " " + std::to_string(4 + dice.Next(20) - sun / 2) +
                " " + std::to_string(sun * 2) + " " + std::to_string(sun * 2) + " " + Hex(palette.accent, 220) + " " +
                Hex(palette.accent, 0));
    const int ground = H - 18 - dice.Next(14);
    for (int ridge = 0; ridge < 3; ++ridge) {
        const std::uint32_t colour = Mix(Mix(low, palette.ground, 110 + ridge * 50), palette.shade, ridge * 30);
        const int width = 90 + dice.Next(110);
        const int height = 30 + dice.Next(30) - ridge * 6;
        sketch.Ellipse(dice.Next(W) - width / 2, ground - height / 2 + ridge * 6, width, height, Hex(colour));
    }
    const std::string floor = Hex(Mix(palette.ground, palette.shade, 90));
    sketch.Rect(0, ground, W, H - ground, floor);

    const FigureInk ink{Hex(Mix(palette.shade, 0x101010, dice.Next(80)) | 0x080808), Hex(palette.accent),
                        Hex(palette.accent, 90)};
    const std::string body = ink.body;
    const int x = 50 + dice.Next(W - 100);
    CardArtPlan plan;
    plan.motif = MotifOf(card);
    if (card.cardType == "CT_CREATURE") {
        // Stronger creatures stand taller, the weakest still over half the picture; the head stays below its top,
        // a broad figure shrinks to keep inside it, and each stands where it fits.
        const int half = CreatureFigureHalfWidth(plan.motif);
        const int height = std::min({66 + (card.power + card.toughness) * 3, 96, ground + 2, (W / 2 - 4) * 100 / half});
        const int reach = half * height / 100 + 2;
        const int at = reach >= W - reach ? W / 2 : reach + dice.Next(W - 2 * reach);
        sketch.Place(at, ground + 4, height, dice.Next(2) == 0);
        DrawCreatureFigure(sketch, plan.motif, ink);
    } else if (plan.motif == "ritual") {
        DrawRitual(sketch, x, ground + 4, ink, floor, dice);
    } else if (plan.motif == "bolt") {
        DrawBolt(sketch, x, ground + 4, ink, dice);
    } else if (plan.motif == "aura") {
        DrawAura(sketch, x, ground + 4, card, ink, dice);
    } else if (plan.motif == "sigil") {
        DrawSigil(sketch, x, ground + 4, ink, dice);
    } else if (plan.motif == "relic") {
        DrawRelic(sketch, x, ground + 4, ink, dice);
    } else {
        // Lands: the landscape itself, with a feature of the land's kind repeated along the ground.
        const int count = 3 + dice.Next(4);
        for (int i = 0; i < count; ++i) {
            const int fx = dice.Next(W);
            const int size = 10 + dice.Next(16);
            if (card.type.find("Forest") != std::string::npos) {
                sketch.Rect(fx - 2, ground - size, 4, size, body);
                sketch.Ellipse(fx - size / 2, ground - size * 2, size, size * 3 / 2, Hex(Mix(palette.ground, palette.shade, 60)));
            } else if (card.type.find("Island") != std::string::npos) {
                sketch.Ellipse(fx - size, ground + 4 + dice.Next(10), size * 2, 3, Hex(palette.accent, 160));
            } else if (card.type.find("Mountain") != std::string::npos) {
                for (int step = 0; step < size; step += 3)
                    sketch.Rect(fx - step, ground - size * 2 + step * 2, step * 2 + 1, 6, body);
                sketch.Rect(fx - 1, ground - size * 2, 3, 4, Hex(0xF8F8F8));  // snow cap
            } else if (card.type.find("Swamp") != std::string::npos) {
                sketch.Rect(fx, ground - size * 2, 3, size * 2, body);
                sketch.Ellipse(fx - size, ground + 2 + dice.Next(12), size * 2, 4, Hex(palette.accent, 90));
            } else {
                sketch.Rect(fx - size, ground + 3 + dice.Next(14), size * 2, 2, Hex(palette.accent, 170));
            }
        }
    }
    sketch.Line("noise 0 0 " + std::to_string(W) + " " + std::to_string(H) + " 5 " + std::to_string(dice.Next(100000)));
    sketch.Line("frame 0 0 " + std::to_string(W) + " " + std::to_string(H) + " #00000060 2");
    plan.subject = sketch.FigureBounds();
    plan.source = "image data\\cardart\\" + card.id + ".bmp " + std::to_string(W) + " " + std::to_string(H) + "\n" +
                  sketch.Text() + "end\n";
    return plan;
}

std::string CardArtSource(const std::vector<CardArtFacts>& cards)
{
    std::string source;
    for (const CardArtFacts& card : cards)
        source += PlanCardArt(card).source;
    return source;
}

} // namespace datac
