// libFuzzer target over the settings store: any bytes as a hive's file, read through the value getters for the
// keys and names the bytes could hold, then a number written that must read back. The store lives in a
// temporary configuration folder, emptied before every run (damaged files are kept aside there), in memory
// where the system offers it: every write of the store is flushed to its disk.
#include "platform/Platform.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

std::filesystem::path s_Folder;

void RemoveFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(s_Folder, ignored);
}

void EmptyFolder()
{
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(s_Folder, ignored))
        std::filesystem::remove_all(entry.path(), ignored);
}

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// The key paths and value names the text could hold: the fields after "key", "dword" and "string".
std::vector<std::pair<std::u16string, std::u16string>> CandidateValues(std::string_view text)
{
    std::vector<std::pair<std::u16string, std::u16string>> values;
    std::u16string key = u"Software\\Fuzz";
    std::size_t start = 0;
    while (start < text.size() && values.size() < 32) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            continue;
        const std::string_view word = line.substr(0, tab);
        std::string_view field = line.substr(tab + 1);
        field = field.substr(0, field.find('\t'));
        if (word == "key")
            key = plat::FromUtf8(field);
        else
            values.emplace_back(key, plat::FromUtf8(field));
    }
    values.emplace_back(key, u"fuzzvalue");
    return values;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    plat::Init(plat::BackendKind::Headless);
    // Quiet: damaged and hand-edited stores are reported to the log.
    plat::SetLogSink([](std::string_view) {});
    std::random_device random;
    std::error_code error;
    const std::filesystem::path memory = "/dev/shm";
    const std::filesystem::path base =
        std::filesystem::is_directory(memory, error) && ::access(memory.c_str(), W_OK) == 0
            ? memory
            : std::filesystem::temp_directory_path();
    s_Folder = base / ("tessel-fuzz-store-" + std::to_string(random()));
    std::filesystem::create_directories(s_Folder);
    plat::SetConfigFolder(s_Folder.string());
    std::atexit(&RemoveFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EmptyFolder();
    const plat::Hive hive = size % 2 == 0 ? plat::Hive::LocalMachine : plat::Hive::CurrentUser;
    const std::string path = plat::RegStorePath(hive);
    if (!plat::WriteFileAtomic(plat::FromUtf8(path), data, size))
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto values = CandidateValues(text);
    std::uint32_t number = 0;
    std::u16string string;
    for (const auto& [key, name] : values) {
        plat::RegGetDword(hive, key, name, number);
        plat::RegGetString(hive, key, name, string);
        plat::RegValueType(hive, key, name);
    }
    // A written number reads back, over whatever the file held (a damaged file is kept aside first).
    const auto& [key, name] = values[size % values.size()];
    const std::uint32_t written = static_cast<std::uint32_t>(size * 2654435761u);
    Require(plat::RegSetDword(hive, key, name, written));
    std::uint32_t read = written + 1;
    Require(plat::RegGetDword(hive, key, name, read));
    Require(read == written);
    Require(plat::RegValueType(hive, key, name) == plat::RegType::Dword);
    return 0;
}
