// What a write of the usage history costs under Wine: the store opened on a file of a
// year's rows, then one transaction of a minute's buckets (the hour's and, at a change,
// the last one's) at a time, as the program writes it. Prints milliseconds.
#include "toolkit/WinApi.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/DayNumber.h"
#include "usage/SqliteUsageStore.h"

namespace {

double Ms(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

}  // namespace

int main() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string path = std::string(temp) + "tarvelo_usage_bench.db";
  for (const char* suffix : {"", "-wal", "-shm"}) DeleteFileA((path + suffix).c_str());
  const uint32_t first = DayNumber(2026, 1, 1);
  {
    TSqliteUsageStore store(path, TSqliteUsageStore::TMode::ReadWrite, first);
    for (uint32_t d = 0; d < 365; ++d) {
      for (int32_t h = 0; h < 24; ++h) store.Add("Intel(R) Wi-Fi 6 AX201 160MHz", {first + d, h}, 123456789, 2345678);
      store.Flush();
    }
  }
  LARGE_INTEGER t0 = Now();
  TSqliteUsageStore store(path, TSqliteUsageStore::TMode::ReadWrite, first);
  const double open = Ms(t0, Now());
  std::vector<double> writes;
  for (int i = 0; i < 600; ++i) {
    const TLocalHour hour{first + 365 + static_cast<uint32_t>(i / 60), 0};
    t0 = Now();
    if (i % 60 == 0) store.Add("Intel(R) Wi-Fi 6 AX201 160MHz", {hour.Day - 1, 23}, 1000, 100);
    store.Add("Intel(R) Wi-Fi 6 AX201 160MHz", hour, 60000000, 1000000);
    store.Flush();
    writes.push_back(Ms(t0, Now()));
  }
  std::vector<TUsageRow> rows;
  t0 = Now();
  store.Read(first, first + 31, rows);
  const double month = Ms(t0, Now());
  std::sort(writes.begin(), writes.end());
  double sum = 0;
  for (double w : writes) sum += w;
  std::printf("open of a year's rows (8,760): %.2f ms\n", open);
  std::printf("write (one transaction): mean %.3f ms, median %.3f ms, 99th %.3f ms, max %.3f ms over %zu\n",
              sum / writes.size(), writes[writes.size() / 2], writes[writes.size() * 99 / 100], writes.back(),
              writes.size());
  std::printf("read of a month (%zu rows): %.3f ms\n", rows.size(), month);
  for (const char* suffix : {"", "-wal", "-shm"}) DeleteFileA((path + suffix).c_str());
  return 0;
}
