// The images the game table loads, as the compiled data set holds them: every file a level script names is
// there and readable in its format, the sizes the table's layout depends on hold, and no opaque colour of any
// image turns into the transparent colour key on a 16-bit surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <vector>

namespace {

const std::string GAME = TESSEL_GAME_DIR;

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t Le(const std::vector<std::uint8_t>& bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[at + i];
    return value;
}

// An image of any of the three kinds: its size (of the first frame), frame count and whether every opaque pixel
// stays clear of the colour key. valid is false when the bytes disagree with the header.
struct Image {
    bool valid = false;
    int width = 0;
    int height = 0;
    int frames = 0;
    bool keySafe = true;
    // 0xRRGGBB per pixel, top row first; .bmp files only.
    std::vector<std::uint32_t> pixels;
};

Image ReadImage(const std::string& installPath)
{
    std::string path = installPath;
    std::replace(path.begin(), path.end(), '\\', '/');
    const std::vector<std::uint8_t> bytes = ReadBytes(GAME + "/" + path);
    Image image;
    const std::string extension = path.substr(path.find_last_of('.'));
    if (extension == ".bmp") {
        if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || Le(bytes, 28, 2) != 24 || Le(bytes, 30, 4) != 0)
            return image;
        image.width = static_cast<int>(Le(bytes, 18, 4));
        image.height = static_cast<int>(Le(bytes, 22, 4));  // positive: bottom-up
        const std::size_t row = (static_cast<std::size_t>(image.width) * 3 + 3) & ~std::size_t{3};
        const std::size_t start = Le(bytes, 10, 4);
        if (image.width <= 0 || image.height <= 0 || bytes.size() != start + row * image.height)
            return image;
        image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const std::size_t at = start + y * row + x * 3;
                const int b = bytes[at], g = bytes[at + 1], r = bytes[at + 2];
                if ((r | g | b) != 0 && r < 8 && g < 8 && b < 8)
                    image.keySafe = false;
                image.pixels[static_cast<std::size_t>(image.height - 1 - y) * image.width + x] =
                    static_cast<std::uint32_t>(r << 16 | g << 8 | b);
            }
        }
        image.frames = 1;
        image.valid = true;
        return image;
    }
    std::vector<std::size_t> frameStarts;
    if (extension == ".chp") {
        if (bytes.size() < 10)
            return image;
        image.frames = static_cast<int>(Le(bytes, 4, 2));
        image.width = static_cast<int>(Le(bytes, 6, 2));
        image.height = static_cast<int>(Le(bytes, 8, 2));
        const std::size_t frameBytes = static_cast<std::size_t>(image.width) * image.height * 2;
        if (image.frames < 1 || bytes.size() != 10 + frameBytes * image.frames)
            return image;
        for (int i = 0; i < image.frames; ++i)
            frameStarts.push_back(10 + frameBytes * i);
    } else if (extension == ".spk") {
        if (bytes.size() < 4)
            return image;
        image.frames = static_cast<int>(Le(bytes, 0, 4));
        std::size_t end = 4 + 4 * static_cast<std::size_t>(std::max(image.frames, 0));
        for (int i = 0; i < image.frames && end <= bytes.size(); ++i) {
            const std::size_t at = Le(bytes, 4 + 4 * i, 4);
            if (at != end || at + 8 > bytes.size())
                return image;
            const int width = static_cast<int>(Le(bytes, at, 2));
            const int height = static_cast<int>(Le(bytes, at + 2, 2));
            if (i == 0) {
                image.width = width;
                image.height = height;
            }
            frameStarts.push_back(at + 8);
            end = at + 8 + static_cast<std::size_t>(width) * height * 2;
        }
        if (image.frames < 1 || end != bytes.size() || static_cast<int>(frameStarts.size()) != image.frames)
            return image;
    } else {
        return image;
    }
    // 1-5-5-5 pixels carry no colour below the 5-bit step, so only exact 0 is the key.
    image.valid = image.width > 0 && image.height > 0;
    return image;
}

bool IsPowerOfTwo(int n)
{
    return n > 0 && (n & (n - 1)) == 0;
}

struct Command {
    std::string word;
    std::vector<std::string> args;
};

std::vector<Command> ReadCommands(int mode)
{
    const std::vector<std::uint8_t> bytes = ReadBytes(GAME + "/level0" + std::to_string(mode) + "_u.cfg");
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<char>(bytes[i]);
    std::vector<Command> commands;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line.substr(0, line.find_first_of(";#*")));
        std::vector<std::string> tokens{std::istream_iterator<std::string>(words), {}};
        if (!tokens.empty())
            commands.push_back({tokens[0], std::vector<std::string>(tokens.begin() + 1, tokens.end())});
    }
    return commands;
}

// Named textures of each mode with the paths the scripts give them.
std::map<std::string, std::string> NamedTextures(int mode)
{
    std::map<std::string, std::string> names;
    for (const Command& command : ReadCommands(mode)) {
        if ((command.word == "loadbmp" || command.word == "loadchop" || command.word == "loadsprite") &&
            command.args.size() >= 2)
            names[command.args[0]] = command.args[1];
    }
    return names;
}

TEST(TableImagesTest, EveryFileAScriptLoadsIsThereInItsFormat)
{
    for (int mode = 1; mode <= 4; ++mode) {
        int files = 0;
        for (const Command& command : ReadCommands(mode)) {
            const bool image = command.word == "loadbmp" || command.word == "loadchop" || command.word == "loadsprite" ||
                               command.word == "loadfont";
            if (!image)
                continue;
            const std::string& path = command.word == "loadfont" ? command.args.at(0) : command.args.at(1);
            const Image read = ReadImage(path);
            EXPECT_TRUE(read.valid) << "mode " << mode << ": " << path;
            if (command.word == "loadfont") {
                EXPECT_EQ(path.substr(path.size() - 4), ".chp");
                EXPECT_EQ(read.width, 8);
                EXPECT_EQ(read.height, 8);
                EXPECT_GE(read.frames, std::stoi(command.args.at(1))) << path;
            }
            if (command.word == "loadsprite") {
                EXPECT_EQ(path.substr(path.size() - 4), ".spk");
                // Kinds 0 and 3 are drawn by triangles, whose texture lookup wraps by masking.
                const std::string& kind = command.args.at(2);
                if (kind == "0" || kind == "3") {
                    EXPECT_TRUE(IsPowerOfTwo(read.width) && IsPowerOfTwo(read.height))
                        << path << ": " << read.width << "x" << read.height;
                }
            }
            ++files;
        }
        EXPECT_GT(files, 60) << "mode " << mode;
    }
}

TEST(TableImagesTest, NamedTexturesHaveTheSizesTheTableDrawsThemAt)
{
    struct Size {
        const char* name;
        int width;   // 0: not fixed
        int height;
        int modes;   // bit per mode 1-4
    };
    constexpr int ALL = 0b1111, PHYSICAL = 0b0011, ONLINE = 0b1100;
    const Size sizes[] = {
        {"crd_cr_g_lg", 192, 276, ALL}, {"crd_nc_a_lg", 192, 276, ALL}, {"crd_bl_w_lg", 192, 276, ALL},
        {"cardglow", 66, 98, ALL},      {"cardglow_t", 98, 66, ALL},    {"stackedge", 66, 8, ALL},
        {"fr_tl", 23, 41, ALL},         {"fr_tr", 23, 41, ALL},         {"fr_bl", 14, 11, ALL},
        {"fr_br", 14, 11, ALL},         {"fr_tm", 0, 22, ALL},          {"fr_bm", 0, 11, ALL},
        {"fr_sml", 11, 0, ALL},         {"fr_smr", 11, 0, ALL},         {"spark", 0, 0, PHYSICAL},
        {"playmat_gold", 283, 116, PHYSICAL}, {"playmat_silver", 283, 116, PHYSICAL},
        {"token_gold", 22, 22, PHYSICAL},     {"token_silver", 22, 22, PHYSICAL},
        {"phasebg_gold", 202, 0, PHYSICAL},   {"phasebg_silver", 202, 0, PHYSICAL},
        {"gamelogscroll", 14, 53, ONLINE},    {"gsm_menu", 580, 480, ONLINE},
        {"gsm_button0-0", 28, 28, ONLINE},    {"gsm_button1-10", 28, 28, ONLINE},
        {"hintarrow", 70, 43, ONLINE},        {"hintarrow_left", 70, 43, ONLINE},
        {"fxborder_scmb", 66, 98, ONLINE},
    };
    for (int mode = 1; mode <= 4; ++mode) {
        const std::map<std::string, std::string> names = NamedTextures(mode);
        for (const Size& size : sizes) {
            if ((size.modes & (1 << (mode - 1))) == 0)
                continue;
            const auto found = names.find(size.name);
            ASSERT_NE(found, names.end()) << "mode " << mode << " lacks " << size.name;
            const Image image = ReadImage(found->second);
            if (size.width != 0) {
                EXPECT_EQ(image.width, size.width) << size.name;
            }
            if (size.height != 0) {
                EXPECT_EQ(image.height, size.height) << size.name;
            }
        }
        // Shields are spaced 12 px; the phase names need 7 rows of 17 below a 32-px head.
        EXPECT_LE(ReadImage(names.at("shield")).width, 12);
        if (mode <= 2) {
            EXPECT_GE(ReadImage(names.at("phasebg_gold")).height, 32 + 7 * 17);
            EXPECT_EQ(ReadImage(names.at("spark")).frames, 8);
        }
        // The quit warning halves psyesno; its hovers lie over it.
        const int yesNo = ReadImage(names.at("psyesno")).width;
        EXPECT_EQ(ReadImage(names.at("psyesmo")).width, yesNo);
        EXPECT_EQ(ReadImage(names.at("psnomo")).width, yesNo);
        // Every look of a button face has the height of the row its centre piece sets; avatars share one size.
        for (const std::string button : {"physdlgbtn", "physoppbtn", "physwbbtn"}) {
            if (mode > 2 && button != "physdlgbtn")
                continue;
            const int height = ReadImage(names.at(button + "-c")).height;
            for (const std::string piece : {"-l", "-c", "-r"}) {
                for (const std::string look : {"", "_mo", "_down", button == "physoppbtn" ? "_dis" : "_disabled"}) {
                    ASSERT_TRUE(names.count(button + piece + look)) << button + piece + look;
                    EXPECT_EQ(ReadImage(names.at(button + piece + look)).height, height) << button + piece + look;
                }
            }
        }
        const Image avatar = ReadImage(names.at("av0_0"));
        for (const std::string name : {"av0_4", "av1_0", "av1_4", "avx_pain", "avx_h0", "avx_h5"}) {
            EXPECT_EQ(ReadImage(names.at(name)).width, avatar.width) << name;
            EXPECT_EQ(ReadImage(names.at(name)).height, avatar.height) << name;
        }
    }
}

TEST(TableImagesTest, FixedFilesOfTheTableHaveTheirZoneSizes)
{
    struct Fixed {
        std::string path;
        int width;
        int height;
    };
    std::vector<Fixed> fixed = {
        {"data/frames/CardBack_sm.bmp", 66, 98},   {"data/frames/CardBack_lg.bmp", 192, 276},
        {"data/frames/blackness_sm.bmp", 66, 98},  {"data/frames/blackness_lg.bmp", 192, 276},
        {"data/symbols/freq_com_lg.bmp", 17, 14},  {"data/symbols/freq_rar_lg.bmp", 17, 14},
        {"data/buttons/FixedYes.chp", 0, 0},       {"data/buttons/FixedNo.chp", 0, 0},
        {"data/buttons/FixedOK.chp", 0, 0},        {"data/buttons/FixedCancel.chp", 0, 0},
        {"data/buttons/Duel.chp", 0, 0},           {"data/buttons/OnlineDim.chp", 0, 0},
        {"data/buttons/physquit.bmp", 0, 0},       {"data/buttons/physquit_down.bmp", 0, 0},
        {"data/buttons/physquit_mo.bmp", 0, 0},    {"data/backgrounds/MenuDkgr.bmp", 0, 0},
        {"data/backgrounds/GalvTile.chp", 0, 0},   {"data/backgrounds/GalvTile2.chp", 0, 0},
        {"data/backgrounds/GalvTile3.chp", 0, 0},  {"data/backgrounds/MenuBlueCards.chp", 0, 0},
        {"data/player/player1_glow.chp", 0, 0},    {"data/player/player2_glow.chp", 0, 0},
        {"data/player/GraveBack.chp", 0, 0},       {"data/backgrounds/MenuBlack.chp", 0, 0},
        {"data/borders/TopBrdr.chp", 0, 0},        {"data/borders/BottomBrdr.chp", 0, 0},
        {"data/borders/SideBrdr.chp", 0, 0},
    };
    for (const std::string symbol : {"w", "u", "b", "r", "g", "1", "2", "3", "4", "5", "6", "7", "8", "x", "t"}) {
        fixed.push_back({"data/symbols/mana_" + symbol + "_lg.bmp", 12, 12});
        fixed.push_back({"data/symbols/mana_" + symbol + "_sm.bmp", 7, 7});
    }
    for (const std::string kind : {"bl", "cr", "nc"}) {
        for (const std::string colour : {"b", "r", "g", "u", "w", "a"}) {
            if (kind != "bl" || colour != "a")
                fixed.push_back({"data/frames/crd_" + kind + "_" + colour + "_sm.bmp", 66, 98});
        }
    }
    for (const Fixed& file : fixed) {
        const Image image = ReadImage(file.path);
        EXPECT_TRUE(image.valid) << file.path;
        if (file.width != 0) {
            EXPECT_EQ(image.width, file.width) << file.path;
            EXPECT_EQ(image.height, file.height) << file.path;
        }
    }
    // Die boxes take the first frame's size; the phase bar stacks icon 0's height.
    const Image die = ReadImage("data/die/1_01.chp");
    for (int face = 1; face <= 6; ++face) {
        for (int frame = 1; frame <= 15; ++frame) {
            char path[32];
            std::snprintf(path, sizeof path, "data/die/%d_%02d.chp", face, frame);
            const Image image = ReadImage(path);
            EXPECT_TRUE(image.valid && image.width == die.width && image.height == die.height) << path;
        }
    }
    for (const char* icon : {"00_Tap", "01_Upkeep", "02_Draw", "03_MainPre", "04_Combat", "05_ComBeg", "06_DecAtt",
                             "07_DecBlk", "08_Damage", "09_ComEnd", "10_MainPost", "11_EndTurn"})
        EXPECT_TRUE(ReadImage(std::string("data/icons/Phase_") + icon + ".chp").valid) << icon;
    // The online intro crops (2, 2)-(71, 153) from the status panel; its staged copies match it.
    const Image status = ReadImage("data/player/ManaStatus_onl.bmp");
    EXPECT_GE(status.width, 72);
    EXPECT_GE(status.height, 154);
    for (int i = 0; i < 4; ++i) {
        const Image stage = ReadImage("data/player/ManaStatus" + std::to_string(i) + ".bmp");
        EXPECT_EQ(stage.width, status.width);
        EXPECT_EQ(stage.height, status.height);
    }
}

// The online HUD writes the library and hand counts and the six mana pools centred in boxes placed at fixed
// fractions of the status panel (the large layout at full size, the small one at 0.7 with boxes of a fixed size in
// screen pixels). Each box must lie on one plain plate of the panel's image, or the counts run into its drawing.
TEST(TableImagesTest, StatusPanelCountsLieOnPlainPlates)
{
    const Image panel = ReadImage("data/player/ManaStatus_onl.bmp");
    ASSERT_TRUE(panel.valid);
    struct Layout {
        double left;
        double right;
        double boxWidth;
        double boxHeight;
        std::vector<double> leftRows;
        std::vector<double> rightRows;
    };
    const Layout layouts[] = {
        {0.12, 0.58, 30, 20, {0.09, 0.42}, {0.04, 0.2, 0.37, 0.53, 0.69, 0.85}},
        {0.17, 0.63, 12 / 0.7, 15 / 0.7, {0.07, 0.39}, {0.02, 0.19, 0.34, 0.5, 0.67, 0.82}},
    };
    const auto plain = [&](double fx, double fy, const Layout& layout) {
        const int x0 = static_cast<int>(fx * panel.width);
        const int y0 = static_cast<int>(fy * panel.height);
        const int x1 = std::min(x0 + static_cast<int>(layout.boxWidth), panel.width);
        const int y1 = std::min(y0 + static_cast<int>(layout.boxHeight), panel.height);
        const std::uint32_t first = panel.pixels[static_cast<std::size_t>(y0) * panel.width + x0];
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (panel.pixels[static_cast<std::size_t>(y) * panel.width + x] != first)
                    return false;
            }
        }
        return true;
    };
    for (const Layout& layout : layouts) {
        for (const double row : layout.leftRows)
            EXPECT_TRUE(plain(layout.left, row, layout)) << "pile box at " << layout.left << ", " << row;
        for (const double row : layout.rightRows)
            EXPECT_TRUE(plain(layout.right, row, layout)) << "mana box at " << layout.right << ", " << row;
    }
}

TEST(TableImagesTest, NoOpaqueColourOfAnImageTurnsIntoTheColourKey)
{
    std::vector<std::string> unsafe;
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(GAME + "/data")) {
        if (entry.path().extension() != ".bmp")
            continue;
        const std::string path = entry.path().lexically_relative(GAME).string();
        const Image image = ReadImage(path);
        ++checked;
        if (!image.valid || !image.keySafe)
            unsafe.push_back(path);
    }
    EXPECT_GT(checked, 200);
    EXPECT_TRUE(unsafe.empty()) << unsafe.size() << " images, the first " << (unsafe.empty() ? "" : unsafe[0]);
}

// Where a keyed symbol or token is cut out of its transparent surround, its edge keeps its own colour: an edge
// blended towards the key's black draws a dark ring around it on every mat and card it lies on.
TEST(TableImagesTest, KeyedSymbolsAndTokensHaveNoDarkRingAtTheKey)
{
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(GAME + "/data/symbols"))
        paths.push_back(entry.path().lexically_relative(GAME).string());
    for (const char* path : {"data/table/token_gold.bmp", "data/table/token_silver.bmp"})
        paths.push_back(path);
    for (const std::string& path : paths) {
        const Image image = ReadImage(path);
        ASSERT_TRUE(image.valid) << path;
        const auto at = [&](int x, int y) {
            return x < 0 || y < 0 || x >= image.width || y >= image.height
                       ? 0u
                       : image.pixels[static_cast<std::size_t>(y) * image.width + x];
        };
        int keyed = 0;
        int dark = 0;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const std::uint32_t pixel = at(x, y);
                if (pixel == 0) {
                    ++keyed;
                    continue;
                }
                const bool edge = at(x - 1, y) == 0 || at(x + 1, y) == 0 || at(x, y - 1) == 0 || at(x, y + 1) == 0;
                const std::uint32_t brightest = std::max({pixel >> 16, (pixel >> 8) & 0xFF, pixel & 0xFF});
                dark += edge && brightest < 0x30 ? 1 : 0;
            }
        }
        EXPECT_GT(keyed, 0) << path << " has no transparent surround";
        EXPECT_EQ(dark, 0) << path << ": " << dark << " near-black pixels at the key";
    }
}

} // namespace
