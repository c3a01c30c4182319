#include "engine/core/LanguageManager.h"

#include "engine/core/RegistrySettings.h"
#include "gui/GUI_System.h"
#include "platform/Headless.h"
#include "platform/Platform.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

constexpr plat::Hive HIVE = plat::Hive::LocalMachine;

// A string table for the hook: key -> text.
std::map<std::u16string, std::u16string, std::less<>> s_FakeStrings;

const char16_t* FakeLookup(std::u16string_view key)
{
    const auto found = s_FakeStrings.find(key);
    return found != s_FakeStrings.end() ? found->second.c_str() : nullptr;
}

class LanguageManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteLanguageManager();
        DeleteRegistrySettings();
        SetStringLookupHook(nullptr);
        s_FakeStrings.clear();
    }

    void TearDown() override
    {
        SetStringLookupHook(nullptr);
        DeleteLanguageManager();
        DeleteRegistrySettings();
    }

    static void SetInstallValues(std::u16string_view installLang, int installType)
    {
        plat::RegSetString(HIVE, REGISTRY_PRODUCT_KEY, u"InstallLang", installLang);
        plat::RegSetDword(HIVE, REGISTRY_PRODUCT_KEY, u"InstallType", static_cast<std::uint32_t>(installType));
    }

    test::ScopedRegistry m_registry;
};

TEST_F(LanguageManagerTest, LanguageIdFromNameMatchesTheFirstWordThatBeginsTheName)
{
    const struct {
        std::u16string_view name;
        int installType;
        int expected;
    } cases[] = {
        {u"German", 0, LANG_GERMAN},
        {u"spanish", 0, LANG_SPANISH},
        {u"FRENCH", 0, LANG_FRENCH},
        {u"Italian", 0, LANG_ITALIAN},
        {u"Portuguese (Brazil)", 0, LANG_PORTUGUESE},
        {u"Russian", 0, LANG_RUSSIAN},
        {u"Japanese", 0, LANG_JAPANESE},
        {u"chinese", 2, LANG_CHINESE_TRADITIONAL},
        {u"chinese", 1, LANG_CHINESE_SIMPLIFIED},
        {u"Chinese (Simplified)", 0, LANG_CHINESE_SIMPLIFIED},
        {u"Korean", 2, LANG_KOREAN},
        {u"English", 0, LANG_ENGLISH},
        {u"Germ", 0, LANG_ENGLISH},
        {u"Swiss German", 0, LANG_ENGLISH},
        {u"", 0, LANG_ENGLISH},
        {u"Français", 0, LANG_ENGLISH},
    };
    for (const auto& entry : cases) {
        SetInstallValues(u"", entry.installType);
        EXPECT_EQ(LanguageIdFromName(entry.name), entry.expected)
            << plat::ToUtf8(entry.name) << " with InstallType " << entry.installType;
    }
}

TEST_F(LanguageManagerTest, ChineseWithoutAnInstallTypeIsSimplified)
{
    EXPECT_EQ(LanguageIdFromName(u"Chinese"), LANG_CHINESE_SIMPLIFIED);
}

TEST_F(LanguageManagerTest, SetLanguageSetsFolderScaleCharsetAndTheToolkitFolder)
{
    const struct {
        int id;
        int expectedId;
        std::u16string_view folder;
        float scale;
        int charset;
    } cases[] = {
        {LANG_ENGLISH, LANG_ENGLISH, u"data_en\\", 1.0f, 0},
        {LANG_FRENCH, LANG_FRENCH, u"data_fr\\", 1.25f, 0},
        {LANG_RUSSIAN, LANG_RUSSIAN, u"data_ru\\", 1.25f, 204},
        {LANG_JAPANESE, LANG_JAPANESE, u"data_jp\\", 1.25f, 128},
        {LANG_CHINESE_SIMPLIFIED, LANG_CHINESE_SIMPLIFIED, u"data_chs\\", 1.0f, 134},
        {LANG_CHINESE_TRADITIONAL, LANG_CHINESE_TRADITIONAL, u"data_cht\\", 1.0f, 136},
        {LANG_KOREAN, LANG_KOREAN, u"data_kn\\", 1.25f, 1},
        // A damaged setting is English.
        {42, LANG_ENGLISH, u"data_en\\", 1.0f, 0},
        {-1, LANG_ENGLISH, u"data_en\\", 1.0f, 0},
    };
    LanguageManager* const manager = GetLanguageManager();
    for (const auto& entry : cases) {
        manager->SetLanguage(entry.id, true);
        EXPECT_EQ(manager->GetLanguageId(), entry.expectedId) << entry.id;
        EXPECT_EQ(manager->GetDataFolder(), entry.folder) << entry.id;
        EXPECT_EQ(GUI_System::GetLanguageDirectory(), entry.folder) << entry.id;
        EXPECT_FLOAT_EQ(manager->GetTextScale(), entry.scale) << entry.id;
        EXPECT_EQ(manager->GetCharset(), entry.charset) << entry.id;
        EXPECT_EQ(manager->GetCharset(entry.expectedId), entry.charset) << entry.id;
    }
}

TEST_F(LanguageManagerTest, SetLanguageZeroChoosesFromInstallLangThenTheLocale)
{
    LanguageManager* const manager = GetLanguageManager();
    plat::headless::SetUserLocaleLanguageName(u"French");

    SetInstallValues(u"chinese", 2);
    manager->SetLanguage(LANG_CHOOSE, true);
    EXPECT_EQ(manager->GetLanguageId(), LANG_CHINESE_TRADITIONAL);
    EXPECT_EQ(manager->GetDataFolder(), u"data_cht\\");

    SetInstallValues(u"", 0);
    manager->SetLanguage(LANG_CHOOSE, true);
    EXPECT_EQ(manager->GetLanguageId(), LANG_FRENCH);

    plat::headless::SetUserLocaleLanguageName(u"Klingon");
    manager->SetLanguage(LANG_CHOOSE, false);
    EXPECT_EQ(manager->GetLanguageId(), LANG_ENGLISH);
}

TEST_F(LanguageManagerTest, ChangedFlagOnlyForAnotherLanguageWithFonts)
{
    const struct {
        int current;
        int next;
        bool applyFonts;
        bool changed;
    } cases[] = {
        {LANG_GERMAN, LANG_GERMAN, true, false},
        {LANG_GERMAN, LANG_FRENCH, true, true},
        {LANG_GERMAN, LANG_FRENCH, false, false},
        {LANG_ENGLISH, 42, true, false},
        {LANG_GERMAN, LANG_CHOOSE, true, false},
    };
    for (const auto& entry : cases) {
        LanguageManager* const manager = GetLanguageManager();
        manager->SetLanguage(entry.current, true);
        manager->ClearChanged();
        manager->SetLanguage(entry.next, entry.applyFonts);
        EXPECT_EQ(manager->HasChanged(), entry.changed)
            << entry.current << " -> " << entry.next << " fonts " << entry.applyFonts;
    }
}

TEST_F(LanguageManagerTest, UserLocaleGivesIdAndCharset)
{
    plat::headless::SetUserLocaleLanguageName(u"Russian");
    EXPECT_EQ(GetUserLocaleLanguageId(), LANG_RUSSIAN);
    EXPECT_EQ(GetUserLocaleCharset(), 204);
}

TEST_F(LanguageManagerTest, LocalizedPathNeedsRoomForTheTerminator)
{
    LanguageManager* const manager = GetLanguageManager();
    manager->SetLanguage(LANG_GERMAN, false);
    const std::u16string name = u"res_str_phys_u.txt";
    const std::size_t needed = manager->GetDataFolder().size() + name.size();

    char16_t buffer[64];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    std::size_t capacity = needed;
    EXPECT_EQ(manager->GetLocalizedPath(buffer, capacity, name.c_str()), nullptr);
    EXPECT_EQ(capacity, needed);
    EXPECT_EQ(buffer[0], u'#');

    capacity = needed + 1;
    EXPECT_EQ(manager->GetLocalizedPath(buffer, capacity, name.c_str()), buffer);
    EXPECT_EQ(std::u16string(buffer), u"data_de\\res_str_phys_u.txt");
    EXPECT_EQ(capacity, needed);

    capacity = std::size(buffer);
    EXPECT_EQ(manager->GetLocalizedPath(buffer, capacity, nullptr), buffer);
    EXPECT_EQ(std::u16string(buffer), u"data_de\\");

    EXPECT_EQ(manager->GetLocalizedPath(u"cards_phys_u.cfg"), u"data_de\\cards_phys_u.cfg");
    const std::u16string longName(LANGUAGE_FOLDER_CAPACITY - manager->GetDataFolder().size(), u'a');
    EXPECT_EQ(manager->GetLocalizedPath(longName), u"");
    EXPECT_EQ(manager->GetLocalizedPath(longName.substr(1)).size(), LANGUAGE_FOLDER_CAPACITY - 1);
}

TEST_F(LanguageManagerTest, LanguageDataNeedsBothFiles)
{
    const test::TempDir install;
    install.Write("data_fr/res_str_phys_u.txt", "x");
    install.Write("data_fr/cards_phys_u.cfg", "x");
    install.Write("data_de/res_str_phys_u.txt", "x");
    install.Write("data_en/cards_phys_u.cfg", "x");
    install.Write("data_en/res_str_phys_u.txt", "x");
    const test::ScopedCurrentFolder inInstall(install.Path());

    const struct {
        int id;
        bool present;
    } cases[] = {
        {LANG_FRENCH, true},   {LANG_GERMAN, false}, {LANG_KOREAN, false},
        {LANG_ENGLISH, true},  {0, true},            {42, true},
    };
    for (const auto& entry : cases)
        EXPECT_EQ(HasLanguageData(entry.id), entry.present) << entry.id;
}

TEST_F(LanguageManagerTest, LineBreaksInEastAsianAndOtherLanguages)
{
    const struct {
        char16_t ch;
        bool japanese;
        bool german;
    } cases[] = {
        {u'\u65E5', true, false},  // an ideograph
        {u'\u3042', true, false},  // a kana
        {u'\u3000', true, true},   // the ideographic space
        {u' ', true, true},
        {u'\t', true, true},
        {u'a', false, false},
        {u'\u00E4', false, false},
        {u'\u00A0', false, false},  // no-break space
    };
    LanguageManager* const manager = GetLanguageManager();
    for (const auto& entry : cases) {
        manager->SetLanguage(LANG_JAPANESE, false);
        int kept = 5;
        EXPECT_EQ(manager->IsLineBreakChar(entry.ch, &kept), entry.japanese) << int(entry.ch);
        EXPECT_EQ(kept, entry.japanese ? 0 : 5) << int(entry.ch);
        manager->SetLanguage(LANG_GERMAN, false);
        EXPECT_EQ(manager->IsLineBreakChar(entry.ch), entry.german) << int(entry.ch);
    }
}

TEST_F(LanguageManagerTest, StartupMessagesComeFromTheTableThenBuiltIn)
{
    LanguageManager* const manager = GetLanguageManager();
    manager->SetLanguage(LANG_ENGLISH, false);
    EXPECT_EQ(manager->GetStartupMessage(9),
              u"The program could not find language data. You may need to re-install the program.");
    EXPECT_EQ(manager->GetStartupMessage(0), u"Learn to Play the Varrow Game");
    EXPECT_EQ(manager->GetStartupMessage(8),
              u"Your current display settings may have undesirable effects.\n"
              u"Please make sure your display is set to High Color (16-bit),\n"
              u"with a resolution of 800x600 or greater.");
    EXPECT_EQ(manager->GetStartupMessage(1), u"");
    EXPECT_EQ(manager->GetStartupMessage(-1), u"");
    EXPECT_EQ(manager->GetStartupMessage(STARTUP_MESSAGE_COUNT), u"");

    SetStringLookupHook(&FakeLookup);
    s_FakeStrings[u"PRE_APP_MESSAGE_9"] = u"Table text";
    s_FakeStrings[u"PRE_APP_MESSAGE_3"] = u"";
    EXPECT_EQ(manager->GetStartupMessage(9), u"Table text");
    EXPECT_EQ(manager->GetStartupMessage(3), u"Desktop resolution must be set to 800 by 600 or greater.");
    EXPECT_EQ(manager->GetStartupMessage(1), u"");
}

TEST_F(LanguageManagerTest, BuiltInStartupMessagesFollowTheLanguage)
{
    const struct {
        int id;
        std::u16string_view message6;
    } cases[] = {
        {LANG_ENGLISH, u"Error Starting DirectX."},
        {LANG_FRENCH, u"Erreur au démarrage de DirectX."},
        {LANG_GERMAN, u"Fehler beim Starten von DirectX."},
        {LANG_SPANISH, u"Error al iniciar DirectX."},
        {LANG_PORTUGUESE, u"Erro ao iniciar o DirectX."},
        {LANG_ITALIAN, u"Errore durante l'avvio di DirectX."},
        {LANG_JAPANESE, u"Error Starting DirectX."},
    };
    LanguageManager* const manager = GetLanguageManager();
    for (const auto& entry : cases) {
        manager->SetLanguage(entry.id, false);
        EXPECT_EQ(manager->GetStartupMessage(6), entry.message6) << entry.id;
        EXPECT_EQ(manager->GetStartupMessage(1), u"") << entry.id;
        for (int n = 0; n < STARTUP_MESSAGE_COUNT; ++n) {
            if (n == 1)
                continue;
            EXPECT_FALSE(manager->GetStartupMessage(n).empty()) << entry.id << " message " << n;
        }
    }
}

TEST_F(LanguageManagerTest, PunctuationComesFromTheStringTable)
{
    LanguageManager* const manager = GetLanguageManager();
    manager->SetLanguage(LANG_FRENCH, false);
    EXPECT_FALSE(manager->IsPunctuationChar(u'.'));

    SetStringLookupHook(&FakeLookup);
    EXPECT_FALSE(manager->IsPunctuationChar(u'.'));
    s_FakeStrings[u"STR_PUNCT"] = u".,!?";
    s_FakeStrings[u"STR_PUNCT_DE"] = u";";
    EXPECT_TRUE(manager->IsPunctuationChar(u'!'));
    EXPECT_FALSE(manager->IsPunctuationChar(u';'));
    EXPECT_FALSE(manager->IsPunctuationChar(u'\0'));

    manager->SetLanguage(LANG_GERMAN, false);
    EXPECT_TRUE(manager->IsPunctuationChar(u';'));
    EXPECT_FALSE(manager->IsPunctuationChar(u'!'));
}

} // namespace
