// The program's settings and statistics in the registry store. Every read and write opens the key and closes
// it again; nothing is cached, so a value read is always what the store holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

inline constexpr char16_t REGISTRY_SETTINGS_KEY[] = u"SOFTWARE\\Quendral\\Varrow Tessel Edition Intl\\Config";
inline constexpr char16_t REGISTRY_PRODUCT_KEY[] = u"SOFTWARE\\Quendral\\Varrow Tessel Edition Intl";

// A string read offers 512 bytes: at most 255 units and the terminator.
constexpr std::size_t REGISTRY_STRING_CAPACITY = 256;

class RegistrySettings {
public:
    // Creates the settings key; when it did not exist, writes the thirteen defaults.
    RegistrySettings();

    // keyPath nullptr means the settings key. A missing key or value, or a string value, reads 0.
    int GetInt(std::u16string_view name, const char16_t* keyPath = nullptr) const;
    // A key that cannot be opened swallows the write.
    void SetInt(std::u16string_view name, int value, const char16_t* keyPath = nullptr) const;
    // The value's text, always terminated, cut to 255 units; empty when the key or value is missing or is a
    // number. The text lives until the next string read.
    const char16_t* GetString(std::u16string_view name, const char16_t* keyPath = nullptr);

private:
    void WriteDefaults() const;

    char16_t m_Buffer[REGISTRY_STRING_CAPACITY] = {};
};

// The singleton, created on first use; DeleteRegistrySettings deletes it (shutdown).
RegistrySettings* GetRegistrySettings();
void DeleteRegistrySettings();
