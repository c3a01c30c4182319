#include "engine/core/RegistrySettings.h"

#include "platform/Platform.h"

#include "engine/core/TextHelpers.h"

#include <algorithm>
#include <memory>
#include <string>

namespace {

constexpr plat::Hive SETTINGS_HIVE = plat::Hive::LocalMachine;

std::unique_ptr<RegistrySettings> s_pRegistrySettings;

std::u16string_view KeyOrSettings(const char16_t* keyPath)
{
    return keyPath != nullptr ? std::u16string_view(keyPath) : std::u16string_view(REGISTRY_SETTINGS_KEY);
}

// Opening creates a missing key, reads included, as the store has always been opened.
void OpenKey(std::u16string_view key)
{
    plat::RegCreateKey(SETTINGS_HIVE, key, nullptr);
}

// What a default is measured from: a constant, or the screen size at the moment it is written.
enum class DefaultBase { Constant, ScreenWidth, ScreenHeight };

struct DefaultValue {
    std::u16string_view name;
    DefaultBase base;
    int offset;
};

// Written in this order when the settings key is first created.
constexpr DefaultValue DEFAULT_VALUES[] = {
    {u"showlangselect", DefaultBase::Constant, 1},
    {u"language", DefaultBase::Constant, 0},
    {u"playmovies", DefaultBase::Constant, 1},
    {u"launchmode", DefaultBase::Constant, 0},
    {u"width", DefaultBase::ScreenWidth, -20},
    {u"height", DefaultBase::ScreenHeight, -20},
    {u"gamescompleted", DefaultBase::Constant, 0},
    {u"gameswon", DefaultBase::Constant, 0},
    {u"winmax", DefaultBase::Constant, 0},
    {u"winx1", DefaultBase::Constant, 10},
    {u"winy1", DefaultBase::Constant, 10},
    {u"winx2", DefaultBase::ScreenWidth, -10},
    {u"winy2", DefaultBase::ScreenHeight, -10},
};

} // namespace

int DefaultSettingValue(std::u16string_view name, int screenWidth, int screenHeight)
{
    for (const DefaultValue& value : DEFAULT_VALUES) {
        if (value.name == name) {
            if (value.base == DefaultBase::ScreenWidth)
                return screenWidth + value.offset;
            if (value.base == DefaultBase::ScreenHeight)
                return screenHeight + value.offset;
            return value.offset;
        }
    }
    return 0;
}

RegistrySettings::RegistrySettings()
{
    if (!plat::RegKeyExists(SETTINGS_HIVE, REGISTRY_SETTINGS_KEY))
        WriteDefaults();
}

void RegistrySettings::WriteDefaults()
{
    // A first run cut short must not leave the key without its defaults: key and values are one replace.
    const plat::ScreenMetrics screen = plat::GetScreenMetrics();
    std::vector<plat::RegDword> values;
    for (const DefaultValue& value : DEFAULT_VALUES) {
        values.push_back({value.name, static_cast<std::uint32_t>(
                                          DefaultSettingValue(value.name, screen.width, screen.height))});
    }
    const bool saved = plat::RegSetDwords(SETTINGS_HIVE, REGISTRY_SETTINGS_KEY, values);
    for (const plat::RegDword& value : values)
        Remember(REGISTRY_SETTINGS_KEY, value.name, static_cast<int>(value.value), saved);
}

void RegistrySettings::Remember(std::u16string_view key, std::u16string_view name, int value, bool saved)
{
    const auto same = [&](const Unsaved& entry) {
        return EqualsNoCase(entry.key, key) && EqualsNoCase(entry.name, name);
    };
    std::erase_if(m_Unsaved, same);
    if (saved)
        return;
    m_Unsaved.push_back({std::u16string(key), std::u16string(name), value});
    if (!m_bReportedUnsaved) {
        m_bReportedUnsaved = true;
        plat::OutputDebugStringA("Tessel: the settings cannot be saved to " + plat::RegStorePath(SETTINGS_HIVE) +
                                 "; this run keeps them in memory only\n");
    }
}

const RegistrySettings::Unsaved* RegistrySettings::FindUnsaved(std::u16string_view key,
                                                               std::u16string_view name) const
{
    for (const Unsaved& entry : m_Unsaved) {
        if (EqualsNoCase(entry.key, key) && EqualsNoCase(entry.name, name))
            return &entry;
    }
    return nullptr;
}

int RegistrySettings::GetInt(std::u16string_view name, const char16_t* keyPath) const
{
    const std::u16string_view key = KeyOrSettings(keyPath);
    if (const Unsaved* kept = FindUnsaved(key, name))
        return kept->value;
    OpenKey(key);
    // A value of the other type does not read.
    std::uint32_t value = 0;
    if (!plat::RegGetDword(SETTINGS_HIVE, key, name, value))
        return 0;
    return static_cast<int>(value);
}

void RegistrySettings::SetInt(std::u16string_view name, int value, const char16_t* keyPath)
{
    const std::u16string_view key = KeyOrSettings(keyPath);
    const bool saved = plat::RegCreateKey(SETTINGS_HIVE, key, nullptr) &&
                       plat::RegSetDword(SETTINGS_HIVE, key, name, static_cast<std::uint32_t>(value));
    Remember(key, name, value, saved);
}

void RegistrySettings::SetInts(std::initializer_list<std::pair<std::u16string_view, int>> values)
{
    std::vector<plat::RegDword> dwords;
    for (const auto& [name, value] : values)
        dwords.push_back({name, static_cast<std::uint32_t>(value)});
    const bool saved = plat::RegSetDwords(SETTINGS_HIVE, REGISTRY_SETTINGS_KEY, dwords);
    for (const auto& [name, value] : values)
        Remember(REGISTRY_SETTINGS_KEY, name, value, saved);
}

const char16_t* RegistrySettings::GetString(std::u16string_view name, const char16_t* keyPath)
{
    std::fill(std::begin(m_Buffer), std::end(m_Buffer), u'\0');
    const std::u16string_view key = KeyOrSettings(keyPath);
    OpenKey(key);
    std::u16string text;
    if (!plat::RegGetString(SETTINGS_HIVE, key, name, text))
        return m_Buffer;
    // The last unit stays the terminator, whatever the stored length.
    const std::size_t length = std::min(text.size(), REGISTRY_STRING_CAPACITY - 1);
    std::copy_n(text.begin(), length, m_Buffer);
    return m_Buffer;
}

RegistrySettings* GetRegistrySettings()
{
    if (!s_pRegistrySettings)
        s_pRegistrySettings = std::make_unique<RegistrySettings>();
    return s_pRegistrySettings.get();
}

void DeleteRegistrySettings()
{
    s_pRegistrySettings.reset();
}
