#include "tools/CardFileCompiler.h"

#include "cards/CardIds.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A valid plain block for a card (its name is the identifier's word).
std::string PlainBlock(int id)
{
    std::string word = plat::ToUtf8(GetCardIdName(id) + 3);
    while (!word.empty() && word.back() >= '0' && word.back() <= '9')
        word.pop_back();
    for (std::size_t i = 1; i < word.size(); ++i)
        word[i] = static_cast<char>(word[i] - 'A' + 'a');
    return "[" + plat::ToUtf8(GetCardIdName(id)) + "]\nName = " + word +
           "\nType = Sorcery\nCardType = CT_SORCERY\nRarity = FREQ_COMMON\nCost = 1\nArtist = Test Hand\n\n";
}

std::string AllCardsBut(int skipped)
{
    std::string text = "# every card but one\n";
    for (int id = FIRST_CARD_ID; id <= LAST_CARD_ID; ++id) {
        if (id != skipped)
            text += PlainBlock(id);
    }
    return text;
}

struct Compiled {
    bool ok = false;
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> messages;
};

Compiled Compile(const std::string& cardSource)
{
    Compiled result;
    datac::Diagnostics diagnostics;
    const std::vector<datac::CardSource> sources = {{"rest.cards", AllCardsBut(CD_SELOLBER)},
                                                    {"white.cards", cardSource}};
    result.ok = datac::CompileCardSources(sources, result.bytes, diagnostics);
    result.messages = diagnostics.Messages();
    return result;
}

std::u16string Decode(const std::vector<std::uint8_t>& bytes)
{
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return text;
}

const std::string SELOLBER_HEAD = "[CD_SELOLBER]\nName = Selolber\nType = Creature\nCardType = CT_CREATURE\n"
                                  "Rarity = FREQ_COMMON\nArtist = Test Hand\nPower = 1\nToughness = 1\n";

TEST(CardFileCompilerTest, WritesBlocksInIdentifierOrderWithDefaultsInUtf16Le)
{
    const Compiled compiled = Compile(SELOLBER_HEAD + "# a remark\nCost = 1W   \n"
                                                      "EffectText = #T ~: Nothing happens.\nFlavorText = Quiet.\n");
    ASSERT_TRUE(compiled.ok) << (compiled.messages.empty() ? "" : compiled.messages.front());
    ASSERT_GE(compiled.bytes.size(), 2u);
    EXPECT_EQ(compiled.bytes[0], 0xFF);
    EXPECT_EQ(compiled.bytes[1], 0xFE);
    const std::u16string text = Decode(compiled.bytes);
    const std::u16string block = u"definecard CD_SELOLBER\r\n"
                                 u"SmallCard = cards\\CD_SELOLBER.bmp\r\n"
                                 u"LargeArt = data\\cardart\\CD_SELOLBER.bmp\r\n"
                                 u"Name = Selolber\r\n"
                                 u"Cost = 1W\r\n"
                                 u"Type = Creature\r\n"
                                 u"Artist = Test Hand\r\n"
                                 u"Rarity = FREQ_COMMON\r\n"
                                 u"EffectText = #T ~: Nothing happens.\r\n"
                                 u"FlavorText = Quiet.\r\n"
                                 u"Text = %0 |\\^%1\r\n"
                                 u"CardType = CT_CREATURE\r\n"
                                 u"Power = 1\r\n"
                                 u"Toughness = 1\r\n"
                                 u"_end\r\n";
    EXPECT_NE(text.find(block), std::u16string::npos) << plat::ToUtf8(text.substr(text.find(u"CD_SELOLBER") - 11, 600));
    EXPECT_LT(text.find(u"definecard CD_MOUNTAIN1\r\n"), text.find(u"definecard CD_MOUNTAIN2\r\n"));
    EXPECT_LT(text.find(u"definecard CD_SELOLBER\r\n"), text.find(u"definecard CD_BRAANDRE\r\n"));
    EXPECT_EQ(text.find(u" \r\n"), std::u16string::npos) << "a value kept a trailing blank";
}

// Every error the compiler can detect names the source and line.
TEST(CardFileCompilerTest, ReportsEachFaultAtItsLine)
{
    struct Case {
        const char* lines;  // added after the head (line 9 on)
        const char* message;
    };
    const Case cases[] = {
        {"Cost = 1W\nFlyng = 1\n", "white.cards:10: unknown key \"Flyng\""},
        {"Cost = 1W\nflying = 1\n", "white.cards:10: write the key as \"Flying\""},
        {"Cost = 1W\nPumpCost = 1\n", "white.cards:10: \"PumpCost\" is read but not used"},
        {"Cost = 1W\nFlying\n", "white.cards:10: expected \"Key = Value\""},
        {"Cost = 1W\nFlying = 2\n", "white.cards:10: Flying takes 0 or 1"},
        {"Cost = 1W\nMinBlockers = two\n", "white.cards:10: MinBlockers takes a whole number"},
        {"Cost = 1W\nSpellEffectType = CT_LAND\n", "white.cards:10: \"CT_LAND\" is not a name that SpellEffectType"},
        {"Cost = 1W\nSpellTargetType = TT_CREATURE | TT_PLANET\n", "white.cards:10: \"TT_PLANET\" is not a TT_"},
        {"Cost = 1W\nSpellTargetColor = 1Q\n", "white.cards:10: SpellTargetColor takes digits"},
        {"Cost = 1W\nFlying =\n", "white.cards:10: empty value"},
        {"Cost = 1W\nFlying = 1\nFlying = 0\n", "white.cards:11: \"Flying\" is given twice"},
        {"Cost = 9\n", "white.cards:9: Cost takes digits"},
        {"Cost = 11W\n", "white.cards:9: the card face shows one generic symbol"},
        {"Cost = 1WU\n", "white.cards:9: the card face shows only one colour"},
        {"Cost = 2WWWWW\n", "white.cards:9: the card face shows at most 5 cost symbols"},
        {"Cost = X1W\n", "white.cards:9: a cost with X needs IsXSpell = 1"},
        {"Cost = ANY\n", "white.cards:9: ANY is a colour set"},
        {"Cost = 1W\nLargeArt = data\\art.png\n", "white.cards:10: LargeArt names a .bmp image"},
        {"Cost = 1W\nEffectText = #T: Tap.\n", "white.cards:10: EffectText: a symbol run"},
        {"Cost = 1W\nEffectText = #T |Tap.\n", "white.cards:10: EffectText: a symbol run"},
        {"Cost = 1W\n[CD_NOBODY]\n", "white.cards:10: unknown card identifier \"CD_NOBODY\""},
        {"Cost = 1W\n[CD_BRAANDRE]\n", "white.cards:10: CD_BRAANDRE is defined twice (first at rest.cards:"},
        {"", "white.cards:1: CD_SELOLBER needs Cost"},
    };
    for (const Case& c : cases) {
        const Compiled compiled = Compile(SELOLBER_HEAD + c.lines);
        EXPECT_FALSE(compiled.ok) << c.message;
        EXPECT_TRUE(compiled.bytes.empty());
        bool found = false;
        for (const std::string& message : compiled.messages)
            found = found || message.rfind(c.message, 0) == 0;
        EXPECT_TRUE(found) << "expected " << c.message << "\n got "
                           << (compiled.messages.empty() ? "nothing" : compiled.messages.front());
    }
}

TEST(CardFileCompilerTest, ReportsNamesTypesAndMissingCards)
{
    struct Case {
        std::string source;
        const char* message;
    };
    const std::string overlong(64, 'L');
    const Case cases[] = {
        {"[CD_SELOLBER]\nName = Selolbers\n", "white.cards:2: the name of CD_SELOLBER is \"Selolber\""},
        {"[CD_SELOLBER]\nType = " + overlong + "\n", "white.cards:2: Type is longer than 63 units"},
        {"[CD_SELOLBER]\nType = Creature ~ Knight\n", "white.cards:2: Type must not hold the text markers"},
        {"Name = Selolber\n", "white.cards:1: a key line outside a card"},
        {"[CD_SELOLBER\n", "white.cards:1: a card header is"},
        {"[CD_SELOLBER]\nType = Creature\nCardType = CT_CREATURE\n", "white.cards:1: CD_SELOLBER needs Power"},
        {"[CD_SELOLBER]\nRarity = FREQ_NONE\n", "white.cards:2: \"FREQ_NONE\" stores -1"},
        {"# nothing\n", "data/cards: CD_SELOLBER is not defined"},
    };
    for (const Case& c : cases) {
        const Compiled compiled = Compile(c.source);
        EXPECT_FALSE(compiled.ok);
        bool found = false;
        for (const std::string& message : compiled.messages)
            found = found || message.rfind(c.message, 0) == 0;
        EXPECT_TRUE(found) << "expected " << c.message;
    }
}

} // namespace
