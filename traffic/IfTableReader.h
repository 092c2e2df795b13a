// The interface table of the IP Helper library behind the sampling seam.
#pragma once
#include "toolkit/WinApi.h"
#include <iphlpapi.h>

#include "traffic/AdapterSampling.h"

class TIfTableReader : public TInterfaceTable {
public:
  using TGetIfTable = DWORD(WINAPI*)(PMIB_IFTABLE table, PULONG size, BOOL order);

  // Tests hand in their own GetIfTable to play a misbehaving system.
  explicit TIfTableReader(TGetIfTable getIfTable = ::GetIfTable) : getIfTable_(getIfTable) {}

  // A size query, then the data, both sorted by interface index; any other answer
  // means no table.
  bool Read(std::vector<TIfRow>& rows) override;
  // The user's locale, case-sensitive.
  bool SameDescription(const std::string& a, const std::string& b) override;

private:
  TGetIfTable getIfTable_;
};
