// Writing the compiled files into the install folder. A file that already holds the same bytes is left alone,
// so an unchanged source does not make the build copy or reload anything.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datac {

enum class WriteResult { Unchanged, Written, Failed };

// path is a native path. Creates the missing folders, then writes through a temporary file and a rename so that
// a reader never sees half a file.
WriteResult WriteIfChanged(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace datac
