#include "tools/SourceText.h"

#include <algorithm>
#include <filesystem>

namespace datac {

namespace {
constexpr std::string_view BLANKS = " \t\r";
}

bool CheckUtf8Source(std::string_view source, const std::string& fileName, Diagnostics& diagnostics)
{
    if (source.starts_with("\xEF\xBB\xBF")) {
        diagnostics.Error(fileName, 1, "starts with a byte-order mark; save the source as UTF-8 without one");
        return false;
    }
    if (source.starts_with("\xFF\xFE") || source.starts_with("\xFE\xFF")) {
        diagnostics.Error(fileName, 1, "is UTF-16; sources are UTF-8");
        return false;
    }
    const std::size_t nul = source.find('\0');
    if (nul != std::string_view::npos) {
        const auto line = 1 + std::count(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(nul), '\n');
        diagnostics.Error(fileName, static_cast<int>(line), "holds a NUL byte (UTF-16?); sources are UTF-8");
        return false;
    }
    return true;
}

bool LeavesDataFolder(std::string_view path)
{
    if (path.starts_with('\\') || path.starts_with('/') || (path.size() >= 2 && path[1] == ':'))
        return true;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = path.find_first_of("\\/", start);
        const std::string_view step = path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (step == "..")
            return true;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return false;
}

std::string TrimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(BLANKS);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(BLANKS);
    return std::string(text.substr(first, last - first + 1));
}

bool NextSourceLine(std::string_view& text, std::string_view& line)
{
    if (text.empty())
        return false;
    const std::size_t end = text.find('\n');
    line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    return true;
}

std::vector<std::string> SourceFiles(const std::string& folder, std::string_view suffix)
{
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = item.path().filename().string();
        if (item.is_regular_file(error) && name.ends_with(suffix))
            files.push_back(item.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace datac
