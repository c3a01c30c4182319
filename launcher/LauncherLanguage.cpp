#include "launcher/LauncherLanguage.h"

#include "engine/core/TextHelpers.h"
#include "platform/Platform.h"

namespace {

struct LanguageRow {
    int code;
    std::u16string_view resources;
    std::u16string_view section;
    std::u16string_view key;
    std::u16string_view folder;
};

constexpr LanguageRow LANGUAGE_ROWS[] = {
    {LAUNCHER_ENGLISH, u"res_en", u"EN", u"STR_ENGLISH", u"English"},
    {LAUNCHER_FRENCH, u"res_fr", u"FR", u"STR_FRENCH", u"French"},
    {LAUNCHER_GERMAN, u"res_de", u"DE", u"STR_GERMAN", u"German"},
    {LAUNCHER_SPANISH, u"res_es", u"ES", u"STR_SPANISH", u"Spanish"},
    {LAUNCHER_PORTUGUESE, u"res_pt", u"PT", u"STR_PORTUGUESE", u"Portuguese"},
    {LAUNCHER_ITALIAN, u"res_it", u"IT", u"STR_ITALIAN", u"Italian"},
    {LAUNCHER_RUSSIAN, u"res_ru", u"RU", u"STR_RUSSIAN", u"Russian"},
    {LAUNCHER_CHINESE, u"res_cs", u"CS", u"STR_CHINESE", u"Chinese"},
    {LAUNCHER_CHINESE_ALT, u"res_cs", u"CS", u"STR_CHINESE", u"Chinese"},
    {LAUNCHER_KOREAN, u"res_kn", u"KR", u"STR_KOREAN", u"Korean"},
};

const LanguageRow& Row(int code)
{
    for (const LanguageRow& row : LANGUAGE_ROWS) {
        if (row.code == code)
            return row;
    }
    return LANGUAGE_ROWS[0];
}

// Compared by their beginnings in this order; the first match wins.
struct NamePrefix {
    std::u16string_view prefix;
    int code;
};

constexpr NamePrefix NAME_PREFIXES[] = {
    {u"German", LAUNCHER_GERMAN},   {u"Spanish", LAUNCHER_SPANISH}, {u"French", LAUNCHER_FRENCH},
    {u"Italian", LAUNCHER_ITALIAN}, {u"Portuguese", LAUNCHER_PORTUGUESE}, {u"Russian", LAUNCHER_RUSSIAN},
    {u"Chinese", LAUNCHER_CHINESE}, {u"Korean", LAUNCHER_KOREAN},
};

} // namespace

int LanguageFromLocaleName(std::u16string_view englishName)
{
    for (const NamePrefix& entry : NAME_PREFIXES) {
        if (StartsWithAsciiNoCase(englishName, entry.prefix))
            return entry.code;
    }
    return LAUNCHER_ENGLISH;
}

bool IsWindows2000OrLater()
{
    return true;
}

std::u16string_view LanguageResourceFolder(int code)
{
    return Row(code).resources;
}

std::u16string_view LanguageSectionName(int code)
{
    return Row(code).section;
}

std::u16string_view LanguageStringKey(int code)
{
    return Row(code).key;
}

std::u16string_view LanguageFolderName(int code)
{
    return Row(code).folder;
}

LauncherLanguages DetectLanguages(int systemCodePage, std::u16string_view userLanguageName,
                                  std::u16string_view systemLanguageName, bool windows2000OrLater)
{
    LauncherLanguages languages;
    if (systemCodePage == WESTERN_CODE_PAGE) {
        languages.ui = LanguageFromLocaleName(userLanguageName);
        languages.data = languages.ui;
        return languages;
    }
    languages.ui = LanguageFromLocaleName(windows2000OrLater ? userLanguageName : systemLanguageName);
    languages.data = LanguageFromLocaleName(systemLanguageName);
    return languages;
}

int SettleResourceLanguage(int ui, std::u16string_view discFolder)
{
    std::u16string folder(discFolder);
    folder += LanguageResourceFolder(ui);
    return plat::IsDirectory(folder) ? ui : LAUNCHER_ENGLISH;
}
