// Octets per tick, one sample per pixel column of the graph window, newest last.
#pragma once
#include <cstdint>
#include <vector>

enum class THistoryRow : int { Down = 0, Up = 1 };
inline constexpr THistoryRow HistoryDown = THistoryRow::Down;
inline constexpr THistoryRow HistoryUp = THistoryRow::Up;

class TTrafficHistory {
public:
  int32_t HistoryLength() const { return static_cast<int32_t>(rows_[0].size()); }

  // Keeps every sample's age: rows stay right-aligned, new older slots are 0.
  void HistoryResize(int32_t n);
  // Shifts both rows one place towards the oldest end and stores the new samples last.
  void HistoryPush(int32_t down, int32_t up);
  // The sample of that age (0 = this tick). Ages outside the history read as 0, so a
  // history shorter than its readers expect (a tiny stored width) is never overrun.
  int32_t HistorySample(THistoryRow row, int32_t age) const;

private:
  std::vector<int32_t> rows_[2];
};
