// The compiled level scripts: their encoding, the order the card overlay needs, the actors they spawn, and that
// every card the game's own deck builders can deal in a mode is loaded by that mode's script.
#include "cards/CardIds.h"
#include "rules/Decks.h"
#include "tests/rules/RulesGame.h"
#include "tools/LevelScriptCompiler.h"

#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

namespace {

const std::string GAME = TESSEL_GAME_DIR;

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The script's lines as ASCII words (the scripts hold nothing else), comments dropped.
struct Script {
    bool hasMark = false;
    std::string firstLine;
    std::vector<std::vector<std::string>> commands;
};

Script ReadScript(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    Script script;
    script.hasMark = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += bytes[i + 1] == 0 ? static_cast<char>(bytes[i]) : '?';
    std::istringstream lines(text);
    std::string line;
    bool first = true;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (first)
            script.firstLine = line;
        first = false;
        line = line.substr(0, line.find_first_of(";#*"));
        std::istringstream words(line);
        std::vector<std::string> command{std::istream_iterator<std::string>(words), {}};
        if (!command.empty())
            script.commands.push_back(command);
    }
    return script;
}

std::string LevelPath(int mode)
{
    return GAME + "/level0" + std::to_string(mode) + "_u.cfg";
}

// Every card the deck builders deal in the mode, over all colour choices and a few shuffles.
std::set<int> DealtCards(int mode)
{
    std::set<int> dealt;
    for (int a = 0; a < 5; ++a) {
        for (int b = 0; b < 5; ++b) {
            if (a == b)
                continue;
            for (std::uint32_t seed = 1; seed <= 3; ++seed) {
                s_GameMode = mode;
                plat::SeedRand(seed * 1000 + static_cast<std::uint32_t>(mode * 100 + a * 10 + b));
                const int c = (b + 1) % 5 == a ? (b + 2) % 5 : (b + 1) % 5;
                int d = (c + 1) % 5;
                while (d == a || d == b)
                    d = (d + 1) % 5;
                SetChosenColours(a, b, b == c ? d : b, c, d);
                DeckList human{};
                DeckList cpu{};
                if (mode == 1) {
                    BuildHumanDeckBasic(human);
                    BuildCpuDeckBasic(cpu);
                } else if (mode == 2) {
                    BuildHumanDeckAdvanced(human);
                    BuildCpuDeckAdvanced(cpu);
                } else {
                    SetupDecks();
                    SetupCpuDeck();
                    human = GetDeckList(PLAYER_HUMAN);
                    cpu = GetDeckList(PLAYER_CPU);
                    DestroyAllActors();
                    PurgeRemovedActors();
                    ResetRulesState();
                }
                dealt.insert(human.begin(), human.end());
                dealt.insert(cpu.begin(), cpu.end());
                for (int player = 0; player < 2; ++player) {
                    if (GetForcedFirstCard(player) != 0)
                        dealt.insert(GetForcedFirstCard(player));
                }
            }
        }
    }
    dealt.erase(0);
    return dealt;
}

class LevelScriptDataTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { rulesgame::DefineSyntheticCards(); }
    void TearDown() override
    {
        for (CARD& card : g_CardDefs)
            card = CARD();
        s_GameMode = 0;
        ResetRulesState();
    }
};

TEST_P(LevelScriptDataTest, LoadsOverlayFirstSpawnsTheFourActorsOnceAndEveryDealtCard)
{
    const int mode = GetParam();
    const Script script = ReadScript(LevelPath(mode));
    ASSERT_FALSE(script.commands.empty()) << LevelPath(mode);
    EXPECT_TRUE(script.hasMark);
    EXPECT_TRUE(script.firstLine.starts_with(";")) << script.firstLine;

    std::map<std::string, int> spawned;
    std::set<std::string> loadedCards;
    std::set<std::string> overlayBeforeCards;
    bool cardSeen = false;
    int fonts = 0;
    for (const auto& command : script.commands) {
        const std::string& word = command[0];
        EXPECT_NE(word, "load") << "memory addresses are never stored by name";
        EXPECT_NE(word, "loadramtexture");
        if (word == "spawn" && command.size() >= 4) {
            EXPECT_EQ(command.size(), 10u) << command[1];
            ++spawned[command[3]];
        } else if (word == "loadcard" && command.size() == 2) {
            cardSeen = true;
            loadedCards.insert(command[1]);
        } else if ((word == "loadbmp" || word == "loadchop") && command.size() == 3) {
            std::string lower = command[1];
            std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char ch) { return std::tolower(ch); });
            EXPECT_EQ(lower, command[1]) << "texture names are written lower case";
            if (!cardSeen && (lower.starts_with("fxborder_") || (lower.starts_with("crd_") && lower.ends_with("_lg"))))
                overlayBeforeCards.insert(lower);
        } else if (word == "loadfont") {
            ++fonts;
        }
    }
    EXPECT_EQ(spawned, (std::map<std::string, int>{{"camera", 1}, {"cpuplayer", 1}, {"intro", 1}, {"player", 1}}));
    EXPECT_EQ(fonts, 1);
    // Six large and six small colour borders, seventeen large frames.
    for (const std::string colour : {"bk", "rd", "gr", "bu", "wt", "art"}) {
        EXPECT_TRUE(overlayBeforeCards.count("fxborder_" + colour)) << colour;
        EXPECT_TRUE(overlayBeforeCards.count("fxborder_s" + colour)) << colour;
    }
    EXPECT_EQ(std::count_if(overlayBeforeCards.begin(), overlayBeforeCards.end(),
                            [](const std::string& name) { return name.starts_with("crd_"); }),
              17);

    for (int land = CD_MOUNTAIN1; land <= CD_FOREST4; ++land)
        EXPECT_TRUE(loadedCards.count(plat::ToUtf8(GetCardIdName(land)))) << land;
    for (const int id : DealtCards(mode))
        EXPECT_TRUE(loadedCards.count(plat::ToUtf8(GetCardIdName(id)))) << "mode " << mode << " deals " << id;
}

INSTANTIATE_TEST_SUITE_P(Modes, LevelScriptDataTest, ::testing::Values(1, 2, 3, 4));

TEST(LevelScriptCompilerTest, ExpandsIncludesAndRejectsWhatTheReaderCannotTake)
{
    const std::map<std::string, std::string> files = {{"shared.inc", "loadbmp a data\\a.bmp\n"},
                                                      {"loop.inc", "include loop.inc\n"}};
    const auto read = [&](const std::string& name, std::string& text) {
        const auto found = files.find(name);
        if (found == files.end())
            return false;
        text = found->second;
        return true;
    };
    datac::Diagnostics diagnostics;
    std::vector<std::uint8_t> out;
    ASSERT_TRUE(datac::CompileLevelScript("x", "; head\ninclude shared.inc\nspawn camera", read, out, diagnostics));
    ASSERT_GE(out.size(), 2u);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 2), "\xFF\xFE");
    std::string ascii;
    for (std::size_t i = 2; i + 1 < out.size(); i += 2)
        ascii += static_cast<char>(out[i]);
    EXPECT_EQ(ascii, "; head\r\nloadbmp a data\\a.bmp\r\nspawn camera\r\n");

    const std::string longToken(128, 'a');
    for (const std::string& bad : {std::string("include missing.inc"), std::string("include loop.inc"),
                                   std::string("include ../up.inc"), "loadbmp " + longToken + " x.bmp"}) {
        datac::Diagnostics errors;
        EXPECT_FALSE(datac::CompileLevelScript("x", bad, read, out, errors)) << bad;
        EXPECT_TRUE(errors.HasErrors()) << bad;
    }
}

} // namespace
