// An interface table the test sets row by row; Available = false plays an unreadable table.
#pragma once
#include <strings.h>
#include <vector>

#include "traffic/AdapterSampling.h"

class TFakeInterfaceTable : public TInterfaceTable {
public:
  std::vector<TIfRow> Rows;
  bool Available = true;
  bool IgnoreCase = false;  // a system whose comparison ignores case
  bool Wide = false;        // 64-bit counters; otherwise only their low 32 bits count
  int Reads = 0;

  bool Read(std::vector<TIfRow>& rows) override {
    ++Reads;
    if (Available) rows = Rows;
    return Available;
  }
  bool SameDescription(const std::string& a, const std::string& b) override {
    return IgnoreCase ? strcasecmp(a.c_str(), b.c_str()) == 0 : a == b;
  }
  bool WideCounters() override { return Wide; }
  // The row with that description (an Ethernet row added if missing), for moving its counters.
  TIfRow& Row(const std::string& descr) {
    for (auto& r : Rows)
      if (r.Descr == descr) return r;
    return Rows.emplace_back(TIfRow{IfTypeEthernet, descr, 0, 0});
  }
};
