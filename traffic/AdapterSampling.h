// The watched adapter's octet counters, read from the system's interface table
// and turned into per-tick deltas.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/StatsForm.h"

// One row of the interface table, as much of it as the program uses.
struct TIfRow {
  uint32_t Type = 0;  // IANA ifType
  std::string Descr;  // the adapter's identity
  uint32_t InOctets = 0, OutOctets = 0;  // wrap modulo 2^32
};

// IANA ifType values offered for selection.
inline constexpr uint32_t IfTypeEthernet = 6;
inline constexpr uint32_t IfTypePpp = 23;

// Where the rows come from: GetIfTable on Windows, a fake in tests.
class TInterfaceTable {
public:
  virtual ~TInterfaceTable();
  // Fills rows in ascending interface index; false when there is no table.
  virtual bool Read(std::vector<TIfRow>& rows) = 0;
  // Whether a row's description names the stored adapter (case-sensitive).
  virtual bool SameDescription(const std::string& a, const std::string& b) { return a == b; }
};

using TAdapterSink = std::function<void(const std::string& description)>;

// Every selectable (Ethernet or PPP) description, in table order, duplicates included.
void ListAdapters(TInterfaceTable& table, const TAdapterSink& sink);

// Reads the table and, if the adapter named AdapterName is in it (the first matching
// row, whatever its type), shifts and stores its counters. False changes nothing.
bool SampleAdapter(TStatsForm& form, TInterfaceTable& table);

// Octets counted between two readings of one wrapping 32-bit counter.
uint32_t CounterDelta(uint32_t current, uint32_t previous);

// A delta as a history sample: 2^31 or more in one tick can only mean the counter
// was reset between readings, so it counts as no traffic.
int32_t TickDelta(uint32_t delta);

struct TTrafficDeltas {
  int32_t Down = 0;
  int32_t Up = 0;
};

// The tick's sampling step: this tick's deltas (0 without a reading), added to
// DownTotal/UpTotal.
TTrafficDeltas SampleTraffic(TStatsForm& form, TInterfaceTable& table);

// Resets the in-memory counters, enables the tick timer through enableTimer and
// takes a priming reading that seeds the totals with the adapter's own counters.
void StartSampling(TStatsForm& form, TInterfaceTable& table, const std::function<void()>& enableTimer);
