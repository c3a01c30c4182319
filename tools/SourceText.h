// Reading the compiler's own UTF-8 sources and lists line by line.
#pragma once

#include "tools/Diagnostics.h"

#include <string>
#include <string_view>
#include <vector>

namespace datac {

// Sources are UTF-8 without a byte-order mark. A mark or a UTF-16 file is an error on its first line (or the
// line of the first NUL byte); false then, and the caller compiles nothing of the file.
bool CheckUtf8Source(std::string_view source, const std::string& fileName, Diagnostics& diagnostics);

// Whether a data path written in a source would reach outside the folder it is read from: an absolute path, a
// drive, or a ".." step.
bool LeavesDataFolder(std::string_view path);

// The text without leading and trailing blanks, tabs and carriage returns.
std::string TrimBlanks(std::string_view text);

// Splits the next line off text (LF or CR LF ends it; the end is dropped). False once text is used up.
bool NextSourceLine(std::string_view& text, std::string_view& line);

// The files of a folder whose names end with suffix, in name order (native paths); none when it is missing.
std::vector<std::string> SourceFiles(const std::string& folder, std::string_view suffix);

} // namespace datac
