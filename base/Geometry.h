// Points, rectangles and sizes in pixels. Rectangles exclude their right column and
// bottom row.
#pragma once
#include <cstdint>

struct TPoint32 {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const TPoint32&) const = default;
};

struct TRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool Contains(TPoint32 p) const { return left <= p.x && p.x < right && top <= p.y && p.y < bottom; }
  bool operator==(const TRect&) const = default;
};

struct TSize {
  int32_t cx = 0, cy = 0;
  bool operator==(const TSize&) const = default;
};
