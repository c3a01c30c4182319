#include "tools/SourceText.h"

#include <algorithm>
#include <filesystem>

namespace datac {

namespace {
constexpr std::string_view BLANKS = " \t\r";
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
