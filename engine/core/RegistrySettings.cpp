#include "engine/core/RegistrySettings.h"

#include "platform/Platform.h"

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

RegistrySettings::RegistrySettings()
{
    bool created = false;
    if (plat::RegCreateKey(SETTINGS_HIVE, REGISTRY_SETTINGS_KEY, &created) && created)
        WriteDefaults();
}

void RegistrySettings::WriteDefaults() const
{
    const plat::ScreenMetrics screen = plat::GetScreenMetrics();
    for (const DefaultValue& value : DEFAULT_VALUES) {
        int base = 0;
        if (value.base == DefaultBase::ScreenWidth)
            base = screen.width;
        else if (value.base == DefaultBase::ScreenHeight)
            base = screen.height;
        SetInt(value.name, base + value.offset);
    }
}

int RegistrySettings::GetInt(std::u16string_view name, const char16_t* keyPath) const
{
    const std::u16string_view key = KeyOrSettings(keyPath);
    OpenKey(key);
    // A value of the other type does not read.
    std::uint32_t value = 0;
    if (!plat::RegGetDword(SETTINGS_HIVE, key, name, value))
        return 0;
    return static_cast<int>(value);
}

void RegistrySettings::SetInt(std::u16string_view name, int value, const char16_t* keyPath) const
{
    const std::u16string_view key = KeyOrSettings(keyPath);
    if (!plat::RegCreateKey(SETTINGS_HIVE, key, nullptr))
        return;
    plat::RegSetDword(SETTINGS_HIVE, key, name, static_cast<std::uint32_t>(value));
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
