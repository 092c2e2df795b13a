// Fakes around the tick: a host, a store and a table that write into one event log,
// so a test can see the order in which the tick reaches them.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/Tick.h"
#include "core/FakeInterfaceTable.h"
#include "settings/uSettingsBase.h"
#include "traffic/Clock.h"

using TEventLog = std::vector<std::string>;

class TLoggingTable : public TFakeInterfaceTable {
public:
  explicit TLoggingTable(TEventLog& log) : log_(log) {}
  bool Read(std::vector<TIfRow>& rows) override { return log_.push_back("read"), TFakeInterfaceTable::Read(rows); }

private:
  TEventLog& log_;
};

// Keeps nothing; logs each write as "store <name>".
class TLoggingStore : public TSettings {
public:
  explicit TLoggingStore(TEventLog& log) : log_(log) {}
  void Open() override {}
  int32_t ReadInteger(const std::string&, int32_t def) override { return def; }
  bool ReadBool(const std::string&, bool def) override { return def; }
  std::string ReadString(const std::string&, const std::string& def) override { return def; }
  void WriteInteger(const std::string& name, int32_t) override { log_.push_back("store " + name); }
  void WriteBool(const std::string& name, bool) override { log_.push_back("store " + name); }
  void WriteString(const std::string& name, const std::string&) override { log_.push_back("store " + name); }

private:
  TEventLog& log_;
};

class TFixedClock : public TClock {
public:
  uint32_t Today() override { return 739000; }
  std::string FormatShortDate(uint32_t) override { return "06.12.2026"; }
};

class TFakeTickHost : public TTickHost {
public:
  explicit TFakeTickHost(TEventLog& log) : log_(log) {}
  bool Visible = true;
  int Shows = 0, Hides = 0;
  int32_t TrayDown = -1, TrayUp = -1;
  std::function<void(const std::string&)> OnEvent;  // sees the state the tick left at each event

  bool GraphVisible() override { return Note("visible?"), Visible; }
  void ShowGraph() override { ++Shows, Visible = true, Note("show"); }
  void HideGraph() override { ++Hides, Visible = false, Note("hide"); }
  void InvalidateGraph() override { Note("invalidate"); }
  void RenderTrayImage(int32_t down, int32_t up) override { TrayDown = down, TrayUp = up, Note("tray"); }

private:
  void Note(const std::string& e) {
    log_.push_back(e);
    if (OnEvent) OnEvent(e);
  }
  TEventLog& log_;
};

// A tick's whole surroundings, with one adapter "NIC" in the table.
struct TTickRig {
  TEventLog Log;
  TStatsForm Form;
  TTrafficHistory History;
  TLoggingTable Table{Log};
  TLoggingStore Store{Log};
  TFixedClock Clock;
  TFakeTickHost Host{Log};
  TTickContext Ctx{Form, History, Table, Store, Clock, Host};

  explicit TTickRig(int32_t width = 300) {
    History.HistoryResize(width);
    Form.AdapterName = "NIC";
    Table.Row("NIC");
  }
  // One tick in which the adapter counted down and up more octets.
  void Tick(uint32_t down, uint32_t up) {
    Table.Row("NIC").InOctets += down;
    Table.Row("NIC").OutOctets += up;
    RunTick(Ctx);
  }
};
