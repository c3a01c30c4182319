// The physical lesson's turn driver of the CPU side, run once a frame by the "cpuplayer" actor.
#pragma once

class Actor;

void CpuPhysicalTurn(Actor* actor);
