#include "tools/CardArt.h"

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

enum class Shape { Humanoid, Flyer, Beast, Serpent, Wall, Tree };

Shape ShapeOf(const std::string& type)
{
    const auto has = [&](std::initializer_list<std::string_view> words) {
        return std::any_of(words.begin(), words.end(),
                           [&](std::string_view word) { return type.find(word) != std::string::npos; });
    };
    if (has({"Drake", "Bat", "Dragon", "Bird", "Angel", "Pegasus", "Griffin", "Sphinx"}))
        return Shape::Flyer;
    if (has({"Boar", "Bear", "Wolf", "Wolves", "Rhino", "Lion", "Rat", "Crab", "Spider", "Turtle", "Tortoise",
             "Nightmare"}))
        return Shape::Beast;
    if (has({"Wurm", "Serpent", "Leviathan"}))
        return Shape::Serpent;
    if (has({"Wall", "Guardian", "Shieldbearers"}))
        return Shape::Wall;
    if (has({"Treefolk", "Elemental"}))
        return Shape::Tree;
    return Shape::Humanoid;
}

class Picture {
public:
    void Line(const std::string& text) { m_text += "  " + text + "\n"; }
    void Ellipse(int x, int y, int w, int h, const std::string& colour)
    {
        Line("ellipse " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(w) + " " +
             std::to_string(h) + " " + colour);
    }
    void Rect(int x, int y, int w, int h, const std::string& colour)
    {
        Line("rect " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(w) + " " +
             std::to_string(h) + " " + colour);
    }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

// The subject stands on the ground line; scale grows with power and toughness.
void DrawCreature(Picture& picture, Shape shape, int x, int ground, int scale, const std::string& body,
                  const std::string& detail, Dice& dice)
{
    const int s = scale;
    switch (shape) {
    case Shape::Humanoid:
        picture.Ellipse(x - s / 3, ground - s * 2, s * 2 / 3, s * 2, body);         // robe
        picture.Ellipse(x - s / 4, ground - s * 2 - s / 2, s / 2, s / 2, body);    // head
        picture.Rect(x + s / 3, ground - s * 2 - s / 4, 3, s * 2, detail);        // staff or spear
        picture.Ellipse(x - s / 2, ground - s * 3 / 2, s / 3, s / 3, body);        // shoulder
        if (dice.Next(2) == 0)
            picture.Ellipse(x - s * 2 / 3, ground - s * 3 / 2, s / 2, s * 2 / 3, detail);  // shield
        else
            picture.Ellipse(x + s / 3 - s / 6, ground - s * 2 - s / 2, s / 3, s / 3, detail);  // lantern or orb
        break;
    case Shape::Flyer:
        picture.Ellipse(x - s * 3 / 2, ground - s * 2 - s / 3, s * 3 / 2, s / 2, body);  // wings
        picture.Ellipse(x, ground - s * 2 - s / 3, s * 3 / 2, s / 2, body);
        picture.Ellipse(x - s / 3, ground - s * 2, s * 2 / 3, s / 2, body);              // body
        picture.Ellipse(x + s / 4, ground - s * 2 - s / 4, s / 3, s / 3, body);          // head
        picture.Ellipse(x + s / 3, ground - s * 2 - s / 6, 3, 3, detail);                // eye
        break;
    case Shape::Beast:
        picture.Ellipse(x - s, ground - s * 3 / 2, s * 2, s, body);                      // body
        picture.Ellipse(x + s * 2 / 3, ground - s * 2, s * 2 / 3, s * 2 / 3, body);      // head
        for (int leg = 0; leg < 4; ++leg)
            picture.Rect(x - s * 3 / 4 + leg * s / 2, ground - s * 2 / 3, s / 6 + 1, s * 2 / 3, body);
        picture.Ellipse(x + s, ground - s * 7 / 4, 3, 3, detail);
        break;
    case Shape::Serpent:
        for (int part = 0; part < 6; ++part) {
            const int wave = (part % 2 == 0 ? -1 : 1) * s / 3;
            picture.Ellipse(x - s * 2 + part * s * 2 / 3, ground - s + wave - s / 2, s * 2 / 3 + 2, s * 2 / 3, body);
        }
        picture.Ellipse(x + s * 2, ground - s * 2, s * 2 / 3, s / 2, body);
        picture.Ellipse(x + s * 2 + s / 3, ground - s * 2 + 2, 3, 3, detail);
        break;
    case Shape::Wall:
        for (int row = 0; row < 4; ++row) {
            for (int brick = 0; brick < 5; ++brick) {
                const int bx = x - s * 3 / 2 + brick * s * 3 / 5 + (row % 2) * s * 3 / 10;
                picture.Rect(bx, ground - (row + 1) * s / 2, s * 3 / 5 - 2, s / 2 - 2, body);
            }
        }
        picture.Rect(x - s * 3 / 2, ground - 2 * s - 2, s * 3 + s * 3 / 10, 2, detail);
        break;
    case Shape::Tree:
        picture.Rect(x - s / 4, ground - s * 2, s / 2, s * 2, body);
        picture.Ellipse(x - s, ground - s * 3, s * 2, s * 3 / 2, body);
        picture.Ellipse(x - s / 3, ground - s * 2 - s / 2, s / 5, s / 5, detail);
        picture.Ellipse(x + s / 6, ground - s * 2 - s / 2, s / 5, s / 5, detail);
        break;
    }
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

std::string CardArtSource(const std::vector<CardArtFacts>& cards)
{
    std::string source;
    for (const CardArtFacts& card : cards) {
        Dice dice(card.id);
        const Palette& palette = PALETTES[PaletteOf(card.cost)];
        Picture picture;
        const int W = CARD_ART_WIDTH;
        const int H = CARD_ART_HEIGHT;
        // Sky, a sun or moon, three ridges of hills, then the subject, then grain and a vignette.
        const std::uint32_t top = Mix(palette.skyTop, palette.shade, dice.Next(96));
        const std::uint32_t low = Mix(palette.skyLow, palette.accent, dice.Next(96));
        picture.Line("gradient 0 0 " + std::to_string(W) + " " + std::to_string(H) + " " + Hex(top) + " " + Hex(low));
        const int sun = 14 + dice.Next(22);
        picture.Line("radial " + std::to_string(dice.Next(W - sun) - sun / 2) + " " + std::to_string(4 + dice.Next(20) - sun / 2) +
                     " " + std::to_string(sun * 2) + " " + std::to_string(sun * 2) + " " + Hex(palette.accent, 220) + " " +
                     Hex(palette.accent, 0));
        const int ground = H - 18 - dice.Next(14);
        for (int ridge = 0; ridge < 3; ++ridge) {
            const std::uint32_t colour = Mix(Mix(low, palette.ground, 110 + ridge * 50), palette.shade, ridge * 30);
            const int width = 90 + dice.Next(110);
            const int height = 30 + dice.Next(30) - ridge * 6;
            picture.Ellipse(dice.Next(W) - width / 2, ground - height / 2 + ridge * 6, width, height, Hex(colour));
        }
        picture.Rect(0, ground, W, H - ground, Hex(Mix(palette.ground, palette.shade, 90)));

        const std::string body = Hex(Mix(palette.shade, 0x101010, dice.Next(80)) | 0x080808);
        const std::string detail = Hex(palette.accent);
        const int x = 50 + dice.Next(W - 100);
        if (card.cardType == "CT_CREATURE") {
            const int scale = std::clamp(10 + (card.power + card.toughness) * 3 / 2, 12, 30);
            DrawCreature(picture, ShapeOf(card.type), x, ground + 4, scale, body, detail, dice);
        } else if (card.cardType == "CT_LAND") {
            // Lands: the landscape itself, with a feature of the land's kind repeated along the ground.
            const int count = 3 + dice.Next(4);
            for (int i = 0; i < count; ++i) {
                const int fx = dice.Next(W);
                const int size = 10 + dice.Next(16);
                if (card.type.find("Forest") != std::string::npos) {
                    picture.Rect(fx - 2, ground - size, 4, size, body);
                    picture.Ellipse(fx - size / 2, ground - size * 2, size, size * 3 / 2, Hex(Mix(palette.ground, palette.shade, 60)));
                } else if (card.type.find("Island") != std::string::npos) {
                    picture.Ellipse(fx - size, ground + 4 + dice.Next(10), size * 2, 3, Hex(palette.accent, 160));
                } else if (card.type.find("Mountain") != std::string::npos) {
                    for (int step = 0; step < size; step += 3)
                        picture.Rect(fx - step, ground - size * 2 + step * 2, step * 2 + 1, 6, body);
                    picture.Rect(fx - 1, ground - size * 2, 3, 4, Hex(0xF8F8F8));  // snow cap
                } else if (card.type.find("Swamp") != std::string::npos) {
                    picture.Rect(fx, ground - size * 2, 3, size * 2, body);
                    picture.Ellipse(fx - size, ground + 2 + dice.Next(12), size * 2, 4, Hex(palette.accent, 90));
                } else {
                    picture.Rect(fx - size, ground + 3 + dice.Next(14), size * 2, 2, Hex(palette.accent, 170));
                }
            }
        } else if (card.cardType == "CT_ARTIFACT") {
            const int size = 28 + dice.Next(16);
            picture.Line("bevel " + std::to_string(x - size / 2) + " " + std::to_string(ground - size) + " " +
                         std::to_string(size) + " " + std::to_string(size) + " " + Hex(0x8A8070) + " " + Hex(0xE0D8C0) +
                         " " + Hex(0x302820) + " 3");
            picture.Ellipse(x - size / 4, ground - size * 3 / 4, size / 2, size / 2, detail);
            picture.Ellipse(x - size / 8, ground - size * 5 / 8, size / 4, size / 4, Hex(0x302820));
        } else {
            // Spells: a burst of light over the land; enchantments a ring of runes.
            const int size = 40 + dice.Next(30);
            const int cy = ground - 20 - dice.Next(20);
            picture.Line("radial " + std::to_string(x - size / 2) + " " + std::to_string(cy - size / 2) + " " +
                         std::to_string(size) + " " + std::to_string(size) + " " + Hex(0xFFFFF0, 240) + " " +
                         Hex(palette.accent, 0));
            const bool ring = card.cardType == "CT_ENCHANT";
            const int rays = ring ? 8 : 4 + dice.Next(4);
            for (int i = 0; i < rays; ++i) {
                const int dx = (dice.Next(size) - size / 2) * (ring ? 1 : 2) / 2;
                const int dy = (dice.Next(size) - size / 2) / 2;
                picture.Ellipse(x + dx - 3, cy + dy - 3, 6, 6, ring ? detail : Hex(0xFFFFFF, 200));
            }
            if (ring)
                picture.Line("frame " + std::to_string(x - size / 3) + " " + std::to_string(cy - size / 3) + " " +
                             std::to_string(size * 2 / 3) + " " + std::to_string(size * 2 / 3) + " " + detail + " 2");
        }
        picture.Line("noise 0 0 " + std::to_string(W) + " " + std::to_string(H) + " 5 " + std::to_string(dice.Next(100000)));
        picture.Line("frame 0 0 " + std::to_string(W) + " " + std::to_string(H) + " #00000060 2");
        source += "image data\\cardart\\" + card.id + ".bmp " + std::to_string(W) + " " + std::to_string(H) + "\n" +
                  picture.Text() + "end\n";
    }
    return source;
}

} // namespace datac
