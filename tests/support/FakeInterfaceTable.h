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
    if (Available) rows = Rows;
    return Available;
  }
  // The row with that description (an Ethernet row added if missing), for moving its counters.
  TIfRow& Row(const std::string& descr) {
    for (auto& r : Rows)
      if (r.Descr == descr) return r;
    return Rows.emplace_back(TIfRow{IfTypeEthernet, descr, 0, 0});
  }
};
