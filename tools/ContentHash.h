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

} // namespace datac
