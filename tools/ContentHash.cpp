#include "tools/ContentHash.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace datac {

namespace {

constexpr std::uint64_t PRIME = 1099511628211ull;

} // namespace

std::uint64_t ContentHash(std::string_view bytes, std::uint64_t hash)
{
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, 8);
        hash = (hash ^ word) * PRIME;
    }
    for (; at < bytes.size(); ++at)
        hash = (hash ^ static_cast<unsigned char>(bytes[at])) * PRIME;
    // The length, so that trailing zero bytes still change the hash.
    return (hash ^ bytes.size()) * PRIME;
}

std::uint64_t ContentHash(const std::vector<std::uint8_t>& bytes, std::uint64_t hash)
{
    return ContentHash(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), hash);
}

std::uint64_t ToolHash()
{
    static const std::uint64_t hash = [] {
        std::ifstream in("/proc/self/exe", std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        return ContentHash(bytes);
    }();
    return hash;
}

} // namespace datac
