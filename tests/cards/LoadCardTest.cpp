// The loadcard command: a card's texts in the string tables, its art, and its small images composed once into
// the language folder and read from there afterwards.
#include "cards/Card.h"
#include "cards/CardCommands.h"
#include "cards/CardDatabase.h"
#include "cards/CardIds.h"
#include "cards/CardOverLay.h"
#include "cards/TableScene.h"
#include "engine/core/BitmapFile.h"
#include "engine/core/LanguageManager.h"
#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/scene/ScriptParser.h"
#include "tests/engine/scene/SceneFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class LoadCardTest : public test::SceneFixture {
protected:
    void SetUp() override
    {
        test::SceneFixture::SetUp();
        GetLanguageManager()->SetLanguage(LANG_ENGLISH, false);
        BuildCardVocabulary();
        ReleaseCardOverlays();
        ClearStringTables();
        Write("data/frames/blackness_sm.bmp", test::SolidBmp(66, 98, 0));
        Write("data/frames/blackness_lg.bmp", test::SolidBmp(192, 280, 0));
        Write("data/frames/crd_cr_g_sm.bmp", test::SolidBmp(66, 98, 0x00A000));
        Write("data/frames/crd_bl_g_sm.bmp", test::SolidBmp(66, 98, 0x006000));
        Write("art.bmp", test::SolidBmp(20, 20, 0x0000F8));
        plat::MakeDirectories(GetLanguageManager()->GetDataFolder() + u"cards");
        LoadSmallCardSymbols();
    }

    void TearDown() override
    {
        ReleaseCardOverlays();
        ReleaseSmallCardAssets();
        for (CARD& card : g_CardDefs)
            card = CARD();
        test::SceneFixture::TearDown();
        DeleteLanguageManager();
    }

    // A green creature (or a Forest), then its loadcard.
    static void DefineAndLoad(const std::u16string& id, const std::u16string& extra)
    {
        const std::u16string text = u"definecard " + id + u"\r\nName = Elf\r\nCost = G\r\nType = Creature - Elf\r\n" +
                                    extra + u"_end\r\nloadcard " + id + u"\r\n";
        RunScriptFile(text.c_str());
    }

    static std::u16string Folder() { return GetLanguageManager()->GetDataFolder(); }
};

TEST_F(LoadCardTest, MissingSmallCardIsComposedOnceThenReadFromDisk)
{
    const std::u16string creature = u"CardType = CT_CREATURE\r\nPower = 1\r\nToughness = 1\r\n"
                                    u"LargeArt = art.bmp\r\nSmallCard = cards\\elf.bmp\r\n";
    DefineAndLoad(u"CD_SAVEVNEL", creature);
    RasterBitmap upright;
    RasterBitmap turned;
    ASSERT_TRUE(LoadBitmapFile(Folder() + u"cards\\elf.bmp", upright));
    ASSERT_TRUE(LoadBitmapFile(Folder() + u"cards\\elf_r.bmp", turned));
    EXPECT_EQ(upright.width, 66);
    EXPECT_EQ(turned.width, 98);
    EXPECT_EQ(turned.height, 66);
    EXPECT_EQ(upright.At(30, 30) & 0xF8F8F8, 0x0000F8u);
    const GameDisplay& display = *GetGameDisplay();
    EXPECT_EQ(display.GetTextureRecord(GetTextureByName(u"CD_SAVEVNEL")).width, 66);
    EXPECT_EQ(GetRaster()->GetTextureWidth(GetTextureByName(u"CD_SAVEVNEL_r")), 98);

    // A file already there is used as it is, and the turned image read from disk is entered too.
    Write(plat::NativePath(Folder() + u"cards\\elf.bmp"), test::SolidBmp(66, 98, 0x123456));
    ReleaseCardOverlays();
    DefineAndLoad(u"CD_SAVEVNEL", creature);
    ASSERT_TRUE(LoadBitmapFile(Folder() + u"cards\\elf.bmp", upright));
    EXPECT_EQ(upright.At(30, 30), 0x123456u);
    EXPECT_EQ(GetRaster()->GetTextureHeight(GetTextureByName(u"CD_SAVEVNEL_r")), 66);
}

TEST_F(LoadCardTest, CardWithoutArtStillGetsItsFrameAndTexts)
{
    DefineAndLoad(u"CD_SAVEVNEL", u"CardType = CT_CREATURE\r\nLargeArt = missing.bmp\r\nSmallCard = cards\\elf.bmp\r\n"
                                  u"Text = %0\r\nEffectText = Hits hard.\r\n");
    EXPECT_EQ(GetTextureByName(u"CD_SAVEVNEL_art"), 0);
    RasterBitmap upright;
    ASSERT_TRUE(LoadBitmapFile(Folder() + u"cards\\elf.bmp", upright));
    EXPECT_EQ(upright.At(1, 96) & 0xF8F8F8, 0x00A000u);
    EXPECT_NE(GetFormattedText(u"COText_CD_SAVEVNEL"), nullptr);
    EXPECT_NE(GetFormattedText(u"POP_CD_SAVEVNEL"), nullptr);
    ASSERT_NE(GetString(u"ET_CD_SAVEVNEL"), nullptr);
    EXPECT_EQ(std::u16string(GetString(u"ET_CD_SAVEVNEL")), u"Hits hard.");
    const CardOverLay* const overlay = GetCardOverlay(g_CardDefs[CD_SAVEVNEL]);
    EXPECT_EQ(overlay->m_EffectText, GetString(u"ET_CD_SAVEVNEL"));
}

TEST_F(LoadCardTest, UnwritableSmallCardStaysInMemory)
{
    DefineAndLoad(u"CD_SAVEVNEL", u"CardType = CT_CREATURE\r\nSmallCard = nofolder\\elf.bmp\r\n");
    EXPECT_FALSE(plat::IsReadable(Folder() + u"nofolder\\elf.bmp"));
    const GameDisplay& display = *GetGameDisplay();
    // The turned copy is turned in the raster, whatever its registry row says.
    EXPECT_EQ(display.GetTextureRecord(GetTextureByName(u"CD_SAVEVNEL")).width, 66);
    EXPECT_EQ(GetRaster()->GetTextureHeight(GetTextureByName(u"CD_SAVEVNEL_r")), 66);
}

TEST_F(LoadCardTest, PopupTextParts)
{
    struct Case {
        const char* name;
        int type;
        const char16_t* cost;
        std::u16string expected;
    };
    const Case cases[] = {
        {"creature: cost, type, power and toughness", CT_CREATURE, u"1G", u"~Elf |#1G~ |Creature |~2/3 |Grows. Old."},
        {"land: no cost part", CT_LAND, u"G", u"~Elf~ |Creature |Grows. Old."},
        {"sorcery without a cost", CT_SORCERY, u"", u"~Elf~ |Creature |Grows. Old."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CARD card;
        CopyToField(card.m_Name, u"Elf");
        card.m_CardType = c.type;
        card.m_CostText = c.cost;
        card.m_TypeText = u"Creature";
        card.m_Text = u"%0 %1";
        card.m_EffectText = u"Grows.";
        card.m_FlavorText = u"Old.";
        card.m_Stats.power = 2;
        card.m_Stats.toughness = 3;
        CardOverLay overlay;
        overlay.Init(card);
        EXPECT_EQ(ComposeCardPopupText(card, overlay), c.expected);
    }
}

TEST_F(LoadCardTest, LandGetsNoCloseUpText)
{
    DefineAndLoad(u"CD_SAVEVNEL", u"CardType = CT_LAND\r\nText = Taps for green.\r\nSmallCard = cards\\f.bmp\r\n");
    EXPECT_EQ(GetFormattedText(u"COText_CD_SAVEVNEL"), nullptr);
    EXPECT_NE(GetFormattedText(u"POP_CD_SAVEVNEL"), nullptr);
}

} // namespace
