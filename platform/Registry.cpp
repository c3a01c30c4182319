// The registry stand-in: each hive is one UTF-8 text file in the configuration folder, read whole for every
// operation and replaced atomically on every write, so that a crash mid-save leaves the old or the new file.
//
//   TESSEL-REGISTRY 1
//   key<TAB>SOFTWARE\Quendral\...\Config
//   dword<TAB>playmovies<TAB>1
//   string<TAB>InstallLang<TAB>English
//   end<TAB><crc32 of every byte before this line, 8 hex digits>
//
// Names and texts escape '\t', '\n', '\r' and '\\' with a backslash. A person may edit the file: a store that
// parses is used even when its checksum no longer matches (that is logged). Only a missing file reads as empty;
// a file that does not parse is kept aside under the first free name of "<file>.damaged", "<file>.damaged.2", ...
// before the next write replaces it (a kept copy is never replaced), and a file that
// exists but cannot be read refuses every write, so no write ever throws away settings it could not see.
#include "platform/Platform.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <utility>

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

// What a file held: a missing file is an empty store; a damaged one is kept aside before the next write; an
// unreadable one refuses writes.
enum class StoreState { Missing, Read, Damaged, Unreadable };

struct Loaded {
    Store store;
    StoreState state = StoreState::Missing;
};

// edited is set when the checksum does not match what the file holds.
std::optional<Store> Parse(std::string_view content, bool& edited)
{
    edited = false;
    Store store;
    std::size_t pos = 0;
    bool first = true;
    bool ended = false;
    while (pos < content.size()) {
        // An editor may drop the last line end or save CR-LF line ends.
        std::size_t newline = content.find('\n', pos);
        if (newline == std::string_view::npos)
            newline = content.size();
        std::string_view line = content.substr(pos, newline - pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t lineStart = pos;
        pos = newline + 1;
        if (line.empty() && !first)
            continue;
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
            if (digits.size() != 8 || *stop != '\0')
                return std::nullopt;
            edited = stored != Crc32(content.substr(0, lineStart));
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

void Log(const std::string& text)
{
    OutputDebugStringA("Registry store " + text + "\n");
}

// Each store's hand edit and unreadable file are reported once, not at every read or write.
std::uint32_t s_reportedEdit[2] = {};
bool s_reportedUnreadable[2] = {};

int HiveIndex(Hive hive)
{
    return hive == Hive::LocalMachine ? 0 : 1;
}

// The last store read per hive and the file it came from: the program reads settings every frame, and a file
// that was not replaced or touched since holds the same values.
struct CachedStore {
    std::string path;
    struct stat info {};
    Loaded loaded;
    bool valid = false;
};
CachedStore s_cached[2];

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

Loaded ReadStore(Hive hive, const std::string& path);

Loaded Load(Hive hive)
{
    const std::string path = HiveFile(hive);
    CachedStore& cached = s_cached[HiveIndex(hive)];
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0) {
        cached.valid = false;
        return ReadStore(hive, path);
    }
    if (cached.valid && cached.path == path && SameFile(cached.info, before))
        return cached.loaded;
    Loaded loaded = ReadStore(hive, path);
    struct stat after {};
    // Only a store read from a file that held still while it was read is kept.
    cached.valid = loaded.state == StoreState::Read && ::stat(path.c_str(), &after) == 0 && SameFile(before, after);
    if (cached.valid) {
        cached.path = path;
        cached.info = after;
        cached.loaded = loaded;
    }
    return loaded;
}

Loaded ReadStore(Hive hive, const std::string& path)
{
    Loaded loaded;
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(FromUtf8(path), bytes)) {
        struct stat info {};
        const bool absent = ::stat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR);
        loaded.state = absent ? StoreState::Missing : StoreState::Unreadable;
        return loaded;
    }
    const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    bool edited = false;
    std::optional<Store> store = Parse(content, edited);
    if (!store) {
        loaded.state = StoreState::Damaged;
        return loaded;
    }
    std::uint32_t& reported = s_reportedEdit[HiveIndex(hive)];
    if (edited && reported != Crc32(content)) {
        reported = Crc32(content);
        Log(path + " was edited by hand (its checksum does not match); its values are used");
    }
    loaded.store = std::move(*store);
    loaded.state = StoreState::Read;
    return loaded;
}

// The most damaged copies kept beside one store; past it the damaged store itself stays where it is.
constexpr int MAX_KEPT_COPIES = 100;

// Moves the damaged store to the first name no earlier copy holds. A hard link claims the name atomically and
// fails on one that exists, so two programs keeping copies at once never replace each other's.
std::optional<std::string> KeepDamaged(const std::string& path)
{
    for (int n = 1; n <= MAX_KEPT_COPIES; ++n) {
        const std::string kept = path + ".damaged" + (n == 1 ? std::string() : "." + std::to_string(n));
        if (::link(path.c_str(), kept.c_str()) == 0) {
            ::unlink(path.c_str());
            return kept;
        }
        if (errno == EEXIST)
            continue;
        // A file system without hard links: a name nothing holds is taken by a rename.
        struct stat info {};
        if (::lstat(kept.c_str(), &info) == 0)
            continue;
        if (errno == ENOENT && ::rename(path.c_str(), kept.c_str()) == 0)
            return kept;
        return std::nullopt;
    }
    return std::nullopt;
}

// Writes the store over what Load found: never over a file it could not read, and a damaged file is kept.
bool Save(Hive hive, const Store& store, StoreState found)
{
    const std::string path = HiveFile(hive);
    if (found == StoreState::Unreadable) {
        if (!std::exchange(s_reportedUnreadable[HiveIndex(hive)], true))
            Log(path + " exists but cannot be read; nothing is written to it");
        return false;
    }
    const std::string folder = ConfigFolder();
    if (!MakeDirectories(FromUtf8(folder)))
        return false;
    if (found == StoreState::Damaged) {
        const std::optional<std::string> kept = KeepDamaged(path);
        if (!kept) {
            Log(path + " is damaged and could not be kept aside; nothing is written to it");
            return false;
        }
        Log(path + " is damaged: its values are lost; it was kept as " + *kept + " and a new store started");
    }
    const std::string content = Serialize(store);
    return WriteFileAtomic(FromUtf8(path), content.data(), content.size());
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

bool SameValue(const Value& a, const Value& b)
{
    return a.type == b.type && (a.type == RegType::Dword ? a.dword == b.dword : a.text == b.text);
}

// One atomic replace for every value; no write at all when the key exists and each value already holds.
bool SetValues(Hive hive, std::u16string_view key, std::span<const Value> values)
{
    Loaded loaded = Load(hive);
    if (loaded.state == StoreState::Unreadable)
        return Save(hive, loaded.store, loaded.state);
    Key* found = FindKey(loaded.store, key);
    bool changed = found == nullptr;
    if (found == nullptr) {
        loaded.store.keys.push_back(Key{NormalizeKey(key), {}});
        found = &loaded.store.keys.back();
    }
    for (const Value& value : values) {
        if (Value* existing = FindValue(*found, value.name)) {
            if (SameValue(*existing, value))
                continue;
            existing->type = value.type;
            existing->dword = value.dword;
            existing->text = value.text;
        } else {
            found->values.push_back(value);
        }
        changed = true;
    }
    if (!changed)
        return true;
    return Save(hive, loaded.store, loaded.state);
}

Value DwordValue(std::u16string_view name, std::uint32_t number)
{
    Value entry;
    entry.name = std::u16string(name);
    entry.type = RegType::Dword;
    entry.dword = number;
    return entry;
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

std::string RegStorePath(Hive hive)
{
    return HiveFile(hive);
}

bool RegCreateKey(Hive hive, std::u16string_view key, bool* created)
{
    if (created != nullptr)
        *created = false;
    Loaded loaded = Load(hive);
    if (loaded.state != StoreState::Unreadable && FindKey(loaded.store, key) != nullptr)
        return true;
    loaded.store.keys.push_back(Key{NormalizeKey(key), {}});
    if (!Save(hive, loaded.store, loaded.state))
        return false;
    if (created != nullptr)
        *created = true;
    return true;
}

bool RegKeyExists(Hive hive, std::u16string_view key)
{
    Store store = Load(hive).store;
    return FindKey(store, key) != nullptr;
}

RegType RegValueType(Hive hive, std::u16string_view key, std::u16string_view name)
{
    Store store = Load(hive).store;
    const Value* value = Lookup(store, key, name);
    return value != nullptr ? value->type : RegType::None;
}

bool RegGetDword(Hive hive, std::u16string_view key, std::u16string_view name, std::uint32_t& out)
{
    Store store = Load(hive).store;
    const Value* value = Lookup(store, key, name);
    if (value == nullptr || value->type != RegType::Dword)
        return false;
    out = value->dword;
    return true;
}

bool RegGetString(Hive hive, std::u16string_view key, std::u16string_view name, std::u16string& out)
{
    Store store = Load(hive).store;
    const Value* value = Lookup(store, key, name);
    if (value == nullptr || value->type != RegType::String)
        return false;
    out = value->text;
    return true;
}

bool RegSetDword(Hive hive, std::u16string_view key, std::u16string_view name, std::uint32_t value)
{
    const Value entry = DwordValue(name, value);
    return SetValues(hive, key, {&entry, 1});
}

bool RegSetDwords(Hive hive, std::u16string_view key, std::span<const RegDword> values)
{
    std::vector<Value> entries;
    for (const RegDword& value : values)
        entries.push_back(DwordValue(value.name, value.value));
    return SetValues(hive, key, entries);
}

bool RegSetString(Hive hive, std::u16string_view key, std::u16string_view name, std::u16string_view value)
{
    Value entry;
    entry.name = std::u16string(name);
    entry.type = RegType::String;
    entry.text = std::u16string(value);
    return SetValues(hive, key, {&entry, 1});
}

bool RegDeleteValue(Hive hive, std::u16string_view key, std::u16string_view name)
{
    Loaded loaded = Load(hive);
    Key* found = FindKey(loaded.store, key);
    if (found == nullptr)
        return false;
    for (auto it = found->values.begin(); it != found->values.end(); ++it) {
        if (EqualNoCase(it->name, name)) {
            found->values.erase(it);
            return Save(hive, loaded.store, loaded.state);
        }
    }
    return false;
}

} // namespace plat
