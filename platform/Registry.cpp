// The registry stand-in: each hive is one UTF-8 text file in the configuration folder, read whole for every
// operation and replaced atomically on every write, so that a crash mid-save leaves the old or the new file.
//
//   TESSEL-REGISTRY 1
//   key<TAB>SOFTWARE\Quendral\...\Config
//   dword<TAB>playmovies<TAB>1
//   string<TAB>InstallLang<TAB>English
//   end<TAB><crc32 of every byte before this line, 8 hex digits>
//
// Names and texts escape '\t', '\n', '\r' and '\\' with a backslash. A file that does not parse or whose
// checksum does not match reads as empty.
#include "platform/Platform.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace plat {

namespace {

constexpr std::string_view MAGIC = "TESSEL-REGISTRY 1";

struct Value {
    std::u16string name;
    RegType type = RegType::None;
    std::uint32_t dword = 0;
    std::u16string text;
};

struct Key {
    std::u16string path;
    std::vector<Value> values;
};

struct Store {
    std::vector<Key> keys;
};

std::string s_configFolder;

char16_t FoldCase(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

// Key paths ignore leading, trailing and doubled separators, as the registry does.
std::u16string NormalizeKey(std::u16string_view key)
{
    std::u16string out;
    for (const char16_t c : key) {
        const char16_t unit = c == u'/' ? u'\\' : c;
        if (unit == u'\\' && (out.empty() || out.back() == u'\\'))
            continue;
        out.push_back(unit);
    }
    while (!out.empty() && out.back() == u'\\')
        out.pop_back();
    return out;
}

std::uint32_t Crc32(std::string_view bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string Escape(std::u16string_view text)
{
    std::string out;
    for (const char c : ToUtf8(text)) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\\': out += "\\\\"; break;
        default: out.push_back(c); break;
        }
    }
    return out;
}

std::optional<std::u16string> Unescape(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out.push_back(text[i]);
            continue;
        }
        if (++i >= text.size())
            return std::nullopt;
        switch (text[i]) {
        case 't': out.push_back('\t'); break;
        case 'n': out.push_back('\n'); break;
        case 'r': out.push_back('\r'); break;
        case '\\': out.push_back('\\'); break;
        default: return std::nullopt;
        }
    }
    return FromUtf8(out);
}

std::vector<std::string_view> SplitTabs(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (true) {
        const std::size_t tab = line.find('\t', pos);
        fields.push_back(line.substr(pos, tab == std::string_view::npos ? std::string_view::npos : tab - pos));
        if (tab == std::string_view::npos)
            return fields;
        pos = tab + 1;
    }
}

std::string HiveFile(Hive hive)
{
    return ConfigFolder() + (hive == Hive::LocalMachine ? "/local-machine.reg" : "/current-user.reg");
}

std::optional<Store> Parse(std::string_view content)
{
    Store store;
    std::size_t pos = 0;
    bool first = true;
    bool ended = false;
    while (pos < content.size()) {
        const std::size_t newline = content.find('\n', pos);
        if (newline == std::string_view::npos)
            return std::nullopt;
        const std::string_view line = content.substr(pos, newline - pos);
        const std::size_t lineStart = pos;
        pos = newline + 1;
        if (ended)
            return std::nullopt;
        if (first) {
            if (line != MAGIC)
                return std::nullopt;
            first = false;
            continue;
        }
        const std::vector<std::string_view> fields = SplitTabs(line);
        if (fields[0] == "end" && fields.size() == 2) {
            char* stop = nullptr;
            const std::string digits(fields[1]);
            const unsigned long stored = std::strtoul(digits.c_str(), &stop, 16);
            if (digits.size() != 8 || *stop != '\0' || stored != Crc32(content.substr(0, lineStart)))
                return std::nullopt;
            ended = true;
        } else if (fields[0] == "key" && fields.size() == 2) {
            const auto path = Unescape(fields[1]);
            if (!path)
                return std::nullopt;
            store.keys.push_back(Key{NormalizeKey(*path), {}});
        } else if ((fields[0] == "dword" || fields[0] == "string") && fields.size() == 3 && !store.keys.empty()) {
            const auto name = Unescape(fields[1]);
            if (!name)
                return std::nullopt;
            Value value;
            value.name = *name;
            if (fields[0] == "dword") {
                const std::string digits(fields[2]);
                char* stop = nullptr;
                const unsigned long number = std::strtoul(digits.c_str(), &stop, 10);
                if (digits.empty() || *stop != '\0' || number > 0xFFFFFFFFul)
                    return std::nullopt;
                value.type = RegType::Dword;
                value.dword = static_cast<std::uint32_t>(number);
            } else {
                const auto text = Unescape(fields[2]);
                if (!text)
                    return std::nullopt;
                value.type = RegType::String;
                value.text = *text;
            }
            store.keys.back().values.push_back(std::move(value));
        } else {
            return std::nullopt;
        }
    }
    if (!ended)
        return std::nullopt;
    return store;
}

std::string Serialize(const Store& store)
{
    std::string out(MAGIC);
    out += '\n';
    for (const Key& key : store.keys) {
        out += "key\t" + Escape(key.path) + "\n";
        for (const Value& value : key.values) {
            if (value.type == RegType::Dword)
                out += "dword\t" + Escape(value.name) + "\t" + std::to_string(value.dword) + "\n";
            else
                out += "string\t" + Escape(value.name) + "\t" + Escape(value.text) + "\n";
        }
    }
    char checksum[16];
    std::snprintf(checksum, sizeof checksum, "%08x", Crc32(out));
    out += "end\t";
    out += checksum;
    out += '\n';
    return out;
}

Store Load(Hive hive)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(FromUtf8(HiveFile(hive)), bytes))
        return {};
    const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::optional<Store> store = Parse(content);
    if (!store) {
        OutputDebugStringA("Registry store " + HiveFile(hive) + " is damaged; it reads as empty\n");
        return {};
    }
    return std::move(*store);
}

bool Save(Hive hive, const Store& store)
{
    const std::string folder = ConfigFolder();
    if (!MakeDirectories(FromUtf8(folder)))
        return false;
    const std::string content = Serialize(store);
    return WriteFileAtomic(FromUtf8(HiveFile(hive)), content.data(), content.size());
}

Key* FindKey(Store& store, std::u16string_view key)
{
    const std::u16string path = NormalizeKey(key);
    for (Key& candidate : store.keys) {
        if (EqualNoCase(candidate.path, path))
            return &candidate;
    }
    return nullptr;
}

Value* FindValue(Key& key, std::u16string_view name)
{
    for (Value& value : key.values) {
        if (EqualNoCase(value.name, name))
            return &value;
    }
    return nullptr;
}

const Value* Lookup(Store& store, std::u16string_view key, std::u16string_view name)
{
    Key* found = FindKey(store, key);
    return found != nullptr ? FindValue(*found, name) : nullptr;
}

bool SetValue(Hive hive, std::u16string_view key, const Value& value)
{
    Store store = Load(hive);
    Key* found = FindKey(store, key);
    if (found == nullptr) {
        store.keys.push_back(Key{NormalizeKey(key), {}});
        found = &store.keys.back();
    }
    if (Value* existing = FindValue(*found, value.name)) {
        existing->type = value.type;
        existing->dword = value.dword;
        existing->text = value.text;
    } else {
        found->values.push_back(value);
    }
    return Save(hive, store);
}

} // namespace

std::string ConfigFolder()
{
    if (!s_configFolder.empty())
        return s_configFolder;
    if (const char* own = std::getenv("TESSEL_CONFIG_HOME"); own != nullptr && *own != '\0')
        return own;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/')
        return std::string(xdg) + "/tessel";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr && *home != '\0' ? home : "/tmp") + "/.config/tessel";
}

void SetConfigFolder(const std::string& nativePath)
{
    s_configFolder = nativePath;
}

bool RegCreateKey(Hive hive, std::u16string_view key, bool* created)
{
    if (created != nullptr)
        *created = false;
    Store store = Load(hive);
    if (FindKey(store, key) != nullptr)
        return true;
    store.keys.push_back(Key{NormalizeKey(key), {}});
    if (!Save(hive, store))
        return false;
    if (created != nullptr)
        *created = true;
    return true;
}

bool RegKeyExists(Hive hive, std::u16string_view key)
{
    Store store = Load(hive);
    return FindKey(store, key) != nullptr;
}

RegType RegValueType(Hive hive, std::u16string_view key, std::u16string_view name)
{
    Store store = Load(hive);
    const Value* value = Lookup(store, key, name);
    return value != nullptr ? value->type : RegType::None;
}

bool RegGetDword(Hive hive, std::u16string_view key, std::u16string_view name, std::uint32_t& out)
{
    Store store = Load(hive);
    const Value* value = Lookup(store, key, name);
    if (value == nullptr || value->type != RegType::Dword)
        return false;
    out = value->dword;
    return true;
}

bool RegGetString(Hive hive, std::u16string_view key, std::u16string_view name, std::u16string& out)
{
    Store store = Load(hive);
    const Value* value = Lookup(store, key, name);
    if (value == nullptr || value->type != RegType::String)
        return false;
    out = value->text;
    return true;
}

bool RegSetDword(Hive hive, std::u16string_view key, std::u16string_view name, std::uint32_t value)
{
    Value entry;
    entry.name = std::u16string(name);
    entry.type = RegType::Dword;
    entry.dword = value;
    return SetValue(hive, key, entry);
}

bool RegSetString(Hive hive, std::u16string_view key, std::u16string_view name, std::u16string_view value)
{
    Value entry;
    entry.name = std::u16string(name);
    entry.type = RegType::String;
    entry.text = std::u16string(value);
    return SetValue(hive, key, entry);
}

bool RegDeleteValue(Hive hive, std::u16string_view key, std::u16string_view name)
{
    Store store = Load(hive);
    Key* found = FindKey(store, key);
    if (found == nullptr)
        return false;
    for (auto it = found->values.begin(); it != found->values.end(); ++it) {
        if (EqualNoCase(it->name, name)) {
            found->values.erase(it);
            return Save(hive, store);
        }
    }
    return false;
}

} // namespace plat
