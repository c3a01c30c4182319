// Text of the raster: the fonts of each language, wrapped and aligned text measured equal to what is drawn, the
// end ellipsis, the unclipped single line, clipping, the overhang rule and glyphs the face lacks.
#include "tests/TestSupport.h"
#include "tests/engine/raster/RasterTestSupport.h"

#include "engine/raster/FontCatalogue.h"
#include "engine/raster/RasterFont.h"
#include "engine/raster/RasterFonts.h"
#include "engine/raster/RasterText.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace rastertest;

namespace {

constexpr int W = 320;
constexpr int H = 120;
constexpr int FLAGS_XP = RASTER_FONTS_NEWER_SYSTEM | RASTER_FONTS_SYSTEM_XP;

// The smallest rectangle holding every pixel that is not black; empty when there is none.
RasterRect InkBox(Raster& raster)
{
    const PixelTarget target = raster.BackBuffer();
    RasterRect box{target.width, target.height, 0, 0};
    for (int y = 0; y < target.height; ++y) {
        for (int x = 0; x < target.width; ++x) {
            if (target.pixels[y * target.pitch + x] != 0) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
        }
    }
    return box;
}

bool Inside(const RasterRect& inner, const RasterRect& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class RasterTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::headless::SetScreenMetrics(plat::ScreenMetrics{1024, 768, 1024, 740});
        m_raster = StartRaster(Mode565(W, H));
        m_raster->SetFontLanguage(1, 0, true, true);
        m_raster->ClearBackBuffer(0);
    }

    // Draws text white on black through the queue and gives the ink's box.
    RasterRect DrawAndInk(std::u16string_view text, const RasterRect& rect, int alignment, int font,
                          bool overhang = false)
    {
        m_raster->ClearBackBuffer(0);
        m_raster->BeginFrame();
        m_raster->DrawText(text, rect, alignment, font, 0xFFFFFF, overhang);
        Render(*m_raster);
        return InkBox(*m_raster);
    }

    RasterRect Measure(std::u16string_view text, const RasterRect& rect, int alignment, int font)
    {
        RasterRect out;
        EXPECT_TRUE(m_raster->DrawTextNow(text, rect, &out, alignment, font));
        return out;
    }

    std::unique_ptr<Raster> m_raster;
};

TEST_F(RasterTextTest, EnglishFontsHaveTheirCellHeightsAndFaces)
{
    struct Case {
        int font;
        int height;
        const char16_t* face;
        int weight;
        bool italic;
    };
    const Case cases[] = {
        {0, 14, u"Arial", 400, false},          {1, 20, u"Arial", 400, false},
        {2, 20, u"Lymphatic", 400, false},      {3, 9, u"Small Fonts", 400, false},
        {4, 14, u"Arial", 400, false},          {5, 14, u"Arial", 700, false},
        {6, 13, u"Arial", 400, true},           {7, 18, u"Arial", 400, false},
        {8, 18, u"Lymphatic", 700, false},      {9, 18, u"Lymphatic", 700, true},
        {10, 17, u"Lymphatic-Italic", 700, false}, {11, 20, u"Lymphatic", 400, false},
        {13, 20, u"Lymphatic-Italic", 400, false}, {14, 23, u"Times New Roman", 400, false},
        {16, 23, u"Times New Roman", 700, true}, {17, 26, u"MansonRegular", 400, false},
        {19, 26, u"MansonRegular", 400, true},
    };
    for (const Case& c : cases) {
        const RasterFont* font = m_raster->GetFont(c.font);
        ASSERT_NE(font, nullptr) << c.font;
        EXPECT_EQ(m_raster->GetFontHeight(c.font), c.height) << c.font;
        EXPECT_EQ(font->Description().face, c.face) << c.font;
        EXPECT_EQ(font->Description().weight, c.weight) << c.font;
        EXPECT_EQ(font->Description().italic, c.italic) << c.font;
    }
    EXPECT_TRUE(m_raster->GetFont(7)->Underline());
    EXPECT_EQ(m_raster->GetFont(0), m_raster->GetFont(4));
    EXPECT_EQ(m_raster->GetFont(2), m_raster->GetFont(11));
    EXPECT_EQ(m_raster->GetFont(25), m_raster->GetFont(2));
    EXPECT_EQ(m_raster->GetFont(-1), m_raster->GetFont(2));
}

TEST_F(RasterTextTest, FontsFollowTheLanguage)
{
    struct Case {
        int language;
        int charset;
        int font;
        int height;
        const char16_t* face;
    };
    const Case cases[] = {
        {3, 0, 8, 17, u"Lymphatic"},       {3, 0, 11, 18, u"Lymphatic"},     {3, 0, 17, 24, u"MansonRegular"},
        {3, 0, 14, 21, u"Times New Roman"}, {7, 204, 8, 17, u"Times New Roman"}, {7, 204, 4, 14, u"Arial"},
        {7, 204, 17, 21, u"Times New Roman"}, {7, 204, 3, 14, u"Arial"},     {8, 128, 4, 15, u"Arial"},
        {8, 128, 14, 20, u"Times New Roman"}, {11, 129, 6, 13, u""},          {11, 129, 4, 14, u"Arial"},
    };
    for (const Case& c : cases) {
        m_raster->SetFontLanguage(c.language, c.charset, true, true);
        const RasterFont* font = m_raster->GetFont(c.font);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->Height(), c.height) << c.language << " font " << c.font;
        EXPECT_EQ(font->Description().face, c.face) << c.language << " font " << c.font;
        EXPECT_EQ(font->Description().charset, c.font == 3 ? 0 : c.charset);
    }
    // The language manager's entry point sets up the program's raster.
    SetupRasterFonts(8, 128, FLAGS_XP);
    ASSERT_NE(GetRaster()->GetFont(4), nullptr);
    EXPECT_EQ(GetRaster()->GetFont(4)->Height(), 15);
    SetupRasterFonts(1, 0, FLAGS_XP);
    EXPECT_EQ(GetRaster()->GetFont(4)->Height(), 14);
}

TEST_F(RasterTextTest, MeasuredRectangleHoldsWhatIsDrawn)
{
    // Wrapped codes get a text of several lines, single-line codes one that fits, the ellipsis one that does not.
    const std::u16string longText = u"The quick brown fox jumps over the lazy dog and keeps on running";
    const std::u16string shortText = u"Quick brown fox";
    for (int alignment = 0; alignment <= 9; ++alignment) {
        const std::u16string& text = alignment < 3 || alignment == 9 ? longText : shortText;
        for (const int font : {4, 5, 8, 11, 14}) {
            SCOPED_TRACE(testing::Message() << "alignment " << alignment << " font " << font);
            const RasterRect rect{10, 5, 190, 115};
            const RasterRect measured = Measure(text, rect, alignment, font);
            const RasterRect ink = DrawAndInk(text, rect, alignment, font);
            ASSERT_GT(ink.right, ink.left);
            const int width = measured.Width();
            const int height = measured.Height();
            // Drawing places the measured box by the alignment; the ink lies inside it.
            RasterRect placed = measured;
            const std::uint32_t format = TextFormatForAlignment(alignment, rect.right);
            if ((format & TEXT_CENTER) != 0) {
                placed.left = rect.left + (rect.Width() - width) / 2;
            } else if ((format & TEXT_RIGHT) != 0) {
                placed.left = rect.right - width;
            }
            if ((format & TEXT_VCENTER) != 0) {
                placed.top = rect.top + (rect.Height() - height) / 2;
            } else if ((format & TEXT_BOTTOM) != 0) {
                placed.top = rect.bottom - height;
            }
            placed.right = placed.left + width;
            placed.bottom = placed.top + height;
            // Glyphs may reach a pixel or two past their advance, as the system's own text does.
            const RasterRect slack{placed.left - 2, placed.top, placed.right + 2, placed.bottom};
            EXPECT_TRUE(Inside(ink, slack)) << "ink " << ink.left << "," << ink.top << "," << ink.right << ","
                                             << ink.bottom << " placed " << placed.left << "," << placed.top << ","
                                             << placed.right << "," << placed.bottom;
            // The ink reaches the measured box's sides (within a glyph's side bearing).
            EXPECT_LE(ink.left - placed.left, 3);
            EXPECT_LE(placed.right - ink.right, 3);
            EXPECT_GT(ink.bottom, placed.bottom - m_raster->GetFontHeight(font));
        }
    }
}

TEST_F(RasterTextTest, WordWrapBreaksAtBlanksAndKeepsLongWordsWhole)
{
    const int font = 4;
    const int lineHeight = m_raster->GetFontHeight(font);
    int wordWidth = 0;
    int h = 0;
    int ascent = 0;
    ASSERT_TRUE(m_raster->MeasureText(u"aaaa bbbb", font, wordWidth, h, ascent));
    EXPECT_EQ(h, lineHeight);
    EXPECT_GT(ascent, lineHeight / 2);

    // Two words fit a line, the third wraps.
    const RasterRect rect{0, 0, wordWidth + 2, 100};
    RasterRect out = Measure(u"aaaa bbbb cccc", rect, 0, font);
    EXPECT_EQ(out.Height(), 2 * lineHeight);
    EXPECT_EQ(out.Width(), wordWidth);
    // Line breaks in the text break lines; single-line codes ignore them.
    out = Measure(u"aaaa\nbbbb\r\ncccc", RasterRect{0, 0, 300, 100}, 0, font);
    EXPECT_EQ(out.Height(), 3 * lineHeight);
    out = Measure(u"aaaa\nbbbb", RasterRect{0, 0, 300, 100}, 4, font);
    EXPECT_EQ(out.Height(), lineHeight);
    // A word wider than the rectangle stays on one line.
    out = Measure(u"aaaaaaaaaaaaaaaaaaaa", RasterRect{0, 0, 20, 100}, 0, font);
    EXPECT_EQ(out.Height(), lineHeight);
    EXPECT_GT(out.Width(), 20);
}

TEST_F(RasterTextTest, CentredTextSitsInTheMiddle)
{
    const RasterRect rect{20, 10, 220, 90};
    const RasterRect ink = DrawAndInk(u"Centre", rect, 4, 4);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, (rect.left + rect.right) / 2.0, 2.5);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, (rect.top + rect.bottom) / 2.0, 4.0);
}

TEST_F(RasterTextTest, EndEllipsisCutsTheLineToFit)
{
    const std::u16string text = u"A rather long line of text";
    const int font = 4;
    const RasterRect rect{0, 0, 80, 20};
    const RasterRect out = Measure(text, rect, 9, font);
    EXPECT_LE(out.Width(), rect.Width());
    // The longest prefix that fits with three dots.
    std::u16string expected;
    for (std::size_t n = text.size(); n > 0; --n) {
        int w = 0;
        int h = 0;
        int a = 0;
        m_raster->MeasureText(text.substr(0, n) + u"...", font, w, h, a);
        if (w <= rect.Width()) {
            expected = text.substr(0, n) + u"...";
            break;
        }
    }
    ASSERT_FALSE(expected.empty());
    int w = 0;
    int h = 0;
    int a = 0;
    m_raster->MeasureText(expected, font, w, h, a);
    EXPECT_EQ(out.Width(), w);
    // A text that fits is left alone.
    int full = 0;
    m_raster->MeasureText(u"Short", font, full, h, a);
    EXPECT_EQ(Measure(u"Short", rect, 9, font).Width(), full);
}

TEST_F(RasterTextTest, RightEdgeMinusOneDrawsOneUnclippedLine)
{
    m_raster->ClearBackBuffer(0);
    m_raster->BeginFrame();
    m_raster->DrawTextAt(u"Unclipped line\nstill one line", 5, 7, 4, 0xFFFFFF);
    Render(*m_raster);
    const RasterRect ink = InkBox(*m_raster);
    EXPECT_GE(ink.left, 5);
    EXPECT_GE(ink.top, 7);
    EXPECT_GT(ink.right, 100);
    EXPECT_LE(ink.bottom, 7 + m_raster->GetFontHeight(4));
}

TEST_F(RasterTextTest, TextIsClippedToItsRectangle)
{
    const RasterRect rect{10, 10, 40, 20};
    const RasterRect ink = DrawAndInk(u"Clipped on every side of the box", RasterRect{10, 10, 40, 20}, 0, 14);
    EXPECT_TRUE(Inside(ink, rect));
    EXPECT_GT(ink.right, ink.left);
}

TEST_F(RasterTextTest, OverhangMovesAFirstGlyphThatReachesLeft)
{
    const RasterFont* font = m_raster->GetFont(6);
    ASSERT_NE(font, nullptr);
    std::u16string sample;
    for (const char16_t* candidate : {u"j", u"J", u"f", u"y", u"p", u"/", u"_"}) {
        if (FirstGlyphOverhang(*font, candidate) < 0) {
            sample = candidate;
            break;
        }
    }
    ASSERT_FALSE(sample.empty()) << "the italic face has a glyph reaching left of its pen";
    const int overhang = FirstGlyphOverhang(*font, sample);
    const RasterRect rect{30, 10, 100, 40};
    const RasterRect moved = DrawAndInk(sample, rect, 0, 6, true);
    const RasterRect cut = DrawAndInk(sample, rect, 0, 6, false);
    EXPECT_GE(moved.left, rect.left);
    EXPECT_EQ(moved.left, rect.left - overhang + font->GlyphOf(sample[0]).left);
    EXPECT_EQ(cut.left, rect.left) << "without the rule the glyph is cut at the rectangle";
}

TEST_F(RasterTextTest, GlyphsMissingFromTheFaceDrawItsFallback)
{
    const RasterFont* font = m_raster->GetFont(4);
    EXPECT_FALSE(font->GlyphOf(0x4E00).found);
    EXPECT_TRUE(font->GlyphOf(u'A').found);
    const std::u16string text = {0x4E00, 0xD800, u'x', 0xDC00, 0xD83D, 0xDE00};
    const RasterRect ink = DrawAndInk(text, RasterRect{0, 0, 200, 40}, 0, 4);
    EXPECT_GT(ink.right, ink.left);
    int w = 0;
    int h = 0;
    int a = 0;
    EXPECT_TRUE(m_raster->MeasureText(text, 4, w, h, a));
    EXPECT_GT(w, 0);
}

TEST_F(RasterTextTest, UnderlinedFontDrawsABarUnderTheLine)
{
    const RasterRect rect{10, 10, 300, 60};
    const RasterRect plain = DrawAndInk(u"ace", rect, 0, 4);
    const RasterRect underlined = DrawAndInk(u"ace", rect, 0, 7);
    // Letters without descenders: only the bar reaches below the baseline.
    EXPECT_GT(underlined.bottom - underlined.top, plain.bottom - plain.top);
    int w = 0;
    int h = 0;
    int a = 0;
    ASSERT_TRUE(m_raster->MeasureText(u"ace", 7, w, h, a));
    const std::uint16_t* row = m_raster->BackBuffer().pixels + (underlined.bottom - 1) * W;
    EXPECT_EQ(std::count(row + 10, row + 10 + w, 0xFFFF), w) << "the bar spans the text's width";
}

TEST(RasterText555, FullyCoveredPixelsTakeTheExactColour)
{
    auto raster = StartRaster(Mode555(120, 40));
    raster->ClearBackBuffer(0);
    raster->DrawText(u"Il", RasterRect{0, 0, 120, 40}, 0, 14, 0x0000FF, false);
    Render(*raster);
    const std::vector<std::uint16_t> pixels = Pixels(*raster);
    EXPECT_GT(std::count(pixels.begin(), pixels.end(), 0x7C00), 10) << "pure red in 5-5-5";
    for (const std::uint16_t p : pixels) {
        EXPECT_EQ(p & 0x83FF, 0) << "only red, never past the format's bits";
    }
}

TEST_F(RasterTextTest, NothingIsQueuedForMissingText)
{
    EXPECT_FALSE(m_raster->DrawText(static_cast<const char16_t*>(nullptr), RasterRect{0, 0, 10, 10}, 0, 4, 0, false));
    EXPECT_EQ(m_raster->GetQueuedCount(), 0);
    // Queued text is the raster's own copy: the caller's string may go before the frame is drawn.
    {
        std::u16string temporary = u"Temporary";
        m_raster->DrawText(temporary, RasterRect{0, 0, 200, 40}, 0, 4, 0xFFFFFF, false);
        temporary.assign(temporary.size(), u' ');
    }
    Render(*m_raster);
    EXPECT_GT(InkBox(*m_raster).right, 0);
}

TEST(RasterFontTable, ShippedTableNamesEveryFaceAndItsFilesExist)
{
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(plat::ReadFileBytes(plat::FromUtf8(TESSEL_SOURCE_DIR "/data/fonts/fonts.cfg"), bytes));
    FontCatalogue shipped;
    ASSERT_TRUE(shipped.Parse(bytes));
    FontCatalogue builtIn;
    builtIn.UseBuiltIn();
    for (const char16_t* face : {u"Arial", u"Times New Roman", u"Small Fonts", u"Lymphatic", u"Lymphatic-Italic",
                                 u"MansonRegular", u"arial"}) {
        EXPECT_TRUE(shipped.HasFace(face)) << plat::ToUtf8(face);
        for (const bool bold : {false, true}) {
            for (const bool italic : {false, true}) {
                const ResolvedFace a = shipped.Resolve(face, 0, bold, italic);
                const ResolvedFace b = builtIn.Resolve(face, 0, bold, italic);
                EXPECT_EQ(a.path, b.path);
                EXPECT_TRUE(plat::IsReadable(a.path)) << plat::ToUtf8(a.path);
                EXPECT_FALSE(a.embolden || a.slant);
            }
        }
    }
    EXPECT_EQ(shipped.FoundFace(204), u"DejaVu Sans");
    EXPECT_EQ(shipped.FoundFace(128), u"");
    // Unknown and empty faces take their family's face.
    EXPECT_EQ(shipped.Resolve(u"", 0x12, false, false).path, shipped.Resolve(u"Times New Roman", 0, false, false).path);
    EXPECT_EQ(shipped.Resolve(u"Nope", 0x22, false, false).path, shipped.Resolve(u"Arial", 0, false, false).path);
}

std::string s_log;

void CaptureLog(std::string_view text)
{
    s_log += text;
}

TEST(RasterFontTable, TableAndFacesComeFromTheInstallFolderElseTheSystem)
{
    const test::TempDir install;
    const test::ScopedCurrentFolder inInstall(install.Path());
    // No table in the install folder: the built-in one, with the fallback logged.
    s_log.clear();
    const plat::LogSink previous = plat::SetLogSink(&CaptureLog);
    ReloadFontCatalogue(u"data\\fonts\\fonts.cfg");
    plat::SetLogSink(previous);
    EXPECT_NE(s_log.find("not readable"), std::string::npos);
    EXPECT_EQ(GetFontCatalogue().Resolve(u"Arial", 0, false, false).path,
              plat::FromUtf8(plat::SystemFontFolder()) + u"/DejaVuSans.ttf");

    // A table and a face file of the install folder are taken from there.
    std::vector<std::uint8_t> face;
    ASSERT_TRUE(plat::ReadFileBytes(plat::FromUtf8(plat::SystemFontFolder() + "/DejaVuSerif.ttf"), face));
    install.Write("data/fonts/Shipped.ttf", face);
    install.Write("data/fonts/fonts.cfg", "Arial = Shipped.ttf\n");
    ReloadFontCatalogue(u"data\\fonts\\fonts.cfg");
    const ResolvedFace resolved = GetFontCatalogue().Resolve(u"Arial", 0, false, false);
    EXPECT_EQ(resolved.path, u"data\\fonts\\Shipped.ttf");
    FontDescription description;
    description.height = 16;
    description.face = u"Arial";
    EXPECT_NE(RasterFont::Create(description), nullptr);
    ReloadFontCatalogue(plat::FromUtf8(TESSEL_SOURCE_DIR "/data/fonts/fonts.cfg"));
}

TEST(RasterFontTable, StylesMissingFromAFaceAreSynthesised)
{
    FontCatalogue catalogue;
    const std::string text = "# comment\nPlain = DejaVuSans.ttf\n\nbroken line\ncharset x = y\n";
    ASSERT_TRUE(catalogue.Parse(std::vector<std::uint8_t>(text.begin(), text.end())));
    const ResolvedFace face = catalogue.Resolve(u"plain", 0, true, true);
    EXPECT_TRUE(face.embolden);
    EXPECT_TRUE(face.slant);
    const std::string empty = "# nothing\n";
    EXPECT_FALSE(catalogue.Parse(std::vector<std::uint8_t>(empty.begin(), empty.end())));
}

} // namespace
