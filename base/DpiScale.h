// Lengths kept in 96-DPI units (stored window sizes, text sizes) and the pixels they
// take at a display's DPI.
#pragma once
#include <cstdint>

inline constexpr int32_t BaseDpi = 96;

// A 96-DPI length at dpi, rounded to the nearest pixel (halves away from zero); a DPI
// of 0 or below counts as 96.
constexpr int32_t ScaleToDpi(int32_t value, int32_t dpi) {
  if (dpi <= 0) return value;
  const int64_t n = int64_t{value} * dpi;
  return static_cast<int32_t>((n >= 0 ? n + BaseDpi / 2 : n - BaseDpi / 2) / BaseDpi);
}

// Pixels at dpi back in 96-DPI units, rounded the same way.
constexpr int32_t ScaleFromDpi(int32_t value, int32_t dpi) {
  if (dpi <= 0) return value;
  const int64_t n = int64_t{value} * BaseDpi;
  return static_cast<int32_t>((n >= 0 ? n + dpi / 2 : n - dpi / 2) / dpi);
}
