// Float helpers the sprites, the life tokens and the sound share.
#pragma once

float FloatAbs(float value);
// 0 for negative values.
float FloatSqrt(float value);
