#include "cards/CardOverLay.h"

#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/TableScene.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string s_log;

void Capture(std::string_view text)
{
    s_log += text;
}

std::vector<int> Kinds(const CardOverLay& overlay)
{
    std::vector<int> kinds;
    for (const CostSymbol& symbol : overlay.m_ManaSymbols) {
        if (symbol.kind == 0)
            break;
        kinds.push_back(symbol.kind);
    }
    return kinds;
}

TEST(CardOverLayTest, InitCostCases)
{
    struct Case {
        const char* name;
        ManaCost cost;
        bool xSpell;
        std::vector<int> kinds;
        bool error;
    };
    const Case cases[] = {
        {"2GG", ManaCost(2, 0, 2, 0, 0, 0), false, {7, 5, 5}, false},
        {"XR", ManaCost(0, 1, 0, 0, 0, 0), true, {14, 4}, false},
        {"two colours: only the first of white, blue, black, red, green", ManaCost(0, 1, 0, 1, 0, 0), false, {2},
         false},
        {"six symbols stop at five", ManaCost(1, 0, 0, 0, 5, 0), false, {6, 3, 3, 3, 3}, true},
        {"generic 9 clamped to the last generic symbol", ManaCost(9, 0, 0, 0, 0, 1), false, {13, 1}, false},
        {"no cost", ManaCost(), false, {}, false},
    };
    const plat::LogSink previous = plat::SetLogSink(&Capture);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s_log.clear();
        CARD card;
        card.m_CardType = CT_SORCERY;
        card.m_Cost = c.cost;
        card.m_IsXSpell = c.xSpell;
        CardOverLay overlay;
        overlay.Init(card);
        EXPECT_EQ(Kinds(overlay), c.kinds);
        const int n = static_cast<int>(c.kinds.size());
        EXPECT_EQ(overlay.m_CostArea.left, 184 - 12 * n);
        EXPECT_EQ(overlay.m_SmallNameWidth, GetGameDisplay()->GetCardWidth() - 7 * n - 3);
        // Reported once, however far the cost goes past the table.
        EXPECT_EQ(s_log.find("MAX_COST_SYMBOLS") != std::string::npos, c.error);
        EXPECT_EQ(s_log.find("MAX_COST_SYMBOLS"), s_log.rfind("MAX_COST_SYMBOLS"));
    }
    plat::SetLogSink(previous);
}

TEST(CardOverLayTest, FramesAndBordersByColourAndType)
{
    AddTextureName(u"crd_cr_g_lg", 11);
    AddTextureName(u"crd_bl_u_sm", 12);
    AddTextureName(u"fxborder_sart", 13);
    AddTextureName(u"cd_elf_art", 14);
    CARD elf;
    elf.m_Id = 30;
    CopyToField(elf.m_IdName, u"CD_ELF");
    CopyToField(elf.m_Name, u"Elf Scout");
    elf.m_CardType = CT_CREATURE;
    elf.m_Cost = ManaCost(0, 0, 1, 0, 0, 0);
    elf.m_Stats.power = 1;
    elf.m_Stats.toughness = 2;
    CardOverLay overlay;
    overlay.Init(elf);
    EXPECT_EQ(overlay.m_LargeFrameTexture, 11);
    EXPECT_EQ(overlay.m_ArtTexture, 14);
    EXPECT_EQ(std::u16string(overlay.m_UpperName.data()), u"ELF SCOUT");
    EXPECT_EQ(std::u16string(overlay.m_PowerToughness.data()), u"1/2");
    EXPECT_FALSE(overlay.m_DarkFrame);

    // A basic land takes the frame of its cost colour and a dark frame; a colourless card the artifact set.
    CARD island;
    island.m_CardType = CT_LAND;
    island.m_Cost = ManaCost(0, 0, 0, 1, 0, 0);
    CardOverLay land;
    land.Init(island);
    EXPECT_EQ(land.m_SmallFrameTexture, 12);
    EXPECT_TRUE(land.m_DarkFrame);
    EXPECT_TRUE(Kinds(land).empty());
    CARD rock;
    rock.m_CardType = CT_ARTIFACT;
    CardOverLay artifact;
    artifact.Init(rock);
    EXPECT_EQ(artifact.m_SmallBorderTexture, 13);
    for (const char16_t* name : {u"crd_cr_g_lg", u"crd_bl_u_sm", u"fxborder_sart", u"cd_elf_art"})
        RemoveTextureName(name);
}

TEST(CardOverLayTest, OneOverlayPerIdentifierUntilReleased)
{
    CARD card;
    card.m_Id = 40;
    card.m_CardType = CT_INSTANT;
    CardActor actor;
    actor.SetCard(&card);
    CardOverLay* const first = GetCardOverlay(card);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetCardOverlay(actor), first);
    CARD outside;
    outside.m_Id = CD_NUMBER_OF_CARD_DEFS;
    EXPECT_EQ(GetCardOverlay(outside), nullptr);
    ReleaseCardOverlays();
}

} // namespace
