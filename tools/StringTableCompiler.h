// The string table: data/strings/strings.<lang>.txt (UTF-8, easy to edit) becomes res_str_phys_u.txt (UTF-16LE
// with a byte-order mark; each entry a key line, its text lines and an end line "zzzz"; CR LF line ends).
// The source syntax is described at the top of data/strings/strings.en.txt.
#pragma once

#include "tools/Diagnostics.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace datac {

// The program's reader keeps a key of at most 255 units and a joined text of at most 1539.
constexpr std::size_t MAX_STRING_KEY_UNITS = 255;
constexpr std::size_t MAX_STRING_TEXT_UNITS = 1539;
// The reader takes a line in pieces of 1019 units, line end included; a longer line would be split in two.
constexpr std::size_t MAX_STRING_LINE_UNITS = 1017;

constexpr char STRING_TABLE_FILE_NAME[] = "res_str_phys_u.txt";

// Compiles source (named sourceName in messages) into the bytes of the runtime file. False when the source has
// errors; every one is reported to diagnostics and out is then left empty.
bool CompileStringTable(std::string_view sourceName, std::string_view source, std::vector<std::uint8_t>& out,
                        Diagnostics& diagnostics);

// Reads sourcePath and writes outPath (native paths) when its content changes. Nothing is written on errors.
bool CompileStringTableFile(const std::string& sourcePath, const std::string& outPath, Diagnostics& diagnostics);

} // namespace datac
