#include "engine/core/DirectXProbe.h"

#include "platform/Headless.h"

#include <gtest/gtest.h>

namespace {

TEST(DirectXProbeTest, ReportsThePlatformsMultimediaVersionOnNt)
{
    for (const std::uint32_t offered : {0x000u, 0x200u, 0x300u, 0x601u, 0x700u}) {
        plat::headless::SetMultimediaVersion(offered);
        std::uint32_t version = 0xFFFF;
        std::uint32_t platform = 0xFFFF;
        GetDXVersion(version, platform);
        EXPECT_EQ(version, offered);
        EXPECT_EQ(platform, DX_PLATFORM_NT);
    }
}

} // namespace
