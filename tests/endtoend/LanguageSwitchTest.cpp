// A learner who installed the western set and asked for the language choice: the overlay on the first home
// screen, French chosen by its button, the scene loaded again with the French texts, and no second offer.
#include "tests/endtoend/EndToEndFixture.h"

#include "engine/core/LanguageManager.h"
#include "gui/GUI_TextButton.h"
#include "gui/GUI_Window.h"
#include "platform/Platform.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

// The English table with the basic lesson's menu button in French: the shipped data set is English only.
void WriteFrenchData(const test::TempDir& install)
{
    const fs::path english = fs::path(TESSEL_GAME_DIR) / "data_en";
    const fs::path french = fs::path(install.Path()) / "data_fr";
    fs::create_directories(french);
    fs::copy_file(english / "cards_phys_u.cfg", french / "cards_phys_u.cfg");
    fs::create_symlink(english / "vo_phys", french / "vo_phys");
    fs::create_symlink(english / "cards", french / "cards");
    std::ifstream in(english / "res_str_phys_u.txt", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    const std::u16string from = u"STR_MENU_BasicGame\r\nPlay the Basic Lesson\r\n";
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::u16string::npos) << "the English table names the basic lesson's button";
    text.replace(at, from.size(), u"STR_MENU_BasicGame\r\nJouer la lecon de base\r\n");
    std::string out;
    for (const char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xff));
        out.push_back(static_cast<char>(c >> 8));
    }
    install.Write("data_fr/res_str_phys_u.txt", out);
}

std::u16string BasicButtonText()
{
    const auto* const button =
        dynamic_cast<const GUI_TextButton*>(test::EndToEndTest::FindShownWindow(u"btnBasic"));
    return button != nullptr ? button->GetResolvedText() : u"";
}

class LanguageSwitchTest : public test::EndToEndTest {};

TEST_F(LanguageSwitchTest, TheOverlayChoosesFrenchReloadsTheSceneAndIsNotOfferedAgain)
{
    WriteFrenchData(Install());
    SetShowLanguageSelect(1);
    const int code = RunProgram(11, [] {
        ASSERT_TRUE(RunUntil("the home screen with the language choice",
                             [] { return Screen() == 1 && FindShownWindow(u"btnLangFR") != nullptr; }, 60));
        EXPECT_EQ(BasicButtonText(), u"Play the Basic Lesson");
        EXPECT_NE(FindShownWindow(u"btnLangEN"), nullptr);
        ASSERT_TRUE(ClickWindow(u"btnLangFR"));
        ASSERT_TRUE(RunUntil("the scene loaded again in French",
                             [] { return GetLanguageManager()->GetLanguageId() == LANG_FRENCH &&
                                         BasicButtonText() == u"Jouer la lecon de base"; },
                             120));
        EXPECT_EQ(Screen(), 1);
        // Frames later the home screen still stands without the choice.
        for (int frame = 0; frame < 60; ++frame)
            Frame();
        EXPECT_EQ(FindShownWindow(u"btnLangFR"), nullptr);
        EXPECT_EQ(Screen(), 1);
    });
    EXPECT_EQ(code, 0);
}

} // namespace
