// Per-channel colour mixing and system colour lookup for the renderers.
#pragma once
#include <cstdint>

#include "app/StatsForm.h"

// Indices of the platform's system colours that the renderers ask for.
inline constexpr int SysColorWindow = 5;
inline constexpr int SysColorWindowFrame = 6;
inline constexpr int SysColorInfoText = 23;
inline constexpr int SysColorInfoBk = 24;

// Where system colours come from. Portable code can't ask the platform, so the
// Win32 layer installs GetSysColor here at start-up; until then (and natively) a
// table of the classic Windows colours answers.
using TSystemColourSource = TColor (*)(int index);
void SetSystemColourSource(TSystemColourSource source);  // nullptr restores the table
TColor DefaultSystemColour(int index);
TColor SystemColour(int index);

// A value above 0xFFFFFF names a system colour by its low byte; anything else is
// already RGB.
TColor ResolveColor(TColor colour);

// 255 minus every channel of the resolved colour.
TColor InvertColor(TColor colour);

// (1 - t) x a + t x b per channel, rounded half to even.
TColor MixColors(TColor a, TColor b, double t);

// MixColors(a, MixColors(b, inverse of m, t), t).
TColor MixWithInverse(TColor a, TColor b, TColor m, double t);
