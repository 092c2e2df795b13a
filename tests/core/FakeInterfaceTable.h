// An interface table the test sets row by row; Available = false plays an unreadable table.
#pragma once
#include <vector>

#include "traffic/AdapterSampling.h"

class TFakeInterfaceTable : public TInterfaceTable {
public:
  std::vector<TIfRow> Rows;
  bool Available = true;
  int Reads = 0;

  bool Read(std::vector<TIfRow>& rows) override {
    ++Reads;
    if (!Available) return false;
    rows = Rows;
    return true;
  }

  // The row with that description, for moving its counters between ticks.
  TIfRow& Row(const std::string& descr) {
    for (auto& r : Rows)
      if (r.Descr == descr) return r;
    Rows.push_back({IfTypeEthernet, descr, 0, 0});
    return Rows.back();
  }
};
