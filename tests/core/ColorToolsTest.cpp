#include "render/ColorTools.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(ColorTools, MixColorsRoundsEachChannelHalfToEven) {
  const struct { const char* name; TColor a, b; double t; TColor expected; } cases[] = {
      {"t 0 gives a", 0x123456, 0xABCDEF, 0.0, 0x123456}, {"t out of range clamps", 0x000000, 0xFFFFFF, 2.0, 0xFFFFFF},
      {"negative t clamps", 0x000000, 0xFFFFFF, -1.0, 0x000000},
      {"halves per channel", 0x000000, 0x0301FF, 0.5, 0x020080},  // red 127.5 -> 128, green 0.5 -> 0, blue 1.5 -> 2
      {"channels stay apart", 0xFF00FF, 0x00FF00, 0.5, 0x808080},
      {"overlap band of the default colours", 0x1515FF, 0x30FFFF, 0.7, 0x28B9FF},
      {"grey from black and white", 0x000000, 0xFFFFFF, 0.3, 0x4C4C4C},  // 76.5 -> 76
      {"system window colour resolved", 0x80000005, 0x000000, 0.5, 0x808080},
  };
  for (const auto& c : cases) EXPECT_EQ(MixColors(c.a, c.b, c.t), c.expected) << c.name;

  const struct { const char* name; TColor m, expected; } inverse[] = {
      // C0 x 0.6 = 115.2 -> 115, then x 0.4 = 46; over white 115.2 + 102 = 217.2 -> 217, x 0.4 = 86.8 -> 87
      {"white background", 0xFFFFFF, 0x2E2E2E}, {"system white background", 0x80000005, 0x2E2E2E},
      {"black background", 0x000000, 0x575757},
  };
  for (const auto& c : inverse) EXPECT_EQ(MixWithInverse(0x000000, 0xC0C0C0, c.m, 0.4), c.expected) << c.name;
}

TEST(ColorTools, SystemColoursComeFromTheInstalledSource) {
  const struct { const char* name; TColor in, expected; } cases[] = {
      {"plain RGB untouched", 0x00ABCDEF, 0x00ABCDEF}, {"window", 0x80000005, 0xFFFFFF},
      {"window frame", 0x80000006, 0x000000}, {"tooltip background", 0x80000018, 0xE1FFFF},
      {"tooltip text", 0x80000017, 0x000000},
      {"any value above 0xFFFFFF names one by its low byte", 0x01000005, 0xFFFFFF},
      {"unknown index", 0x800000FF, 0}, {"first index past the table", 0x8000001F, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveColor(c.in), c.expected) << c.name;
  EXPECT_EQ(InvertColor(0x80000018), 0x1E0000u);

  SetSystemColourSource([](int index) -> TColor { return index == 24 ? 0xFF123456 : 0x000042; });
  const auto installed = std::tuple(ResolveColor(0x80000018), SystemColour(5));  // the source's result kept to RGB
  SetSystemColourSource(nullptr);
  EXPECT_EQ(std::tuple(installed, SystemColour(24)), std::tuple(std::tuple(0x123456u, 0x000042u), 0xE1FFFFu));
}

}  // namespace
