#include "engine/scene/ScriptParser.h"

#include "tests/TestSupport.h"
#include "tests/engine/scene/SceneFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using test::SceneFixture;

std::vector<std::u16string> Tokens(const char16_t* text)
{
    ScriptSetCursor(text);
    std::vector<std::u16string> tokens;
    for (std::u16string token = ScriptNextToken(); !token.empty(); token = ScriptNextToken()) {
        tokens.push_back(token);
    }
    return tokens;
}

TEST(ScriptTokenizerTest, SplitsAtSeparatorsAndSingleCharacterTokens)
{
    struct Case {
        const char16_t* text;
        std::vector<std::u16string> tokens;
    };
    const Case cases[] = {
        {u"", {}},
        {u" \t\r\n\v\f,", {}},
        {u"load a,b\r\nc", {u"load", u"a", u"b", u"c"}},
        {u"width=800 height = 600", {u"width", u"=", u"800", u"height", u"=", u"600"}},
        {u"\uFEFFspawn\uFEFFx", {u"spawn", u"x"}},
        {u"loadbmp a b.bmp ; remark here\nnext", {u"loadbmp", u"a", u"b.bmp", u"next"}},
        {u"#loadbmp a b\nafter", {u"after"}},
        {u"a*comment\rb#c\n;only\n", {u"a", u"b"}},
        {u"x;", {u"x"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Tokens(c.text), c.tokens);
    }
}

TEST(ScriptTokenizerTest, CutsLongTokensAndSkipsTheirRest)
{
    const std::u16string text = std::u16string(200, u'a') + u" b";
    const std::vector<std::u16string> tokens = Tokens(text.c_str());
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0], std::u16string(SCRIPT_TOKEN_CAPACITY - 1, u'a'));
    EXPECT_EQ(tokens[1], u"b");
}

TEST(ScriptTokenizerTest, ReadsIntegers)
{
    ScriptSetCursor(u"-12 +7 abc 12abc 99999999999 -99999999999 ;5\n 3");
    EXPECT_EQ(ScriptReadInt(), -12);
    EXPECT_EQ(ScriptReadInt(), 7);
    EXPECT_EQ(ScriptReadInt(), 0);
    EXPECT_EQ(ScriptReadInt(), 12);
    EXPECT_EQ(ScriptReadInt(), 2147483647);
    EXPECT_EQ(ScriptReadInt(), -2147483647 - 1);
    EXPECT_EQ(ScriptReadInt(), 3);
    EXPECT_EQ(ScriptReadInt(), 0);
}

TEST(ScriptTokenizerTest, ReadsTheRestOfALine)
{
    ScriptSetCursor(u"key   some text, with = marks\r\nnext");
    EXPECT_EQ(ScriptNextToken(), u"key");
    EXPECT_EQ(ScriptReadRestOfLine(), u"some text, with = marks");
    EXPECT_EQ(ScriptNextToken(), u"next");
    EXPECT_EQ(ScriptReadRestOfLine(), u"");
}

TEST(TextureNameMapTest, NamesFoldCase)
{
    InitScriptCommands();
    AddTextureName(u"BG_Silver", 7);
    EXPECT_EQ(GetTextureByName(u"bg_silver"), 7);
    EXPECT_EQ(GetTextureByName(u"BG_SILVER"), 7);
    EXPECT_EQ(GetTextureByName(u"other"), 0);
    AddTextureName(u"bg_silver", 9);
    EXPECT_EQ(GetTextureByName(u"Bg_Silver"), 9);
    EXPECT_TRUE(RemoveTextureName(u"BG_silver"));
    EXPECT_FALSE(RemoveTextureName(u"bg_silver"));
    EXPECT_EQ(GetTextureByName(u"bg_silver"), 0);
    EXPECT_EQ(GetTextureEntry(u"bg_silver").kind, TextureNameValue::Kind::None);

    static const int s_data = 5;
    AddTextureData(u"Blob", &s_data, sizeof s_data);
    const TextureNameValue entry = GetTextureEntry(u"blob");
    EXPECT_EQ(entry.kind, TextureNameValue::Kind::Data);
    EXPECT_EQ(entry.data, &s_data);
    EXPECT_EQ(GetTextureByName(u"blob"), 0);

    InitScriptCommands();
    EXPECT_EQ(GetTextureEntry(u"blob").kind, TextureNameValue::Kind::None);
}

class LevelScriptTest : public SceneFixture {};

TEST_F(LevelScriptTest, MissingScriptIsReportedAndRunsNothing)
{
    EXPECT_FALSE(RunLevelScript(u"level01_u.cfg"));
    EXPECT_EQ(GetActorCount(), 0);
}

TEST_F(LevelScriptTest, SpawnTakesItsArgumentsAcrossLines)
{
    WriteScript("level.cfg", "spawn hero 5 player 10 20 30 90 0 -180\n"
                             "spawn\nwrapped\r\n5 PLAYER\n10\n20 30\n90\n0\n-180\n");
    ASSERT_TRUE(RunLevelScript(u"level.cfg"));
    ASSERT_EQ(GetActorCount(), 2);
    const Actor* one = FindActorByName(u"hero");
    const Actor* two = FindActorByName(u"wrapped");
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    for (const Actor* actor : {one, two}) {
        EXPECT_EQ(actor->m_SpawnValue, 5);
        EXPECT_NE(actor->m_Behaviour, nullptr);
        EXPECT_FLOAT_EQ(actor->m_Position.x, 10.0f);
        EXPECT_FLOAT_EQ(actor->m_Position.y, 20.0f);
        EXPECT_FLOAT_EQ(actor->m_Position.z, 30.0f);
        EXPECT_FLOAT_EQ(actor->m_Rotation.x, 90 * 0.01745328f);
        EXPECT_FLOAT_EQ(actor->m_Rotation.z, -180 * 0.01745328f);
    }
}

TEST_F(LevelScriptTest, UnknownTypeSpawnsAnActorWithoutBehaviour)
{
    WriteScript("level.cfg", "spawn ghost 0 nosuchtype 0 0 0 0 0 0");
    ASSERT_TRUE(RunLevelScript(u"level.cfg"));
    ASSERT_NE(FindActorByName(u"ghost"), nullptr);
    EXPECT_EQ(FindActorByName(u"ghost")->m_Behaviour, nullptr);
}

TEST_F(LevelScriptTest, SectionsSettingsCommentsAndUnknownWords)
{
    WriteScript("level.cfg", "spawn before 0 camera 0 0 0 0 0 0\n"
                             "[init]\n"
                             "width=800\n"
                             "height = 600 spawn ininit 0 camera 0 0 0 0 0 0\n"
                             "frobnicate twice spawn afterjunk 0 camera 0 0 0 0 0 0\n"
                             "[DATA]\n"
                             "spawn indata 0 camera 0 0 0 0 0 0\n"
                             "# spawn commented 0 camera 0 0 0 0 0 0\n"
                             "[Init] spawn backinit 0 camera 0 0 0 0 0 0 ; spawn remark 0 camera 0 0 0 0 0 0\n"
                             "[DATA] mistyped\n");
    SetScriptSections(true, false);
    const test::ScopedLog log;
    ASSERT_TRUE(RunLevelScript(u"level.cfg"));
    // An unknown word in a running section is named with its line, as in a command file; settings and the
    // words of a section that does not run are not.
    EXPECT_EQ(log.Count("is no command"), 2) << log.Text();
    EXPECT_NE(log.Text().find("line 5: \"frobnicate\" is no command"), std::string::npos) << log.Text();
    EXPECT_NE(log.Text().find("line 5: \"twice\" is no command"), std::string::npos) << log.Text();
    EXPECT_NE(FindActorByName(u"before"), nullptr);
    EXPECT_NE(FindActorByName(u"ininit"), nullptr);
    EXPECT_NE(FindActorByName(u"afterjunk"), nullptr);
    EXPECT_EQ(FindActorByName(u"indata"), nullptr);
    EXPECT_EQ(FindActorByName(u"commented"), nullptr);
    EXPECT_NE(FindActorByName(u"backinit"), nullptr);
    EXPECT_EQ(FindActorByName(u"remark"), nullptr);
    EXPECT_EQ(GetActorCount(), 4);

    DestroyAllActors();
    PurgeRemovedActors();
    SetScriptSections(false, true);
    ASSERT_TRUE(RunLevelScript(u"level.cfg"));
    EXPECT_NE(FindActorByName(u"before"), nullptr);
    EXPECT_EQ(FindActorByName(u"ininit"), nullptr);
    EXPECT_NE(FindActorByName(u"indata"), nullptr);
    EXPECT_EQ(GetActorCount(), 2);
}

TEST_F(LevelScriptTest, CommandFilesRunWithoutSections)
{
    InitScriptCommands();
    const test::ScopedLog log;
    RunScriptFile(u"[DATA] spawn one 0 camera 1 2 3 0 0 0\r\n\r\n# a comment\n"
                  u"junk [INIT] spawn two 0 camera 0 0 0 0 0 0");
    EXPECT_EQ(GetActorCount(), 2);
    // Words that are no command are skipped and named with their line.
    EXPECT_NE(log.Text().find("line 1: \"[DATA]\""), std::string::npos) << log.Text();
    EXPECT_NE(log.Text().find("line 4: \"junk\""), std::string::npos) << log.Text();
    EXPECT_NE(log.Text().find("line 4: \"[INIT]\""), std::string::npos) << log.Text();
    RunScriptFile(nullptr);
}

TEST_F(LevelScriptTest, LoadBmpEntersTheTextureAndTheSlide)
{
    Write("pic.bmp", test::SolidBmp(4, 2, 0xFF0000));
    WriteScript("level.cfg", "loadbmp Picture pic.bmp ; a remark\n"
                             "loadbmp slide1 pic.bmp\n"
                             "loadbmp absent nothere.bmp\n");
    ASSERT_TRUE(RunLevelScript(u"level.cfg"));
    const int id = GetTextureByName(u"picture");
    EXPECT_GT(id, 0);
    EXPECT_EQ(GetSlideTexture(), id);
    EXPECT_EQ(GetGameDisplay()->GetTextureRecord(id).references, 2);
    EXPECT_EQ(GetTextureEntry(u"absent").kind, TextureNameValue::Kind::None);
}

TEST_F(LevelScriptTest, LoadChopMakesOneTexturePerFile)
{
    Write("strip.chp", test::ChpFile(2, 2, 3));
    WriteScript("level.cfg", "loadchop strip strip.chp\nloadchop slide1 missing.chp\n");
    ASSERT_TRUE(RunLevelScript(u"level.cfg"));
    const int id = GetTextureByName(u"strip");
    ASSERT_GT(id, 0);
    EXPECT_EQ(GetGameDisplay()->GetTextureRecord(id).references, 3);
    EXPECT_EQ(GetGameDisplay()->GetTextureCount(), 2);
    EXPECT_EQ(GetSlideTexture(), 0);
    EXPECT_EQ(GetTextureEntry(u"slide1").kind, TextureNameValue::Kind::None);

    WriteScript("slide.cfg", "loadchop slide1 strip.chp");
    ASSERT_TRUE(RunLevelScript(u"slide.cfg"));
    EXPECT_EQ(GetSlideTexture(), id);
}

TEST_F(LevelScriptTest, LoadSpriteMakesATexturePerGoodFrame)
{
    Write("two.spr", test::SpritePack({{2, 1, 0x001F}, {3, 2, 0x03E0}}));
    Write("odd.spr", test::SpritePack({{1, 1, 0x7C00}}, true));
    Write("none.spr", test::SpritePack({}));
    std::vector<std::uint8_t> bad = test::SpritePack({{2, 2, 1}, {2, 2, 2}});
    bad[4] = 0xF0;  // first frame's offset beyond the file
    bad.resize(bad.size() - 2);  // second frame's pixels cut short
    Write("bad.spr", bad);
    std::vector<std::uint8_t> huge;
    test::PutU32(huge, 0x7FFFFFFF);
    test::PutU32(huge, 8);
    Write("huge.spr", huge);
    WriteScript("level.cfg", "loadsprite two two.spr 1\nloadsprite odd odd.spr 1\nloadsprite none none.spr 1\n"
                             "loadsprite bad bad.spr 1\nloadsprite huge huge.spr 1\nloadsprite gone gone.spr 1\n"
                             "loadramtexture badram bad.spr\n");
    const int before = GetGameDisplay()->GetTextureCount();
    const test::ScopedLog log;
    ASSERT_TRUE(RunLevelScript(u"level.cfg"));
    // Packs that promise frames and hold none are named once; a pack of no frames and a missing one are not.
    EXPECT_EQ(log.Count("bad.spr cannot be decoded as a sprite pack"), 1) << log.Text();
    EXPECT_EQ(log.Count("huge.spr cannot be decoded as a sprite pack"), 1) << log.Text();
    EXPECT_EQ(log.Count("cannot be decoded"), 2) << log.Text();

    const int two = GetTextureByName(u"two");
    ASSERT_EQ(two, before);
    EXPECT_EQ(GetGameDisplay()->GetTextureRecord(two).width, 2);
    EXPECT_EQ(GetGameDisplay()->GetTextureRecord(two + 1).width, 3);
    EXPECT_EQ(GetGameDisplay()->GetTextureRecord(two + 1).height, 2);
    const int odd = GetTextureByName(u"odd");
    EXPECT_EQ(odd, two + 2);
    EXPECT_EQ(GetGameDisplay()->GetTextureRecord(odd).pixels[0], 0x7C00);
    EXPECT_EQ(GetTextureByName(u"none"), -1);
    EXPECT_EQ(GetTextureByName(u"bad"), -1);
    EXPECT_EQ(GetTextureByName(u"huge"), -1);
    EXPECT_EQ(GetTextureEntry(u"gone").kind, TextureNameValue::Kind::None);
    EXPECT_EQ(GetGameDisplay()->GetTextureCount(), before + 3);

    // A first frame the registry cannot take enters nothing.
    static const std::uint16_t s_pixel = 1;
    while (GetGameDisplay()->GetTextureCount() < MAXTEXTURES) {
        ASSERT_GE(GetGameDisplay()->CreateTextureFromPixels(&s_pixel, 1, 1, 1), 0);
    }
    WriteScript("full.cfg", "loadsprite full two.spr 1\n");
    ASSERT_TRUE(RunLevelScript(u"full.cfg"));
    EXPECT_EQ(GetTextureEntry(u"full").kind, TextureNameValue::Kind::None);
}

TEST_F(LevelScriptTest, LoadAndLoadRamTextureEnterData)
{
    Write("blob.bin", {1, 2, 3});
    Write("pack.spr", test::SpritePack({{1, 1, 0x1111}, {2, 1, 0x2222}}));
    WriteScript("level.cfg", "load blob blob.bin\nload gone gone.bin\nloadramtexture ram pack.spr\n"
                             "loadramtexture ramgone gone.spr\n");
    ASSERT_TRUE(RunLevelScript(u"level.cfg"));
    const TextureNameValue blob = GetTextureEntry(u"blob");
    ASSERT_EQ(blob.kind, TextureNameValue::Kind::Data);
    ASSERT_EQ(blob.size, 3u);
    EXPECT_EQ(static_cast<const std::uint8_t*>(blob.data)[2], 3);
    const TextureNameValue gone = GetTextureEntry(u"gone");
    EXPECT_EQ(gone.kind, TextureNameValue::Kind::Data);
    EXPECT_EQ(gone.data, nullptr);
    const TextureNameValue ram = GetTextureEntry(u"ram");
    ASSERT_EQ(ram.kind, TextureNameValue::Kind::Data);
    ASSERT_EQ(ram.size, 4u);
    EXPECT_EQ(static_cast<const std::uint16_t*>(ram.data)[1], 0x2222);
    EXPECT_EQ(GetTextureEntry(u"ramgone").kind, TextureNameValue::Kind::None);
}

TEST_F(LevelScriptTest, FontAndBackgroundCommandsFillTheDisplay)
{
    std::vector<std::uint8_t> font8 = test::ChpFile(8, 8, 1);
    font8.resize(10 + 128 * 3);  // three glyphs although the script asks for five
    Write("font8.chp", font8);
    std::vector<std::uint8_t> font16 = test::ChpFile(16, 16, 2);
    Write("font16.chp", font16);
    Write("back1.chp", test::ChpFile(4, 4, 1));
    Write("back2.chp", test::ChpFile(2, 2, 1));
    Write("cutfont.chp", {0, 0, 1, 0});
    Write("cutback.chp", {0, 0, 1, 0});
    WriteScript("level.cfg", "loadfont font8.chp 5\nloadgamefont font16.chp 2\nloadgamefont2 font16.chp 1\n"
                             "loadbiggamefont font16.chp 2\nloadbiggamefont2 gone.chp 2\n"
                             "loadbackground back1.chp back2.chp\n");
    const test::ScopedLog log;
    ASSERT_TRUE(RunLevelScript(u"level.cfg"));
    EXPECT_EQ(log.Count("cannot be decoded"), 0) << log.Text();
    GameDisplay& display = *GetGameDisplay();
    EXPECT_EQ(display.m_Font8, 1);
    EXPECT_EQ(display.m_GameFont, 4);
    EXPECT_EQ(display.m_GameFont2, 6);
    EXPECT_EQ(display.m_BigGameFont, 7);
    EXPECT_EQ(display.m_BigGameFont2, -1);
    EXPECT_EQ(display.m_BackgroundTextures[0], 9);
    EXPECT_EQ(display.m_BackgroundTextures[1], 10);
    EXPECT_EQ(display.GetTextureRecord(4).width, 16);
    EXPECT_EQ(display.GetTextureRecord(9).width, 4);
    EXPECT_EQ(display.GetTextureCount(), 11);

    // A font or background file that holds no glyph or image leaves its slot empty and is named once.
    WriteScript("cut.cfg", "loadfont cutfont.chp 5\nloadgamefont2 cutfont.chp 1\n"
                           "loadbackground back1.chp cutback.chp\n");
    ASSERT_TRUE(RunLevelScript(u"cut.cfg"));
    EXPECT_EQ(display.m_Font8, -1);
    EXPECT_EQ(display.m_GameFont2, -1);
    EXPECT_EQ(display.m_BackgroundTextures[1], -1);
    EXPECT_EQ(log.Count("cutfont.chp cannot be decoded as a glyph font"), 1) << log.Text();
    EXPECT_EQ(log.Count("cutback.chp cannot be decoded as a .chp image"), 1) << log.Text();
}

} // namespace
