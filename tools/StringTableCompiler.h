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

// One readable source: its name in messages and its UTF-8 text.
struct StringSource {
    std::string name;
    std::string text;
};

// A compiled entry: its text joined as the program's reader joins it, and where it was defined.
struct StringEntry {
    std::string keyUtf8;
    std::u16string key;
    std::u16string text;
    std::string sourceName;
    int line = 0;
};

// Compiles the sources, in order, into one table; a key defined twice, in one source or in two, is an error.
// entries receives every entry in file order. False on errors (out and entries then empty).
bool CompileStringSources(const std::vector<StringSource>& sources, std::vector<std::uint8_t>& out,
                          std::vector<StringEntry>& entries, Diagnostics& diagnostics);

// Compiles source (named sourceName in messages) into the bytes of the runtime file. False when the source has
// errors; every one is reported to diagnostics and out is then left empty.
bool CompileStringTable(std::string_view sourceName, std::string_view source, std::vector<std::uint8_t>& out,
                        Diagnostics& diagnostics);

// Reads every source path and writes one table to outPath when its content changes. Nothing is written on errors.
bool CompileStringTableFiles(const std::vector<std::string>& sourcePaths, const std::string& outPath,
                             std::vector<StringEntry>& entries, Diagnostics& diagnostics);

// Reads sourcePath and writes outPath (native paths) when its content changes. Nothing is written on errors.
bool CompileStringTableFile(const std::string& sourcePath, const std::string& outPath, Diagnostics& diagnostics);

} // namespace datac
