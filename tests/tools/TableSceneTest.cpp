// Each level script run by the program's own script reader over a copy of the compiled images: every texture
// name it enters resolves to a real texture, and every card it loads is defined with a picture the bitmap
// loader reads and enters its picture and its upright and turned small images, read from the build's own.
#include "cards/Card.h"
#include "cards/CardCommands.h"
#include "cards/CardDatabase.h"
#include "cards/CardIds.h"
#include "engine/core/BitmapFile.h"
#include "engine/core/LanguageManager.h"
#include "tests/engine/scene/SceneFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const ScriptCommandEntry CARD_COMMANDS[] = {{u"loadcard", Parse_LoadCard}, {u"definecard", Parse_DefineCard}};

class TableSceneTest : public test::SceneFixture, public ::testing::WithParamInterface<int> {
protected:
    TableSceneTest()
    {
        m_DesktopWidth = 800;
        m_DesktopHeight = 600;
    }
    void SetUp() override
    {
        SetGameScriptCommands(CARD_COMMANDS);
        SceneFixture::SetUp();
    }
    void TearDown() override
    {
        SceneFixture::TearDown();
        SetGameScriptCommands({});
        InitScriptCommands();
        for (CARD& card : g_CardDefs)
            card = CARD();
    }
};

TEST_P(TableSceneTest, EveryNameTheScriptEntersResolves)
{
    const int mode = GetParam();
    const fs::path game = TESSEL_GAME_DIR;
    const fs::path here = fs::current_path();
    const std::string script = "level0" + std::to_string(mode) + "_u.cfg";
    // The images and card file only: loadcard writes the small-card cache beside them, never into the build.
    fs::copy_file(game / script, here / script);
    fs::create_directories(here / "data_en");
    fs::copy_file(game / "data_en" / "cards_phys_u.cfg", here / "data_en" / "cards_phys_u.cfg");
    fs::copy(game / "data_en" / "cards", here / "data_en" / "cards");
    fs::create_directories(here / "data");
    for (const char* folder : {"table", "buttons", "avatars", "sprites", "fonts", "cardart", "frames", "symbols"})
        fs::copy(game / "data" / folder, here / "data" / folder, fs::copy_options::recursive);
    GetLanguageManager()->SetLanguage(LANG_ENGLISH, false);
    BuildCardVocabulary();
    ASSERT_TRUE(LoadCardFile());

    ASSERT_TRUE(RunLevelScript(plat::FromUtf8(script)));

    std::ifstream in(game / script, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += bytes[i];
    std::istringstream lines(text);
    std::string line;
    int names = 0;
    int cards = 0;
    while (std::getline(lines, line)) {
        std::istringstream words(line.substr(0, line.find(';')));
        std::string word, name;
        words >> word >> name;
        if (word == "loadbmp" || word == "loadchop" || word == "loadsprite") {
            EXPECT_GT(GetTextureByName(plat::FromUtf8(name)), 0) << script << ": " << name;
            ++names;
        } else if (word == "loadcard") {
            const int id = GetCardIdByName(plat::FromUtf8(name));
            ASSERT_GT(id, 0) << name;
            const CARD& card = g_CardDefs[id];
            ASSERT_EQ(card.GetId(), id) << name << " is not defined";
            std::string art = plat::ToUtf8(card.GetLargeArt());
            std::replace(art.begin(), art.end(), '\\', '/');
            std::ifstream picture(here / art, std::ios::binary);
            const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(picture), std::istreambuf_iterator<char>()};
            RasterBitmap bitmap;
            EXPECT_TRUE(DecodeBitmap(file.data(), file.size(), bitmap, nullptr)) << name << ": " << art;
            const GameDisplay& display = *GetGameDisplay();
            const struct {
                std::string name;
                int width, height;
            } images[] = {{name, 66, 98}, {name + "_r", 98, 66}, {name + "_art", bitmap.width, bitmap.height}};
            for (const auto& image : images) {
                const int texture = GetTextureByName(plat::FromUtf8(image.name));
                ASSERT_GT(texture, 0) << script << ": " << image.name;
                const TextureRecord& record = display.GetTextureRecord(texture);
                EXPECT_EQ(record.width, image.width) << image.name;
                EXPECT_EQ(record.height, image.height) << image.name;
            }
            ++cards;
        }
    }
    EXPECT_GT(names, 60);
    EXPECT_GT(cards, 40);
    // Every small image came from the build: none was composed again here.
    EXPECT_EQ(std::distance(fs::directory_iterator(here / "data_en" / "cards"), fs::directory_iterator()),
              std::distance(fs::directory_iterator(game / "data_en" / "cards"), fs::directory_iterator()));
}

INSTANTIATE_TEST_SUITE_P(Modes, TableSceneTest, ::testing::Values(1, 2, 3, 4));

} // namespace
