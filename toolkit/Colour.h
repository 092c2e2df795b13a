// The toolkit colour: a COLORREF 0x00BBGGRR, or, with bit 31 set, a system
// colour whose index is in the low byte (resolved with GetSysColor at use).
#pragma once
#include <cstdint>

using TColour = uint32_t;

constexpr TColour kSysColourFlag = 0x80000000u;

constexpr TColour SysColour(uint32_t index) { return kSysColourFlag | (index & 0xFFu); }
constexpr bool IsSysColour(TColour c) { return (c & kSysColourFlag) != 0; }

// The system colours the program uses.
constexpr TColour clBtnFace = 0x8000000Fu;     // COLOR_BTNFACE
constexpr TColour clWindowText = 0x80000008u;  // COLOR_WINDOWTEXT
constexpr TColour clInfoText = 0x80000017u;    // COLOR_INFOTEXT
constexpr TColour clInfoBk = 0x80000018u;      // COLOR_INFOBK

// The plain RGB value (0x00BBGGRR) for drawing now.
uint32_t ColourToRGB(TColour colour);
