// Reading the compiler's own UTF-8 sources and lists line by line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace datac {

// The text without leading and trailing blanks, tabs and carriage returns.
std::string TrimBlanks(std::string_view text);

// Splits the next line off text (LF or CR LF ends it; the end is dropped). False once text is used up.
bool NextSourceLine(std::string_view& text, std::string_view& line);

// The files of a folder whose names end with suffix, in name order (native paths); none when it is missing.
std::vector<std::string> SourceFiles(const std::string& folder, std::string_view suffix);

} // namespace datac
