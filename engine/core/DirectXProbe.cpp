#include "engine/core/DirectXProbe.h"

#include "platform/Platform.h"

// The platform layer knows what it offers; there is nothing to probe interface by interface.
void GetDXVersion(std::uint32_t& version, std::uint32_t& platform)
{
    platform = DX_PLATFORM_NT;
    version = plat::MultimediaVersion();
}
