// Rounding and arithmetic that stays inside its type instead of overflowing.
#pragma once
#include <cstdint>

// Round half to even, saturated to the signed 32-bit range (NaN gives 0).
int32_t RoundHalfEven(double value);
// Truncated toward zero, saturated the same way.
int32_t SaturatedTrunc(double value);

// a + b, stopping at the 64-bit limits.
int64_t SaturatingAdd(int64_t a, int64_t b);
// v + 1, stopping at the 32-bit maximum.
int32_t SaturatingIncrement(int32_t v);
// v + 1, wrapping to the minimum after the maximum (only residues matter to its readers).
int32_t WrappingIncrement(int32_t v);
