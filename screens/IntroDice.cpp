#include "screens/IntroDice.h"

#include "platform/Platform.h"

namespace {

constexpr int FACES = 6;

int DrawFace()
{
    return plat::Rand() % FACES;
}

} // namespace

int s_HumanDieValue = 1;
int s_CpuDieValue = 1;

IntroDiceFaces RollIntroDice(bool advanced)
{
    IntroDiceFaces faces;
    for (;;) {
        faces.human = DrawFace();
        faces.cpu = DrawFace();
        if (advanced ? faces.human != faces.cpu : faces.cpu > faces.human)
            break;
    }
    faces.humanStart = DrawFace();
    faces.cpuStart = DrawFace();
    s_HumanDieValue = faces.human + 1;
    s_CpuDieValue = faces.cpu + 1;
    return faces;
}

bool CpuBeginsAfterWinning(bool advanced)
{
    return !advanced || plat::Rand() % 2 == 1;
}
