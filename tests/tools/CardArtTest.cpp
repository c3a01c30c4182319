// Card pictures: every card has one at the art size, no two cards share a picture, each kind of creature has a
// figure of its own, spell and enchantment kinds have motifs of their own, and the subject is large enough to read
// in the small card's window.
#include "cards/CardIds.h"
#include "platform/Platform.h"
#include "tools/CardArt.h"
#include "tools/CreatureFigure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace {

// The cards of the data set by source file (one a colour, plus lands and artifacts).
std::map<std::string, std::vector<datac::CardArtFacts>> CardsByFile()
{
    std::map<std::string, std::vector<datac::CardArtFacts>> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TESSEL_SOURCE_DIR) + "/data/cards")) {
        if (entry.path().extension() != ".cards")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        files[entry.path().stem().string()] = datac::ReadCardArtFacts(text);
    }
    return files;
}

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

// Half of a colour's creatures standing as one figure reads as a set of copies: no figure may carry more than a
// quarter of them, and every kind the cards name has a figure that depicts it.
TEST(CardArtTest, EachColourSpreadsItsCreaturesOverFiguresOfTheirKinds)
{
    int colours = 0;
    for (const auto& [file, cards] : CardsByFile()) {
        std::map<std::string, int> uses;
        int creatures = 0;
        for (const datac::CardArtFacts& card : cards) {
            if (card.cardType != "CT_CREATURE")
                continue;
            ++creatures;
            const std::string figure = datac::CreatureFigureOf(card.type);
            EXPECT_NE(figure, "person") << card.id << " (" << card.type << ") has no figure of its kind";
            ++uses[figure];
        }
        if (creatures < 8)
            continue;
        ++colours;
        for (const auto& [figure, count] : uses)
            EXPECT_LE(count * 4, creatures) << file << ": " << count << " of " << creatures << " creatures are " << figure;
    }
    EXPECT_EQ(colours, 5);
}

// A kind drawn as another kind (a crab as a boar, a sphinx as a drake) misleads: each figure depicts one kind,
// under each of its names.
TEST(CardArtTest, NoKindIsDrawnAsAnother)
{
    const std::map<std::string, std::string> expected = {
        {"Creature - Crab", "crab"},           {"Creature - Turtle", "turtle"},
        {"Creature - Tortoise", "turtle"},     {"Creature - Sphinx", "sphinx"},
        {"Creature - Elemental", "elemental"}, {"Creature - Guardian", "guardian"},
        {"Creature - Sea Serpent", "sea serpent"}, {"Creature - Serpent", "serpent"},
        {"Creature - Rat Swarm", "rat swarm"}, {"Creature - Rat", "rat"},
        {"Creature - Wolves", "wolves"},       {"Artifact Creature - Golem", "golem"},
    };
    for (const auto& [type, figure] : expected)
        EXPECT_EQ(datac::CreatureFigureOf(type), figure) << type;

    std::map<std::string, std::set<std::string>> kinds;  // figure -> the type lines drawn as it
    for (const auto& [file, cards] : CardsByFile()) {
        for (const datac::CardArtFacts& card : cards) {
            if (card.cardType == "CT_CREATURE")
                kinds[datac::CreatureFigureOf(card.type)].insert(card.type);
        }
    }
    for (const auto& [figure, types] : kinds) {
        if (figure == "turtle")
            continue;  // turtles and tortoises, one kind under two names
        EXPECT_EQ(types.size(), 1u) << figure << " stands for " << types.size() << " kinds, " << *types.begin()
                                    << " and " << *types.rbegin();
    }
}

TEST(CardArtTest, SpellsAndEnchantmentsOfEachKindHaveAMotifOfTheirOwn)
{
    const auto motif = [](const char* cardType, const char* type) {
        datac::CardArtFacts card;
        card.id = "CD_SAMPLE";
        card.cost = "1U";
        card.cardType = cardType;
        card.type = type;
        return datac::PlanCardArt(card).motif;
    };
    const std::string sorcery = motif("CT_SORCERY", "Sorcery");
    const std::string instant = motif("CT_INSTANT", "Instant");
    const std::string aura = motif("CT_ENCHANT", "Enchant Creature");
    const std::string global = motif("CT_ENCHANT", "Enchantment");
    EXPECT_NE(sorcery, instant);
    EXPECT_NE(aura, global);
    EXPECT_EQ(motif("CT_ENCHANT", "Enchant Land"), aura);
    const std::set<std::string> all = {sorcery, instant, aura, global, motif("CT_ARTIFACT", "Artifact"),
                                       motif("CT_CREATURE", "Creature - Wall")};
    EXPECT_EQ(all.size(), 6u);
}

// The small card shows the picture at about a third of its size: a subject under a third of the picture's height
// is a speck there.
TEST(CardArtTest, EverySubjectFillsAThirdOfThePictureHeight)
{
    int subjects = 0;
    for (const auto& [file, cards] : CardsByFile()) {
        for (const datac::CardArtFacts& card : cards) {
            const datac::CardArtPlan plan = datac::PlanCardArt(card);
            if (plan.motif == "land")
                continue;
            ++subjects;
            EXPECT_GE(plan.subject.height * 3, datac::CARD_ART_HEIGHT)
                << card.id << " (" << plan.motif << ") is " << plan.subject.height << " pixels tall";
            EXPECT_GE(plan.subject.width, 12) << card.id;
        }
    }
    EXPECT_GT(subjects, 240);
}

} // namespace
