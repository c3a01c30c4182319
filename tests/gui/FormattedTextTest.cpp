// The display's formatted-text layout: centring, half-line breaks, symbol squares, punctuation by language,
// and measuring that matches drawing.
#include "tests/gui/GuiFixture.h"

#include "engine/core/LanguageManager.h"
#include "engine/core/StringTable.h"
#include "cards/FormattedTextLayout.h"

namespace {

using guitest::GuiFixture;

class FormattedTextTest : public GuiFixture {
protected:
    void TearDown() override
    {
        ClearStringTables();
        GetLanguageManager()->SetLanguage(LANG_ENGLISH, false);
        GuiFixture::TearDown();
    }

    static FormattedText* Text(std::u16string_view source) { return AddFormattedText(u"FMT_TEST", source); }

    static std::vector<const FormattedSegment*> Segments(const FormattedText* text)
    {
        std::vector<const FormattedSegment*> out;
        for (const FormattedSegment* s = text->m_pFirst.get(); s != nullptr; s = s->m_pNext.get())
            out.push_back(s);
        return out;
    }

    static int Width(std::u16string_view text, int font = 1)
    {
        int w = 0, h = 0, a = 0;
        GetRaster()->MeasureText(text, font, w, h, a);
        return w;
    }
};

TEST_F(FormattedTextTest, AnOverWideCentredLineMovesLeftByHalfItsExcess)
{
    FormattedText* text = Text(u"Incomprehensibilities");
    const int width = Width(u"Incomprehensibilities");
    GameDisplay* const display = GetGameDisplay();
    const int height = display->DrawWrappedText(text, RasterRect{0, 0, 20, 100}, 1, 1, 0, -1, 0, false);
    EXPECT_GT(height, 0);
    EXPECT_EQ(Segments(text)[0]->m_X, (20 - width) >> 1);
    EXPECT_LT(Segments(text)[0]->m_X, 0);
    EXPECT_EQ(text->m_Width, 20);
    // Laid out once for the width: the next call at that width draws and returns 0.
    EXPECT_EQ(display->DrawWrappedText(text, RasterRect{0, 0, 20, 100}, 1, 1, 0, -1, 0, false), 0);
}

TEST_F(FormattedTextTest, AHalfLineBreakAdvancesHalfTheHeightAndCountsHalf)
{
    FormattedText* text = Text(u"one\\two");
    const int height = GetGameDisplay()->DrawWrappedText(text, RasterRect{0, 0, 300, 100}, 1, 0, 0, -1, 0, false);
    const std::vector<const FormattedSegment*> segments = Segments(text);
    ASSERT_EQ(segments.size(), 2u);
    const int lineHeight = text->m_LineHeight;
    EXPECT_EQ(segments[1]->m_X, 0);
    EXPECT_EQ(segments[1]->m_Y - segments[0]->m_Y, static_cast<int>(lineHeight * 0.5f));
    EXPECT_EQ(height, static_cast<int>(lineHeight * 1.5f));
}

// A card's flavour text follows its rules text after a blank, a break and a style marker: the break comes before
// the flavour's first word, and the flavour's words share their line.
TEST_F(FormattedTextTest, ABreakAfterABlankStaysBeforeTheNextWord)
{
    struct Case {
        const char16_t* source;
        float lines;  // from the first line to the flavour's
    };
    const Case cases[] = {
        {u"Flies. |\\^Nothing grows here", 1.5f},
        {u"Flies.|^Nothing grows here", 1.0f},
        {u"Flies. ||^Nothing grows here", 2.0f},
        {u"Flies. |*Nothing grows here", 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.source, c.source + std::char_traits<char16_t>::length(c.source)));
        FormattedText* text = Text(c.source);
        GetGameDisplay()->DrawWrappedText(text, RasterRect{0, 0, 400, 100}, 1, 0, 0, -1, 0, false);
        const FormattedSegment* first = nullptr;
        std::vector<const FormattedSegment*> flavour;
        for (const FormattedSegment* s : Segments(text)) {
            if (first == nullptr)
                first = s;
            if (s->m_Text[0] != 0 && s->m_Style != SEGMENT_STYLE_PLAIN)
                flavour.push_back(s);
        }
        ASSERT_EQ(flavour.size(), 3u);
        EXPECT_EQ(flavour[0]->m_X, 0);
        // The break advances by the new line's own height; each line sits on the shared baseline.
        int w = 0, firstHeight = 0, firstAscent = 0, height = 0, ascent = 0;
        GetRaster()->MeasureText(first->m_Text, 1, w, firstHeight, firstAscent);
        GetRaster()->MeasureText(flavour[0]->m_Text, 1 + flavour[0]->m_Style, w, height, ascent);
        EXPECT_EQ(flavour[0]->m_Y - first->m_Y,
                  static_cast<int>(static_cast<float>(height) * c.lines) + firstAscent - ascent);
        EXPECT_EQ(flavour[1]->m_Y, flavour[0]->m_Y);
        EXPECT_EQ(flavour[2]->m_Y, flavour[0]->m_Y);
        EXPECT_GT(flavour[2]->m_X, flavour[1]->m_X);
    }
}

TEST_F(FormattedTextTest, SymbolSquaresFollowTheLineHeight)
{
    // Every font: their heights fall either side of 13.
    for (int font = 0; font < RASTER_FONT_COUNT; ++font) {
        FormattedText* text = Text(u"Pay #2G ~now");
        GetGameDisplay()->DrawWrappedText(text, RasterRect{0, 0, 400, 100}, font, 0, 0, -1, 0, false);
        const FormattedSegment* symbols = nullptr;
        for (const FormattedSegment* s : Segments(text)) {
            if (s->m_Style == SEGMENT_STYLE_SYMBOLS)
                symbols = s;
        }
        ASSERT_NE(symbols, nullptr);
        int w = 0, h = 0, a = 0;
        GetRaster()->MeasureText(symbols->m_Text, font, w, h, a);
        const int expected = text->m_LineHeight >= 13 ? std::max(h * 3 / 5, 12) : std::max(h * 7 / 9, 7);
        EXPECT_EQ(symbols->m_SymbolSize, expected) << font;
        // Two symbols reserve two squares and a pixel after each.
        EXPECT_EQ(symbols->m_Advance, (expected + 1) * 2) << font;
    }
}

TEST_F(FormattedTextTest, PunctuationOverflowingTheLineStaysBeforeLanguage8AndMovesWithItsWordFrom8)
{
    // "aaaa " and "bbbb " fill the line exactly; the "!" after them overflows.
    const int fit = Width(u"aaaa ") + Width(u"bbbb ");
    const StringLookupHook previous = GetStringLookupHook();
    SetStringLookupHook(GetString);
    AddString(u"STR_PUNCT", u"!?.,");
    struct Case {
        int language;
        bool moves;
    };
    for (const Case c : {Case{1, false}, Case{8, true}}) {
        GetLanguageManager()->SetLanguage(c.language, false);
        FormattedText* text = Text(u"aaaa bbbb !");
        GetGameDisplay()->DrawWrappedText(text, RasterRect{0, 0, fit, 100}, 1, 0, 0, -1, 0, false);
        const std::vector<const FormattedSegment*> segments = Segments(text);
        ASSERT_EQ(segments.size(), 3u) << c.language;
        const FormattedSegment* word = segments[1];
        const FormattedSegment* mark = segments[2];
        EXPECT_EQ(mark->m_Y, word->m_Y) << c.language;
        if (c.moves) {
            EXPECT_EQ(word->m_X, 0) << c.language;
            EXPECT_GT(word->m_Y, segments[0]->m_Y) << c.language;
        } else {
            EXPECT_EQ(word->m_Y, segments[0]->m_Y) << c.language;
            EXPECT_EQ(mark->m_X, fit) << c.language;
        }
    }
    SetStringLookupHook(previous);
}

TEST_F(FormattedTextTest, MeasuringMatchesDrawingAndCentringDrawsWhereTheLayoutSays)
{
    FormattedText* text = Text(u"~Cast *Flash~ now");
    const int width = GetGUIFormattedTextWidth(text, 1);
    int sum = 0;
    int tallest = 0;
    for (const FormattedSegment* s : Segments(text)) {
        int w = 0, h = 0, a = 0;
        GetRaster()->MeasureText(s->m_Text, 1 + (s->m_Style < 3 ? s->m_Style : 0), w, h, a);
        sum += w;
        tallest = std::max(tallest, h);
    }
    EXPECT_EQ(width, sum);
    EXPECT_EQ(GetGUIFormattedTextHeight(text, 1), tallest);
    // Laid out on one line at a wide rectangle, the segments end where the measured width says.
    GetGameDisplay()->DrawWrappedText(text, RasterRect{0, 0, 1000, 100}, 1, 0, 0, -1, 0, false);
    const std::vector<const FormattedSegment*> segments = Segments(text);
    EXPECT_EQ(segments.back()->m_X + segments.back()->m_Advance, width);

    // Drawn centred into a rectangle, the first pixel of text lies where the layout put the line.
    ResetFormattedText(text);
    const RasterRect rect{0, 0, 200, 40};
    DrawGUIFormattedText(text, rect, 1, 0, 0x00FFFFFF, -1, 0, false);  // lays out
    Raster* const raster = GetRaster();
    raster->BeginFrame();
    raster->ClearBackBuffer(0);
    ResetFormattedText(text);
    DrawGUIFormattedText(text, rect, 1, 1, 0x00FFFFFF, -1, 0, false);
    DrawGUIFormattedText(text, rect, 1, 1, 0x00FFFFFF, -1, 0, false);
    raster->Invalidate();
    raster->EndFrame();
    const PixelTarget target = raster->BackBuffer();
    int firstLit = -1;
    int lastLit = -1;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (target.pixels[y * target.pitch + x] != 0) {
                firstLit = firstLit < 0 || x < firstLit ? x : firstLit;
                lastLit = std::max(lastLit, x);
            }
        }
    }
    ASSERT_GE(firstLit, 0);
    // Centred: the free space either side differs by little (glyph bearings).
    const int leftFree = firstLit;
    const int rightFree = 199 - lastLit;
    EXPECT_LE(std::abs(leftFree - rightFree), 4) << leftFree << " " << rightFree;
}

} // namespace
