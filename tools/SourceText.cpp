#include "tools/SourceText.h"

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

} // namespace datac
