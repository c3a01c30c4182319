// Per-frame easing of a point toward a target, and the sine the animations use.
#pragma once

// Milliseconds between the last two frames. The camera behaviour measures and sets it every frame; until it runs
// it stays 0 and StepTowards moves nothing (except the snap within 2.0 of the target).
extern float g_FrameMilliseconds;

float FloatSin(float radians);

// One step per axis: g_FrameMilliseconds * ((target - position) * rate / 60) / 1000. An axis snaps to its target
// when the step would pass it or when it is closer than 2.0. The axes move independently.
void StepTowards(float& x, float& y, float targetX, float targetY, float rate);
