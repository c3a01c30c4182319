// The current language: its identifier, data folder and text scale, the name-to-identifier table, localized
// paths, the presence of language data, the start-up messages and the character classes of text layout.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Language identifiers 1 to 11; 0 lets SetLanguage choose.
enum LanguageId {
    LANG_CHOOSE = 0,
    LANG_ENGLISH = 1,
    LANG_FRENCH = 2,
    LANG_GERMAN = 3,
    LANG_SPANISH = 4,
    LANG_PORTUGUESE = 5,
    LANG_ITALIAN = 6,
    LANG_RUSSIAN = 7,
    LANG_JAPANESE = 8,
    LANG_CHINESE_SIMPLIFIED = 9,
    LANG_CHINESE_TRADITIONAL = 10,
    LANG_KOREAN = 11,
};

constexpr std::size_t LANGUAGE_FOLDER_CAPACITY = 256;
constexpr int STARTUP_MESSAGE_COUNT = 10;

// Key -> text or nullptr; start-up sets it to GetString.
using StringLookupHook = const char16_t* (*)(std::u16string_view key);
void SetStringLookupHook(StringLookupHook hook);
StringLookupHook GetStringLookupHook();

// The system facts a language's font set-up is given: of the NT family at version 5 or later, and version 5.1.
constexpr int RASTER_FONTS_NEWER_SYSTEM = 0x1;
constexpr int RASTER_FONTS_SYSTEM_XP = 0x2;

// What a language change sets up above the language manager; app/ fills it at start-up, and an entry left null
// does nothing.
struct LanguageChangeActions {
    // The raster's fonts for the language.
    void (*SetupRasterFonts)(int languageId, int charset, int flags) = nullptr;
    // The toolkit's folder of the language.
    void (*SetLanguageDirectory)(const char16_t* path) = nullptr;
};
void SetLanguageChangeActions(const LanguageChangeActions& actions);

class LanguageManager {
public:
    LanguageManager();

    // id 0 chooses from InstallLang, else from the user's locale. The changed flag is set when fonts are applied
    // and id (not 0) differs from the current language.
    void SetLanguage(int id, bool applyFonts);

    float GetTextScale() const { return m_TextScale; }
    int GetLanguageId() const { return m_LanguageId; }
    // For example u"data_en\\".
    const std::u16string& GetDataFolder() const { return m_DataFolder; }
    bool HasChanged() const { return m_bChanged; }
    void ClearChanged() { m_bChanged = false; }

    // The GDI character set of a language (0 = the current one).
    int GetCharset(int id = 0) const;

    // folder + name into buffer when folder length + name length < capacity; capacity receives the length.
    // Returns buffer, or nullptr with nothing written. A null name counts as empty.
    char16_t* GetLocalizedPath(char16_t* buffer, std::size_t& capacity, const char16_t* name) const;
    // The same as an owned string; empty when it would not fit in 256 units.
    std::u16string GetLocalizedPath(std::u16string_view name) const;

    // "PRE_APP_MESSAGE_n" through the hook, else the built-in text of the current language.
    std::u16string GetStartupMessage(int n) const;

    // Where a line may break after ch; keptLength (when given) receives 0.
    bool IsLineBreakChar(char16_t ch, int* keptLength = nullptr) const;
    bool IsPunctuationChar(char16_t ch) const;

private:
    float m_TextScale = 1.0f;
    bool m_bChanged = false;
    int m_LanguageId = 0;
    std::u16string m_DataFolder;
};

// The singleton, created on first use; DeleteLanguageManager deletes it (shutdown).
LanguageManager* GetLanguageManager();
void DeleteLanguageManager();

// "German" 3, "Spanish" 4, ...: the first word that begins the name, compared without case; no match gives 1.
int LanguageIdFromName(std::u16string_view name);
int GetUserLocaleLanguageId();
int GetUserLocaleCharset();
// Both "res_str_phys_u.txt" and "cards_phys_u.cfg" are readable in the id's folder (ids outside 2-11: data_en).
bool HasLanguageData(int id);
// The data folder of an id, u"data_en\\" for ids not listed.
std::u16string_view LanguageDataFolder(int id);
