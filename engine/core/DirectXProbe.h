// Which multimedia version the system offers, in the codes of the old DirectX version test; start-up warns
// below DX_VERSION_REQUIRED.
#pragma once

#include <cstdint>

// Version codes: 0 none, 0x100, 0x200, 0x300, 0x500, 0x600, 0x601, 0x700.
constexpr std::uint32_t DX_VERSION_REQUIRED = 0x300;

constexpr std::uint32_t DX_PLATFORM_UNKNOWN = 0;
constexpr std::uint32_t DX_PLATFORM_WINDOWS = 1;
constexpr std::uint32_t DX_PLATFORM_NT = 2;

void GetDXVersion(std::uint32_t& version, std::uint32_t& platform);
