// Card pictures: every card has one at the art size, and no two cards share a picture.
#include "cards/CardIds.h"
#include "platform/Platform.h"
#include "tools/CardArt.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

namespace {

TEST(CardArtTest, EveryCardHasAPictureOfItsOwn)
{
    std::map<std::string, std::string> owners;  // picture bytes -> card
    for (int id = 1; id < CD_NUMBER_OF_CARD_DEFS; ++id) {
        const std::string name = plat::ToUtf8(GetCardIdName(id));
        std::ifstream in(std::string(TESSEL_GAME_DIR) + "/data/cardart/" + name + ".bmp", std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ASSERT_GE(bytes.size(), 54u) << name;
        EXPECT_EQ(bytes.substr(0, 2), "BM") << name;
        const auto side = [&](std::size_t at) {
            return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
        };
        EXPECT_EQ(side(18), datac::CARD_ART_WIDTH) << name;
        EXPECT_EQ(side(22), datac::CARD_ART_HEIGHT) << name;
        const auto [first, isNew] = owners.emplace(bytes, name);
        EXPECT_TRUE(isNew) << name << " looks exactly like " << first->second;
    }
}

TEST(CardArtTest, ReadsTheFactsThePictureIsComposedFrom)
{
    const std::vector<datac::CardArtFacts> cards = datac::ReadCardArtFacts(
        "# a comment\n[CD_ONE]\nName = One\nCost = 2G\nCardType = CT_CREATURE\nType = Creature - Wurm\n"
        "Power = 4\nToughness = 5\n\n[CD_TWO]\nCost=W\nCardType= CT_LAND\n");
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].id, "CD_ONE");
    EXPECT_EQ(cards[0].cost, "2G");
    EXPECT_EQ(cards[0].type, "Creature - Wurm");
    EXPECT_EQ(cards[0].power, 4);
    EXPECT_EQ(cards[0].toughness, 5);
    EXPECT_EQ(cards[1].cardType, "CT_LAND");
    // The same facts under two identifiers still make two pictures.
    datac::CardArtFacts twin = cards[0];
    twin.id = "CD_TWIN";
    const std::string one = datac::CardArtSource({cards[0]});
    const std::string other = datac::CardArtSource({twin});
    EXPECT_NE(one.substr(one.find('\n')), other.substr(other.find('\n')));
}

} // namespace
