// The content hash the data step keys its caches by: FNV-1a over the bytes, a word at a time for large files
// (it tells changed content apart; it is no checksum to trust against tampering).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace datac {

constexpr std::uint64_t CONTENT_HASH_START = 14695981039346656037ull;

std::uint64_t ContentHash(std::string_view bytes, std::uint64_t hash = CONTENT_HASH_START);
std::uint64_t ContentHash(const std::vector<std::uint8_t>& bytes, std::uint64_t hash = CONTENT_HASH_START);
// The running tool's own executable: drawn images depend on the code that draws them as much as on their sources,
// so a rebuilt tool redraws and an unchanged one reuses its cache.
std::uint64_t ToolHash();

} // namespace datac
