// What the soak programs (and the tick benchmark, in part) tick against: an interface table whose counters move in a
// fixed pattern (bursts, idle stretches, a counter reset now and then), a fixed date,
// and a graph window that only takes orders.
#pragma once
#include <cstdint>
#include <vector>

#include "app/GraphWindow.h"
#include "app/Tick.h"
#include "traffic/Clock.h"
#include "traffic/InterfaceTable.h"

inline constexpr const char* SoakAdapter = "Realtek PCIe GbE Family Controller";

class TSoakTable : public TInterfaceTable {
public:
  uint64_t Reads = 0;
  std::vector<TIfRow> Rows = {
      {24, "Software Loopback Interface 1", 0, 0},
      {6, SoakAdapter, 0, 0},
      {71, "Intel(R) Wi-Fi 6 AX201 160MHz", 0, 0},
  };
  bool Read(std::vector<TIfRow>& rows) override {
    const uint64_t t = Reads++;
    TIfRow& row = Rows[1];
    if (t % 50000 == 49999) {
      row.InOctets = row.OutOctets = 0;  // the adapter re-initialised
    } else if (t % 600 < 420) {
      // traffic from a trickle to about 60 MB/s, so every scale and tray level is met
      const uint32_t level = static_cast<uint32_t>((t * 7919) % 4096);
      row.InOctets += level * level * 4;
      row.OutOctets += level * 97;
    }  // otherwise idle, long enough for auto-hide and the idle pictures
    rows = Rows;
    return true;
  }
};

class TSoakClock : public TClock {
public:
  uint32_t Today() override { return 739591; }
  std::string FormatShortDate(uint32_t) override { return "06.12.2026"; }
};

class TSoakWindow : public TGraphWindow {
public:
  bool Visible = true;
  bool GraphVisible() override { return Visible; }
  void ShowGraph() override { Visible = true; }
  void HideGraph() override { Visible = false; }
  void InvalidateGraph() override {}
  int32_t Left() override { return 546; }
  int32_t Top() override { return 205; }
  int32_t Width() override { return 265; }
  int32_t Height() override { return 176; }
  void Move(int32_t, int32_t) override {}
  void Resize(int32_t, int32_t) override {}
  void SetDropShadow(bool) override {}
  void SetOpacity(uint8_t) override {}
  void SetStayOnTop(bool) override {}
  bool StayOnTop() override { return false; }
  void SetStayOnTopChecked(bool) override {}
  TColor SystemColour(int32_t) override { return 0xF0F0F0; }
  TRect WorkArea() override { return {0, 0, 1024, 738}; }
  bool OnAnyMonitor(const TRect&) override { return true; }
  TRect NearestWorkArea(const TRect&) override { return WorkArea(); }
  TPoint32 CursorPos() override { return {}; }
  bool CtrlDown() override { return false; }
  void SetFrame(TWindowFrame) override {}
  void SetClickThrough(bool) override {}
  void SetRunAwayTimer(bool) override {}
  void RestartReturnTimer() override {}
  void StopReturnTimer() override {}
  bool ReturnTimerRunning() override { return false; }
};

// The tray mode for a tick: each mode in turn for a thousand ticks.
inline int32_t SoakTrayMode(uint64_t tick) { return static_cast<int32_t>((tick / 1000) % 4); }
