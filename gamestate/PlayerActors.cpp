#include "gamestate/PlayerActors.h"

#include "platform/Platform.h"

namespace {

const Actor* s_pHumanPlayerActor = nullptr;
const Actor* s_pCpuPlayerActor = nullptr;
std::uint32_t s_LessonTime = 0;
bool s_bState13Flag = true;

} // namespace

const Actor* GetHumanPlayerActor()
{
    return s_pHumanPlayerActor;
}

const Actor* GetCpuPlayerActor()
{
    return s_pCpuPlayerActor;
}

void SetPlayerActors(const Actor* human, const Actor* cpu)
{
    s_pHumanPlayerActor = human;
    s_pCpuPlayerActor = cpu;
}

void SetHumanPlayerActor(const Actor* human)
{
    s_pHumanPlayerActor = human;
}

void SetCpuPlayerActor(const Actor* cpu)
{
    s_pCpuPlayerActor = cpu;
}

void ForgetPlayerActor(const Actor* actor)
{
    if (actor == nullptr)
        return;
    if (s_pHumanPlayerActor == actor)
        s_pHumanPlayerActor = nullptr;
    if (s_pCpuPlayerActor == actor)
        s_pCpuPlayerActor = nullptr;
}

std::uint32_t StampLessonTime()
{
    s_LessonTime = plat::TimeGetTime();
    return s_LessonTime;
}

std::uint32_t GetLessonTime()
{
    return s_LessonTime;
}

void SetState13Flag()
{
    s_bState13Flag = true;
}

bool TakeState13Flag()
{
    const bool raised = s_bState13Flag;
    s_bState13Flag = false;
    return raised;
}
