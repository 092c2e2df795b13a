#include "base/Rounding.h"

#include <cmath>
#include <limits>

namespace {

int32_t Saturate(double v) {
  if (!(v == v)) return 0;
  if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

}  // namespace

int32_t RoundHalfEven(double value) {
  return Saturate(std::nearbyint(value));  // the default rounding mode is to nearest, ties to even
}

int32_t SaturatedTrunc(double value) { return Saturate(std::trunc(value)); }

int64_t SaturatingAdd(int64_t a, int64_t b) {
  int64_t r;
  if (__builtin_add_overflow(a, b, &r))
    return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
  return r;
}

int32_t SaturatingIncrement(int32_t v) { return v < std::numeric_limits<int32_t>::max() ? v + 1 : v; }

int32_t WrappingIncrement(int32_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v) + 1u); }
