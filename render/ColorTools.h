// Per-channel colour mixing for the renderers.
#pragma once
#include "base/Colour.h"

// 255 minus every channel of the resolved colour.
TColor InvertColor(TColor colour);

// (1 - t) x a + t x b per channel of the resolved colours, rounded half to even.
TColor MixColors(TColor a, TColor b, double t);

// MixColors(a, MixColors(b, inverse of m, t), t).
TColor MixWithInverse(TColor a, TColor b, TColor m, double t);
