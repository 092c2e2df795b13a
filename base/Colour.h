// Colours are COLORREF values 0x00BBGGRR. A value above 0xFFFFFF names a system
// colour instead, its index (GetSysColor's) in the low byte; the program writes them
// with bit 31 set (0x8000000F is the button face).
#pragma once
#include <cstdint>

using TColor = uint32_t;

// GetSysColor's indices of the system colours the program uses.
inline constexpr int32_t SysColorWindow = 5;
inline constexpr int32_t SysColorWindowFrame = 6;
inline constexpr int32_t SysColorWindowText = 8;
inline constexpr int32_t SysColorBtnFace = 15;
inline constexpr int32_t SysColorGrayText = 17;
inline constexpr int32_t SysColorInfoText = 23;
inline constexpr int32_t SysColorInfoBk = 24;

constexpr bool IsSysColour(TColor colour) { return colour > 0xFFFFFFu; }
constexpr int32_t SysColourIndex(TColor colour) { return static_cast<int32_t>(colour & 0xFFu); }
// The colour value that names system colour `index`.
constexpr TColor SysColour(int32_t index) { return 0x80000000u | (static_cast<uint32_t>(index) & 0xFFu); }

// Where system colours come from. Portable code can't ask the platform, so the
// Win32 layer installs GetSysColor here at start-up; until then (and natively) a
// table of the classic Windows colours answers.
using TSystemColourSource = TColor (*)(int32_t index);
void SetSystemColourSource(TSystemColourSource source);  // nullptr restores the table
TColor DefaultSystemColour(int32_t index);
TColor SystemColour(int32_t index);

// The RGB value to draw with: a system colour looked up, any other value as it is.
TColor ResolveColor(TColor colour);
