// Level scripts: each data/levels/levelNN_u.cfg (UTF-8) becomes the install folder's levelNN_u.cfg (UTF-16LE
// with a byte-order mark, CR LF line ends). A line "include <file>" is replaced by the lines of that file of the
// same folder, so the texture lists shared by several modes are written once.
#pragma once

#include "tools/Diagnostics.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace datac {

constexpr char LEVEL_SCRIPT_SUFFIX[] = "_u.cfg";

// Expands one script. readInclude gives the UTF-8 text of a named file of the folder (false: missing).
bool CompileLevelScript(const std::string& sourceName, const std::string& text,
                        const std::function<bool(const std::string&, std::string&)>& readInclude,
                        std::vector<std::uint8_t>& out, Diagnostics& diagnostics);

// Every level*_u.cfg of sourceFolder, written into outFolder when it changed.
bool CompileLevelScripts(const std::string& sourceFolder, const std::string& outFolder, Diagnostics& diagnostics);

} // namespace datac
