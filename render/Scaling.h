// Full-scale values (octets per tick), automatic rescaling and the up/down balance.
#pragma once
#include <cstdint>

class TTrafficHistory;

// The scale every load starts automatic scaling from, and what a stored scale of
// 0 or below is taken as.
constexpr int32_t DefaultScaleMax = 4096;

// A stored manual scale of 0 or below would reach a division; it counts as 4096.
int32_t UsableScale(int32_t stored);
// A balance stored outside the trackbar's range 1..99 is clamped to it.
int32_t UsableBalance(int32_t stored);

// New full-scale value from the whole history (running peak, oldest first, down before
// up at each age) with a 5 % band either way.
int32_t ComputeAutoScale(const TTrafficHistory& history, int32_t current);

// The percentage a balance position gives to the smaller full-scale value.
int32_t BalancePercent(int32_t balance);

struct TDirectionScales {
  int32_t DownScale;
  int32_t UpScale;
};
TDirectionScales DirectionScales(int32_t scale, int32_t balance);

// Height in pixels of a sample for a drawing height and a direction's scale:
// v x height / scale, rounded half to even, without 32-bit overflow.
int32_t SampleHeight(int32_t sample, int32_t height, int32_t scale);
