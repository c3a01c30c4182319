// The launcher's languages: the codes and their tables (resource folder, string-table section, text key, disc
// folder), and the detection of the interface and data languages from the system's and the user's locale.
#pragma once

#include <string>
#include <string_view>

// Launcher language codes; every other code maps like English.
enum LauncherLanguage {
    LAUNCHER_ENGLISH = 1,
    LAUNCHER_FRENCH = 2,
    LAUNCHER_GERMAN = 3,
    LAUNCHER_SPANISH = 4,
    LAUNCHER_PORTUGUESE = 5,
    LAUNCHER_ITALIAN = 6,
    LAUNCHER_RUSSIAN = 7,
    LAUNCHER_CHINESE = 9,
    LAUNCHER_CHINESE_ALT = 10,
    LAUNCHER_KOREAN = 11,
};

// The code page of Western systems, on which the user's language decides both languages.
constexpr int WESTERN_CODE_PAGE = 1252;

// The language code of an English language name ("French", "Chinese (Simplified)", ...), by its beginning.
int LanguageFromLocaleName(std::u16string_view englishName);
// This platform counts as Windows 2000 or later: the user's own language is always available.
bool IsWindows2000OrLater();

// The folder of the code's pictures beside the launcher ("res_en", "res_fr", ...).
std::u16string_view LanguageResourceFolder(int code);
// The string table's section ("EN", "FR", ...).
std::u16string_view LanguageSectionName(int code);
// The key of the language's name ("STR_ENGLISH", ...).
std::u16string_view LanguageStringKey(int code);
// The language's folder on the disc ("English", ...).
std::u16string_view LanguageFolderName(int code);

struct LauncherLanguages {
    int ui = LAUNCHER_ENGLISH;
    int data = LAUNCHER_ENGLISH;
};

// Steps 1 and 2 of the detection: on a Western code page the user's language gives both; otherwise the user's
// (or, before Windows 2000, the system's) language gives the interface and the system's gives the data.
LauncherLanguages DetectLanguages(int systemCodePage, std::u16string_view userLanguageName,
                                  std::u16string_view systemLanguageName, bool windows2000OrLater);
// Step 3: the interface language whose resource folder exists, else English.
int SettleResourceLanguage(int ui, std::u16string_view discFolder);
