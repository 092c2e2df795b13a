// Fakes around the tick: a host, a store and a table that write into one event log,
// so a test can see the order in which the tick reaches them.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/Tick.h"
#include "support/FakeGraphWindow.h"
#include "support/FakeInterfaceTable.h"
#include "settings/Settings.h"
#include "traffic/Clock.h"

class TLoggingTable : public TFakeInterfaceTable {
public:
  explicit TLoggingTable(TEventLog& log) : Log(log) {}
  bool Read(std::vector<TIfRow>& rows) override { return Log.push_back("read"), TFakeInterfaceTable::Read(rows); }
  TEventLog& Log;
};

// Keeps nothing; logs each write as "store <name>", a flag with its value.
class TLoggingStore : public TSettings {
public:
  explicit TLoggingStore(TEventLog& log) : Log(log) {}
  void Open() override {}
  int32_t ReadInteger(const std::string&, int32_t def) override { return def; }
  bool ReadBool(const std::string&, bool def) override { return def; }
  std::string ReadString(const std::string&, const std::string& def) override { return def; }
  void WriteInteger(const std::string& name, int32_t) override { Log.push_back("store " + name); }
  void WriteBool(const std::string& name, bool on) override { Log.push_back("store " + name + (on ? "=1" : "=0")); }
  void WriteString(const std::string& name, const std::string&) override { Log.push_back("store " + name); }
  TEventLog& Log;
};

// A fixed date; monotonic time moves only when the test moves NowMs.
class TFixedClock : public TClock {
public:
  uint64_t NowMs = 0;
  uint64_t MonotonicMs() override { return NowMs; }
  uint32_t Today() override { return 739000; }
  std::string FormatShortDate(uint32_t) override { return "06.12.2026"; }
};

// Records the tray picture step.
class TFakeTray : public TTrayHost {
public:
  explicit TFakeTray(TEventLog& log) : Log(log) {}
  void RenderTrayImage(int32_t down, int32_t up) override {
    TrayDown = down, TrayUp = up, Log.push_back("tray");
    if (OnRender) OnRender();
  }
  TEventLog& Log;
  int32_t TrayDown = -1, TrayUp = -1;
  std::function<void()> OnRender;
};

// A tick's whole surroundings, with one adapter "NIC" in the table, sampling started.
struct TTickRig {
  TEventLog Log;
  TStatsForm Form;
  TTrafficHistory History;
  TLoggingTable Table{Log};
  TLoggingStore Store{Log};
  TFixedClock Clock;
  TFakeGraphWindow Window{Log};
  TFakeTray Tray{Log};
  TTickContext Ctx{Form, History, Table, Store, Clock, Window, Tray};

  explicit TTickRig(int32_t width = 300) {
    History.HistoryResize(width);
    Form.AdapterName = "NIC";
    Table.Row("NIC");
    StartSampling(Form, Table, nullptr);
    Log.clear();
  }
  // One tick in which the adapter counted down and up more octets.
  void Tick(uint32_t down, uint32_t up) {
    Table.Row("NIC").InOctets += down, Table.Row("NIC").OutOctets += up;
    RunTick(Ctx);
  }
};
