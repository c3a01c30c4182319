// The art step: a description draws the same pixels on every run, templates and path groups expand, faults
// are reported with their line, and the cache spares drawing what did not change.
#include "tools/ArtCompiler.h"

#include "engine/core/BitmapFile.h"
#include "engine/scene/ChpFile.h"
#include "engine/scene/SpritePack.h"
#include "platform/Platform.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

namespace {

RasterBitmap Decode(const std::vector<std::uint8_t>& bmp)
{
    RasterBitmap bitmap;
    int bits = 0;
    EXPECT_TRUE(DecodeBitmap(bmp.data(), bmp.size(), bitmap, &bits));
    EXPECT_EQ(bits, 24);
    return bitmap;
}

constexpr char SAMPLE[] = R"(# a sample
template plate label face=#204060
  bevel 0 0 W H $face #ffffff #000000 2
  text 0 0 W H "$label" font=DejaVuSans-Bold size=14 colour=#ffff00
end
image sample\one.bmp 40 30
  fill #102030
  rect 10 5 W-20 H/3 #ff0000
  gradient 0 20 40 10 #000000 #0000ff horizontal
  rect 0 0 4 4 #ffffff80
  noise 30 0 10 10 8 3
end
image group\{a,b}.bmp 60 24 use plate label="A b"
)";

TEST(ArtCompiler, ASmallDescriptionDrawsTheExpectedPixelsEveryTime)
{
    datac::Diagnostics diagnostics;
    datac::ArtCompiler first;
    ASSERT_TRUE(first.AddSource("sample.art", SAMPLE, diagnostics));
    ASSERT_FALSE(diagnostics.HasErrors());
    ASSERT_EQ(first.Images().size(), 3u);
    EXPECT_EQ(first.Images()[0].path, "sample/one.bmp");
    const RasterBitmap one = Decode(first.Images()[0].bmp);
    ASSERT_EQ(one.width, 40);
    ASSERT_EQ(one.height, 30);
    EXPECT_EQ(one.At(20, 20 - 12), 0xFF0000u);   // the red rectangle, its width and height from W and H
    EXPECT_EQ(one.At(9, 8), 0x102030u);          // the fill beside it
    EXPECT_EQ(one.At(20, 15), 0x102030u);        // below it: H/3 is 10 rows
    EXPECT_EQ(one.At(0, 25), 0x000000u);         // the gradient's ends
    EXPECT_EQ(one.At(39, 25), 0x0000FFu);
    EXPECT_EQ(one.At(1, 1), 0x878F97u);          // white blended half over the fill
    // The group gives the same picture twice; the plate's bevel and a lit pixel of its text.
    EXPECT_EQ(first.Images()[1].path, "group/a.bmp");
    EXPECT_EQ(first.Images()[2].path, "group/b.bmp");
    EXPECT_EQ(first.Images()[1].bmp, first.Images()[2].bmp);
    const RasterBitmap plate = Decode(first.Images()[1].bmp);
    EXPECT_EQ(plate.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(plate.At(59, 23), 0x000000u);
    EXPECT_EQ(plate.At(5, 12), 0x204060u);
    bool lit = false;
    for (int x = 0; x < 60; ++x)
        lit = lit || plate.At(x, 12) == 0xFFFF00u;
    EXPECT_TRUE(lit) << "no pixel of the text's middle row is fully yellow";

    datac::ArtCompiler second;
    ASSERT_TRUE(second.AddSource("sample.art", SAMPLE, diagnostics));
    for (std::size_t i = 0; i < first.Images().size(); ++i)
        EXPECT_EQ(first.Images()[i].bmp, second.Images()[i].bmp) << i;
}

// Strips cut into frames for the 16-bit kinds; near-black kept off the colour key while exact black stays it.
TEST(ArtCompiler, PixelFilesAndSpritePacksHoldTheirFramesInFiveBitColour)
{
    constexpr char STRIP[] = R"(image a.chp 8 2 frames=2
  fill #000000
  rect 0 0 4 1 #ff0000
  rect 4 0 4 1 #0000ff
  rect 0 1 4 1 #050505
end
image b.spk 8 2 frames=2
  fill #08ff00
end
image c.bmp 2 1
  fill #000000
  rect 0 0 1 1 #070307
end
)";
    datac::Diagnostics diagnostics;
    datac::ArtCompiler compiler;
    ASSERT_TRUE(compiler.AddSource("strip.art", STRIP, diagnostics)) << diagnostics.Messages().front();
    ASSERT_EQ(compiler.Images().size(), 3u);

    const std::vector<std::uint8_t>& chp = compiler.Images()[0].bmp;
    ChpImage image;
    ASSERT_TRUE(ParseChp(chp.data(), chp.size(), true, image));
    EXPECT_EQ(chp.size(), CHP_HEADER_SIZE + 2u * 4 * 2 * 2);
    EXPECT_EQ(image.frameCount, 2);
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.Frame(0)[0], 0x7C00);  // red
    EXPECT_EQ(image.Frame(1)[0], 0x001F);  // blue
    EXPECT_EQ(image.Frame(0)[4], 0x0421);  // (5, 5, 5) lifted to the darkest safe grey
    EXPECT_EQ(image.Frame(1)[4], 0x0000);  // exact black stays transparent

    const std::vector<std::uint8_t>& spk = compiler.Images()[1].bmp;
    const std::vector<SpriteFrame> frames = ReadSpriteFrames(spk.data(), spk.size());
    ASSERT_EQ(frames.size(), 2u);
    for (const SpriteFrame& frame : frames) {
        EXPECT_EQ(frame.width, 4);
        EXPECT_EQ(frame.height, 2);
        EXPECT_EQ(frame.pixels[7], (1 << 10) | (31 << 5));
    }

    const RasterBitmap bmp = Decode(compiler.Images()[2].bmp);
    EXPECT_EQ(bmp.At(0, 0), 0x080808u);
    EXPECT_EQ(bmp.At(1, 0), 0x000000u);

    for (const char* bad : {"image a.chp 9 2 frames=2\nend\n", "image a.bmp 8 2 frames=2\nend\n",
                            "image {a.bmp,b.chp} 8 2\nend\n"}) {
        datac::Diagnostics errors;
        datac::ArtCompiler faulty;
        EXPECT_FALSE(faulty.AddSource("x.art", bad, errors)) << bad;
    }
}

// Over the colour key a shape's edge is either the shape or the key: blending it towards black would leave a
// dark ring wherever the key is cut away. Polygons fill by their corners, with blended edges elsewhere.
TEST(ArtCompiler, ShapesOverTheKeyAreCutWholeAndPolygonsFillTheirOutline)
{
    datac::Diagnostics diagnostics;
    datac::ArtCompiler compiler;
    ASSERT_TRUE(compiler.AddSource("keyed.art",
                                   "image keyed.bmp 20 20\n  fill #000000\n  ellipse 0 0 20 20 #ff8040\n"
                                   "  noise 0 0 20 20 6 1\nend\n"
                                   "image plain.bmp 12 12\n  fill #102030\n  poly 0 0 12 0 0 12 #ffffff\nend\n",
                                   diagnostics))
        << (diagnostics.Messages().empty() ? "" : diagnostics.Messages()[0]);
    const RasterBitmap keyed = Decode(compiler.Images()[0].bmp);
    int key = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const std::uint32_t pixel = keyed.At(x, y);
            key += pixel == 0 ? 1 : 0;
            const int red = static_cast<int>(pixel >> 16);
            EXPECT_TRUE(pixel == 0 || red >= 0xF0) << x << "," << y << ": " << std::hex << pixel;
        }
    }
    EXPECT_GT(key, 20);  // the corners stay transparent, noise and all
    EXPECT_EQ(keyed.At(0, 0), 0u);
    const RasterBitmap plain = Decode(compiler.Images()[1].bmp);
    EXPECT_EQ(plain.At(1, 1), 0xFFFFFFu);
    EXPECT_EQ(plain.At(10, 10), 0x102030u);
    const std::uint32_t edge = plain.At(6, 5);  // the diagonal crosses it: half of each
    EXPECT_GT(edge & 0xFF, 0x30u);
    EXPECT_LT(edge & 0xFF, 0xF0u);
}

TEST(ArtCompiler, FaultsAreReportedWithTheirLine)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"image a.bmp 10 10\n  fill #12345\nend\n", "x.art:2: '#12345' is no colour"},
        {"image a.bmp 10 10\n  rect 1 2 3 #ffffff\nend\n", "x.art:2: expected 5 values, found 4"},
        {"image a.bmp 10 10\n  rect 1 2 W+ 3 #ffffff\nend\n", "x.art:2: 'W+' is no number"},
        {"image a.bmp 10 10\n  swirl 1\nend\n", "x.art:2: unknown drawing 'swirl'"},
        {"image a.bmp 10 10\n  use nothing\nend\n", "x.art:2: no template is called 'nothing'"},
        {"template t label\n  fill #000000\nend\nimage a.bmp 10 10 use t\n", "x.art:4: template 't' needs 'label='"},
        {"image ../a.bmp 10 10\nend\n", "x.art:1: expected 'image <path>.bmp"},
        {"image a.bmp 0 10\nend\n", "x.art:1: expected 'image <path>.bmp"},
        {"image a.bmp 10 10\n  text 0 0 10 10 \"x\" font=NoSuchFace\nend\n", "x.art:2: the face 'NoSuchFace'"},
        {"image a.bmp 10 10\n  text 0 0 10 10 \"x\n", "x.art:2: a quote is not closed"},
        {"image a.bmp 10 10\n  fill #000000\n", "x.art:2: the last block lacks its 'end'"},
        {"template loop\n  use loop\nend\nimage a.bmp 4 4 use loop\n", "x.art:2: templates nest too deep"},
        {"image a.bmp 10 10\n  poly 0 0 5 5 #ffffff\nend\n", "x.art:2: expected three or more corners"},
    };
    for (const Case& c : cases) {
        datac::Diagnostics diagnostics;
        datac::ArtCompiler compiler;
        compiler.AddSource("x.art", c.text, diagnostics);
        ASSERT_TRUE(diagnostics.HasErrors()) << c.text;
        EXPECT_EQ(diagnostics.Messages()[0].rfind(c.message, 0), 0u) << diagnostics.Messages()[0];
        EXPECT_TRUE(compiler.Images().empty()) << c.text;
    }
}

TEST(ArtCompiler, TheCacheSparesDrawingWhatDidNotChange)
{
    const test::TempDir cache;
    datac::Diagnostics diagnostics;
    datac::ArtCompiler first(cache.Path());
    first.AddSource("sample.art", SAMPLE, diagnostics);
    EXPECT_EQ(first.DrawnCount(), 2u);
    datac::ArtCompiler again(cache.Path());
    again.AddSource("sample.art", SAMPLE, diagnostics);
    EXPECT_EQ(again.DrawnCount(), 0u);
    EXPECT_EQ(again.Images()[0].bmp, first.Images()[0].bmp);
    std::string changed = SAMPLE;
    changed.replace(changed.find("#ff0000"), 7, "#ff0001");
    datac::ArtCompiler edited(cache.Path());
    edited.AddSource("sample.art", changed, diagnostics);
    EXPECT_EQ(edited.DrawnCount(), 1u);
    EXPECT_FALSE(diagnostics.HasErrors());
}

TEST(ArtCompiler, CompiledFilesLandUnderTheOutputFolder)
{
    const test::TempDir dir;
    dir.Write("art/a.art", "image pics\\dot.bmp 2 2\n  fill #00ff00\nend\n");
    dir.Write("art/b.art", "image pics\\dot.bmp 2 2\n  fill #0000ff\nend\n");
    datac::Diagnostics diagnostics;
    EXPECT_FALSE(datac::CompileArtFiles({dir.File("art/a.art"), dir.File("art/b.art")}, dir.File("out"), {},
                                        diagnostics));
    ASSERT_EQ(diagnostics.Messages().size(), 1u);
    EXPECT_NE(diagnostics.Messages()[0].find("is drawn twice"), std::string::npos);
    RasterBitmap dot;
    ASSERT_TRUE(LoadBitmapFile(plat::FromUtf8(dir.File("out/pics/dot.bmp")), dot));
    EXPECT_EQ(dot.At(1, 1), 0x00FF00u);
}

} // namespace
