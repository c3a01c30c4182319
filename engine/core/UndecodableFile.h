// Data files that could be read but not decoded (an image or a sound of another format, cut short, garbage).
#pragma once

#include <string_view>

// Names the file and what it should have been in the log, once per file for the program's run: a scene that
// asks for the same broken image every frame says so once, and a hole in the table has a word why.
void ReportUndecodableFile(std::u16string_view path, std::string_view kind);
