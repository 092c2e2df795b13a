// The interface table of the IP Helper library behind the sampling seam: the 64-bit
// counters of GetIfTable2 where the system has it (Vista and later, Wine), the 32-bit
// ones of GetIfTable where it does not.
#pragma once
#include "toolkit/WinApi.h"
// Before iphlpapi.h, or its netioapi.h leaves the 64-bit table out.
#include <ws2ipdef.h>
#include <iphlpapi.h>

#include "traffic/AdapterSampling.h"

class TIfTableReader : public TInterfaceTable {
public:
  using TGetIfTable = DWORD(WINAPI*)(PMIB_IFTABLE table, PULONG size, BOOL order);
  using TGetIfTable2 = DWORD(WINAPI*)(PMIB_IF_TABLE2* table);
  using TFreeMibTable = void(WINAPI*)(PVOID memory);

  // The system's own; GetIfTable2 and FreeMibTable are looked up at run time, so the
  // program still starts where iphlpapi lacks them.
  TIfTableReader();
  // Tests hand in their own to play a misbehaving system; without both of the 64-bit
  // pair the reader keeps to GetIfTable.
  explicit TIfTableReader(TGetIfTable getIfTable, TGetIfTable2 getIfTable2 = nullptr,
                          TFreeMibTable freeMibTable = nullptr);

  // Either table's rows by ascending interface index; any unexpected answer means no
  // table.
  bool Read(std::vector<TIfRow>& rows) override;
  // The user's locale, case-sensitive.
  bool SameDescription(const std::string& a, const std::string& b) override;
  bool WideCounters() override { return getIfTable2_ != nullptr; }

private:
  bool ReadNarrow(std::vector<TIfRow>& rows);
  bool ReadWide(std::vector<TIfRow>& rows);

  TGetIfTable getIfTable_;
  TGetIfTable2 getIfTable2_ = nullptr;
  TFreeMibTable freeMibTable_ = nullptr;
};
