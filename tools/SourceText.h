// Reading the compiler's own UTF-8 sources and lists line by line.
#pragma once

#include <string>
#include <string_view>

namespace datac {

// The text without leading and trailing blanks, tabs and carriage returns.
std::string TrimBlanks(std::string_view text);

// Splits the next line off text (LF or CR LF ends it; the end is dropped). False once text is used up.
bool NextSourceLine(std::string_view& text, std::string_view& line);

} // namespace datac
