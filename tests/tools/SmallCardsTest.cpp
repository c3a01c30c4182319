// The small card images of the build: one upright and one turned image per card of the card file, in the form
// loadcard reads, each card's own; and the data step's drawing of them, cached by what they are made from.
#include "tools/CardFaceSheet.h"
#include "tools/SmallCardRenderer.h"

#include "engine/core/BitmapFile.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace {

namespace fs = std::filesystem;

const fs::path GAME = TESSEL_GAME_DIR;
constexpr int SMALL_WIDTH = 66;
constexpr int SMALL_HEIGHT = 98;

std::vector<std::uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::u16string ReadUtf16(const fs::path& path)
{
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    return text;
}

void WriteUtf16(const fs::path& path, std::u16string_view text)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    for (const char16_t unit : text) {
        out.put(static_cast<char>(unit & 0xFF));
        out.put(static_cast<char>(unit >> 8));
    }
}

// The identifiers the card file defines, in file order.
std::vector<std::string> DefinedCards(std::u16string_view cardFile)
{
    std::vector<std::string> ids;
    constexpr std::u16string_view MARKER = u"definecard ";
    for (std::size_t at = cardFile.find(MARKER); at != std::u16string_view::npos; at = cardFile.find(MARKER, at + 1)) {
        std::string id;
        for (std::size_t i = at + MARKER.size(); i < cardFile.size() && cardFile[i] > u' '; ++i)
            id += static_cast<char>(cardFile[i]);
        ids.push_back(id);
    }
    return ids;
}

struct Image {
    int bits = 0;
    std::int32_t storedHeight = 0;
    std::uint32_t compression = 0;
    RasterBitmap bitmap;
    bool decoded = false;
};

Image ReadImage(const fs::path& path)
{
    Image image;
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M')
        return image;
    const auto le = [&](std::size_t at, int n) {
        std::uint32_t value = 0;
        for (int i = n - 1; i >= 0; --i)
            value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
        return value;
    };
    image.bits = static_cast<int>(le(28, 2));
    image.storedHeight = static_cast<std::int32_t>(le(22, 4));
    image.compression = le(30, 4);
    image.decoded = DecodeBitmap(bytes.data(), bytes.size(), image.bitmap, nullptr);
    return image;
}

// Whether turned is upright stored a quarter turn either way.
bool IsQuarterTurn(const RasterBitmap& upright, const RasterBitmap& turned)
{
    if (turned.width != upright.height || turned.height != upright.width)
        return false;
    bool clockwise = true, counter = true;
    for (int y = 0; y < upright.height; ++y) {
        for (int x = 0; x < upright.width; ++x) {
            const std::uint32_t pixel = upright.At(x, y) & 0xFFFFFF;
            clockwise = clockwise && (turned.At(upright.height - 1 - y, x) & 0xFFFFFF) == pixel;
            counter = counter && (turned.At(y, upright.width - 1 - x) & 0xFFFFFF) == pixel;
        }
    }
    return clockwise || counter;
}

TEST(SmallCardsTest, EveryCardHasItsOwnUprightAndTurnedImageInTheFormLoadcardReads)
{
    const std::vector<std::string> ids = DefinedCards(ReadUtf16(GAME / "data_en" / "cards_phys_u.cfg"));
    ASSERT_EQ(ids.size(), 271u);
    std::set<std::vector<std::uint32_t>> faces;
    for (const std::string& id : ids) {
        SCOPED_TRACE(id);
        const Image upright = ReadImage(GAME / "data_en" / "cards" / (id + ".bmp"));
        const Image turned = ReadImage(GAME / "data_en" / "cards" / (id + "_r.bmp"));
        for (const Image* image : {&upright, &turned}) {
            ASSERT_TRUE(image->decoded);
            EXPECT_EQ(image->bits, 24);
            EXPECT_EQ(image->compression, 0u);
            EXPECT_GT(image->storedHeight, 0) << "rows are stored bottom-up";
        }
        EXPECT_EQ(upright.bitmap.width, SMALL_WIDTH);
        EXPECT_EQ(upright.bitmap.height, SMALL_HEIGHT);
        EXPECT_TRUE(IsQuarterTurn(upright.bitmap, turned.bitmap));
        faces.insert(upright.bitmap.pixels);
    }
    // Each card's picture and texts make its face: no two cards share one.
    EXPECT_EQ(faces.size(), ids.size());
}

// A small install folder: the shared images, fonts and the pictures and definitions of a few cards.
class SmallCardCacheTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::u16string cardFile = ReadUtf16(GAME / "data_en" / "cards_phys_u.cfg");
        m_cardText = u"\uFEFF";
        for (const char16_t* id : {u"CD_MOUNTAIN1", u"CD_BELEDVIN", u"CD_BELENDAL"}) {
            const std::u16string marker = u"definecard " + std::u16string(id);
            std::size_t start = cardFile.find(marker);
            while (start != std::u16string::npos && cardFile[start + marker.size()] > u' ')
                start = cardFile.find(marker, start + 1);
            ASSERT_NE(start, std::u16string::npos);
            const std::size_t end = cardFile.find(u"_end", start) + 4;
            m_cardText += cardFile.substr(start, end - start) + u"\r\n\r\n";
            std::string art;
            for (const char16_t* c = id; *c != u'\0'; ++c)
                art += static_cast<char>(*c);
            fs::create_directories(m_install / "data" / "cardart");
            fs::copy_file(GAME / "data" / "cardart" / (art + ".bmp"), m_install / "data" / "cardart" / (art + ".bmp"));
        }
        WriteUtf16(m_install / "data_en" / "cards_phys_u.cfg", m_cardText);
        for (const char* folder : {"frames", "symbols", "fonts"})
            fs::copy(GAME / "data" / folder, m_install / "data" / folder, fs::copy_options::recursive);
        fs::create_directories(m_install / "data" / "table");
        for (const auto& entry : fs::directory_iterator(GAME / "data" / "table")) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("crd_") || name.starts_with("fxborder_"))
                fs::copy_file(entry.path(), m_install / "data" / "table" / name);
        }
    }

    datac::SmallCardRun Render()
    {
        datac::Diagnostics diagnostics;
        datac::SmallCardRun run;
        EXPECT_TRUE(datac::RenderSmallCards(m_install.string(), m_cache.string(), diagnostics, &run));
        for (const std::string& message : diagnostics.Messages())
            ADD_FAILURE() << message;
        return run;
    }

    std::vector<std::uint8_t> Built(const std::string& name) const
    {
        return ReadBytes(m_install / "data_en" / "cards" / name);
    }

    test::TempDir m_dir;
    fs::path m_install = fs::path(m_dir.Path()) / "game";
    fs::path m_cache = fs::path(m_dir.Path()) / "cache";
    std::u16string m_cardText;
};

TEST_F(SmallCardCacheTest, UnchangedCardsAreCopiedFromTheCacheAndChangedOnesDrawnAgain)
{
    const datac::SmallCardRun first = Render();
    EXPECT_EQ(first.cards, 3u);
    EXPECT_EQ(first.rendered, 3u);
    // The same composition as the build's own images.
    EXPECT_EQ(Built("CD_BELEDVIN.bmp"), ReadBytes(GAME / "data_en" / "cards" / "CD_BELEDVIN.bmp"));
    EXPECT_EQ(Built("CD_BELEDVIN_r.bmp"), ReadBytes(GAME / "data_en" / "cards" / "CD_BELEDVIN_r.bmp"));

    const std::vector<std::uint8_t> before = Built("CD_BELENDAL.bmp");
    fs::remove(m_install / "data_en" / "cards" / "CD_BELENDAL.bmp");
    fs::remove(m_install / "data_en" / "cards" / "CD_MOUNTAIN1_r.bmp");
    EXPECT_EQ(Render().rendered, 0u) << "an unchanged set draws nothing";
    EXPECT_EQ(Built("CD_BELENDAL.bmp"), before);
    EXPECT_FALSE(Built("CD_MOUNTAIN1_r.bmp").empty());

    // A new name for one card and a new picture for another: those two are drawn again, and show it.
    const std::size_t name = m_cardText.find(u"Name = Beledvin");
    ASSERT_NE(name, std::u16string::npos);
    m_cardText.replace(name, 15, u"Name = Beledvyn");
    WriteUtf16(m_install / "data_en" / "cards_phys_u.cfg", m_cardText);
    const std::vector<std::uint8_t> mountain = Built("CD_MOUNTAIN1.bmp");
    fs::copy_file(GAME / "data" / "cardart" / "CD_FOREST1.bmp", m_install / "data" / "cardart" / "CD_MOUNTAIN1.bmp",
                  fs::copy_options::overwrite_existing);
    EXPECT_EQ(Render().rendered, 2u);
    EXPECT_NE(Built("CD_MOUNTAIN1.bmp"), mountain);
    EXPECT_NE(Built("CD_BELEDVIN.bmp"), ReadBytes(GAME / "data_en" / "cards" / "CD_BELEDVIN.bmp"));
    EXPECT_EQ(Built("CD_BELENDAL.bmp"), before);
}

TEST_F(SmallCardCacheTest, AMissingCardFileIsReportedAndDrawsNothing)
{
    fs::remove(m_install / "data_en" / "cards_phys_u.cfg");
    datac::Diagnostics diagnostics;
    EXPECT_FALSE(datac::RenderSmallCards(m_install.string(), m_cache.string(), diagnostics));
    ASSERT_EQ(diagnostics.Messages().size(), 1u);
    EXPECT_NE(diagnostics.Messages()[0].find("cards_phys_u.cfg"), std::string::npos);
    EXPECT_FALSE(fs::exists(m_install / "data_en" / "cards"));
}

// The sheet of faces: the small images in the first row, the large faces as the table draws them below, the
// rules text included (the table lays it out on the first frame and draws it from the next).
TEST_F(SmallCardCacheTest, TheFaceSheetShowsEverySmallAndLargeFaceAndIsDrawnOnlyWhenTheyChange)
{
    const std::uint64_t inputs = Render().inputs;
    const fs::path sheetPath = m_cache / "card-faces.bmp";
    datac::Diagnostics diagnostics;
    bool drawn = false;
    ASSERT_TRUE(datac::WriteCardFaceSheet(m_install.string(), inputs, sheetPath.string(), diagnostics, &drawn));
    EXPECT_TRUE(drawn);
    const Image sheet = ReadImage(sheetPath);
    ASSERT_TRUE(sheet.decoded);
    // Three small cards, the divider, three large faces of 192 x 276, 4 pixels apart.
    ASSERT_EQ(sheet.bitmap.width, 1600);
    ASSERT_EQ(sheet.bitmap.height, 4 + 98 + 4 + 1 + 4 + 276 + 4);
    const Image small = ReadImage(m_install / "data_en" / "cards" / "CD_MOUNTAIN1.bmp");
    for (int y = 0; y < SMALL_HEIGHT; ++y) {
        for (int x = 0; x < SMALL_WIDTH; ++x)
            ASSERT_EQ(sheet.bitmap.At(4 + x, 4 + y) & 0xFFFFFF, small.bitmap.At(x, y) & 0xFFFFFF);
    }
    // The creature's rules box (its second large face) holds dark text on its pale ground.
    const int left = 4 + 196, top = 4 + 98 + 4 + 1 + 4;
    int dark = 0, pale = 0;
    for (int y = top + 180; y < top + 244; ++y) {
        for (int x = left + 15; x < left + 176; ++x) {
            const std::uint32_t pixel = sheet.bitmap.At(x, y);
            const int sum = static_cast<int>((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF));
            dark += sum < 200;
            pale += sum > 600;
        }
    }
    EXPECT_GT(dark, 50);
    EXPECT_GT(pale, dark);

    EXPECT_EQ(Render().inputs, inputs) << "drawn or copied, the same cards have the same inputs";
    ASSERT_TRUE(datac::WriteCardFaceSheet(m_install.string(), inputs, sheetPath.string(), diagnostics, &drawn));
    EXPECT_FALSE(drawn) << "nothing changed";
    // A large frame changes: the sheet is drawn again.
    const fs::path frame = m_install / "data" / "table" / "crd_cr_b_lg.bmp";
    fs::copy_file(m_install / "data" / "table" / "crd_cr_r_lg.bmp", frame, fs::copy_options::overwrite_existing);
    ASSERT_TRUE(datac::WriteCardFaceSheet(m_install.string(), inputs, sheetPath.string(), diagnostics, &drawn));
    EXPECT_TRUE(drawn);
    EXPECT_TRUE(diagnostics.Messages().empty());
}

} // namespace
