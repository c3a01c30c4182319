// Surface loss of the headless backend (declared at the end of platform/Headless.h).
#include "platform/Headless.h"

namespace {
std::uint64_t s_surfaceLosses = 0;
} // namespace

namespace plat {

namespace headless {
void LoseSurfaces()
{
    ++s_surfaceLosses;
}
} // namespace headless

std::uint64_t SurfaceLossCount()
{
    return s_surfaceLosses;
}

} // namespace plat
