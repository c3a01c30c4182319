// The program's settings and statistics in the registry store. Every read and write opens the key and closes
// it again; nothing is cached, so a value read is always what the store holds. The one exception: when the
// store cannot be written, the values that could not be saved (the defaults first) are kept in memory for the
// run, read before the store, and one message says where the settings could not be saved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

inline constexpr char16_t REGISTRY_SETTINGS_KEY[] = u"SOFTWARE\\Quendral\\Varrow Tessel Edition Intl\\Config";
inline constexpr char16_t REGISTRY_PRODUCT_KEY[] = u"SOFTWARE\\Quendral\\Varrow Tessel Edition Intl";

// A string read offers 512 bytes: at most 255 units and the terminator.
constexpr std::size_t REGISTRY_STRING_CAPACITY = 256;

// A first-run default: screen-relative ones take the screen's size at the moment.
int DefaultSettingValue(std::u16string_view name, int screenWidth, int screenHeight);

class RegistrySettings {
public:
    // Creates the settings key; when it did not exist, writes the thirteen defaults in one replace.
    RegistrySettings();

    // keyPath nullptr means the settings key. A missing key or value, or a string value, reads 0 (unless a value
    // the store refused is kept in memory).
    int GetInt(std::u16string_view name, const char16_t* keyPath = nullptr) const;
    // A write the store refuses is kept in memory for the run.
    void SetInt(std::u16string_view name, int value, const char16_t* keyPath = nullptr);
    // Several values of the settings key in one replace; nothing is written when all of them already hold.
    void SetInts(std::initializer_list<std::pair<std::u16string_view, int>> values);
    // The value's text, always terminated, cut to 255 units; empty when the key or value is missing or is a
    // number. The text lives until the next string read.
    const char16_t* GetString(std::u16string_view name, const char16_t* keyPath = nullptr);

private:
    struct Unsaved {
        std::u16string key;
        std::u16string name;
        int value = 0;
    };

    void WriteDefaults();
    // Keeps values the store refused (or forgets them once it took them).
    void Remember(std::u16string_view key, std::u16string_view name, int value, bool saved);
    const Unsaved* FindUnsaved(std::u16string_view key, std::u16string_view name) const;

    char16_t m_Buffer[REGISTRY_STRING_CAPACITY] = {};
    std::vector<Unsaved> m_Unsaved;
    bool m_bReportedUnsaved = false;
};

// The singleton, created on first use; DeleteRegistrySettings deletes it (shutdown).
RegistrySettings* GetRegistrySettings();
void DeleteRegistrySettings();
