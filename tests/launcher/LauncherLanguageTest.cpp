// Language detection from the system's code page and the user's and system's languages, the code tables, and
// the fallback to English when a resource folder is missing.
#include "launcher/LauncherLanguage.h"

#include "platform/Headless.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(LauncherLanguage, DetectionFollowsTheCodePageRule)
{
    struct Case {
        const char* what;
        int codePage;
        std::u16string_view user;
        std::u16string_view system;
        bool windows2000;
        int ui;
        int data;
    };
    const Case cases[] = {
        {"Western system, French user", 1252, u"French", u"English", true, LAUNCHER_FRENCH, LAUNCHER_FRENCH},
        {"Korean system before 2000, English user", 949, u"English", u"Korean", false, LAUNCHER_KOREAN,
         LAUNCHER_KOREAN},
        {"Russian system, German user", 1251, u"German", u"Russian", true, LAUNCHER_GERMAN, LAUNCHER_RUSSIAN},
        {"Chinese system, English user", 936, u"English", u"Chinese (Simplified)", true, LAUNCHER_ENGLISH,
         LAUNCHER_CHINESE},
        {"Western system, unknown user language", 1252, u"Japanese", u"English", true, LAUNCHER_ENGLISH,
         LAUNCHER_ENGLISH},
        {"Western system, Brazilian user", 1252, u"Portuguese (Brazil)", u"German", true, LAUNCHER_PORTUGUESE,
         LAUNCHER_PORTUGUESE},
    };
    for (const Case& c : cases) {
        const LauncherLanguages got = DetectLanguages(c.codePage, c.user, c.system, c.windows2000);
        EXPECT_EQ(got.ui, c.ui) << c.what;
        EXPECT_EQ(got.data, c.data) << c.what;
    }
}

TEST(LauncherLanguage, NamesMatchByTheirBeginningInAnyCase)
{
    const std::pair<std::u16string_view, int> cases[] = {
        {u"German", LAUNCHER_GERMAN},       {u"spanish (modern sort)", LAUNCHER_SPANISH},
        {u"FRENCH", LAUNCHER_FRENCH},       {u"Italian", LAUNCHER_ITALIAN},
        {u"Portuguese", LAUNCHER_PORTUGUESE}, {u"Russian", LAUNCHER_RUSSIAN},
        {u"Chinese (Traditional)", LAUNCHER_CHINESE}, {u"Korean", LAUNCHER_KOREAN},
        {u"Germ", LAUNCHER_ENGLISH},        {u"", LAUNCHER_ENGLISH},
    };
    for (const auto& [name, code] : cases)
        EXPECT_EQ(LanguageFromLocaleName(name), code) << std::string(name.begin(), name.end());
}

TEST(LauncherLanguage, TablesMapEveryCodeAndOthersLikeEnglish)
{
    EXPECT_EQ(LanguageResourceFolder(LAUNCHER_FRENCH), u"res_fr");
    EXPECT_EQ(LanguageSectionName(LAUNCHER_KOREAN), u"KR");
    EXPECT_EQ(LanguageResourceFolder(LAUNCHER_KOREAN), u"res_kn");
    EXPECT_EQ(LanguageSectionName(LAUNCHER_CHINESE_ALT), u"CS");
    EXPECT_EQ(LanguageStringKey(LAUNCHER_PORTUGUESE), u"STR_PORTUGUESE");
    EXPECT_EQ(LanguageFolderName(LAUNCHER_GERMAN), u"German");
    for (const int other : {0, 8, 12, -3}) {
        EXPECT_EQ(LanguageSectionName(other), u"EN");
        EXPECT_EQ(LanguageFolderName(other), u"English");
        EXPECT_EQ(LanguageResourceFolder(other), u"res_en");
    }
}

TEST(LauncherLanguage, AMissingResourceFolderFallsBackToEnglish)
{
    const test::TempDir disc;
    disc.Write("res_en/131.bmp", "x");
    disc.Write("res_fr/131.bmp", "x");
    const std::u16string folder = plat::FromUtf8(disc.Path() + "/");
    EXPECT_EQ(SettleResourceLanguage(LAUNCHER_FRENCH, folder), LAUNCHER_FRENCH);
    EXPECT_EQ(SettleResourceLanguage(LAUNCHER_RUSSIAN, folder), LAUNCHER_ENGLISH);
}

} // namespace
